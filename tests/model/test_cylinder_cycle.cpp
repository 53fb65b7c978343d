// The filling-and-emptying of one end on made-up traces, where the answer is known.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "cylinder_cycle.h"

namespace vek1 {
namespace {

constexpr int kSteps = 720;

// A plain crank (no rod angularity) with steam open over [0, cutOff) of the stroke out and the
// exhaust open from release to the compression point on the way back (fractions of the turn).
EndTrace simpleTrace(double steamTo, double exhFrom, double exhTo, double area) {
  EndTrace t;
  for (int i = 0; i < kSteps; ++i) {
    const double turn = double(i) / kSteps;
    t.Travel.push_back(0.5 * (1.0 - std::cos(2.0 * std::numbers::pi * turn)));
    t.SteamArea.push_back(turn < steamTo ? area : 0.0);
    t.ExhaustArea.push_back(turn >= exhFrom && turn < exhTo ? area : 0.0);
  }
  return t;
}

CycleConditions conditions(double rpm) {
  CycleConditions c;
  c.ChestPressure = 7.9e5;
  c.ChestVolume = 0.24;
  c.BackPressure = 1.15e5;
  c.SweptVolume = 1.7e-4;
  c.ClearanceVolume = 1.7e-5;
  c.StepSeconds = 60.0 / rpm / kSteps;
  return c;
}

double cardIntegral(const EndTrace& t, const CycleResult& r, const CycleConditions& c) {
  double w = 0.0;
  for (int i = 0; i < kSteps; ++i) {
    const int j = (i + 1) % kSteps;
    const double v0 = c.ClearanceVolume + t.Travel[i] * c.SweptVolume;
    const double v1 = c.ClearanceVolume + t.Travel[j] * c.SweptVolume;
    w += 0.5 * (r.Pressure[i] + r.Pressure[j]) * (v1 - v0);
  }
  return w;
}

TEST(CylinderCycle, SteamInBalancesSteamOutAndTheWorkIsTheCardsIntegral) {
  for (double rpm : {1.0, 200.0, 1500.0}) {
    const EndTrace t = simpleTrace(0.2, 0.45, 0.95, 1.5e-5);
    const CycleConditions c = conditions(rpm);
    const CycleResult r = runCycle(t, c);
    ASSERT_TRUE(r.Settled) << rpm;
    EXPECT_GT(r.SteamIn, 0.0);
    EXPECT_NEAR(r.SteamOut, r.SteamIn, 5e-3 * r.SteamIn) << rpm;
    EXPECT_NEAR(cardIntegral(t, r, c), r.Work, 1e-3 * std::fabs(r.Work)) << rpm;
  }
}

TEST(CylinderCycle, ShutEndFollowsTheIsentropicAndFillsToChestPressureWhenSlow) {
  const EndTrace t = simpleTrace(0.2, 0.45, 0.95, 2e-4);
  const CycleConditions c = conditions(1.0);
  const CycleResult r = runCycle(t, c);
  ASSERT_TRUE(r.Settled);
  // Admission at chest pressure, the exhaust stroke at back pressure.
  EXPECT_NEAR(r.Pressure[kSteps / 10], c.ChestPressure, 1e-4 * c.ChestPressure);
  EXPECT_NEAR(r.Pressure[kSteps * 7 / 10], c.BackPressure, 1e-4 * c.BackPressure);
  // Between cut-off (0.2 turn) and release (0.45) p V^n holds.
  auto pvn = [&](int i) {
    const double v = c.ClearanceVolume + t.Travel[i] * c.SweptVolume;
    return r.Pressure[i] * std::pow(v, c.Exponent);
  };
  const int a = kSteps / 5 + 2, b = kSteps * 45 / 100 - 1;
  EXPECT_NEAR(pvn(b), pvn(a), 2e-4 * pvn(a));
}

TEST(CylinderCycle, ThrottlingAtSpeedCostsWork) {
  const EndTrace t = simpleTrace(0.25, 0.45, 0.95, 6e-6);
  double last = INFINITY;
  for (double rpm : {10.0, 300.0, 1000.0, 3000.0}) {
    const CycleResult r = runCycle(t, conditions(rpm));
    ASSERT_TRUE(r.Settled);
    EXPECT_LT(r.Work, last) << rpm;
    last = r.Work;
  }
}

TEST(CylinderCycle, NozzleChokesBelowTheCriticalRatio) {
  const double n = 1.135, p = 8e5, rho = 4.0;
  const double critical = p * std::pow(2.0 / (n + 1.0), n / (n - 1.0));
  const double choked = nozzleFlow(1e-4, p, rho, critical, n);
  EXPECT_GT(choked, 0.0);
  EXPECT_DOUBLE_EQ(nozzleFlow(1e-4, p, rho, 0.5 * critical, n), choked);
  EXPECT_LT(nozzleFlow(1e-4, p, rho, 0.5 * (p + critical), n), choked);
  EXPECT_EQ(nozzleFlow(1e-4, p, rho, p, n), 0.0);
  EXPECT_EQ(nozzleFlow(1e-4, p, rho, 1.1 * p, n), 0.0);
  EXPECT_EQ(nozzleFlow(0.0, p, rho, 0.0, n), 0.0);
}

TEST(CylinderCycle, BadConditionsGiveAnEmptyResultNotAHang) {
  const EndTrace t = simpleTrace(0.2, 0.45, 0.95, 1e-5);
  for (auto spoil : {+[](CycleConditions& c) { c.Exponent = 1.0; },
                     +[](CycleConditions& c) { c.StepSeconds = NAN; },
                     +[](CycleConditions& c) { c.BackPressure = c.ChestPressure; },
                     +[](CycleConditions& c) { c.ClearanceVolume = 0.0; }}) {
    CycleConditions c = conditions(100.0);
    spoil(c);
    const CycleResult r = runCycle(t, c);
    EXPECT_FALSE(r.Settled);
    EXPECT_TRUE(r.Pressure.empty());
  }
  EndTrace ragged = t;
  ragged.SteamArea.pop_back();
  EXPECT_FALSE(runCycle(ragged, conditions(100.0)).Settled);
}

}  // namespace
}  // namespace vek1
