#include <gtest/gtest.h>

#include <atomic>
#include <cmath>

#include "dimension_edit.h"
#include "numbers.h"
#include "tune_figures.h"
#include "dimensions.h"
#include "model_support.h"
#include "tune_search.h"
#include "valve_events.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

TuneNotchFigures notch(double offset, std::optional<double> front, std::optional<double> rear,
                       double margin = 10.0, bool error = false) {
  TuneNotchFigures f;
  f.Offset = offset;
  f.Error = error;
  f.ClosureMargin = margin;
  f.Front.CutOff = front;
  f.Rear.CutOff = rear;
  return f;
}

TEST(TuneScore, EachGoalReportsItsLargestResidualAndWhetherItIsMet) {
  TuneSettings s;
  s.Notches = {0.8, 1.6};
  s.Goals = TuneGoals{.EqualCutOff = 1, .EqualLead = 1, .ConstantLead = 1, .TargetCutOff = 1,
                      .TargetPercent = 75, .Symmetric = 1};
  ASSERT_EQ(tuneEvaluationNotches(s), (std::vector<double>{0.8, 1.6, -0.8, -1.6}));
  std::vector<TuneNotchFigures> f = {notch(0.8, 40, 42.5), notch(1.6, 77.7, 85.5),
                                     notch(-0.8, 40.5, 42.5), notch(-1.6, 77.7, 86)};
  f[0].Front.Lead = 0.010, f[0].Rear.Lead = 0.012;
  f[1].Front.Lead = 0.004, f[1].Rear.Lead = 0.013;
  const TuneEvaluation e = scoreTuneFigures(s, f);
  EXPECT_NEAR(*e.Goals.MaxCutOffDiff, 7.8, 1e-9);   // mirrors take no part in it
  EXPECT_NEAR(*e.Goals.MaxLeadDiff, 0.009, 1e-12);
  EXPECT_NEAR(*e.Goals.LeadRange, 0.006, 1e-12);    // the front end's, the larger
  EXPECT_NEAR(*e.Goals.TargetError, 10.5, 1e-9);    // at +1.6, the full forward notch
  EXPECT_NEAR(*e.Goals.MaxSymmetryDiff, 0.5, 1e-9);
  EXPECT_TRUE(e.Feasible);
  EXPECT_FALSE(e.GoalsMet);

  // Only equal cut-off, with every difference within 1 % of stroke: met. A goal that is off
  // has no figure and does not count.
  s.Goals = TuneGoals{};
  f = {notch(0.8, 40, 40.9), notch(1.6, 80, 79.2)};
  const TuneEvaluation met = scoreTuneFigures(s, f);
  EXPECT_TRUE(met.GoalsMet);
  EXPECT_FALSE(met.Goals.MaxLeadDiff.has_value());
  EXPECT_LT(met.Cost, e.Cost);
}

TEST(TuneScore, LockingThinMarginsAndMissingCutOffsAreNeverBetter) {
  TuneSettings s;
  s.Notches = {0.8, 1.6};
  const TuneEvaluation good = scoreTuneFigures(s, {notch(0.8, 40, 44), notch(1.6, 78, 85)});
  EXPECT_TRUE(good.Feasible);
  EXPECT_EQ(good.Penalty, 0.0);
  EXPECT_EQ(good.WorstMargin, 10.0);

  // Equal cut-offs, but one notch keeps only 1.5 degrees: infeasible and penalised.
  const TuneEvaluation thin = scoreTuneFigures(s, {notch(0.8, 40, 40), notch(1.6, 80, 80, 1.5)});
  EXPECT_FALSE(thin.Feasible);
  EXPECT_EQ(thin.WorstMargin, 1.5);
  EXPECT_GT(thin.Cost + thin.Penalty, good.Cost);
  // A lock costs more than any thin margin, even with a margin that reads well.
  const TuneEvaluation locks =
      scoreTuneFigures(s, {notch(0.8, 40, 40), notch(1.6, 80, 80, 5.0, true)});
  EXPECT_FALSE(locks.Feasible);
  EXPECT_GT(locks.Penalty, thin.Penalty);
  // A NaN margin counts as locking short, not as a pass.
  const TuneEvaluation nan =
      scoreTuneFigures(s, {notch(0.8, 40, 40), notch(1.6, 80, 80, std::nan(""))});
  EXPECT_FALSE(nan.Feasible);

  // An end that never cuts off scores far worse than a real difference.
  const TuneEvaluation missing = scoreTuneFigures(s, {notch(0.8, 40, std::nullopt), notch(1.6, 78, 85)});
  EXPECT_GT(missing.Cost, 100 * good.Cost);
  EXPECT_FALSE(missing.GoalsMet);
}

TEST(TuneSettings, BadSettingsAreRefusedAndStartsDrawnIntoBounds) {
  const Workspace ws = startedWorkspace();
  const TuneVariable rod = defaultTuneVariable(ws, dim::RadiusRod);
  EXPECT_FLOAT_EQ(rod.Lower, 4.75f);
  EXPECT_FLOAT_EQ(rod.Upper, 5.25f);
  const TuneVariable cylCl = defaultTuneVariable(ws, dim::CylClAboveDriverCtr);  // 0
  EXPECT_FLOAT_EQ(cylCl.Lower, -0.05f);
  EXPECT_FLOAT_EQ(cylCl.Upper, 0.05f);

  TuneSettings good;
  good.Vary = {TuneVariable{dim::RadiusRod, 6.0f, 4.9f, 5.1f}};
  good.Notches = {1.6};
  EXPECT_FALSE(checkTuneSettings(good).has_value());
  EXPECT_EQ(good.Vary[0].Start, 5.1f);

  auto refused = [&](auto change) {
    TuneSettings s = good;
    change(s);
    return checkTuneSettings(s).has_value();
  };
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Vary.clear(); }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Vary.push_back(s.Vary[0]); }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Vary[0].Id = dim::RevArmToCentNorm; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Vary[0].Upper = std::nanf(""); }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Vary[0].Lower = 5.2f; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Notches = {}; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Notches = {INFINITY}; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Goals.EqualCutOff = 0; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Goals.EqualLead = -1; }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.Goals.ConstantLead = 1; }));  // one notch
  EXPECT_TRUE(refused([](TuneSettings& s) {
    s.Goals.TargetCutOff = 1;
    s.Notches = {-1.6};
  }));
  EXPECT_TRUE(refused([](TuneSettings& s) { s.MinClosureMargin = std::nan(""); }));
}

TEST(TuneApply, CandidatesGoThroughTheDialogCommitOnTheCopyOnly) {
  Workspace ws = startedWorkspace();
  ws.UndoPending = 1;  // a key typed in a field that has not been left yet
  Workspace reference = ws;
  const TuneVariable vary[] = {{dim::LinkPivotHorz, 0, 0, 0}, {dim::ValveLeverUpper, 0, 0, 0}};
  const float values[] = {6.3f, 0.47f};
  applyTuneCandidate(ws, vary, values);
  EXPECT_EQ(ws.Pivots.H[5], 6.3f);
  EXPECT_EQ(ws.Pivots.H[6], 6.3f);  // the link pivot's second copy follows
  EXPECT_EQ(ws.UndoCount, 0);       // nothing of the user's to undo
  setDimension(reference, dim::LinkPivotHorz, 6.3f);
  setDimension(reference, dim::ValveLeverUpper, 0.47f);
  ComputeReverseArmCentre(reference);
  EXPECT_EQ(ws.RevArmPositions[0], reference.RevArmPositions[0]);  // centre of the new set
  EXPECT_NE(ws.RevArmPositions[0], startedWorkspace().RevArmPositions[0]);
}

// Figures with a known answer: each valve half's length moves its own end's cut-off, 100 % of
// stroke per unit, the rear cutting off 5 % later at the start.
std::vector<TuneNotchFigures> halvesFigures(const Workspace& ws, std::span<const double> offsets) {
  const double front = dimensionValue(ws, dim::ValveLengthFrontHalf);
  const double rear = dimensionValue(ws, dim::ValveLengthRearHalf);
  std::vector<TuneNotchFigures> out;
  for (double x : offsets)
    out.push_back(notch(x, 80 - 100 * (front - 0.687), 85 - 100 * (rear - 0.687), 10,
                        front > 0.7455));  // a longer front half locks the gear
  return out;
}

TuneSettings halvesSettings(const Workspace& ws, double percent) {
  TuneSettings s;
  s.Vary = {defaultTuneVariable(ws, dim::ValveLengthFrontHalf, percent),
            defaultTuneVariable(ws, dim::ValveLengthRearHalf, percent)};
  s.Notches = {1.6};
  s.Goals = TuneGoals{.EqualCutOff = 0, .TargetCutOff = 1, .TargetPercent = 75};
  return s;
}

TEST(TuneSearch, FindsTheKnownAnswerOnTheThousandthsGrid) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::ValveLengthFrontHalf, 0.65f);
  for (TuneMethod method : {TuneMethod::MultiStart, TuneMethod::Bobyqa, TuneMethod::Cobyla,
                            TuneMethod::GlobalThenLocal}) {
    SCOPED_TRACE(tuneMethodName(method));
    const TuneSearchOptions options{.Method = method, .Figures = halvesFigures};
    const TuneResult r = runTuneSearch(ws, halvesSettings(ws, 30), options);
    EXPECT_EQ(r.Outcome, TuneOutcome::GoalsMet) << r.Message;
    // Cut-offs of 75 % need halves of 0.737 and 0.787.
    ASSERT_EQ(r.Values.size(), 2u);
    EXPECT_FLOAT_EQ(r.Values[0], 0.737f);
    EXPECT_FLOAT_EQ(r.Values[1], 0.787f);
    EXPECT_EQ(r.Start[0], 0.65f);
    EXPECT_LT(r.After.Cost, r.Before.Cost);
    EXPECT_LE(r.Evaluations, TuneSearchOptions{}.MaxEvaluations + 4);  // + the grid corners
  }
}

TEST(TuneSearch, TightBoundsEndWithTheBestSetAndSaySo) {
  const Workspace ws = startedWorkspace();
  const TuneResult r =
      runTuneSearch(ws, halvesSettings(ws, 1), TuneSearchOptions{.Figures = halvesFigures});
  EXPECT_EQ(r.Outcome, TuneOutcome::GoalsNotMet);
  // Both halves as long as the bounds allow (+-0.01, the near-zero floor of 1 %): the last
  // thousandth at or inside the upper bound, never beyond it.
  for (std::size_t i = 0; i < 2; ++i) {
    const TuneVariable& v = r.Settings.Vary[i];
    EXPECT_LE(r.Values[i], v.Upper);
    EXPECT_GT(r.Values[i], v.Upper - 0.0011f);
    EXPECT_NEAR(r.Values[i] * 1000.0, std::nearbyint(r.Values[i] * 1000.0), 1e-3);
  }
  EXPECT_TRUE(r.changed());
}

TEST(TuneSearch, ASetThatLocksIsNeverReturned) {
  Workspace ws = startedWorkspace();
  TuneSettings s = halvesSettings(ws, 30);
  s.Goals.TargetPercent = 70;  // needs a front half of 0.787, well past the lock at 0.7455
  const TuneResult r = runTuneSearch(ws, s, TuneSearchOptions{.Figures = halvesFigures});
  EXPECT_EQ(r.Outcome, TuneOutcome::GoalsNotMet);
  EXPECT_TRUE(r.After.Feasible);
  EXPECT_LE(r.Values[0], 0.7455f);
  EXPECT_GE(r.Values[0], 0.74f);  // as near the lock as the search gets, not back at the start

  // Locked at the start and everywhere within the bounds: nothing comes back.
  setDimension(ws, dim::ValveLengthFrontHalf, 0.76f);
  const TuneResult locked =
      runTuneSearch(ws, halvesSettings(ws, 0.5), TuneSearchOptions{.Figures = halvesFigures});
  EXPECT_EQ(locked.Outcome, TuneOutcome::NoClosingSet);
  EXPECT_FALSE(locked.changed());
  EXPECT_FALSE(locked.After.Feasible);
}

TEST(TuneSearch, CancelStopsAtOnceAndChangesNothing) {
  const Workspace ws = startedWorkspace();
  std::atomic<bool> cancel{false};
  int evaluations = 0;
  TuneSearchOptions options{.Figures = [&](const Workspace& w, std::span<const double> o) {
    if (++evaluations == 5) cancel = true;
    return halvesFigures(w, o);
  }};
  const TuneResult r = runTuneSearch(ws, halvesSettings(ws, 30), options, &cancel);
  EXPECT_EQ(r.Outcome, TuneOutcome::Cancelled);
  EXPECT_FALSE(r.changed());
  EXPECT_EQ(evaluations, 5);  // the start (for its limits, then scored), then three of the
                              // search; none after the flag
}

TEST(TuneSearch, RefusedSettingsSearchNothing) {
  const Workspace ws = startedWorkspace();
  TuneSettings s = halvesSettings(ws, 5);
  s.Vary[1].Id = s.Vary[0].Id;
  int evaluations = 0;
  const TuneResult r = runTuneSearch(ws, s, TuneSearchOptions{.Figures = [&](auto& w, auto o) {
    ++evaluations;
    return halvesFigures(w, o);
  }});
  EXPECT_EQ(r.Outcome, TuneOutcome::Invalid);
  EXPECT_NE(r.Message.find("twice"), std::string::npos);
  EXPECT_EQ(evaluations, 0);
}

}  // namespace
}  // namespace vek1

namespace vek1 {
namespace {

// The largest front/rear cut-off difference of a set over the given notches, straight from the
// valve events (not through the search's own scoring).
double largestCutOffDiff(const Workspace& ws, const std::vector<double>& notches) {
  double worst = 0.0;
  for (const TuneNotchFigures& f : tuneNotchFigures(ws, notches))
    worst = std::max(worst, std::fabs(*f.Front.CutOff - *f.Rear.CutOff));
  return worst;
}

TuneSettings factorySettings(const Workspace& ws, double percent, bool limits) {
  TuneSettings s;
  for (int id : kSuggestedTuneDimensions) s.Vary.push_back(defaultTuneVariable(ws, id, percent));
  s.Notches = defaultTuneNotches(ws);
  s.Limits.Enabled = limits;
  return s;
}

// The set as Apply writes it, checked with the events themselves.
void expectClosesAsReported(const Workspace& ws, const TuneResult& r) {
  Workspace tuned = ws;
  EXPECT_GE(applyTunedValues(tuned, r.Settings.Vary, r.Values), 1);
  EXPECT_NEAR(largestCutOffDiff(tuned, r.Settings.Notches), *r.After.Goals.MaxCutOffDiff, 1e-9);
  for (const TuneNotchFigures& f : tuneNotchFigures(tuned, r.Settings.Notches)) {
    EXPECT_FALSE(f.Error) << f.Offset;
    EXPECT_GE(f.ClosureMargin, kDefaultClosureMargin) << f.Offset;
  }
  for (std::size_t i = 0; i < r.Values.size(); ++i) {
    EXPECT_GE(r.Values[i], r.Settings.Vary[i].Lower);
    EXPECT_LE(r.Values[i], r.Settings.Vary[i].Upper);
  }
}

TEST(TuneFactory, WideBoundsFindTheSmallGapsThereAndWiderIsNeverWorse) {
  const Workspace ws = startedWorkspace();
  ASSERT_EQ(defaultTuneNotches(ws).size(), 9u);  // +0.2 .. +1.8
  // Without the design limits the gear can nearly equalise the cut-offs: a search stuck in the
  // start's basin ends above 1 % at both.
  const TuneResult r20 = runTuneSearch(ws, factorySettings(ws, 20, false));
  const TuneResult r50 = runTuneSearch(ws, factorySettings(ws, 50, false));
  ASSERT_EQ(r20.Outcome, TuneOutcome::GoalsMet) << r20.Message;
  EXPECT_NEAR(*r20.Before.Goals.MaxCutOffDiff, 9.02, 0.01);  // -9.02 % at +1.8
  EXPECT_LE(*r20.After.Goals.MaxCutOffDiff, 0.45);
  EXPECT_LE(*r50.After.Goals.MaxCutOffDiff, 0.25);
  EXPECT_LE(*r50.After.Goals.MaxCutOffDiff, *r20.After.Goals.MaxCutOffDiff);
  EXPECT_EQ(r20.After.Objective, *r20.After.Goals.MaxCutOffDiff);  // what is reported
  expectClosesAsReported(ws, r50);
}

TEST(TuneFactory, TheDefaultLimitsHoldOnTheTunedGear) {
  const Workspace ws = startedWorkspace();
  const TuneResult r = runTuneSearch(ws, factorySettings(ws, 20, true));
  ASSERT_TRUE(r.improves()) << r.Message;
  expectClosesAsReported(ws, r);
  // Measured on the valve events of the set as applied, not through the search's scoring.
  Workspace tuned = ws;
  applyTunedValues(tuned, r.Settings.Vary, r.Values);
  const std::vector<double> notches = r.Settings.Notches;
  const ValveEventsTable start = ComputeValveEvents(ws, notches);
  const ValveEventsTable after = ComputeValveEvents(tuned, notches);
  const double port = std::min(dimensionValue(ws, dim::SteamPortWidthRear),
                               dimensionValue(ws, dim::SteamPortWidthFront));
  double startLead = 0.0, startTravel = 0.0, travel = 0.0;
  for (const NotchEvents& n : start.Notches) {
    startLead = std::max({startLead, n.Front.Lead, n.Rear.Lead});
    startTravel = std::max(startTravel, n.ValveTravel);
  }
  for (const NotchEvents& n : after.Notches) {
    for (const EndEvents* e : {&n.Front, &n.Rear}) {
      EXPECT_LE(e->Lead, std::max(startLead, port / 4) + 1e-9) << n.Offset;
      EXPECT_GT(e->MaxSteamOpening, 0.0) << n.Offset;
    }
    travel = std::max(travel, n.ValveTravel);
  }
  EXPECT_LE(travel, 1.1 * startTravel + 1e-9);
  // Full gear is first (+1.8), the shortest cut-off last (+0.2); a notch's cut-off is the mean
  // of its two ends.
  const auto cutOff = [](const NotchEvents& n) {
    return 0.5 * (n.Front.CutOff->Stroke + n.Rear.CutOff->Stroke);
  };
  EXPECT_GE(cutOff(after.Notches.front()), cutOff(start.Notches.front()) - 5.0);
  EXPECT_LE(cutOff(after.Notches.back()), cutOff(start.Notches.back()) + 5.0);
  EXPECT_TRUE(r.After.BrokenLimits.empty());
}

TEST(TuneFactory, AnUnequalValveHalfIsBroughtBackToEqualCutOffs) {
  // The known answer: the front half length at which front and rear cut off together at +1.0,
  // found here by bisection on the events alone.
  const Workspace ws = startedWorkspace();
  const std::vector<double> notch = {1.0};
  auto diffAt = [&](double front) {
    Workspace w = ws;
    setDimension(w, dim::ValveLengthFrontHalf, toSingle(front));
    ComputeReverseArmCentre(w);
    const TuneNotchFigures f = tuneNotchFigures(w, notch)[0];
    return *f.Front.CutOff - *f.Rear.CutOff;
  };
  double lo = 0.65, hi = 0.75;
  ASSERT_LT(diffAt(hi) * diffAt(lo), 0.0);
  for (int k = 0; k < 40; ++k) ((diffAt(lo) < 0) == (diffAt((lo + hi) / 2) < 0) ? lo : hi) = (lo + hi) / 2;
  const double answer = (lo + hi) / 2;

  Workspace unequal = ws;
  setDimension(unequal, dim::ValveLengthFrontHalf, toSingle(answer + 0.02));
  TuneSettings s;
  s.Vary = {defaultTuneVariable(unequal, dim::ValveLengthFrontHalf)};
  s.Notches = notch;
  const TuneResult r = runTuneSearch(unequal, s);
  EXPECT_EQ(r.Outcome, TuneOutcome::GoalsMet) << r.Message;
  EXPECT_NEAR(r.Values[0], answer, 0.0006);  // the nearest thousandth
  EXPECT_GT(std::fabs(*r.Before.Goals.MaxCutOffDiff), 1.0);
}

}  // namespace
}  // namespace vek1
