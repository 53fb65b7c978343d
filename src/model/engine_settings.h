#pragma once
// The engine's working conditions, kept with the set: what steam the cylinders get, what they
// exhaust against, their clearance and ports, and how fast the engine runs. The performance
// figures (engine_performance.h) are computed from these and the gear.
//
// Pressures are psi gauge (above an atmosphere of 14.696 psi). Lengths are in the set's units,
// inches as the factory set is drawn.

#include <array>

namespace vek1 {

constexpr double kAtmospherePsi = 14.696;

struct EngineSettings {
  double ChestPressure = 100.0;  // steam-chest pressure, psi gauge
  double BackPressure = 2.0;     // exhaust back pressure, psi gauge
  double Superheat = 0.0;        // degrees F above saturation at chest pressure; 0: saturated
  // Clearance volume of the front and the rear end, percent of the swept volume.
  std::array<double, 2> ClearancePct = {10.0, 10.0};
  // Length of the ports across the valve face, set's units; 0 means 0.8 x the cylinder bore.
  double PortLength = 0.0;
  double SpeedRpm = 180.0;  // driver revolutions per minute
  int Cylinders = 2;
  double DischargeCoefficient = 0.7;
  friend bool operator==(const EngineSettings&, const EngineSettings&) = default;
};

// The port length used for a bore: the setting, or 0.8 x the bore when it is 0.
constexpr double kDefaultPortLengthPerBore = 0.8;
double portLengthFor(const EngineSettings& s, double bore);

// The ranges each setting is held to. A value outside its range (or NaN) is not an engine: the
// model would divide by zero or run without end.
struct SettingRange {
  const char* Name;
  double Lowest, Highest;
};
constexpr SettingRange kChestPressureRange{"steam-chest pressure", 1.0, 300.0};
constexpr SettingRange kBackPressureRange{"back pressure", -10.0, 100.0};
constexpr SettingRange kSuperheatRange{"superheat", 0.0, 400.0};
constexpr SettingRange kClearanceRange{"clearance", 0.5, 100.0};
constexpr SettingRange kPortLengthRange{"port length", 0.0, 1e4};
constexpr SettingRange kSpeedRange{"speed", 0.1, 2000.0};
constexpr SettingRange kCylinderRange{"cylinders", 1.0, 16.0};
constexpr SettingRange kDischargeRange{"discharge coefficient", 0.05, 1.0};

// Every value finite and inside its range, and the back pressure below the chest pressure.
bool settingsValid(const EngineSettings& s);
// The nearest valid settings: NaN gives the default, a value out of range its nearest end, and
// a back pressure at or above the chest pressure is brought under it.
EngineSettings heldSettings(const EngineSettings& s);

}  // namespace vek1
