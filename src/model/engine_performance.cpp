#include "engine_performance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cylinder_cycle.h"
#include "numbers.h"
#include "steam_tables.h"
#include "valve_events.h"

namespace vek1 {

namespace {

constexpr double kPaPerPsi = 6894.757293168;
constexpr double kMetresPerInch = 0.0254;
constexpr double kJoulesPerFtLbf = 1.3558179483314;
constexpr double kKgPerLb = 0.45359237;
constexpr double kFtLbfPerHpMinute = 33000.0;
// Dry saturated steam's expansion index.
constexpr double kSaturatedIndex = 1.135;

double psiGauge(double pa) {
  return pa / kPaPerPsi - kAtmospherePsi;
}

// One turn of the gear at a notch, sampled at every model step in running order from driver
// angle 0 (front dead centre): the piston and the four openings, or nothing where it locks.
struct NotchTrace {
  bool locks = false;
  std::vector<double> piston;   // 0..1 from front dead centre
  std::vector<double> open[4];  // front steam, front exhaust, rear steam, rear exhaust
};

NotchTrace traceNotch(const Workspace& ws, double offset, int steps) {
  NotchTrace t;
  if (!ReachableOffsets(ws).contains(offset)) {
    t.locks = true;
    return t;
  }
  const GearDimensions gear = gearOf(ws);
  const float arm = toSingle(static_cast<double>(ws.RevArmPositions[0]) + offset);
  // Forward gear turns the driver angle up, reverse gear down.
  const double sign = offset >= 0.0 ? 1.0 : -1.0;
  t.piston.resize(steps);
  for (auto& o : t.open) o.resize(steps);
  for (int k = 0; k < steps; ++k) {
    double a = std::fmod(sign * 360.0 * k / steps, 360.0);
    if (a < 0.0) a += 360.0;
    const GearPose pose = solveGear(gear, toSingle(a), arm);
    const ValveState v = valveStateOf(gear, pose);
    if (!pose.Closed || !v.Closed) {
      t.locks = true;
      return t;
    }
    t.piston[k] = v.PistonPos / 640.0;
    t.open[0][k] = v.FrontSteamOpen;
    t.open[1][k] = v.FrontExhOpen;
    t.open[2][k] = v.RearSteamOpen;
    t.open[3][k] = v.RearExhOpen;
  }
  return t;
}

// The end's trace, rotated to start at its own dead centre, with flow areas in m^2.
EndTrace endTrace(const NotchTrace& t, bool front, double portWidth, double portLength, double cd) {
  const int n = static_cast<int>(t.piston.size());
  const int start = front ? 0 : n / 2;
  const auto& steam = t.open[front ? 0 : 2];
  const auto& exh = t.open[front ? 1 : 3];
  EndTrace e;
  e.Travel.resize(n);
  e.SteamArea.resize(n);
  e.ExhaustArea.resize(n);
  const double w = std::fabs(portWidth);
  const double toArea = cd * portLength * kMetresPerInch * kMetresPerInch;
  for (int i = 0; i < n; ++i) {
    const int k = (start + i) % n;
    e.Travel[i] = front ? t.piston[k] : 1.0 - t.piston[k];
    // An opening at or under the events' threshold is a valve just touching its lap: shut.
    auto area = [&](double open) {
      return (open > kOpenThreshold ? std::min(open, w) : std::min(open, 0.0)) * toArea;
    };
    e.SteamArea[i] = area(steam[k]);
    e.ExhaustArea[i] = area(exh[k]);
  }
  return e;
}

bool allShut(const std::vector<double>& a) {
  return std::all_of(a.begin(), a.end(), [](double v) { return v <= 0.0; });
}

// Release and compression read off the card by where the openings change.
void readEvents(const EndTrace& e, const std::vector<double>& p, double chestPa,
                EndPerformance& out) {
  const int n = static_cast<int>(p.size());
  auto at = [&](const std::vector<double>& v, int i) { return v[((i % n) + n) % n]; };
  int release = -1;
  for (int i = 1; i <= n && release < 0; ++i)
    if (at(e.ExhaustArea, i - 1) <= 0.0 && at(e.ExhaustArea, i) > 0.0) release = i;
  if (release < 0) return;
  if (at(e.SteamArea, release - 1) <= 0.0) out.ReleasePressure = psiGauge(at(p, release - 1));
  int closes = -1;
  for (int i = release + 1; i <= release + n && closes < 0; ++i)
    if (at(e.ExhaustArea, i - 1) > 0.0 && at(e.ExhaustArea, i) <= 0.0) closes = i;
  if (closes < 0 || at(e.SteamArea, closes) > 0.0) return;
  // A sample belongs to the shut spell while neither opening has begun to pass steam into the
  // step that ends at it.
  double peak = at(p, closes);
  for (int i = closes + 1; i < closes + n; ++i) {
    if (at(e.SteamArea, i) > 0.0 || at(e.ExhaustArea, i) > 0.0) break;
    peak = std::max(peak, at(p, i));
  }
  out.CompressionPeak = psiGauge(peak);
  out.CompressionAboveChest = peak > chestPa;
}

EndPerformance runEnd(const EndTrace& e, CycleConditions c) {
  EndPerformance out;
  if (allShut(e.SteamArea)) {
    out.Status = EndStatus::NeverOpens;
    return out;
  }
  if (allShut(e.ExhaustArea)) {
    out.Status = EndStatus::NeverExhausts;
    return out;
  }
  const CycleResult r = runCycle(e, c);
  out.Revolutions = r.Revolutions;
  if (!r.Settled) {
    out.Status = EndStatus::Unsettled;
    return out;
  }
  out.Work = r.Work / kJoulesPerFtLbf;
  out.MEP = r.Work / c.SweptVolume / kPaPerPsi;
  out.PeakPressure = psiGauge(*std::max_element(r.Pressure.begin(), r.Pressure.end()));
  out.SteamPerCycle = r.SteamIn / kKgPerLb;
  out.ExhaustPerCycle = r.SteamOut / kKgPerLb;
  out.Card.reserve(r.Pressure.size());
  for (std::size_t i = 0; i < r.Pressure.size(); ++i)
    out.Card.push_back({100.0 * std::clamp(e.Travel[i], 0.0, 1.0), psiGauge(r.Pressure[i])});
  readEvents(e, r.Pressure, c.ChestPressure, out);
  return out;
}

}  // namespace

std::string_view endStatusText(EndStatus s) {
  switch (s) {
    case EndStatus::Runs:
      return "runs";
    case EndStatus::NeverOpens:
      return "never opens";
    case EndStatus::NeverExhausts:
      return "never exhausts";
    case EndStatus::Locks:
      return "locks";
    case EndStatus::Unsettled:
      return "unsettled";
  }
  return "runs";
}

SteamConditions steamConditionsOf(const EngineSettings& in) {
  const EngineSettings s = heldSettings(in);
  SteamConditions c;
  c.ChestPa = (s.ChestPressure + kAtmospherePsi) * kPaPerPsi;
  c.BackPa = (s.BackPressure + kAtmospherePsi) * kPaPerPsi;
  const double pMPa = c.ChestPa * 1e-6;
  const double tSat = steam::saturationTemperature(pMPa);
  const steam::VapourState v = steam::vapour(pMPa, tSat + s.Superheat * 5.0 / 9.0);
  c.ChestVolume = v.Volume;
  c.Exponent = s.Superheat > 0.0 ? v.IsentropicExponent : kSaturatedIndex;
  return c;
}

double sweptVolumeIn3(const GearDimensions& gear) {
  const double bore = gear.Cyl[cyl::slot<dim::CylinderBoreDia>];
  return std::numbers::pi / 4.0 * bore * bore * std::fabs(double(gear.Frame[dim::Stroke]));
}

PerformanceRow performanceAt(const Workspace& ws, const EngineSettings& in, double offset,
                             double speedRpm, int stepsPerRev) {
  const EngineSettings s = heldSettings(in);
  PerformanceRow row;
  row.Offset = offset;
  row.SpeedRpm = speedRpm;
  const double rpm = std::isfinite(speedRpm)
                         ? std::clamp(speedRpm, kSpeedRange.Lowest, kSpeedRange.Highest)
                         : s.SpeedRpm;
  const GearDimensions gear = gearOf(ws);
  const double swept = sweptVolumeIn3(gear);
  const NotchTrace t = traceNotch(ws, offset, std::max(stepsPerRev, 8));
  if (t.locks || !(swept > 0.0) || !std::isfinite(swept)) {
    row.Front.Status = row.Rear.Status = EndStatus::Locks;
    return row;
  }
  const double bore = std::fabs(double(gear.Cyl[cyl::slot<dim::CylinderBoreDia>]));
  const double portLength = portLengthFor(s, bore);
  const SteamConditions sc = steamConditionsOf(s);
  const double in3 = std::pow(kMetresPerInch, 3);
  auto conditions = [&](int end) {
    CycleConditions c;
    c.ChestPressure = sc.ChestPa;
    c.ChestVolume = sc.ChestVolume;
    c.BackPressure = sc.BackPa;
    c.Exponent = sc.Exponent;
    c.SweptVolume = swept * in3;
    c.ClearanceVolume = s.ClearancePct[end] / 100.0 * swept * in3;
    c.StepSeconds = 60.0 / rpm / static_cast<double>(t.piston.size());
    return c;
  };
  const auto& cylBlock = gear.Cyl;
  row.Front = runEnd(endTrace(t, true, cylBlock[cyl::slot<dim::SteamPortWidthFront>], portLength,
                              s.DischargeCoefficient),
                     conditions(0));
  row.Rear = runEnd(endTrace(t, false, cylBlock[cyl::slot<dim::SteamPortWidthRear>], portLength,
                             s.DischargeCoefficient),
                    conditions(1));

  double work = 0.0, steamPerRev = 0.0;
  for (const EndPerformance* e : {&row.Front, &row.Rear}) {
    if (!e->runs()) continue;
    work += e->Work;
    steamPerRev += e->SteamPerCycle;
  }
  work *= s.Cylinders;
  steamPerRev *= s.Cylinders;
  row.IHP = work * rpm / kFtLbfPerHpMinute;
  const double driver = std::fabs(double(gear.Frame[dim::DriverDia]));
  if (driver > 0.0 && std::isfinite(driver))
    row.TractiveEffort = work / (std::numbers::pi * driver / 12.0);
  row.SteamPerHour = steamPerRev * rpm * 60.0;
  if (row.IHP > 1e-9) row.WaterRate = row.SteamPerHour / row.IHP;
  if (row.Front.runs() && row.Rear.runs() && std::fabs(row.Rear.Work) > 1e-12)
    row.WorkRatio = row.Front.Work / row.Rear.Work;
  return row;
}

std::vector<PerformanceRow> performanceTable(const Workspace& ws, const EngineSettings& s,
                                             const std::vector<double>& offsets,
                                             const std::vector<double>& speeds) {
  std::vector<PerformanceRow> rows;
  rows.reserve(offsets.size() * speeds.size());
  for (double o : offsets)
    for (double v : speeds) rows.push_back(performanceAt(ws, s, o, v));
  return rows;
}

std::vector<double> performanceNotches(const GearSet& ws) {
  std::vector<double> all = DefaultNotchOffsets(ws);
  all.resize(kDefaultNotchCount / 2);
  return all;
}

}  // namespace vek1
