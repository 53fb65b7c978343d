// The equal-work tuning goal: scored from each end's indicated work, found at the set's own
// engine settings, and worth a search.
#include <gtest/gtest.h>

#include <cmath>

#include "dimensions.h"
#include "engine_performance.h"
#include "tune.h"
#include "tune_search.h"

namespace vek1 {
namespace {

TuneSettings workOnly(std::vector<double> notches) {
  TuneSettings s;
  s.Goals.EqualCutOff = 0.0;
  s.Goals.EqualWork = 1.0;
  s.Notches = std::move(notches);
  s.Limits.Enabled = false;
  s.MinClosureMargin = 0.0;
  return s;
}

TuneNotchFigures notch(double offset, std::optional<double> front, std::optional<double> rear) {
  TuneNotchFigures f;
  f.Offset = offset;
  f.ClosureMargin = 40.0;
  f.Front.Work = front;
  f.Rear.Work = rear;
  return f;
}

TEST(TuneWork, ScoresTheLargestFrontRearDifferenceInPercentOfTheMean) {
  const TuneSettings s = workOnly({1.0, 0.5});
  TuneEvaluation e = scoreTuneFigures(s, {notch(1.0, 101.0, 99.0), notch(0.5, 50.0, 52.0)});
  ASSERT_TRUE(e.Goals.MaxWorkDiff.has_value());
  EXPECT_NEAR(*e.Goals.MaxWorkDiff, 2.0 / 51.0 * 100.0, 1e-9);
  EXPECT_NEAR(e.Objective, 2.0 / 51.0 * 100.0 / kWorkTolerance, 1e-9);
  EXPECT_FALSE(e.GoalsMet);
  EXPECT_FALSE(e.Goals.MaxCutOffDiff.has_value());  // the cut-off goal is off
  e = scoreTuneFigures(s, {notch(1.0, 100.2, 99.8), notch(0.5, 50.0, 50.1)});
  EXPECT_TRUE(e.GoalsMet);
  // An end without work (it never takes steam) is far from equal, not ignored.
  e = scoreTuneFigures(s, {notch(1.0, 100.0, std::nullopt), notch(0.5, 50.0, 50.0)});
  EXPECT_FALSE(e.GoalsMet);
  EXPECT_GE(e.Objective, 50.0);
  EXPECT_NEAR(*e.Goals.MaxWorkDiff, 0.0, 1e-12);  // the figure shows the notches that have work
  TuneSettings none = workOnly({1.0});
  none.Goals.EqualWork = 0.0;
  EXPECT_TRUE(checkTuneSettings(none).has_value());  // no goal at all
  TuneSettings bad = workOnly({1.0});
  bad.Goals.EqualWork = -1.0;
  EXPECT_TRUE(checkTuneSettings(bad).has_value());
}

TEST(TuneWork, CandidatesAreScoredAtTheSetsEngineSettings) {
  Workspace ws;
  StartUp(ws);
  TuneSettings s = workOnly({1.8, 0.4});
  s.Vary = {defaultTuneVariable(ws, dim::CouplerLower)};
  ASSERT_FALSE(checkTuneSettings(s).has_value());
  const std::vector<float> start = {dimensionValue(ws, dim::CouplerLower)};
  auto difference = [](const PerformanceRow& r) {
    return 100.0 * std::fabs(r.Front.Work - r.Rear.Work) / (0.5 * (r.Front.Work + r.Rear.Work));
  };
  const TuneEvaluation e = evaluateTuneCandidate(ws, s, start);
  ASSERT_TRUE(e.Goals.MaxWorkDiff.has_value());
  const double expected = std::max(difference(performanceAt(ws, ws.Engine, 1.8, 180.0)),
                                   difference(performanceAt(ws, ws.Engine, 0.4, 180.0)));
  EXPECT_NEAR(*e.Goals.MaxWorkDiff, expected, 0.05);
  // Another speed in the set's settings is another score.
  ws.Engine.SpeedRpm = 900.0;
  EXPECT_NE(*evaluateTuneCandidate(ws, s, start).Goals.MaxWorkDiff, *e.Goals.MaxWorkDiff);
}

TEST(TuneWork, ASearchBringsTheWorkTogether) {
  Workspace ws;
  StartUp(ws);
  TuneSettings s = workOnly({1.4, 0.4});
  s.Vary = {defaultTuneVariable(ws, dim::CouplerLower),
            defaultTuneVariable(ws, dim::ValveLengthRearHalf)};
  TuneSearchOptions o;
  o.MaxEvaluations = 40;
  o.MaxSeconds = 60.0;
  const TuneResult r = runTuneSearch(ws, s, o);
  ASSERT_TRUE(r.Before.Goals.MaxWorkDiff && r.After.Goals.MaxWorkDiff);
  EXPECT_LT(*r.After.Goals.MaxWorkDiff, 0.7 * *r.Before.Goals.MaxWorkDiff);
}

}  // namespace
}  // namespace vek1
