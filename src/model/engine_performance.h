#pragma once
// What the valve events do to the engine: for a notch and a speed, each cylinder end's
// indicator card from a filling-and-emptying model (cylinder_cycle.h) fed by the gear's own
// piston travel and port openings, and the figures read from the cards: mean effective
// pressure, work, power, tractive effort and steam.
//
// Units: pressures psi gauge; work ft lbf per cycle of one end; power indicated horsepower
// (33000 ft lbf per minute); tractive effort lbf at the driver's rim; steam lb per hour and lb
// per indicated-horsepower hour. The card's stroke is percent of the stroke from the end's own
// dead centre (the front end's is front dead centre, PistonPos 0). Lengths of the set are
// taken as inches. The caller's set is never changed.

#include <optional>
#include <string_view>
#include <vector>

#include "engine_settings.h"
#include "gear.h"
#include "workspace.h"

namespace vek1 {

// Crank steps per revolution of the model (0.5 degree each).
constexpr int kPerfStepsPerRev = 720;

// Why an end has no figures. Runs: it has. NeverOpens: its steam edge stays shut the whole
// turn. NeverExhausts: its exhaust edge does. Locks: the linkage cannot close somewhere in the
// turn at this notch (or the reverse arm cannot reach it), so there is no turn to run.
// Unsettled: the card still changed by more than the tolerance after the most revolutions run.
enum class EndStatus { Runs, NeverOpens, NeverExhausts, Locks, Unsettled };
std::string_view endStatusText(EndStatus s);  // "runs", "never opens", ...

struct CardPoint {
  double Stroke = 0.0;    // percent of stroke from the end's dead centre
  double Pressure = 0.0;  // psi gauge
};

struct EndPerformance {
  EndStatus Status = EndStatus::Runs;
  // Only for an end that runs (Status Runs).
  double MEP = 0.0;           // psi
  double Work = 0.0;          // ft lbf per cycle
  double PeakPressure = 0.0;  // psi gauge
  // Pressure as the exhaust opens; none where it opens with the steam edge still open.
  std::optional<double> ReleasePressure;
  // Highest pressure while the end is shut after the exhaust closes; none when the exhaust is
  // still open as steam is admitted.
  std::optional<double> CompressionPeak;
  bool CompressionAboveChest = false;
  double SteamPerCycle = 0.0;    // lb entering from the chest, net of any blown back
  double ExhaustPerCycle = 0.0;  // lb leaving to the exhaust, net of any drawn back
  int Revolutions = 0;           // revolutions the model ran until the card repeated
  std::vector<CardPoint> Card;   // in running order from the step at the end's dead centre
  bool runs() const { return Status == EndStatus::Runs; }
};

struct PerformanceRow {
  double Offset = 0.0;
  double SpeedRpm = 0.0;
  EndPerformance Front, Rear;
  // Totals of the ends that run, times the cylinders.
  double IHP = 0.0;
  double TractiveEffort = 0.0;      // lbf
  double SteamPerHour = 0.0;        // lb/h
  std::optional<double> WaterRate;  // lb per IHP-hour; none without power
  std::optional<double> WorkRatio;  // front work over rear work; none unless both ends run
};

// The model's inputs in SI, from the settings and the set: what both the table and a test
// computing an ideal card need.
struct SteamConditions {
  double ChestPa = 0.0, BackPa = 0.0;  // absolute
  double ChestVolume = 0.0;            // m^3/kg
  double Exponent = 1.135;
};
// Dry saturated steam expands into the wet region with an index near 1.135 (Zeuner's 1.035 +
// 0.1 x dryness); superheated steam with the isentropic exponent of region 2 at chest state.
SteamConditions steamConditionsOf(const EngineSettings& s);
// The swept volume of one end in cubic inches: the bore's area times the stroke.
double sweptVolumeIn3(const GearDimensions& gear);

// One notch (offset from the mid-gear centre) at one speed, the settings' other values as they
// are. Settings out of range are held (heldSettings) first.
PerformanceRow performanceAt(const Workspace& ws, const EngineSettings& s, double offset,
                             double speedRpm, int stepsPerRev = kPerfStepsPerRev);

// Every notch at every speed: notch by notch, speeds within a notch.
std::vector<PerformanceRow> performanceTable(const Workspace& ws, const EngineSettings& s,
                                             const std::vector<double>& offsets,
                                             const std::vector<double>& speeds);

// The notches the performance window and command line take by default: the events table's
// forward notches, full gear to the first notch off mid gear (9).
std::vector<double> performanceNotches(const GearSet& ws);

}  // namespace vek1
