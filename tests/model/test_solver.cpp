#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "model_support.h"

namespace vek1 {
namespace {

using test::distance;
using test::solveAt;
using test::startedWorkspace;

// Rod lengths recovered from a solved pose carry the rounding of a dozen single stores.
constexpr double kPoseTolerance = 1e-4;

TEST(Solver, FactoryGearAtDeadCentreAndQuarterTurn) {
  Workspace ws = startedWorkspace();
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  solveAt(ws, 0.0f, ws.RevArmPositions[0]);
  EXPECT_FLOAT_EQ(H[2], 1.5f);
  EXPECT_EQ(V[2], 0.0f);
  EXPECT_FLOAT_EQ(H[3], 10.5f);
  EXPECT_FLOAT_EQ(H[10], 7.707f);
  EXPECT_NEAR(H[4], 11.03f, 0.005);
  EXPECT_FALSE(ws.ErrorFlag);
  solveAt(ws, 90.0f, ws.RevArmPositions[0]);
  EXPECT_FLOAT_EQ(V[2], -1.5f);
  EXPECT_NEAR(H[2], 0.0f, 1e-6);
}

TEST(Solver, GearClosesOverAWholeTurnAnywhereInTheReverseArmRange) {
  Workspace ws = startedWorkspace();
  const float centre = ws.RevArmPositions[0];
  for (int k = -6; k <= 6; ++k)
    for (int angle = 0; angle <= 360; ++angle) {
      solveAt(ws, static_cast<float>(angle), centre + k * 0.3f);
      ASSERT_FALSE(ws.ErrorFlag) << "offset " << k * 0.3 << " angle " << angle;
    }
}

TEST(Solver, ValveTravelIsLapPlusLeadAtMidGearAndWiderAtFullGear) {
  Workspace ws = startedWorkspace();
  auto largestTravel = [&ws](float arm) {
    double largest = 0.0;
    for (int angle = 0; angle < 360; ++angle) {
      solveAt(ws, static_cast<float>(angle), arm);
      largest = std::fmax(largest, std::fabs(ws.Ports.ValveDisplacement));
    }
    return largest;
  };
  EXPECT_NEAR(largestTravel(ws.RevArmPositions[0]), 0.175, 0.005);
  EXPECT_NEAR(ws.Ports.FrontSteamLap, 0.1565f, 1e-6);
  EXPECT_NEAR(largestTravel(ws.RevArmPositions[2]), 0.46, 0.04);
  EXPECT_NEAR(largestTravel(ws.RevArmPositions[3]), 0.46, 0.04);
}

// Checks a solved pose against the rods themselves, independently of how it was constructed.
void expectRodsHold(const Workspace& ws) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  auto len = [&ws](int id) { return static_cast<double>(dimensionValue(ws, id)); };
  const double CU = len(dim::CouplerUpper), VL = len(dim::ValveLeverLower);
  const double VU = len(dim::ValveLeverUpper), LRad = len(dim::LinkRadius);
  // Main rod from the crank pin to the crosshead on the cylinder line, hanger point CE along it.
  EXPECT_EQ(V[3], dimensionValue(ws, dim::CylClAboveDriverCtr));
  EXPECT_NEAR(distance(ws, 2, 10), len(dim::MainRodCrankEnd), kPoseTolerance);
  EXPECT_NEAR(distance(ws, 10, 3), len(dim::MainRodPistonEnd), kPoseTolerance);
  EXPECT_GT(H[3], H[2]);
  // Coupler from the hanger point down to the anchor link, the coupler point CU along it.
  EXPECT_NEAR(distance(ws, 10, 9), CU, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 11), len(dim::CouplerLower), kPoseTolerance);
  EXPECT_NEAR(distance(ws, 10, 11), CU + len(dim::CouplerLower), kPoseTolerance);
  EXPECT_NEAR(distance(ws, 13, 11), len(dim::AnchorLinkLength), kPoseTolerance);
  // Reverse arm up from the link pivot; the link's centre of curvature turns with it.
  EXPECT_NEAR(distance(ws, 6, 18), len(dim::ReverseArmLength), kPoseTolerance);
  EXPECT_GT(V[18], V[6]);
  EXPECT_NEAR(ws.ReverseArmAngle, std::atan((H[18] - H[6]) / (V[18] - V[6])), 1e-5);
  EXPECT_NEAR(distance(ws, 14, 6), LRad, kPoseTolerance);
  // Die block on the link's arc; the valve lever runs straight through 9, 8 and 7.
  EXPECT_NEAR(distance(ws, 14, 8), LRad, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 8), VL, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 8, 7), VU, kPoseTolerance);
  EXPECT_NEAR(distance(ws, 9, 7), VL + VU, kPoseTolerance);
  EXPECT_NEAR(ws.ValveLeverAngle, std::atan((H[7] - H[9]) / (V[7] - V[9])), 1e-5);
  // Radius rod to the valve-stem line, on the cylinder side of the lever.
  EXPECT_EQ(V[4], V[3] + dimensionValue(ws, dim::ValveStemClToCylCl));
  EXPECT_NEAR(distance(ws, 7, 4), len(dim::RadiusRod), kPoseTolerance);
  EXPECT_GT(H[4], H[7]);
}

TEST(SolverGeometry, SolvedPosesKeepEveryRodItsLength) {
  // The factory gear, then gears with every rod and pivot moved a little, each its own way.
  std::mt19937 rng(5);
  std::uniform_real_distribution<float> nudge(0.96f, 1.04f);
  for (int set = 0; set < 4; ++set) {
    Workspace ws = startedWorkspace();
    if (set > 0) {
      for (int id = dim::Stroke; id <= dim::ReverseArmLength; ++id)
        setDimension(ws, id, dimensionValue(ws, id) * nudge(rng));
      setDimension(ws, dim::CylClAboveDriverCtr, nudge(rng) - 1.0f);
      ComputeReverseArmCentre(ws);
    }
    for (float offset : {-1.5f, -0.4f, 0.0f, 0.7f, 1.5f})
      for (int angle = 0; angle < 360; angle += 15) {
        SCOPED_TRACE("set " + std::to_string(set) + " offset " + std::to_string(offset) +
                     " angle " + std::to_string(angle));
        solveAt(ws, static_cast<float>(angle), ws.RevArmPositions[0] + offset);
        ASSERT_FALSE(ws.ErrorFlag);
        expectRodsHold(ws);
        if (HasFailure()) return;
      }
  }
}

// Each step of the solver stores its result as a single before the next step uses it. The
// steps whose stores matter most are re-derived here from the solver's own stored pivots, once
// with the single store and once without: the solver must agree bit for bit with the first, and
// over the sweep the second must differ somewhere, or the check would not see a dropped store.
struct StepChecks {
  int samples = 0;
  int mismatches = 0;           // solver against the single-store rule
  int doubleWouldDiffer[4]{};   // theta, crosshead w, alpha, valve-stem w kept in double
};

StepChecks checkSingleStores(Workspace ws, float revArm) {
  constexpr double kPi = 3.14159265358979323846;
  const auto& f = ws.Frame;
  const double S = f[dim::Stroke], CE = f[dim::MainRodCrankEnd], PE = f[dim::MainRodPistonEnd];
  const double AL = f[dim::AnchorLinkLength], CU = f[dim::CouplerUpper];
  const double CLo = f[dim::CouplerLower], RR = f[dim::RadiusRod];
  const auto single = [](double x) { return static_cast<double>(static_cast<float>(x)); };
  StepChecks c;
  for (int tenth = 0; tenth < 3600; tenth += 7) {
    solveAt(ws, static_cast<float>(tenth / 10.0), revArm);
    const auto& H = ws.Pivots.H;
    const auto& V = ws.Pivots.V;
    ++c.samples;
    const auto check = [&](float solved, double withStore, double withoutStore, int which) {
      if (solved != static_cast<float>(withStore)) ++c.mismatches;
      if (static_cast<float>(withStore) != static_cast<float>(withoutStore))
        ++c.doubleWouldDiffer[which];
    };
    // Step 2: the crank angle in radians is a stored single.
    const double theta = ws.DriverAngle * kPi / 180.0;
    check(H[2], H[1] + std::cos(single(theta)) * S / 2, H[1] + std::cos(theta) * S / 2, 0);
    // Step 3: the crosshead's discriminant is a stored single.
    const double L = single(CE + PE);
    const double w3 = L * L - std::pow(double{V[2]} - V[3], 2);
    check(H[3], H[2] + std::sqrt(single(w3)), H[2] + std::sqrt(w3), 1);
    // Steps 5 and 6: the anchor-link angle is a stored single.
    const double phi = single(std::atan((double{H[13]} - H[10]) / single(double{V[10]} - V[13])));
    const double D =
        single(std::hypot(double{H[13]} - H[10], double{V[10]} - V[13]));
    const double K = single((D * D + AL * AL - (CU + CLo) * (CU + CLo)) / 2 / D / single(AL));
    const double alpha = std::atan(K / std::sqrt(1 - K * K)) + kPi / 2 - phi;
    check(H[11], H[13] - std::sin(single(alpha)) * AL, H[13] - std::sin(alpha) * AL, 2);
    // Step 14: the valve-stem joint's discriminant is a stored single.
    const double w14 = RR * RR - std::pow(double{V[7]} - V[4], 2);
    check(H[4], H[7] + std::sqrt(single(w14)), H[7] + std::sqrt(w14), 3);
  }
  return c;
}

TEST(SolverPrecision, EveryStepStoresItsResultAsASingle) {
  const Workspace ws = startedWorkspace();
  const float centre = ws.RevArmPositions[0];
  int differ[4]{};
  for (const float offset : {0.0f, 1.6f, -1.6f}) {
    const StepChecks c = checkSingleStores(ws, centre + offset);
    ASSERT_GT(c.samples, 500);
    EXPECT_EQ(c.mismatches, 0) << "reverse arm at centre + " << offset;
    for (int i = 0; i < 4; ++i) differ[i] += c.doubleWouldDiffer[i];
  }
  // The sweep holds poses where a value kept in double would show.
  for (int i = 0; i < 4; ++i) EXPECT_GT(differ[i], 0) << "store " << i;
  // A quarter and a half turn: the single crank angle is just past the exact one, so the crank
  // pin lies just off the axes, by amounts a double angle would not give.
  Workspace quarter = startedWorkspace();
  solveAt(quarter, 90.0f, centre);
  EXPECT_LT(quarter.Pivots.H[2], -1e-8f);
  EXPECT_GT(quarter.Pivots.H[2], -1e-7f);
  solveAt(quarter, 180.0f, centre);
  EXPECT_GT(quarter.Pivots.V[2], 1e-7f);
}

// A gear built the other way round: the anchor pivot moved to the far side of the hanger point's
// path, mirrored so that every distance the anchor link must span stays the same. The solver
// measures that direction with a one-argument arctangent, which alone would place the anchor
// link's end half a turn off, with the coupler stretched and no error raised.
TEST(SolverGeometry, AGearBuiltTheOtherWayRoundStillKeepsItsRods) {
  Workspace ws = startedWorkspace();
  solveAt(ws, 0.0f, ws.RevArmPositions[0]);
  const float mirrored = 2.0f * ws.Pivots.V[10] - ws.Pivots.V[13];
  setDimension(ws, dim::AnchorLinkPivotVert, mirrored);
  ASSERT_EQ(ws.Pivots.V[13], mirrored);
  for (int angle = 0; angle < 360; angle += 90) {
    SCOPED_TRACE("angle " + std::to_string(angle));
    ws.ErrorFlag = false;
    solveAt(ws, static_cast<float>(angle), ws.RevArmPositions[0]);
    ASSERT_LT(ws.Pivots.V[10], ws.Pivots.V[13]);
    EXPECT_FALSE(ws.ErrorFlag);
    EXPECT_NEAR(distance(ws, 13, 11), dimensionValue(ws, dim::AnchorLinkLength), kPoseTolerance);
    EXPECT_NEAR(distance(ws, 10, 11),
                dimensionValue(ws, dim::CouplerUpper) + dimensionValue(ws, dim::CouplerLower),
                kPoseTolerance);
  }
}

TEST(SolverSafeOps, SubstituteANearbyValueAndRaiseTheLatch) {
  const float kNaN = std::nanf("");
  const struct {
    float (*op)(Workspace&, float);
    float in, out;
    bool latched;
  } cases[] = {
      {Guard, 0.0f, 1e-5f, true},         {Guard, -0.0f, 1e-5f, true},
      {Guard, 5e-6f, 1e-5f, true},        {Guard, -5e-6f, -1e-5f, true},
      {Guard, 2e-5f, 2e-5f, false},       {Guard, -2e-5f, -2e-5f, false},
      {Clamp, 1.0f, 0.999999f, true},     {Clamp, -1.0f, -0.999999f, true},
      {Clamp, INFINITY, 0.999999f, true}, {Clamp, -0.9999f, -0.9999f, false},
      {NonNegative, -4.0f, 4.0f, true},   {NonNegative, 0.0f, 0.0f, false},
  };
  for (const auto& c : cases) {
    Workspace ws;
    EXPECT_EQ(c.op(ws, c.in), c.out) << c.in;
    EXPECT_EQ(ws.ErrorFlag, c.latched) << c.in;
  }
  Workspace ws;
  EXPECT_EQ(Guard(ws, 1e-5f), 1e-5f);  // at the limit the value is the same either way
  const float fromNaN = Clamp(ws, kNaN);
  EXPECT_TRUE(std::isfinite(fromNaN) && std::fabs(fromNaN) < 1.0f);
  EXPECT_TRUE(ws.ErrorFlag);
}

// Solves a gear made impossible by `arrange`: the latch goes up only while the error beep is on,
// and the pose stays finite either way. Returns the pose solved with the beep on.
Workspace solveImpossible(const char* what, void (*arrange)(Workspace&)) {
  SCOPED_TRACE(what);
  Workspace quiet = startedWorkspace();
  quiet.ErrorBeepOn = false;
  arrange(quiet);
  solveAt(quiet, quiet.DriverAngle, quiet.ReverseArmPos);
  EXPECT_FALSE(quiet.ErrorFlag);
  EXPECT_TRUE(test::outputsFinite(quiet));
  Workspace ws = startedWorkspace();
  arrange(ws);
  solveAt(ws, ws.DriverAngle, ws.ReverseArmPos);
  EXPECT_TRUE(ws.ErrorFlag);
  EXPECT_TRUE(test::outputsFinite(ws));
  return ws;
}

TEST(SolverFailure, ImpossibleGearKeepsTheSubstitutedValues) {
  Workspace ws = solveImpossible("main rod shorter than the crank's offset", [](Workspace& gear) {
    setDimension(gear, dim::MainRodCrankEnd, 0.5f);
    setDimension(gear, dim::MainRodPistonEnd, 0.3f);
    gear.DriverAngle = 90.0f;
  });
  EXPECT_NEAR(ws.Pivots.H[3] - ws.Pivots.H[2], std::sqrt(1.5 * 1.5 - 0.8 * 0.8), 1e-5);
  ws = solveImpossible("anchor pivot out of reach", [](Workspace& gear) {
    setDimension(gear, dim::AnchorLinkLength, 0.2f);
    setDimension(gear, dim::AnchorLinkPivotVert, -4.0f);
  });
  EXPECT_NEAR(distance(ws, 13, 11), 0.2, 1e-5);
  ws = solveImpossible("reverse arm beyond its length",
                       [](Workspace& gear) { gear.ReverseArmPos = gear.Pivots.H[6] + 4.0f; });
  EXPECT_NEAR(ws.Pivots.V[18] - ws.Pivots.V[6], std::sqrt(7.0), 1e-5);
  // The coupler point is placed with the smallest divisor.
  ws = solveImpossible("coupler of no length", [](Workspace& gear) {
    setDimension(gear, dim::CouplerUpper, 0.5f);
    setDimension(gear, dim::CouplerLower, -0.5f);
  });
  const double spread = (static_cast<double>(ws.Pivots.H[11]) - ws.Pivots.H[10]) * 0.5 / 1e-5;
  EXPECT_NEAR(ws.Pivots.H[9] - ws.Pivots.H[10], spread, std::fabs(spread) * 1e-4 + 1e-4);
  solveImpossible("no stroke", [](Workspace& gear) { setDimension(gear, dim::Stroke, 0.0f); });
}

// Whatever finite numbers a user types or a file holds, no NaN or infinity reaches a pixel, a
// scroll position or a screen text.
TEST(SolverFiniteness, AnyFiniteDimensionsGiveAFinitePose) {
  std::mt19937 rng(1847);
  std::uniform_real_distribution<float> ordinary(-20.0f, 20.0f), angle(0.0f, 360.1f);
  const float extremes[] = {0.0f, -0.0f, 1e-30f, -1e-30f, 1e30f, -1e30f, 3e38f, -3e38f};
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
  for (int n = 0; n < 2000; ++n) {
    Workspace ws = startedWorkspace();
    for (int id = 1; id <= 122; ++id)
      if (isDimensionId(id)) setDimension(ws, id, pick(factoryDefault(id)));
    ComputeReverseArmCentre(ws);
    SetRevArmScrollRange(ws);
    const float centre = ws.RevArmPositions[0];
    solveAt(ws, angle(rng), rng() % 2 ? centre + ordinary(rng) / 10.0f : pick(centre));
    ASSERT_TRUE(test::outputsFinite(ws)) << "case " << n;
    ASSERT_LE(ws.RevArmScrollMin, ws.RevArmScrollMax) << "case " << n;
  }
}

}  // namespace
}  // namespace vek1
