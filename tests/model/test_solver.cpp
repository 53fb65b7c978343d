#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "model_support.h"

namespace vek1 {
namespace {

using test::distance;
using test::firstNonFiniteOutput;
using test::solveAt;
using test::startedWorkspace;

// Rod lengths recovered from a solved pose carry the rounding of a dozen single stores.
constexpr double kPoseTolerance = 1e-4;

float frame(const Workspace& ws, int id) {
  return dimensionValue(ws, id);
}

TEST(Solver, FactoryGearAtDeadCentreAndQuarterTurn) {
  Workspace ws = startedWorkspace();
  const float centre = ws.RevArmPositions[0];
  solveAt(ws, 0.0f, centre);
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  EXPECT_FLOAT_EQ(H[2], 1.5f);
  EXPECT_EQ(V[2], 0.0f);
  EXPECT_FLOAT_EQ(H[3], 10.5f);
  EXPECT_FLOAT_EQ(H[10], 7.707f);
  EXPECT_NEAR(H[4], 11.03f, 0.005);
  EXPECT_FALSE(ws.ErrorFlag);

  solveAt(ws, 90.0f, centre);
  EXPECT_FLOAT_EQ(V[2], -1.5f);
  EXPECT_NEAR(H[2], 0.0f, 1e-6);
}

TEST(Solver, GearClosesOverAWholeTurnAnywhereInTheReverseArmRange) {
  Workspace ws = startedWorkspace();
  const float centre = ws.RevArmPositions[0];
  for (int k = -6; k <= 6; ++k) {
    for (int angle = 0; angle <= 360; ++angle) {
      solveAt(ws, static_cast<float>(angle), centre + k * 0.3f);
      ASSERT_FALSE(ws.ErrorFlag) << "offset " << k * 0.3 << " angle " << angle;
    }
  }
}

TEST(Solver, ValveTravelIsLapPlusLeadAtMidGearAndWiderAtFullGear) {
  Workspace ws = startedWorkspace();
  const float centre = ws.RevArmPositions[0];
  auto largestTravel = [&ws](float arm) {
    double largest = 0.0;
    for (int angle = 0; angle < 360; ++angle) {
      solveAt(ws, static_cast<float>(angle), arm);
      largest = std::fmax(largest, std::fabs(ws.Ports.ValveDisplacement));
    }
    return largest;
  };
  EXPECT_NEAR(largestTravel(centre), 0.175, 0.005);
  EXPECT_NEAR(ws.Ports.FrontSteamLap, 0.1565f, 1e-6);
  EXPECT_NEAR(largestTravel(centre + 1.6f), 0.46, 0.04);
  EXPECT_NEAR(largestTravel(centre - 1.6f), 0.46, 0.04);
}

// Dimension sets under which the gear closes at every angle tried; the second and third move
// every rod and pivot away from the factory values so no two lengths coincide.
void applySet(Workspace& ws, int set) {
  const struct {
    int id;
    float values[2];
  } changes[] = {
      {dim::Stroke, {2.8f, 3.1f}},
      {dim::MainRodCrankEnd, {6.5f, 5.9f}},
      {dim::MainRodPistonEnd, {3.1f, 2.6f}},
      {dim::RadiusRod, {5.3f, 4.7f}},
      {dim::LinkRadius, {4.6f, 5.5f}},
      {dim::LinkPivotVert, {1.7f, 1.55f}},
      {dim::LinkPivotHorz, {6.0f, 6.4f}},
      {dim::ValveLeverUpper, {0.52f, 0.41f}},
      {dim::ValveLeverLower, {2.3f, 2.6f}},
      {dim::CouplerUpper, {0.9f, 0.75f}},
      {dim::CouplerLower, {1.3f, 1.5f}},
      {dim::AnchorLinkLength, {2.9f, 3.2f}},
      {dim::AnchorLinkPivotVert, {-1.6f, -1.75f}},
      {dim::AnchorLinkPivotHorz, {9.4f, 8.9f}},
      {dim::ReverseArmLength, {2.8f, 3.3f}},
      {dim::CylClAboveDriverCtr, {0.15f, -0.1f}},
      {dim::ValveStemClToCylCl, {2.1f, 2.0f}},
  };
  if (set == 0) return;
  for (const auto& c : changes) setDimension(ws, c.id, c.values[set - 1]);
  ComputeReverseArmCentre(ws);
}

// Checks a solved pose against the rods themselves, independently of how it was constructed.
void expectRodsHold(const Workspace& ws) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  const double CE = frame(ws, dim::MainRodCrankEnd), PE = frame(ws, dim::MainRodPistonEnd);
  const double CU = frame(ws, dim::CouplerUpper), CLo = frame(ws, dim::CouplerLower);
  const double VU = frame(ws, dim::ValveLeverUpper), VL = frame(ws, dim::ValveLeverLower);
  const double LRad = frame(ws, dim::LinkRadius);
  // Main rod: crank pin to crosshead on the cylinder line, hanger point CE along it.
  EXPECT_EQ(V[3], frame(ws, dim::CylClAboveDriverCtr));
  EXPECT_NEAR(distance(ws, 2, 3), CE + PE, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 2, 10), CE, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 10, 3), PE, kPoseTolerance);
  EXPECT_GT(H[3], H[2]);
  // Coupler from the hanger point to the anchor link, the coupler point CU along it.
  EXPECT_NEAR(distance(ws, 10, 11), CU + CLo, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 10, 9), CU, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 11), CLo, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 13, 11), frame(ws, dim::AnchorLinkLength), kPoseTolerance);
  // Reverse arm up from the link pivot; the link's centre of curvature turns with it.
  EXPECT_NEAR(distance(ws, 6, 18), frame(ws, dim::ReverseArmLength), kPoseTolerance);
  EXPECT_GT(V[18], V[6]);
  EXPECT_NEAR(distance(ws, 14, 6), LRad, kPoseTolerance);
  EXPECT_NEAR(ws.ReverseArmAngle, std::atan((H[18] - H[6]) / (V[18] - V[6])), 1e-5);
  // Die block on the link's arc, valve lever straight through 9, 8 and 7.
  EXPECT_NEAR(distance(ws, 14, 8), LRad, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 8), VL, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 8, 7), VU, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 7), VL + VU, kPoseTolerance);
  EXPECT_NEAR(ws.ValveLeverAngle, std::atan((H[7] - H[9]) / (V[7] - V[9])), 1e-5);
  // Radius rod to the valve-stem line, on the cylinder side.
  EXPECT_EQ(V[4], V[3] + frame(ws, dim::ValveStemClToCylCl));
  EXPECT_NEAR(distance(ws, 7, 4), frame(ws, dim::RadiusRod), kPoseTolerance);
  EXPECT_GT(H[4], H[7]);
}

TEST(SolverGeometry, SolvedPosesKeepEveryRodItsLength) {
  for (int set = 0; set <= 2; ++set) {
    Workspace ws = startedWorkspace();
    applySet(ws, set);
    const float centre = ws.RevArmPositions[0];
    for (float offset : {-1.5f, -0.4f, 0.0f, 0.7f, 1.5f}) {
      for (int angle = 0; angle < 360; angle += 15) {
        SCOPED_TRACE("set " + std::to_string(set) + " offset " + std::to_string(offset) +
                     " angle " + std::to_string(angle));
        solveAt(ws, static_cast<float>(angle), centre + offset);
        ASSERT_FALSE(ws.ErrorFlag);
        expectRodsHold(ws);
        if (HasFailure()) return;
      }
    }
  }
}

TEST(SolverSafeOps, GuardPushesTinyDivisorsOutwardAndRaisesTheLatch) {
  const struct {
    float in, out;
    bool latched;
  } cases[] = {{0.0f, 1e-5f, true},    {-0.0f, 1e-5f, true},   {5e-6f, 1e-5f, true},
               {-5e-6f, -1e-5f, true}, {2e-5f, 2e-5f, false},  {-2e-5f, -2e-5f, false},
               {3.0f, 3.0f, false},    {-3e38f, -3e38f, false}};
  for (const auto& c : cases) {
    Workspace ws;
    EXPECT_EQ(Guard(ws, c.in), c.out) << c.in;
    EXPECT_EQ(ws.ErrorFlag, c.latched) << c.in;
  }
  Workspace ws;
  EXPECT_EQ(Guard(ws, 1e-5f), 1e-5f);  // at the limit the value is the same either way
}

TEST(SolverSafeOps, ClampKeepsASineStrictlyInsideOne) {
  const struct {
    float in, out;
    bool latched;
  } cases[] = {{1.0f, 0.999999f, true},    {-1.0f, -0.999999f, true}, {INFINITY, 0.999999f, true},
               {-3e38f, -0.999999f, true}, {0.5f, 0.5f, false},       {-0.9999f, -0.9999f, false}};
  for (const auto& c : cases) {
    Workspace ws;
    EXPECT_EQ(Clamp(ws, c.in), c.out) << c.in;
    EXPECT_EQ(ws.ErrorFlag, c.latched) << c.in;
  }
  Workspace ws;
  const float fromNaN = Clamp(ws, std::nanf(""));
  EXPECT_TRUE(std::isfinite(fromNaN) && std::fabs(fromNaN) < 1.0f);
  EXPECT_TRUE(ws.ErrorFlag);
}

TEST(SolverSafeOps, NonNegativeFlipsANegativeDiscriminant) {
  Workspace ws;
  EXPECT_EQ(NonNegative(ws, 2.0f), 2.0f);
  EXPECT_EQ(NonNegative(ws, 0.0f), 0.0f);
  EXPECT_FALSE(ws.ErrorFlag);
  EXPECT_EQ(NonNegative(ws, -4.0f), 4.0f);
  EXPECT_TRUE(ws.ErrorFlag);
  Workspace quiet;
  quiet.ErrorBeepOn = false;
  EXPECT_EQ(NonNegative(quiet, -4.0f), 4.0f);
  EXPECT_FALSE(quiet.ErrorFlag);
}

// Impossible geometry: the latch goes up (only with the error beep on), and the pose stays
// finite and keeps the substituted values.
TEST(SolverFailure, ImpossibleGearRaisesTheLatchOnlyWithTheBeepOn) {
  const struct {
    const char* what;
    std::function<void(Workspace&)> arrange;
    std::function<void(const Workspace&)> check;
  } cases[] = {
      {"main rod shorter than the crank's offset from the cylinder line",
       [](Workspace& ws) {
         setDimension(ws, dim::MainRodCrankEnd, 0.5f);
         setDimension(ws, dim::MainRodPistonEnd, 0.3f);
         ws.DriverAngle = 90.0f;
       },
       [](const Workspace& ws) {
         EXPECT_NEAR(ws.Pivots.H[3] - ws.Pivots.H[2], std::sqrt(1.5 * 1.5 - 0.8 * 0.8), 1e-5);
       }},
      {"anchor link too short to reach the coupler",
       [](Workspace& ws) {
         setDimension(ws, dim::AnchorLinkLength, 0.2f);
         setDimension(ws, dim::AnchorLinkPivotVert, -4.0f);
       },
       [](const Workspace& ws) { EXPECT_NEAR(distance(ws, 13, 11), 0.2, 1e-5); }},
      {"reverse arm set farther out than its length",
       [](Workspace& ws) { ws.ReverseArmPos = ws.Pivots.H[6] + 4.0f; },
       [](const Workspace& ws) {
         EXPECT_NEAR(ws.Pivots.V[18] - ws.Pivots.V[6], std::sqrt(7.0), 1e-5);
       }},
      {"coupler of no length",
       [](Workspace& ws) {
         setDimension(ws, dim::CouplerUpper, 0.5f);
         setDimension(ws, dim::CouplerLower, -0.5f);
       },
       [](const Workspace& ws) {
         const auto& H = ws.Pivots.H;
         const double expected = (static_cast<double>(H[11]) - H[10]) * 0.5 / 1e-5;
         EXPECT_NEAR(H[9] - H[10], expected, std::fabs(expected) * 1e-4 + 1e-4);
       }},
      {"zero stroke", [](Workspace& ws) { setDimension(ws, dim::Stroke, 0.0f); },
       [](const Workspace&) {}},
  };
  for (const auto& c : cases) {
    for (bool beep : {true, false}) {
      SCOPED_TRACE(std::string(c.what) + (beep ? ", beep on" : ", beep off"));
      Workspace ws = startedWorkspace();
      ws.ErrorBeepOn = beep;
      c.arrange(ws);
      SolveLinkage(ws);
      ComputeValveState(ws);
      EXPECT_EQ(ws.ErrorFlag, beep);
      const char* bad = firstNonFiniteOutput(ws);
      EXPECT_EQ(bad, nullptr) << bad;
      c.check(ws);
    }
  }
}

// Whatever finite numbers a user types or a file holds, the gear stays drawable: no NaN or
// infinity reaches a pixel, a scroll position or a screen text.
TEST(SolverFiniteness, AnyFiniteDimensionsGiveAFinitePose) {
  std::mt19937 rng(1847);
  std::uniform_real_distribution<float> ordinary(-20.0f, 20.0f);
  const float extremes[] = {0.0f,   -0.0f, 1e-30f, -1e-30f, 1e30f,
                            -1e30f, 3e38f, -3e38f, FLT_MAX, -FLT_MAX};
  auto pick = [&](float factory) {
    switch (rng() % 3) {
      case 0:
        return extremes[rng() % std::size(extremes)];
      case 1:
        return ordinary(rng);
      default:
        return factory;
    }
  };
  std::uniform_real_distribution<float> angle(0.0f, 360.1f);
  for (int n = 0; n < 2000; ++n) {
    Workspace ws = startedWorkspace();
    for (int id = -1; id <= 130; ++id)
      if (isDimensionId(id)) setDimension(ws, id, pick(factoryDefault(id)));
    ComputeReverseArmCentre(ws);
    SetRevArmScrollRange(ws);
    const float arm =
        rng() % 2 ? ws.RevArmPositions[0] + ordinary(rng) / 10.0f : pick(ws.RevArmPositions[0]);
    solveAt(ws, angle(rng), arm);
    UpdateEvents(ws);
    DetectCutOff(ws);
    const char* bad = firstNonFiniteOutput(ws);
    ASSERT_EQ(bad, nullptr) << bad << " in case " << n;
    ASSERT_LE(ws.RevArmScrollMin, ws.RevArmScrollMax) << n;
  }
}

}  // namespace
}  // namespace vek1
