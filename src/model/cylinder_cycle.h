#pragma once
// The filling and emptying of one cylinder end over repeated revolutions, in SI units.
//
// The end is a volume (clearance plus the piston's travel) joined to the steam chest through the
// steam port and to the exhaust through the exhaust opening. Its steam is taken as a gas of
// constant isentropic index n (pressure x volume^n constant when no steam moves), so that its
// energy is p V / (n - 1) and steam arriving brings the enthalpy n / (n - 1) p v of where it
// comes from. Flow through an opening is that of a nozzle of the same index: choked below the
// critical pressure ratio, subsonic above it, either way according to which side is higher.
//
// The crank moves in fixed steps. Over each step the end's new pressure is found so that the
// energy balance holds with the flows at that new pressure (an implicit step: a wide port at a
// slow speed fills the end within the step, where an explicit one would overshoot), the work
// being the trapezoid of the pressures at the two ends of the step times the change of volume.
// The steam mass is carried step to step exactly, so what comes in and goes out balance to the
// change of what is held.

#include <vector>

namespace vek1 {

// One revolution of the end in running order, sampled at the start of every step: the piston's
// travel from this end's dead centre as a fraction of the stroke, and the steam port's and
// exhaust's flow areas (m^2, already limited to the port and times the discharge coefficient).
// A negative area is an edge still shut by that much (its lap times the same factors): over a
// step in which an edge opens or shuts only the open part of the step passes steam.
struct EndTrace {
  std::vector<double> Travel;
  std::vector<double> SteamArea;
  std::vector<double> ExhaustArea;
};

struct CycleConditions {
  double ChestPressure = 0.0;    // Pa absolute
  double ChestVolume = 0.0;      // m^3/kg, the chest steam's specific volume
  double BackPressure = 0.0;     // Pa absolute
  double Exponent = 1.135;       // isentropic index n of the steam in the cylinder
  double SweptVolume = 0.0;      // m^3
  double ClearanceVolume = 0.0;  // m^3
  double StepSeconds = 0.0;      // time of one crank step
  int MaxRevolutions = 60;
  double SettleTolerance = 1e-3;  // relative change of work and steam between revolutions
};

struct CycleResult {
  // The last revolution, sample by sample: pressure (Pa absolute) at the start of each step.
  std::vector<double> Pressure;
  double Work = 0.0;        // J per revolution, the trapezoid integral of p dV over the card
  double SteamIn = 0.0;     // kg per revolution entering from the chest, less any blown back
  double SteamOut = 0.0;    // kg per revolution leaving to the exhaust, less any drawn back
  double HeldChange = 0.0;  // kg: the end's steam at the revolution's end less at its start
  int Revolutions = 0;
  bool Settled = false;  // the last two revolutions agreed within the tolerance
};

// The conditions are expected valid (positive pressures and volumes, n > 1, a finite step);
// otherwise the result is empty and not settled.
CycleResult runCycle(const EndTrace& trace, const CycleConditions& c);

// Mass flow (kg/s) through an opening of flow area `area` from upstream pressure pUp and
// density rhoUp to downstream pressure pDown, for a gas of index n. Zero unless pUp > pDown.
double nozzleFlow(double area, double pUp, double rhoUp, double pDown, double n);

}  // namespace vek1
