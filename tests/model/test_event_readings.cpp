// How the valve events read to a designer: a late cut-off counted on from dead centre and
// flagged, blow-through found where it is, one measure of closure at every joint, no noise made
// into events, nothing reported where the gear has no pose. Each is held against a slow sweep of
// the solver's own poses, not against the table's arithmetic.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "model_support.h"
#include "numbers.h"
#include "valve_events.h"

namespace vek1 {
namespace {

using test::solveAt;
using test::startedWorkspace;

double degreesBetween(const Workspace& ws, int at, int a, int b) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  const double ax = double(H[a]) - H[at], ay = double(V[a]) - V[at];
  const double bx = double(H[b]) - H[at], by = double(V[b]) - V[at];
  return std::atan2(std::fabs(ax * by - ay * bx), ax * bx + ay * by) * 180.0 / std::numbers::pi;
}

double folded(double degrees) {
  return std::min(degrees, 180.0 - degrees);
}

// Degrees of a rod's transmission where it meets a straight guide: 90 when it lies along it.
double againstGuide(double offset, double rod) {
  return std::acos(std::min(std::fabs(offset / rod), 1.0)) * 180.0 / std::numbers::pi;
}

// The smallest transmission angle of each joint over a turn, from the poses themselves: at the
// anchor link and the die block the angle between the two members at the joint, at the
// crosshead, reverse arm and valve stem the rod against its guide.
std::array<double, kJointCount> sweptTransmission(Workspace ws, float arm) {
  std::array<double, kJointCount> least;
  least.fill(90.0);
  const auto& f = ws.Frame;
  for (int step = 0; step < 7200; ++step) {
    solveAt(ws, static_cast<float>(step * 0.05), arm);
    const auto& H = ws.Pivots.H;
    const auto& V = ws.Pivots.V;
    const double angles[kJointCount] = {
        againstGuide(double(V[2]) - V[3], double(f[dim::MainRodCrankEnd]) + f[dim::MainRodPistonEnd]),
        folded(degreesBetween(ws, 11, 13, 10)),
        againstGuide(double(H[18]) - H[6], f[dim::ReverseArmLength]),
        folded(degreesBetween(ws, 8, 14, 9)),
        againstGuide(double(V[7]) - V[4], f[dim::RadiusRod])};
    for (int j = 0; j < kJointCount; ++j) least[j] = std::min(least[j], angles[j]);
  }
  return least;
}

TEST(EventReadings, ClosureMarginIsTheSmallestTransmissionAngleAtEveryJoint) {
  Workspace ws = startedWorkspace();
  for (double offset : {1.6, 0.4, -1.2}) {
    const NotchEvents n = ValveEvents(ws, offset);
    const auto least = sweptTransmission(ws, n.ReverseArmPos);
    int nearest = 0;
    for (int j = 1; j < kJointCount; ++j)
      if (least[j] < least[nearest]) nearest = j;
    EXPECT_EQ(static_cast<int>(n.ClosureMargin.Joint), nearest) << offset;
    EXPECT_NEAR(n.ClosureMargin.Degrees, least[nearest], 0.01) << offset;
  }
}

// With the front valve half cut to 0.30 the front port is still open when the piston reaches
// the rear dead centre at +1.6: cut-off comes 9.6 degrees into the return stroke. It reads as
// 189.6 degrees after dead centre and a small percent of the return stroke, flagged, where it
// used to read -170.4 degrees and 99.4 %, as if it closed just before the end of the stroke.
TEST(EventReadings, ACutOffIntoTheReturnStrokeReadsAfterDeadCentreAndIsFlagged) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::ValveLengthFrontHalf, 0.30f);
  const NotchEvents n = ValveEvents(ws, 1.6);
  ASSERT_TRUE(n.Front.CutOff);
  EXPECT_NEAR(n.Front.CutOff->CrankAngle, 189.58, 0.01);
  EXPECT_NEAR(n.Front.CutOff->Stroke, 0.58, 0.01);
  EXPECT_TRUE(n.Front.IntoReturnStroke);
  EXPECT_NEAR(percentFromDeadCentre(*n.Front.CutOff), 100.58, 0.01);
  ASSERT_TRUE(n.Rear.CutOff);
  EXPECT_FALSE(n.Rear.IntoReturnStroke);
  EXPECT_GT(n.Rear.CutOff->CrankAngle, 0.0);
  EXPECT_LT(n.Rear.CutOff->CrankAngle, 180.0);
  // Compression, before dead centre, is a percent of the return stroke: the rest of it from the
  // end is what percentFromDeadCentre reads, below zero.
  ASSERT_TRUE(n.Rear.Compression);
  EXPECT_LT(n.Rear.Compression->CrankAngle, 0.0);
  EXPECT_GT(n.Rear.Compression->Stroke, 50.0);
  EXPECT_NEAR(percentFromDeadCentre(*n.Rear.Compression), n.Rear.Compression->Stroke - 100.0, 1e-12);
}

// Blow-through: where the front steam and exhaust edges are open at once, steam goes straight
// to the exhaust. Held against a sweep at 0.01 degree of both openings.
TEST(EventReadings, BlowThroughIsWhereBothEdgesOfAnEndAreOpen) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::ValveLengthFrontHalf, 0.35f);
  const NotchEvents n = ValveEvents(ws, 0.4);
  ASSERT_EQ(n.Front.BlowThrough.size(), 2u);
  EXPECT_TRUE(n.Rear.BlowThrough.empty());
  std::vector<double> both;
  for (int step = 0; step < 36000; ++step) {
    solveAt(ws, static_cast<float>(step * 0.01), n.ReverseArmPos);
    if (ws.FrontSteamOpen > 0.0f && ws.FrontExhOpen > 0.0f) both.push_back(step * 0.01);
  }
  ASSERT_FALSE(both.empty());
  double covered = 0.0;
  for (const AngleRange& r : n.Front.BlowThrough) {
    ASSERT_LT(r.From, r.To);
    covered += r.To - r.From;
  }
  EXPECT_NEAR(covered, both.size() * 0.01, 0.03);
  for (double a : both) {
    bool inside = false;
    for (const AngleRange& r : n.Front.BlowThrough) inside |= a >= r.From - 0.01 && a <= r.To + 0.01;
    EXPECT_TRUE(inside) << a;
  }
  // The example a designer meets: 223 to 295 degrees after the front dead centre.
  EXPECT_NEAR(n.Front.BlowThrough[1].From, 223.34, 0.01);
  EXPECT_NEAR(n.Front.BlowThrough[1].To, 294.73, 0.01);
}

// At mid gear the rear valve can be made to just touch its lap: an opening of a few millionths
// of a unit is rounding, not steam, and must not become an admission and a cut-off. A tenth of a
// thousandth is steam.
TEST(EventReadings, AnOpeningBelowTheThresholdCountsAsClosed) {
  const Workspace base = startedWorkspace();
  const double widest = ValveEvents(base, 0.0).Rear.MaxSteamOpening;
  ASSERT_GT(widest, 0.001);
  const float rearHalf = dimensionValue(base, dim::ValveLengthRearHalf);
  for (const double left : {4e-6, 1e-4}) {
    Workspace ws = base;
    setDimension(ws, dim::ValveLengthRearHalf, toSingle(rearHalf + widest - left));
    const NotchEvents n = ValveEvents(ws, 0.0);
    ASSERT_GT(n.Rear.MaxSteamOpening, 0.0) << left;  // the valve does uncover the port a hair
    const bool steam = left > kOpenThreshold;
    EXPECT_EQ(n.Rear.SteamEdge, steam ? EdgeCycle::Cycles : EdgeCycle::NeverOpens) << left;
    EXPECT_EQ(n.Rear.Admission.has_value(), steam) << left;
    EXPECT_EQ(n.Rear.CutOff.has_value(), steam) << left;
  }
}

// The reverse arm is 3.0 long about the link pivot: the factory gear reaches offsets from the
// centre of -2.972 to 3.028. Beyond, there is no pose: nothing is computed. Within reach but
// beyond "Rev Arm to Cent Norm" the notch is computed and marked.
TEST(EventReadings, ANotchOutOfReachHasNoEventsAndOneBeyondFullGearIsMarked) {
  const Workspace ws = startedWorkspace();
  const OffsetRange reach = ReachableOffsets(ws);
  EXPECT_NEAR(reach.Lowest, -2.972, 0.001);
  EXPECT_NEAR(reach.Highest, 3.028, 0.001);
  for (double offset : {3.5, reach.Highest + 0.001, reach.Lowest - 0.001, 1e20}) {
    const NotchEvents n = ValveEvents(ws, offset);
    EXPECT_TRUE(n.OutOfReach) << offset;
    EXPECT_TRUE(n.Error) << offset;
    EXPECT_FALSE(n.Front.Admission || n.Front.CutOff || n.Rear.Release) << offset;
  }
  const NotchEvents edge = ValveEvents(ws, reach.Highest - 0.001);
  EXPECT_FALSE(edge.OutOfReach);
  EXPECT_TRUE(edge.BeyondFullGear);
  EXPECT_TRUE(ValveEvents(ws, -1.7).BeyondFullGear);
  EXPECT_FALSE(ValveEvents(ws, 1.6).BeyondFullGear);
  EXPECT_FALSE(ValveEvents(ws, -1.6).OutOfReach);
}

// Where the gear locks the solver substitutes a pose; an edge crossing there is an artefact of
// the substitute. An anchor link cut to 1.0 locks over most of the turn at full gear: every event
// still reported lies outside the lock ranges, and the ones that would fall inside are left out.
TEST(EventReadings, NoEventIsReportedInsideALockRange) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::AnchorLinkLength, 1.0f);
  ComputeReverseArmCentre(ws);
  const NotchEvents n = ValveEvents(ws, 1.8);
  ASSERT_TRUE(n.Error);
  ASSERT_FALSE(n.ErrorRanges.empty());
  auto inside = [&](double driver) {
    for (const AngleRange& r : n.ErrorRanges)
      if (r.From > r.To ? (driver >= r.From || driver <= r.To) : (driver >= r.From && driver <= r.To))
        return true;
    return false;
  };
  int missing = 0;
  for (const auto& [end, deadCentre] :
       {std::pair<const EndEvents&, double>{n.Front, 0.0}, {n.Rear, 180.0}})
    for (const auto& [event, cycle] :
         {std::pair{&end.Admission, end.SteamEdge}, {&end.CutOff, end.SteamEdge},
          {&end.Release, end.ExhaustEdge}, {&end.Compression, end.ExhaustEdge}}) {
      if (!*event) {
        missing += cycle == EdgeCycle::Cycles;
        continue;
      }
      EXPECT_FALSE(inside(std::fmod((*event)->CrankAngle + deadCentre + 360.0, 360.0)))
          << (*event)->CrankAngle;
    }
  EXPECT_GT(missing, 0);
}

// Effective openings are limited to the steam port's width, through which both steam and
// exhaust pass; "full" says the port was uncovered whole. At full gear the factory exhaust
// uncovers the 0.156 port whole; with the rear exhaust cavity 0.1 shorter the rear exhaust does
// not at mid gear.
TEST(EventReadings, EffectiveOpeningsAreLimitedToThePortAndSayWhenFull) {
  Workspace ws = startedWorkspace();
  const double front = dimensionValue(ws, dim::SteamPortWidthFront);
  const NotchEvents full = ValveEvents(ws, 1.6);
  EXPECT_GT(full.Front.MaxExhaustOpening, front);
  EXPECT_TRUE(full.Front.ExhaustOpensFully);
  EXPECT_DOUBLE_EQ(full.Front.EffectiveExhaustOpening, front);
  setDimension(ws, dim::ValveExhCavityRearHalf,
               dimensionValue(ws, dim::ValveExhCavityRearHalf) - 0.1f);
  const NotchEvents mid = ValveEvents(ws, 0.0);
  ASSERT_GT(mid.Rear.MaxExhaustOpening, 0.0);
  EXPECT_FALSE(mid.Rear.ExhaustOpensFully);
  EXPECT_DOUBLE_EQ(mid.Rear.EffectiveExhaustOpening, mid.Rear.MaxExhaustOpening);
  EXPECT_DOUBLE_EQ(mid.Rear.EffectiveSteamOpening, mid.Rear.MaxSteamOpening);
  // The laps are the valve's, the same at every notch, and the factory valve has steam lap at
  // both ends.
  EXPECT_EQ(full.Front.SteamLap, mid.Front.SteamLap);
  EXPECT_GT(full.Front.SteamLap, 0.0);
  EXPECT_GT(full.Rear.SteamLap, 0.0);
}

}  // namespace
}  // namespace vek1
