#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dimensions.h"
#include "events_sweep.h"
#include "model_support.h"
#include "sensitivity.h"
#include "tune.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

double wrap180(double a) {
  a = std::remainder(a, 360.0);
  return a <= -180.0 ? a + 360.0 : a;
}

// The figures the slow way: each edge's crossings from a sweep refined to 0.001 degree, the
// leads at the dead centres, the valve's extremes from a 0.001-degree sweep about the best
// coarse step. Only the forward notches of these tests are read (the crank turns forwards).
EventFigures sweptFigures(const Workspace& ws, double offset) {
  const float arm = ValveEvents(ws, offset).ReverseArmPos;
  const test::SweptNotch swept = test::sweepNotch(ws, arm, true, 1.0, 0.001);
  EventFigures f;
  f.fill(std::nan(""));
  f[kFrontLead] = swept.frontLead;
  f[kRearLead] = swept.rearLead;
  for (int edge = 0; edge < 4; ++edge) {
    const bool front = edge < 2, steam = edge % 2 == 0;
    const double deadCentre = front ? 0.0 : 180.0;
    for (const test::SweptCrossing& c : swept.edges[edge]) {
      const double after = std::fmod(c.travel - deadCentre + 720.0, 360.0);
      const bool aboutDeadCentre = c.opens == steam;
      const bool fromFront = front != (after >= 180.0);
      const EventPoint p{aboutDeadCentre ? wrap180(after) : after,
                         fromFront ? c.piston / 6.4 : (640.0 - c.piston) / 6.4};
      const int base = front ? kFrontLead : kRearLead;
      const int which = steam ? (c.opens ? 1 : 2) : (c.opens ? 3 : 4);
      f[base + which] = which == 1 ? p.CrankAngle : percentFromDeadCentre(p);
    }
  }
  Workspace w = ws;
  auto valveAt = [&](double angle) {
    test::solveAt(w, toSingle(std::fmod(angle + 360.0, 360.0)), arm);
    return static_cast<double>(w.Ports.ValveDisplacement);
  };
  double lowAt = 0.0, highAt = 0.0, low = valveAt(0.0), high = low;
  for (double a = 0.5; a < 360.0; a += 0.5) {
    const double x = valveAt(a);
    if (x < low) low = x, lowAt = a;
    if (x > high) high = x, highAt = a;
  }
  for (double a = -1.0; a <= 1.0; a += 0.001) {
    low = std::min(low, valveAt(lowAt + a));
    high = std::max(high, valveAt(highAt + a));
  }
  f[kValveTravel] = high - low;
  return f;
}

// Every derivative of the table against a central difference of fine sweeps of the gear at the
// dimension moved both ways. Where a derivative is larger than 1 % of the largest of its kind
// in the table the two agree within 2 %; the closure margin is not swept (the sweep has no
// transmission angles) and is held by the chain-rule test below instead.
TEST(Sensitivity, FactoryDerivativesAgreeWithSweptDifferences) {
  const Workspace ws = startedWorkspace();
  const std::vector<double> notches = {0.8, 1.6};
  const SensitivityTable table = ComputeSensitivity(ws, notches);
  ASSERT_EQ(table.Notches.size(), 2u);
  for (const SensitivityNotch& notch : table.Notches) {
    for (const SensitivityRow& row : notch.Rows) {
      if (row.DrawingOnly) continue;
      // Small enough that the admission, where the piston hardly moves, is still near linear.
      const double h = 2e-3;
      Workspace up = ws, down = ws;
      setDimension(up, row.Id, toSingle(row.Value + h));
      setDimension(down, row.Id, toSingle(row.Value - h));
      const double span = double(dimensionValue(up, row.Id)) - dimensionValue(down, row.Id);
      ComputeReverseArmCentre(up);
      ComputeReverseArmCentre(down);
      const EventFigures a = sweptFigures(up, notch.Offset), b = sweptFigures(down, notch.Offset);
      for (int k = 0; k < kClosureMargin; ++k) {
        const std::string where = "offset " + std::to_string(notch.Offset) + " dimension " +
                                  std::to_string(row.Id) + " " + std::string(eventFigureKey(k));
        const double largest = largestDerivative(table, k);
        const double mine = row.PerUnit[k];
        ASSERT_TRUE(std::isfinite(mine)) << where;
        EXPECT_TRUE(row.Stable[k]) << where;
        if (std::fabs(mine) <= 0.01 * largest) continue;
        const double swept = (a[k] - b[k]) / span;
        EXPECT_NEAR(mine, swept, 0.02 * std::fabs(swept)) << where;
      }
    }
  }
}

// Dimensions only the drawing uses are 0 exactly, per unit and per percent, and a gear that
// moves the valve at all has non-zero rows for the valve gear's own bars.
TEST(Sensitivity, DrawingOnlyDimensionsAreExactlyZeroAndPercentFollowsTheValue) {
  const Workspace ws = startedWorkspace();
  const SensitivityTable table = ComputeSensitivity(ws, {1.2});
  ASSERT_EQ(table.Notches.size(), 1u);
  const SensitivityNotch& n = table.Notches[0];
  EXPECT_EQ(n.Rows.size(), sensitivityDimensions().size());
  int drawn = 0;
  for (const SensitivityRow& r : n.Rows) {
    EXPECT_EQ(r.DrawingOnly, isDrawingOnlyDimension(r.Id)) << r.Id;
    for (int k = 0; k < kEventFigureCount; ++k) {
      if (r.DrawingOnly) {
        EXPECT_EQ(r.PerUnit[k], 0.0) << r.Id;
        EXPECT_EQ(r.PerPercent[k], 0.0) << r.Id;
      } else {
        EXPECT_DOUBLE_EQ(r.PerPercent[k], r.PerUnit[k] * 0.01 * r.Value) << r.Id;
      }
    }
    drawn += r.DrawingOnly;
  }
  EXPECT_EQ(drawn, static_cast<int>(kDrawingOnlyDimensions.size()));
  for (int id : {dim::RadiusRod, dim::ValveLeverLower, dim::LinkPivotHorz})
    for (const SensitivityRow& r : n.Rows) {
      if (r.Id == id) {
        EXPECT_GT(std::fabs(r.PerUnit[kFrontCutOff]), 1.0) << id;
      }
    }
}

// Moving the link pivot or the upper valve lever moves the mid-gear centre too. Held at the same offset from the new
// centre, the derivative is the one at a fixed arm plus the arm's derivative times the centre's
// movement: a slip in either hold, or in the arm's own derivative, breaks the sum. The closure
// margin is checked here too.
TEST(Sensitivity, TheTwoHoldsDifferByTheCentresMovement) {
  const Workspace ws = startedWorkspace();
  for (int id : {dim::LinkPivotHorz, dim::ValveLeverUpper}) {
    const double offset = 1.0;
    const FigureDerivative atOffset = dimensionDerivative(ws, id, offset, NotchHeld::AtOffset);
    const FigureDerivative atPos = dimensionDerivative(ws, id, offset, NotchHeld::AtPosition);
    const FigureDerivative arm = reverseArmDerivative(ws, offset);
    const float v = dimensionValue(ws, id);
    const double h = 0.01;
    Workspace up = ws, down = ws;
    setDimension(up, id, toSingle(v + h));
    setDimension(down, id, toSingle(v - h));
    ComputeReverseArmCentre(up);
    ComputeReverseArmCentre(down);
    const double centreMoves = (double(up.RevArmPositions[0]) - down.RevArmPositions[0]) /
                               (double(dimensionValue(up, id)) - dimensionValue(down, id));
    ASSERT_GT(std::fabs(centreMoves), 0.1) << id;
    for (int k = 0; k < kEventFigureCount; ++k) {
      const double expected = atPos.PerUnit[k] + arm.PerUnit[k] * centreMoves;
      // The absolute part: what the event finder resolves over the smallest steps taken.
      EXPECT_NEAR(atOffset.PerUnit[k], expected, 0.02 * std::fabs(expected) + 0.05)
          << id << " " << eventFigureKey(k);
    }
  }
}

TEST(Sensitivity, RankingPutsTheLargestMagnitudeFirst) {
  SensitivityNotch n;
  for (double d : {2.0, -7.0, std::nan(""), 0.5, -3.0}) {
    SensitivityRow r;
    r.PerUnit.fill(0.0);
    r.PerPercent.fill(0.0);
    r.PerUnit[kRearCutOff] = d;
    r.PerPercent[kRearCutOff] = -d * (d > 1.0 ? 10.0 : 1.0);
    n.Rows.push_back(r);
  }
  EXPECT_EQ(rankForFigure(n, kRearCutOff, false), (std::vector<int>{1, 4, 0, 3, 2}));
  EXPECT_EQ(rankForFigure(n, kRearCutOff, true), (std::vector<int>{0, 1, 4, 3, 2}));
  // A drawing-only row goes below a row that merely does not move this figure.
  SensitivityRow drawn;
  drawn.DrawingOnly = true;
  n.Rows.insert(n.Rows.begin(), drawn);
  EXPECT_EQ(rankForFigure(n, kRearCutOff, false), (std::vector<int>{2, 5, 1, 4, 3, 0}));
  EXPECT_EQ(eventFigureByKey("Rear.CutOff"), kRearCutOff);
  EXPECT_EQ(eventFigureByKey("Rear.Cutoff"), -1);
}

// The tuning window's offer: the move of the front/rear difference within each dimension's
// default bounds, the largest over the notches. A short bar with a large derivative can lose
// to a long one with a smaller; a drawing-only row or one that moves both ends alike is never
// offered.
TEST(Sensitivity, EqualCutOffOfferWeighsTheDerivativeByTheBounds) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::RadiusRod, 10.0f);        // bounds +-0.5
  setDimension(ws, dim::ValveLeverLower, 2.0f);   // +-0.1
  setDimension(ws, dim::CouplerLower, 4.0f);      // +-0.2
  SensitivityTable table;
  for (double scale : {1.0, 3.0}) {
    SensitivityNotch n;
    auto row = [&](int id, double front, double rear, bool drawn = false) {
      SensitivityRow r;
      r.Id = id;
      r.DrawingOnly = drawn;
      r.PerUnit.fill(0.0);
      r.PerUnit[kFrontCutOff] = front * scale;
      r.PerUnit[kRearCutOff] = rear * scale;
      n.Rows.push_back(r);
    };
    row(dim::RadiusRod, 1.0, -1.0);        // 2 x 0.5 = 1 (x3 at the second notch)
    row(dim::ValveLeverLower, 8.0, -1.0);  // 9 x 0.1 = 0.9
    row(dim::CouplerLower, 7.0, 7.0);      // moves both alike: never
    row(dim::DriverDia, 50.0, -50.0, true);
    row(dim::Stroke, 0.0, scale > 1.0 ? 0.0 : 0.5);  // only at the first notch
    table.Notches.push_back(n);
  }
  const std::vector<int> offer = rankForEqualCutOff(ws, table, 4);
  ASSERT_EQ(offer.size(), 3u);
  EXPECT_EQ(offer[0], dim::RadiusRod);
  EXPECT_EQ(offer[1], dim::ValveLeverLower);
  EXPECT_EQ(offer[2], dim::Stroke);
  EXPECT_EQ(rankForEqualCutOff(ws, table, 1), std::vector<int>{dim::RadiusRod});
}

}  // namespace
}  // namespace vek1
