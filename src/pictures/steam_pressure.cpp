#include "steam_pressure.h"

#include <cmath>

#include "numbers.h"

namespace vek1 {

namespace {

// Exhaust lets out a fifteenth of the release pressure per sample.
constexpr double kExhaustSamples = 15.0;
// Compression: ((v' / (v + 1)) + 0.3)^4 added per sample.
constexpr double kCompressionBias = 0.3;
// Admission: 100000 x opening / (v + 45) added per sample.
constexpr double kAdmissionGain = 100000.0;
constexpr double kAdmissionOffset = 45.0;
// Expansion: the clearance adds 100 to the swept travel; 4 % is lost per sample.
constexpr double kClearance = 100.0;
constexpr double kExpansionLoss = 0.96;

}  // namespace

float storePressure(double p, float unchanged) {
  if (std::isnan(p)) return unchanged;
  return toSingle(p);
}

float exhaustDecay(float p, float releasePressure) {
  const float next = storePressure(p - releasePressure / kExhaustSamples, p);
  return next < kExhaustFloor ? kExhaustFloor : next;
}

float compression(float p, double prevTravel, double travel) {
  const double r = prevTravel / (travel + 1.0) + kCompressionBias;
  return storePressure(p + r * r * r * r, p);
}

float admission(float p, float& steamOpen, double travel) {
  if (steamOpen < kLeastAdmittingOpening) steamOpen = kLeastAdmittingOpening;
  const float next = storePressure(p + kAdmissionGain * steamOpen / (travel + kAdmissionOffset), p);
  return next > kAdmissionCeiling ? kAdmissionCeiling : next;
}

float expansion(float p, double prevTravel, double travel) {
  return storePressure((prevTravel + kClearance) * p / (travel + kClearance) * kExpansionLoss, p);
}

void stepSteamEnd(SteamEndState& end, float& steamOpen, float exhOpen, double prevTravel,
                  double travel) {
  const bool steamEdgeOpen = steamOpen > 0.0f;
  const bool exhEdgeOpen = exhOpen > 0.0f;
  switch (end.Phase) {
    case SteamPhase::Exhaust:
      if (exhEdgeOpen) {
        end.Pressure = exhaustDecay(end.Pressure, end.ReleasePressure);
      } else {
        end.Pressure = compression(end.Pressure, prevTravel, travel);
        end.Phase = SteamPhase::Compression;
      }
      break;
    case SteamPhase::Compression:
      if (steamEdgeOpen) {
        end.Pressure = admission(end.Pressure, steamOpen, travel);
        end.Phase = SteamPhase::Admission;
      } else {
        end.Pressure = compression(end.Pressure, prevTravel, travel);
      }
      // Past its dead centre the end's volume grows again: whatever steam it holds now drives.
      if (prevTravel < travel) end.Phase = SteamPhase::Admission;
      break;
    case SteamPhase::Admission:
      if (steamEdgeOpen) {
        end.Pressure = admission(end.Pressure, steamOpen, travel);
      } else {
        end.Pressure = expansion(end.Pressure, prevTravel, travel);
        end.Phase = SteamPhase::Expansion;
      }
      end.LabelDue = true;  // a new cycle's expansion may carry the number again
      break;
    case SteamPhase::Expansion:
      if (exhEdgeOpen) {
        end.ReleasePressure = end.Pressure;
        end.Pressure = exhaustDecay(end.Pressure, end.ReleasePressure);
        end.Phase = SteamPhase::Exhaust;
      } else {
        end.Pressure = expansion(end.Pressure, prevTravel, travel);
      }
      if (steamEdgeOpen) end.Phase = SteamPhase::Admission;
      break;
  }
}

}  // namespace vek1
