// What a tuning search may vary and what it must keep: the dimensions that move the valve, the
// design limits measured against the start, and the largest gap as the figure it minimises.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "dimensions.h"
#include "model_support.h"
#include "tune_search.h"
#include "valve_events.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

TEST(TuneDimensions, OnlyTheDrawingOnlyOnesLeaveEveryEventUnchanged) {
  const Workspace ws = startedWorkspace();
  const std::vector<double> notches = {1.6, 0.4, -1.0};
  auto events = [&](const Workspace& w) {
    std::vector<double> out;
    for (double x : notches) {
      const NotchEvents n = ValveEvents(w, x);
      out.insert(out.end(),
                 {n.Front.Lead, n.Rear.Lead, n.ValveTravel, n.ClosureMargin.Degrees,
                  n.Front.MaxSteamOpening, n.Rear.MaxExhaustOpening, static_cast<double>(n.Error)});
      for (const EndEvents* e : {&n.Front, &n.Rear})
        for (const auto& p : {e->CutOff, e->Admission, e->Release, e->Compression})
          out.push_back(p ? p->Stroke : -1.0);
    }
    return out;
  };
  const std::vector<double> before = events(ws);
  for (int id = 1; id <= 122; ++id) {
    if (!isEditableDimensionId(id)) continue;
    SCOPED_TRACE(id);
    Workspace changed = ws;
    // Moved as a search moves it, centre and all.
    const TuneVariable v{id, 0, 0, 0};
    const float value = dimensionValue(ws, id) * 1.07f + 0.03f;
    applyTuneCandidate(changed, {&v, 1}, {&value, 1});
    EXPECT_EQ(events(changed) == before, isDrawingOnlyDimension(id));

    TuneSettings s;
    s.Vary = {defaultTuneVariable(ws, id)};
    s.Notches = {1.6};
    const std::optional<std::string> problem = checkTuneSettings(s);
    EXPECT_EQ(problem.has_value(), isDrawingOnlyDimension(id));
    if (problem) {
      EXPECT_NE(problem->find("does not move the valve"), std::string::npos);
    }
    EXPECT_EQ(tuneWarnings(s).empty(), id != dim::Stroke);
  }
}

TEST(TuneSettings, LengthsStayPositiveAndTargetsLieWithinTheStroke) {
  const Workspace ws = startedWorkspace();
  TuneSettings s;
  s.Vary = {defaultTuneVariable(ws, dim::ValveLengthRearHalf, 1000),
            defaultTuneVariable(ws, dim::AnchorLinkPivotHorz, 1000)};
  s.Notches = {1.6};
  ASSERT_FALSE(checkTuneSettings(s).has_value());
  EXPECT_EQ(s.Vary[0].Lower, kMinTunedLength);  // a length
  EXPECT_LT(s.Vary[1].Lower, 0.0f);             // a position may lie on either side
  s.Vary = {TuneVariable{dim::RadiusRod, -2.0f, -3.0f, -1.0f}};
  EXPECT_TRUE(checkTuneSettings(s).has_value());

  s.Vary = {defaultTuneVariable(ws, dim::ValveLengthRearHalf)};
  s.Goals.TargetCutOff = 1;
  for (double target : {-10.0, 0.0, 100.0, 200.0}) {
    s.Goals.TargetPercent = target;
    EXPECT_TRUE(checkTuneSettings(s).has_value()) << target;
  }
  s.Goals.TargetPercent = 50;
  EXPECT_FALSE(checkTuneSettings(s).has_value());
  // Limits whose shortfalls would not stay finite (as a window field can hold).
  for (auto limit : {&TuneLimits::MaxLead, &TuneLimits::CutOffRangePoints,
                     &TuneLimits::MaxTravelPercent})
    for (double bad : {-1.0e308, 1.0e308, std::nan("")}) {
      TuneSettings t = s;
      t.Limits.*limit = bad;
      EXPECT_TRUE(checkTuneSettings(t).has_value()) << bad;
    }
}

TuneNotchFigures notch(double offset, double front, double rear) {
  TuneNotchFigures f;
  f.Offset = offset;
  f.ClosureMargin = 10;
  f.ValveTravel = 1.0;
  f.Front.CutOff = front;
  f.Rear.CutOff = rear;
  f.Front.Lead = 0.01;
  f.Rear.Lead = 0.02;
  return f;
}

TEST(TuneLimits, MeasuredOnTheStartAndEachBrokenOneMakesASetInfeasible) {
  const Workspace ws = startedWorkspace();  // steam ports of 0.156: a quarter is 0.039
  TuneSettings s;
  s.Notches = {1.6, 0.4};
  const std::vector<TuneNotchFigures> start = {notch(1.6, 80, 84), notch(0.4, 20, 22)};
  s.LimitValues = resolveTuneLimits(s, ws, start);
  const TuneLimitValues& v = s.LimitValues;
  EXPECT_NEAR(*v.MaxLead, 0.039, 1e-6);
  // The notch's cut-off is the mean of its ends: 82 at full gear, 21 at the shortest.
  EXPECT_EQ(v.MinFullGearCutOff, 77.0);
  EXPECT_EQ(v.MaxShortestCutOff, 26.0);
  EXPECT_NEAR(*v.MaxTravel, 1.1, 1e-12);
  EXPECT_EQ(tuneLimitLines(s).size(), 6u);  // lengths, lead, steam, two cut-offs, travel

  const std::vector<TuneNotchFigures> good = {notch(1.6, 80, 80.5), notch(0.4, 21, 21.5)};
  ASSERT_TRUE(scoreTuneFigures(s, good).GoalsMet);
  auto broken = [&](auto change) {
    std::vector<TuneNotchFigures> f = good;
    change(f);
    const TuneEvaluation e = scoreTuneFigures(s, f);
    EXPECT_TRUE(e.Closes);
    EXPECT_FALSE(e.Feasible);
    EXPECT_FALSE(e.GoalsMet);  // the gaps are within 1 %, but a limit is not kept
    EXPECT_GT(e.Penalty, 0.0);
    return e.BrokenLimits.size() == 1;
  };
  EXPECT_TRUE(broken([](auto& f) { f[1].Rear.Lead = 0.045; }));
  EXPECT_TRUE(broken([](auto& f) { f[0].Front.TakesSteam = false; }));
  EXPECT_TRUE(broken([](auto& f) { f[0].Front.CutOff = 76.4, f[0].Rear.CutOff = 77.0; }));
  EXPECT_TRUE(broken([](auto& f) { f[1].Front.CutOff = 26.1, f[1].Rear.CutOff = 26.4; }));
  // One end may move more than 5 points as long as the notch's cut-off keeps its range: bringing
  // 80 and 84 together at 81 is no fault.
  {
    std::vector<TuneNotchFigures> f = good;
    f[0].Front.CutOff = 80.8, f[0].Rear.CutOff = 81.2;
    EXPECT_TRUE(scoreTuneFigures(s, f).Feasible);
  }
  EXPECT_TRUE(broken([](auto& f) { f[0].ValveTravel = 1.2; }));

  // A start with more lead than a quarter port keeps its own; a target cut-off asks for another
  // full-gear cut-off, so that limit gives way; without limits a lead of 1 is no fault.
  std::vector<TuneNotchFigures> leady = start;
  leady[0].Rear.Lead = 0.05;
  s.Goals.TargetCutOff = 1;
  const TuneLimitValues target = resolveTuneLimits(s, ws, leady);
  EXPECT_NEAR(*target.MaxLead, 0.05, 1e-12);
  EXPECT_FALSE(target.MinFullGearCutOff.has_value());
  EXPECT_TRUE(target.MaxShortestCutOff.has_value());
  s.Goals.TargetCutOff = 0;
  s.Limits.Enabled = false;
  s.LimitValues = resolveTuneLimits(s, ws, start);
  std::vector<TuneNotchFigures> wild = good;
  wild[0].Front.Lead = 1.0;
  wild[0].Rear.TakesSteam = false;
  EXPECT_TRUE(scoreTuneFigures(s, wild).GoalsMet);
}

TEST(TuneScore, AMissingCutOffIsCountedApartNotAsAHundredPercent) {
  TuneSettings s;
  s.Notches = {1.6, 0.4};
  std::vector<TuneNotchFigures> f = {notch(1.6, 80, 80.5), notch(0.4, 21, 23)};
  f[0].Rear.CutOff.reset();
  const TuneEvaluation e = scoreTuneFigures(s, f);
  EXPECT_EQ(e.Goals.MissingCutOffs, 1);
  EXPECT_DOUBLE_EQ(*e.Goals.MaxCutOffDiff, 2.0);  // the notch where both cut off
  EXPECT_GE(e.Objective, 100.0);                  // but the search still flees it
  EXPECT_FALSE(e.GoalsMet);
}

// Two notches whose gaps pull one dimension opposite ways: x at +1.6, 2 - 3x at +0.8, with x
// ten times the rear half's change. Least squares settle at x = 0.6 (gaps 0.6 and 0.2); the
// largest gap is smallest at x = 0.5, where both are 0.5.
std::vector<TuneNotchFigures> pulledFigures(const Workspace& ws, std::span<const double> offsets) {
  const double x = 10.0 * (dimensionValue(ws, dim::ValveLengthRearHalf) - 0.687);
  std::vector<TuneNotchFigures> out;
  for (double o : offsets) out.push_back(notch(o, 50 + (o > 1 ? x : 2 - 3 * x), 50));
  return out;
}

TEST(TuneSearch, MinimisesTheLargestGapAndNeverEndsWorseThanTheStart) {
  Workspace ws = startedWorkspace();
  TuneSettings s;
  s.Vary = {defaultTuneVariable(ws, dim::ValveLengthRearHalf, 30)};
  s.Notches = {1.6, 0.8};
  const TuneSearchOptions options{.Figures = pulledFigures};
  const TuneResult r = runTuneSearch(ws, s, options);
  EXPECT_FLOAT_EQ(r.Values[0], 0.737f);
  EXPECT_NEAR(*r.After.Goals.MaxCutOffDiff, 0.5, 1e-5);
  EXPECT_EQ(r.After.Objective, *r.After.Goals.MaxCutOffDiff);
  EXPECT_FALSE(r.StartKept);

  // Started at the answer: every other set has a larger gap (though some a smaller mean
  // square), so the start comes back and the message says so.
  setDimension(ws, dim::ValveLengthRearHalf, 0.737f);
  const TuneResult kept = runTuneSearch(ws, s, options);
  EXPECT_TRUE(kept.StartKept);
  EXPECT_FALSE(kept.changed());
  EXPECT_FALSE(kept.improves());
  EXPECT_NE(kept.Message.find("start is kept"), std::string::npos) << kept.Message;
}

// The front half moves the front cut-off, 100 % of stroke per unit, and the front lead with it.
std::vector<TuneNotchFigures> leadFigures(const Workspace& ws, std::span<const double> offsets) {
  const double front = dimensionValue(ws, dim::ValveLengthFrontHalf) - 0.687;
  std::vector<TuneNotchFigures> out;
  for (double o : offsets) {
    TuneNotchFigures f = notch(o, 80 - 100 * front, 75);
    f.Front.Lead = 0.01 + front;
    out.push_back(f);
  }
  return out;
}

TEST(TuneSearch, ASetBreakingALimitIsNeverReturnedAndTheTimeLimitEndsTheSearch) {
  const Workspace ws = startedWorkspace();
  TuneSettings s;
  s.Vary = {defaultTuneVariable(ws, dim::ValveLengthFrontHalf, 30)};
  s.Notches = {1.6};
  s.Limits.CutOffRangePoints.reset();
  // Equal cut-offs want the front half 0.05 longer, a lead of 0.06: above the quarter port.
  const TuneResult r = runTuneSearch(ws, s, TuneSearchOptions{.Figures = leadFigures});
  EXPECT_EQ(r.Outcome, TuneOutcome::GoalsNotMet) << r.Message;
  EXPECT_TRUE(r.After.BrokenLimits.empty());
  EXPECT_LE(r.Values[0], 0.687f + 0.029f);  // a lead of at most 0.039
  EXPECT_GE(r.Values[0], 0.687f + 0.027f);  // as far as the limit lets it go
  s.Limits.Enabled = false;
  const TuneResult free = runTuneSearch(ws, s, TuneSearchOptions{.Figures = leadFigures});
  EXPECT_EQ(free.Outcome, TuneOutcome::GoalsMet);

  // Slow sets and a short time: the search ends with the best so far, and says why.
  const TuneSearchOptions slow{.MaxSeconds = 0.05,
                               .Figures = [](const Workspace& w, std::span<const double> o) {
                                 std::this_thread::sleep_for(std::chrono::milliseconds(2));
                                 return leadFigures(w, o);
                               }};
  const TuneResult timed = runTuneSearch(ws, s, slow);
  EXPECT_TRUE(timed.TimedOut);
  EXPECT_LT(timed.Evaluations, 40);
  EXPECT_NE(timed.Message.find("time limit"), std::string::npos) << timed.Message;
  EXPECT_TRUE(timed.After.Feasible);
}

}  // namespace
}  // namespace vek1
