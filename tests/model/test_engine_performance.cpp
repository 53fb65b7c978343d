// The engine figures on the factory set: the slow-speed limit against an ideal card built from
// the events alone, conservation, the physics a designer relies on, and the model's step.
#include <gtest/gtest.h>

#include <cmath>

#include "dimensions.h"
#include "engine_performance.h"
#include "valve_events.h"

namespace vek1 {
namespace {

constexpr double kPaPerPsi = 6894.757293168;

Workspace factorySet() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

// The piston's distance from its end's dead centre, as a fraction of the stroke, for an event.
double travelAt(const EventPoint& e) {
  const double pct = percentFromDeadCentre(e);
  if (pct < 0.0) return -pct / 100.0;
  if (pct > 100.0) return (200.0 - pct) / 100.0;
  return pct / 100.0;
}

// MEP (psi) of the ideal card of one end: chest pressure from admission to cut-off, p V^n
// constant to release, back pressure to compression, p V^n constant again to admission.
double idealMep(const EndEvents& e, const SteamConditions& sc, double clearance) {
  const double n = sc.Exponent, pc = sc.ChestPa / kPaPerPsi, pb = sc.BackPa / kPaPerPsi;
  auto vol = [&](const std::optional<EventPoint>& p) { return clearance + travelAt(*p); };
  const double va = vol(e.Admission), vc = vol(e.CutOff), vr = vol(e.Release),
               vk = vol(e.Compression);
  auto polytropic = [n](double p1, double v1, double v2) {
    return p1 * std::pow(v1, n) * (std::pow(v2, 1.0 - n) - std::pow(v1, 1.0 - n)) / (1.0 - n);
  };
  return pc * (vc - va) + polytropic(pc, vc, vr) + pb * (vk - vr) + polytropic(pb, vk, va);
}

TEST(EnginePerformance, AtOneRevPerMinuteEachEndMatchesItsIdealCardWithinOnePercent) {
  const Workspace ws = factorySet();
  const EngineSettings s;
  const SteamConditions sc = steamConditionsOf(s);
  for (double offset : performanceNotches(ws)) {
    const NotchEvents ev = ValveEvents(ws, offset);
    const PerformanceRow row = performanceAt(ws, s, offset, 1.0);
    for (int end = 0; end < 2; ++end) {
      const EndEvents& e = end == 0 ? ev.Front : ev.Rear;
      const EndPerformance& p = end == 0 ? row.Front : row.Rear;
      ASSERT_TRUE(e.Admission && e.CutOff && e.Release && e.Compression);
      ASSERT_TRUE(p.runs());
      const double ideal = idealMep(e, sc, s.ClearancePct[end] / 100.0);
      EXPECT_NEAR(p.MEP, ideal, 0.01 * ideal) << "offset " << offset << " end " << end;
    }
  }
}

TEST(EnginePerformance, SteamInEqualsExhaustOutAndTheWorkIsTheCardsArea) {
  const Workspace ws = factorySet();
  const double swept = sweptVolumeIn3(gearOf(ws));
  for (double offset : {1.8, 0.6, 0.2}) {
    for (double rpm : {180.0, 900.0}) {
      const PerformanceRow row = performanceAt(ws, EngineSettings{}, offset, rpm);
      for (const EndPerformance* e : {&row.Front, &row.Rear}) {
        ASSERT_TRUE(e->runs());
        EXPECT_NEAR(e->ExhaustPerCycle, e->SteamPerCycle, 5e-3 * e->SteamPerCycle);
        // The closed card's area, psi x percent of stroke, in ft lbf.
        double area = 0.0;
        const auto& c = e->Card;
        for (std::size_t i = 0; i < c.size(); ++i) {
          const CardPoint& a = c[i];
          const CardPoint& b = c[(i + 1) % c.size()];
          area += 0.5 * (a.Pressure + b.Pressure) * (b.Stroke - a.Stroke);
        }
        const double work = area / 100.0 * swept / 12.0;
        EXPECT_NEAR(work, e->Work, 2e-3 * std::fabs(e->Work)) << offset << " at " << rpm;
        EXPECT_NEAR(e->MEP, e->Work * 12.0 / swept, 1e-9 * e->MEP);
      }
      // The row's totals follow from the ends: two cylinders, 33000 ft lbf/min, the rim.
      const double work = 2.0 * (row.Front.Work + row.Rear.Work);
      EXPECT_NEAR(row.IHP, work * rpm / 33000.0, 1e-9 * row.IHP);
      EXPECT_NEAR(row.TractiveEffort, work / (M_PI * ws.Frame[dim::DriverDia] / 12.0), 1e-6);
      EXPECT_NEAR(*row.WaterRate, row.SteamPerHour / row.IHP, 1e-9 * *row.WaterRate);
      EXPECT_NEAR(*row.WorkRatio, row.Front.Work / row.Rear.Work, 1e-12);
    }
  }
}

TEST(EnginePerformance, NotchingUpCutsMepAndSteamAndMidCutOffsUseLessPerHorsepowerHour) {
  const Workspace ws = factorySet();
  const std::vector<PerformanceRow> rows =
      performanceTable(ws, EngineSettings{}, performanceNotches(ws), {180.0});
  ASSERT_EQ(rows.size(), 9u);
  for (std::size_t i = 1; i < rows.size(); ++i) {
    EXPECT_LT(rows[i].Front.MEP, rows[i - 1].Front.MEP) << i;
    EXPECT_LT(rows[i].Rear.MEP, rows[i - 1].Rear.MEP) << i;
    EXPECT_LT(rows[i].SteamPerHour, rows[i - 1].SteamPerHour) << i;
  }
  // Full gear against the middle notches.
  for (std::size_t i = 3; i <= 5; ++i) EXPECT_LT(*rows[i].WaterRate, 0.9 * *rows[0].WaterRate);
}

TEST(EnginePerformance, MepFallsAsSpeedRises) {
  const Workspace ws = factorySet();
  // At a running cut-off the wire-drawing costs more at every step up in speed.
  double last = INFINITY;
  for (double rpm : {60.0, 180.0, 400.0, 800.0, 1500.0}) {
    const PerformanceRow row = performanceAt(ws, EngineSettings{}, 0.6, rpm);
    EXPECT_LT(row.Front.MEP + row.Rear.MEP, last) << rpm;
    last = row.Front.MEP + row.Rear.MEP;
  }
  // Every notch loses between the default speed and a fast one.
  for (double offset : performanceNotches(ws))
    EXPECT_LT(performanceAt(ws, EngineSettings{}, offset, 1200.0).IHP / 1200.0,
              performanceAt(ws, EngineSettings{}, offset, 180.0).IHP / 180.0)
        << offset;
}

TEST(EnginePerformance, ClearanceCushionsCompressionAndCostsSteam) {
  const Workspace ws = factorySet();
  EngineSettings s;
  double lastPeak = INFINITY, lastSteam = 0.0;
  for (double pct : {3.0, 10.0, 30.0}) {
    s.ClearancePct = {pct, pct};
    const PerformanceRow row = performanceAt(ws, s, 0.6, 180.0);
    ASSERT_TRUE(row.Front.CompressionPeak.has_value());
    // A smaller clearance squeezes the same trapped steam into less room.
    EXPECT_LT(*row.Front.CompressionPeak, lastPeak) << pct;
    EXPECT_GT(row.Front.SteamPerCycle, lastSteam) << pct;
    lastPeak = *row.Front.CompressionPeak;
    lastSteam = row.Front.SteamPerCycle;
  }
  s.ClearancePct = {3.0, 3.0};
  EXPECT_TRUE(performanceAt(ws, s, 0.6, 180.0).Front.CompressionAboveChest);
  EXPECT_FALSE(performanceAt(ws, EngineSettings{}, 1.8, 180.0).Front.CompressionAboveChest);
}

TEST(EnginePerformance, HalvingTheCrankStepMovesMepByUnderATenthOfAPercent) {
  const Workspace ws = factorySet();
  for (double offset : {1.8, 0.6, 0.2}) {
    for (double rpm : {180.0, 1000.0}) {
      const PerformanceRow a = performanceAt(ws, EngineSettings{}, offset, rpm);
      const PerformanceRow b =
          performanceAt(ws, EngineSettings{}, offset, rpm, 2 * kPerfStepsPerRev);
      EXPECT_NEAR(b.Front.MEP, a.Front.MEP, 2e-3 * a.Front.MEP) << offset << " at " << rpm;
      EXPECT_NEAR(b.Rear.MEP, a.Rear.MEP, 2e-3 * a.Rear.MEP) << offset << " at " << rpm;
    }
  }
}

TEST(EnginePerformance, EndsThatCannotRunAreReportedNotFigured) {
  Workspace ws = factorySet();
  // Beyond the reverse arm's reach there is no turn at all.
  const PerformanceRow far = performanceAt(ws, EngineSettings{}, 50.0, 180.0);
  EXPECT_EQ(far.Front.Status, EndStatus::Locks);
  EXPECT_EQ(far.Rear.Status, EndStatus::Locks);
  EXPECT_EQ(far.IHP, 0.0);
  EXPECT_FALSE(far.WaterRate.has_value());
  // A front valve half so long that its steam edge never uncovers the port.
  ws.Cyl[cyl::slot<dim::ValveLengthFrontHalf>] += 1.0f;
  const PerformanceRow row = performanceAt(ws, EngineSettings{}, 1.8, 180.0);
  EXPECT_EQ(row.Front.Status, EndStatus::NeverOpens);
  EXPECT_TRUE(row.Rear.runs());
  EXPECT_FALSE(row.WorkRatio.has_value());
  EXPECT_NEAR(row.IHP, 2.0 * row.Rear.Work * 180.0 / 33000.0, 1e-9);
}

TEST(EnginePerformance, SettingsOutOfRangeAreHeldAndTheFiguresStayFinite) {
  const Workspace ws = factorySet();
  EngineSettings s;
  s.ChestPressure = NAN;
  s.BackPressure = 1e30;
  s.ClearancePct = {-5.0, INFINITY};
  s.PortLength = -1.0;
  s.DischargeCoefficient = 0.0;
  s.Cylinders = -3;
  s.Superheat = NAN;
  EXPECT_FALSE(settingsValid(s));
  const EngineSettings h = heldSettings(s);
  EXPECT_TRUE(settingsValid(h));
  EXPECT_EQ(h.ChestPressure, 100.0);
  EXPECT_LT(h.BackPressure, h.ChestPressure);
  EXPECT_EQ(h.Cylinders, 1);
  for (double rpm : {double(NAN), -10.0, 1e9}) {
    const PerformanceRow row = performanceAt(ws, s, 1.0, rpm);
    ASSERT_TRUE(row.Front.runs());
    EXPECT_TRUE(std::isfinite(row.Front.MEP) && std::isfinite(row.IHP) &&
                std::isfinite(row.SteamPerHour) && std::isfinite(row.TractiveEffort));
  }
  EXPECT_TRUE(settingsValid(EngineSettings{}));
}

TEST(EnginePerformance, SuperheatExpandsWithARegionTwoIndexAndSavesSteam) {
  EngineSettings s;
  const SteamConditions sat = steamConditionsOf(s);
  s.Superheat = 150.0;
  const SteamConditions hot = steamConditionsOf(s);
  EXPECT_DOUBLE_EQ(sat.Exponent, 1.135);
  EXPECT_GT(hot.Exponent, 1.25);
  EXPECT_LT(hot.Exponent, 1.35);
  EXPECT_GT(hot.ChestVolume, 1.1 * sat.ChestVolume);
  const Workspace ws = factorySet();
  EXPECT_LT(*performanceAt(ws, s, 0.6, 180.0).WaterRate,
            *performanceAt(ws, EngineSettings{}, 0.6, 180.0).WaterRate);
}

}  // namespace
}  // namespace vek1
