#include <gtest/gtest.h>

#include <cmath>
#include <algorithm>
#include <random>
#include <tuple>
#include <string>

#include "events_sweep.h"
#include "model_support.h"
#include "valve_events.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

// The table promises each event to 0.001 degree; a sweep interpolated at 0.001 degree is itself
// good to a few ten-thousandths, so the two agree within this.
constexpr double kAngleTolerance = 0.002;
constexpr double kStrokeTolerance = 0.01;  // percent of stroke
// Largest and smallest values over a turn: a refined extreme against the best of a sweep's
// steps, both carrying the rounding of the stored singles.
constexpr double kExtremeTolerance = 2e-5;

double wrap180(double a) {
  a = std::remainder(a, 360.0);
  return a <= -180.0 ? a + 360.0 : a;
}

// Holds every event, lead and range of one notch against a sweep at 0.05 degree refined to
// 0.001 degree at each sign change.
void expectMatchesSweep(const Workspace& ws, const NotchEvents& n, const std::string& where) {
  const test::SweptNotch swept =
      test::sweepNotch(ws, n.ReverseArmPos, n.Direction == "Fwd", 0.05, 0.001);
  const EndEvents* ends[2] = {&n.Front, &n.Rear};
  for (int edge = 0; edge < 4; ++edge) {
    const bool front = edge < 2, steam = edge % 2 == 0;
    const EndEvents& end = *ends[edge / 2];
    const double deadCentre = front ? 0.0 : 180.0;
    const auto& found = swept.edges[edge];
    const EdgeCycle cycle = steam ? end.SteamEdge : end.ExhaustEdge;
    const std::string what = where + (front ? " front" : " rear") + (steam ? " steam" : " exh");
    if (found.empty()) {
      EXPECT_NE(cycle, EdgeCycle::Cycles) << what;
      continue;
    }
    ASSERT_EQ(found.size(), 2u) << what;  // the sets here open and close each edge once a turn
    EXPECT_EQ(cycle, EdgeCycle::Cycles) << what;
    for (const auto& c : found) {
      const auto& event =
          c.opens ? (steam ? end.Admission : end.Release) : (steam ? end.CutOff : end.Compression);
      ASSERT_TRUE(event) << what << (c.opens ? " opens" : " closes");
      // Admission and compression read from -180 to 180 about dead centre, cut-off and release
      // from 0 to 360 after it; the percent is of the stroke the piston is making.
      const double after = std::fmod(c.travel - deadCentre + 720.0, 360.0);
      const bool aboutDeadCentre = c.opens == steam;
      EXPECT_NEAR(event->CrankAngle, aboutDeadCentre ? wrap180(after) : after, kAngleTolerance)
          << what;
      EXPECT_EQ(event->CrankAngle < 0.0, aboutDeadCentre && after > 180.0) << what;
      const bool fromFront = front != (after >= 180.0);
      EXPECT_NEAR(event->Stroke, fromFront ? c.piston / 6.4 : (640.0 - c.piston) / 6.4,
                  kStrokeTolerance)
          << what;
    }
  }
  // The steam port still open at the other dead centre is the flag, and the effective openings
  // are the widest ones held to the port.
  Workspace other = ws;
  for (const auto& [end, openThere, port] :
       {std::tuple{&n.Front, 0, dimensionValue(ws, dim::SteamPortWidthFront)},
        std::tuple{&n.Rear, 2, dimensionValue(ws, dim::SteamPortWidthRear)}}) {
    test::solveAt(other, end == &n.Front ? 180.0f : 0.0f, n.ReverseArmPos);
    const float opening = openThere == 0 ? other.FrontSteamOpen : other.RearSteamOpen;
    EXPECT_EQ(end->IntoReturnStroke, opening > kOpenThreshold) << where;
    EXPECT_NEAR(end->EffectiveSteamOpening,
                std::clamp(swept.widest[openThere], 0.0, double(port)), kExtremeTolerance)
        << where;
    EXPECT_NEAR(end->EffectiveExhaustOpening,
                std::clamp(swept.widest[openThere + 1], 0.0, double(port)), kExtremeTolerance)
        << where;
  }
  EXPECT_DOUBLE_EQ(n.Front.Lead, swept.frontLead) << where;
  EXPECT_DOUBLE_EQ(n.Rear.Lead, swept.rearLead) << where;
  EXPECT_NEAR(n.ValveTravel, swept.highX - swept.lowX, kExtremeTolerance) << where;
  EXPECT_NEAR(n.DieSlip, swept.highDie - swept.lowDie, kExtremeTolerance) << where;
  EXPECT_NEAR(n.Front.MaxSteamOpening, swept.widest[0], kExtremeTolerance) << where;
  EXPECT_NEAR(n.Front.MaxExhaustOpening, swept.widest[1], kExtremeTolerance) << where;
  EXPECT_NEAR(n.Rear.MaxSteamOpening, swept.widest[2], kExtremeTolerance) << where;
  EXPECT_NEAR(n.Rear.MaxExhaustOpening, swept.widest[3], kExtremeTolerance) << where;
  EXPECT_EQ(n.Error, swept.error) << where;
}

// The figures a designer of the factory gear knows: at +1.6 the front end cuts off at 77.7 % and
// the rear at 85.5 %; at +1.8 the front lead has gone negative. Forward notches run the crank
// forwards, reverse ones backwards, so both directions are held against the sweep.
TEST(ValveEventsTable, FactoryGearAgreesWithAFineSweepBothWays) {
  const Workspace ws = startedWorkspace();
  const NotchEvents full = ValveEvents(ws, 1.6);
  ASSERT_TRUE(full.Front.CutOff && full.Rear.CutOff);
  EXPECT_NEAR(full.Front.CutOff->Stroke, 77.7, 0.05);
  EXPECT_NEAR(full.Rear.CutOff->Stroke, 85.5, 0.05);
  // Admission comes before dead centre: a small negative crank angle.
  ASSERT_TRUE(full.Front.Admission);
  EXPECT_LT(full.Front.Admission->CrankAngle, 0.0);
  EXPECT_GT(full.Front.Admission->CrankAngle, -1.0);
  EXPECT_NEAR(ValveEvents(ws, 1.8).Front.Lead, -0.0036, 0.00005);

  for (double offset : {1.8, 1.6, 0.6, 0.0, -0.4, -1.6}) {
    const NotchEvents n = ValveEvents(ws, offset);
    EXPECT_EQ(n.Direction, offset >= 0.0 ? "Fwd" : "Rev");
    expectMatchesSweep(ws, n, "offset " + std::to_string(offset));
  }
}

TEST(ValveEventsTable, RandomGearsAgreeWithAFineSweep) {
  std::mt19937 rng(20261209);
  std::uniform_real_distribution<double> spread(-1.0, 1.0);
  for (int set = 0; set < 3; ++set) {
    Workspace ws = startedWorkspace();
    for (int id = dim::Stroke; id <= dim::ReverseArmLength; ++id)
      setDimension(ws, id, toSingle(dimensionValue(ws, id) * (1.0 + 0.03 * spread(rng))));
    for (int id : {dim::ExhaustPortWidth, dim::BridgeWidthRear, dim::BridgeWidthFront,
                   dim::SteamPortWidthRear, dim::SteamPortWidthFront, dim::ValveLengthRearHalf,
                   dim::ValveLengthFrontHalf, dim::ValveExhCavityRearHalf,
                   dim::ValveExhCavityFrontHalf, dim::ValveStem})
      setDimension(ws, id, toSingle(dimensionValue(ws, id) * (1.0 + 0.06 * spread(rng))));
    ComputeReverseArmCentre(ws);
    for (double offset : {1.7, 0.3, -0.9, -1.8}) {
      const NotchEvents n = ValveEvents(ws, offset);
      expectMatchesSweep(ws, n, "set " + std::to_string(set) + " offset " + std::to_string(offset));
    }
  }
}

// With the front valve half cut short the front steam edge never covers its port at mid gear:
// steam is admitted the whole turn, so there is no admission and no cut-off to report. With the
// rear half made long the rear port never opens, and its largest opening says by how much.
TEST(ValveEventsTable, EdgesThatNeverCloseOrNeverOpenReportNoEvents) {
  Workspace ws = startedWorkspace();
  const float frontHalf = dimensionValue(ws, dim::ValveLengthFrontHalf);
  const float rearHalf = dimensionValue(ws, dim::ValveLengthRearHalf);
  setDimension(ws, dim::ValveLengthFrontHalf, frontHalf - 0.4f);
  setDimension(ws, dim::ValveLengthRearHalf, rearHalf + 0.3f);
  const NotchEvents n = ValveEvents(ws, 0.0);

  EXPECT_EQ(n.Front.SteamEdge, EdgeCycle::AlwaysOpen);
  EXPECT_FALSE(n.Front.Admission);
  EXPECT_FALSE(n.Front.CutOff);
  EXPECT_GT(n.Front.Lead, 0.2);
  EXPECT_TRUE(n.Front.OpensFully);

  EXPECT_EQ(n.Rear.SteamEdge, EdgeCycle::NeverOpens);
  EXPECT_FALSE(n.Rear.Admission);
  EXPECT_FALSE(n.Rear.CutOff);
  EXPECT_LT(n.Rear.MaxSteamOpening, 0.0);
  EXPECT_FALSE(n.Rear.OpensFully);
  // The exhaust edges still cycle, and the sweep agrees on all of it.
  EXPECT_EQ(n.Front.ExhaustEdge, EdgeCycle::Cycles);
  EXPECT_TRUE(n.Front.Release && n.Front.Compression);
  expectMatchesSweep(ws, n, "lopsided valve");
}

// A radius rod too short for the valve lever's swing cannot reach the valve-stem line over part
// of the turn. The table names the joint, gives no margin there, and brackets the angles where
// the solver had to substitute, even with the user's error beep switched off.
TEST(ValveEventsTable, GearThatLocksPartOfTheTurnSaysWhere) {
  Workspace ws = startedWorkspace();
  ws.ErrorBeepOn = false;
  // Longest reach the rod needs over the turn at full forward gear, from an unlocked solve.
  double reach = 0.0;
  const float arm = toSingle(ws.RevArmPositions[0] + 1.8);
  for (int a = 0; a < 360; ++a) {
    test::solveAt(ws, static_cast<float>(a), arm);
    reach = std::fmax(reach, std::fabs(double(ws.Pivots.V[7]) - ws.Pivots.V[4]));
  }
  setDimension(ws, dim::RadiusRod, toSingle(reach - 0.05));
  const NotchEvents n = ValveEvents(ws, 1.8);

  ASSERT_TRUE(n.Error);
  ASSERT_FALSE(n.ErrorRanges.empty());
  EXPECT_EQ(n.ClosureMargin.Joint, GearJoint::ValveStem);
  EXPECT_EQ(n.ClosureMargin.Degrees, 0.0);
  EXPECT_EQ(n.ClosureMargin.SpareJoint, GearJoint::ValveStem);
  EXPECT_LT(n.ClosureMargin.SpareLength, -0.04);

  const test::SweptNotch swept = test::sweepNotch(ws, arm, true, 0.01, 0.01);
  ASSERT_TRUE(swept.error);
  auto inside = [&](double angle, double margin) {
    for (const AngleRange& r : n.ErrorRanges) {
      const bool wraps = r.From > r.To;
      if (wraps ? (angle >= r.From - margin || angle <= r.To + margin)
                : (angle >= r.From - margin && angle <= r.To + margin))
        return true;
    }
    return false;
  };
  for (double angle : swept.errorAngles) EXPECT_TRUE(inside(angle, 0.002)) << angle;
  // And nowhere else: the failing angles of the sweep fill each range.
  double covered = 0.0;
  for (const AngleRange& r : n.ErrorRanges)
    covered += r.From > r.To ? r.To + 360.0 - r.From : r.To - r.From;
  EXPECT_NEAR(covered, swept.errorAngles.size() * 0.01, 0.03);
}

// How near the gear comes to locking: with a radius rod only 0.005 longer than the widest swing
// it has to span, the valve-stem joint is the nearest, with that length to spare.
TEST(ValveEventsTable, ClosureMarginNamesTheNearestJointAndItsSpareLength) {
  Workspace ws = startedWorkspace();
  const float arm = toSingle(ws.RevArmPositions[0] - 1.2);
  const NotchEvents loose = ValveEvents(ws, -1.2);
  EXPECT_GT(loose.ClosureMargin.Degrees, 5.0);
  EXPECT_LT(loose.ClosureMargin.Degrees, 90.0);

  double reach = 0.0;
  for (int a = 0; a < 3600; ++a) {
    test::solveAt(ws, a * 0.1f, arm);
    reach = std::fmax(reach, std::fabs(double(ws.Pivots.V[7]) - ws.Pivots.V[4]));
  }
  setDimension(ws, dim::RadiusRod, toSingle(reach + 0.005));
  const NotchEvents n = ValveEvents(ws, -1.2);
  EXPECT_FALSE(n.Error);
  EXPECT_EQ(n.ClosureMargin.Joint, GearJoint::ValveStem);
  EXPECT_EQ(n.ClosureMargin.SpareJoint, GearJoint::ValveStem);
  EXPECT_NEAR(n.ClosureMargin.SpareLength, 0.005, 1e-4);
  const double rod = dimensionValue(ws, dim::RadiusRod);
  EXPECT_NEAR(n.ClosureMargin.Degrees, std::acos(reach / rod) * 180.0 / 3.14159265358979, 0.01);
}

// The table works on a copy: the running gear's pose, valve state, cut-off memory and error flag
// are exactly as they were.
TEST(ValveEventsTable, LeavesTheCallersWorkingSetAlone) {
  Workspace ws = startedWorkspace();
  test::solveAt(ws, 123.0f, ws.RevArmPositions[2]);
  ws.PrevPistonPos = 17.0f;
  ws.FrontCutOffText = "77.7";
  ws.ErrorFlag = false;
  const Workspace before = ws;
  ComputeValveEvents(ws);
  EXPECT_EQ(ws.DriverAngle, before.DriverAngle);
  EXPECT_EQ(ws.ReverseArmPos, before.ReverseArmPos);
  EXPECT_EQ(ws.Pivots.H, before.Pivots.H);
  EXPECT_EQ(ws.Pivots.V, before.Pivots.V);
  EXPECT_EQ(ws.PistonPos, before.PistonPos);
  EXPECT_EQ(ws.FrontSteamOpen, before.FrontSteamOpen);
  EXPECT_EQ(ws.PrevPistonPos, before.PrevPistonPos);
  EXPECT_EQ(ws.FrontCutOffText, before.FrontCutOffText);
  EXPECT_EQ(ws.ErrorFlag, before.ErrorFlag);
  EXPECT_EQ(ws.ErrorBeepOn, before.ErrorBeepOn);
}

// The default notches are rows of the port events diagram (every second one), full forward
// through mid gear to full reverse; a list of offsets comes out in the order given.
TEST(ValveEventsTable, DefaultNotchesAndGivenOffsets) {
  const Workspace ws = startedWorkspace();
  const ValveEventsTable table = ComputeValveEvents(ws);
  ASSERT_EQ(table.Notches.size(), static_cast<size_t>(kDefaultNotchCount));
  EXPECT_EQ(table.Centre, ws.RevArmPositions[0]);
  const double max = ws.Frame[dim::RevArmToCentMax];
  for (int k = 0; k < kDefaultNotchCount; ++k) {
    const int row = std::abs(18 - 2 * k);  // 18, 16, .., 0, .., 18
    const double offset = row * max / 18;
    const float expected = toSingle(k <= 9 ? table.Centre + offset : table.Centre - offset);
    EXPECT_EQ(table.Notches[k].ReverseArmPos, expected) << k;
    EXPECT_EQ(table.Notches[k].Direction, k <= 9 ? "Fwd" : "Rev") << k;
  }

  const ValveEventsTable given = ComputeValveEvents(ws, {1.6, 0.8, -0.8});
  ASSERT_EQ(given.Notches.size(), 3u);
  EXPECT_EQ(given.Notches[0].Offset, 1.6);
  EXPECT_EQ(given.Notches[2].Offset, -0.8);
  EXPECT_EQ(given.Notches[2].Direction, "Rev");
  // The same notch alone or in a list gives the same events.
  EXPECT_EQ(given.Notches[1].Front.CutOff->CrankAngle,
            ValveEvents(ws, 0.8).Front.CutOff->CrankAngle);
}

// A notch nobody can place (a NaN offset from a script) is reported as an error with no events
// rather than crashing or filling the table with NaN.
TEST(ValveEventsTable, UnplaceableNotchIsAnErrorWithoutEvents) {
  const Workspace ws = startedWorkspace();
  const ValveEventsTable table = ComputeValveEvents(ws, {std::nan(""), 0.5});
  ASSERT_EQ(table.Notches.size(), 2u);
  EXPECT_TRUE(table.Notches[0].Error);
  EXPECT_FALSE(table.Notches[0].Front.CutOff);
  EXPECT_TRUE(table.Notches[1].Front.CutOff);
  EXPECT_FALSE(table.Notches[1].Error);
}

}  // namespace
}  // namespace vek1
