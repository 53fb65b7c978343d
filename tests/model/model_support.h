#pragma once
// Small helpers shared by the model tests.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "dimensions.h"
#include "solver.h"
#include "valve.h"

namespace vek1::test {

// A workspace as the program has it after start-up: factory dimensions, reverse arm at centre.
inline Workspace startedWorkspace() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

// Poses the gear as an animation tick does: solve, then the valve state.
inline void solveAt(Workspace& ws, float driverAngle, float reverseArmPos) {
  ws.DriverAngle = driverAngle;
  ws.ReverseArmPos = reverseArmPos;
  SolveLinkage(ws);
  ComputeValveState(ws);
}

inline double distance(const Workspace& ws, int a, int b) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  return std::hypot(static_cast<double>(H[a]) - H[b], static_cast<double>(V[a]) - V[b]);
}

// Every value the drawing, the diagrams and the screen texts take from the solver and the valve
// model is finite.
inline bool outputsFinite(const Workspace& ws) {
  std::array<float, sizeof(PortConstants) / sizeof(float)> ports;
  static_assert(sizeof ports == sizeof(PortConstants));
  std::memcpy(ports.data(), &ws.Ports, sizeof ports);
  const std::array<float, 8> scalars = {ws.ReverseArmAngle, ws.ValveLeverAngle, ws.ReverseArmPos,
                                        ws.PistonPos,       ws.FrontSteamOpen,  ws.FrontExhOpen,
                                        ws.RearSteamOpen,   ws.RearExhOpen};
  auto finite = [](const auto& values) {
    return std::all_of(values.begin(), values.end(), [](float x) { return std::isfinite(x); });
  };
  return finite(ws.Pivots.H) && finite(ws.Pivots.V) && finite(ports) && finite(scalars) &&
         finite(ws.RevArmPositions);
}

}  // namespace vek1::test
