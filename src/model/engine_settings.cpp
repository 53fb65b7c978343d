#include "engine_settings.h"

#include <algorithm>
#include <cmath>

namespace vek1 {

namespace {

bool inside(double v, const SettingRange& r) {
  return std::isfinite(v) && v >= r.Lowest && v <= r.Highest;
}

double held(double v, const SettingRange& r, double fallback) {
  if (std::isnan(v)) return fallback;
  return std::clamp(v, r.Lowest, r.Highest);
}

// The back pressure must stay this far under the chest pressure for steam to flow in at all.
constexpr double kMinPressureDrop = 0.5;

}  // namespace

double portLengthFor(const EngineSettings& s, double bore) {
  return s.PortLength > 0.0 ? s.PortLength : kDefaultPortLengthPerBore * std::fabs(bore);
}

bool settingsValid(const EngineSettings& s) {
  return inside(s.ChestPressure, kChestPressureRange) &&
         inside(s.BackPressure, kBackPressureRange) && inside(s.Superheat, kSuperheatRange) &&
         inside(s.ClearancePct[0], kClearanceRange) && inside(s.ClearancePct[1], kClearanceRange) &&
         inside(s.PortLength, kPortLengthRange) && inside(s.SpeedRpm, kSpeedRange) &&
         s.Cylinders >= kCylinderRange.Lowest && s.Cylinders <= kCylinderRange.Highest &&
         inside(s.DischargeCoefficient, kDischargeRange) &&
         s.BackPressure <= s.ChestPressure - kMinPressureDrop;
}

EngineSettings heldSettings(const EngineSettings& s) {
  const EngineSettings d;
  EngineSettings h;
  h.ChestPressure = held(s.ChestPressure, kChestPressureRange, d.ChestPressure);
  h.BackPressure = held(s.BackPressure, kBackPressureRange, d.BackPressure);
  h.BackPressure = std::min(h.BackPressure, h.ChestPressure - kMinPressureDrop);
  h.Superheat = held(s.Superheat, kSuperheatRange, d.Superheat);
  for (int e = 0; e < 2; ++e)
    h.ClearancePct[e] = held(s.ClearancePct[e], kClearanceRange, d.ClearancePct[e]);
  h.PortLength = held(s.PortLength, kPortLengthRange, d.PortLength);
  h.SpeedRpm = held(s.SpeedRpm, kSpeedRange, d.SpeedRpm);
  h.Cylinders = std::clamp(s.Cylinders, static_cast<int>(kCylinderRange.Lowest),
                           static_cast<int>(kCylinderRange.Highest));
  h.DischargeCoefficient = held(s.DischargeCoefficient, kDischargeRange, d.DischargeCoefficient);
  return h;
}

}  // namespace vek1
