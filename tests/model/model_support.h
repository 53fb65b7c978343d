#pragma once
// Small helpers shared by the model tests.

#include <cmath>

#include "dimensions.h"
#include "solver.h"
#include "valve.h"
#include "workspace.h"

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

// Every value the solver and valve model hand to the drawing, the diagrams and the screen texts.
// Returns the name of the first non-finite one, or nullptr.
inline const char* firstNonFiniteOutput(const Workspace& ws) {
  for (int i = 0; i < kPivotCount; ++i) {
    if (!std::isfinite(ws.Pivots.H[i])) return "H";
    if (!std::isfinite(ws.Pivots.V[i])) return "V";
  }
  const PortConstants& p = ws.Ports;
  const struct {
    const char* name;
    float value;
  } scalars[] = {{"ReverseArmAngle", ws.ReverseArmAngle},
                 {"ValveLeverAngle", ws.ValveLeverAngle},
                 {"ReverseArmPos", ws.ReverseArmPos},
                 {"PistonPos", ws.PistonPos},
                 {"FrontSteamOpen", ws.FrontSteamOpen},
                 {"FrontExhOpen", ws.FrontExhOpen},
                 {"RearSteamOpen", ws.RearSteamOpen},
                 {"RearExhOpen", ws.RearExhOpen},
                 {"FrontSteamEdge", p.FrontSteamEdge},
                 {"FrontPortFull", p.FrontPortFull},
                 {"FrontExhEdge", p.FrontExhEdge},
                 {"RearSteamEdge", p.RearSteamEdge},
                 {"RearPortFull", p.RearPortFull},
                 {"RearExhEdge", p.RearExhEdge},
                 {"ValveDisplacement", p.ValveDisplacement},
                 {"RearOpenJoint", p.RearOpenJoint},
                 {"FrontOpenJoint", p.FrontOpenJoint},
                 {"FrontSteamLap", p.FrontSteamLap},
                 {"RearSteamLap", p.RearSteamLap},
                 {"FrontExhLap", p.FrontExhLap},
                 {"RearExhLap", p.RearExhLap}};
  for (const auto& s : scalars)
    if (!std::isfinite(s.value)) return s.name;
  for (float position : ws.RevArmPositions)
    if (!std::isfinite(position)) return "RevArmPositions";
  return nullptr;
}

}  // namespace vek1::test
