#pragma once
// The pressure model behind the steam diagram: a step-by-step estimate of the pressure in one
// cylinder end from its port openings and the piston's travel. Its units are its own; the
// constants are those the indicator curves were tuned with.
//
// Both ends follow the same rules once the piston position is measured from the end's own dead
// centre: the front end's volume grows with PistonPos, the rear end's with 640 - PistonPos. The
// functions below take that "travel" of the end, so one set of rules serves both.
//
// Pure arithmetic, no drawing: each result is stored as a single through storePressure, which
// keeps it finite whatever the dimensions make of the divisors.

namespace vek1 {

// Admission fills the end up to this pressure at most; exhaust empties it down to this at least.
constexpr float kAdmissionCeiling = 303.0f;
constexpr float kExhaustFloor = 5.0f;
// A steam edge that is open by less than this admits as if open by this much.
constexpr float kLeastAdmittingOpening = 0.005f;
// Piston-position scale of a full stroke.
constexpr double kStrokeScale = 640.0;

enum class SteamPhase : char { Exhaust = '1', Compression = '2', Admission = '3', Expansion = '4' };

struct SteamEndState {
  float Pressure = 0.0f;
  float PrevPressure = 0.0f;     // the previous sample's pressure
  float ReleasePressure = 0.0f;  // the pressure when the end last opened to exhaust
  SteamPhase Phase = SteamPhase::Exhaust;
  bool LabelDue = true;  // the curve's number may still be written this cycle
};

// The travel of each end from its own dead centre for a piston position x (0..640).
inline double frontTravel(double x) {
  return x;
}
inline double rearTravel(double x) {
  return kStrokeScale - x;
}

// A wide result stored as a single: saturated when beyond the single range, and when the
// arithmetic had no answer at all (NaN, from 0/0 or inf - inf) the pressure is left as it was.
float storePressure(double p, float unchanged);

// The four rules. `prevTravel` and `travel` are the end's travel at the previous and this sample.
float exhaustDecay(float p, float releasePressure);
float compression(float p, double prevTravel, double travel);
// Raises a tiny positive `steamOpen` to kLeastAdmittingOpening in place: the stored opening is
// what later samples compare with.
float admission(float p, float& steamOpen, double travel);
float expansion(float p, double prevTravel, double travel);

// One sample of one end: the rule its phase calls for and the phase it moves on to. An edge
// counts as open when its opening is above 0.
void stepSteamEnd(SteamEndState& end, float& steamOpen, float exhOpen, double prevTravel,
                  double travel);

}  // namespace vek1
