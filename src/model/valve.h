#pragma once
// The valve model: piston position, the four port openings, the steam events of each cylinder
// end and the measured cut-off.

#include <utility>

#include "workspace.h"

namespace vek1 {

// Piston position (0 at front dead centre .. 640 at rear dead centre) and the openings of the
// four valve edges for the current pose; call after SolveLinkage.
void ComputeValveState(Workspace& ws);

// Advances both event marks for this frame; returns the (front, rear) event colours.
std::pair<Rgb, Rgb> UpdateEvents(Workspace& ws);

struct CutOffDisplay {
  bool labels = false;  // "FrontCO% " / "RearCO% " are shown (running at a step below 23 degrees)
  bool front = false;   // FrontCutOffText is shown
  bool rear = false;    // RearCutOffText is shown
};
// Per displayed frame: notices a steam edge closing since the previous frame, interpolates the
// cut-off to the zero crossing, and counts down how long each value stays on screen.
CutOffDisplay DetectCutOff(Workspace& ws);

void ClearCutOff(Workspace& ws);

// The longest cut-off text kept.
constexpr size_t kCutOffTextMax = 10;
// Cut-off values are shown only while running with a step below this (degrees per tick).
constexpr float kCutOffMaxStep = 23.0f;

}  // namespace vek1
