#pragma once
// The closed-form linkage solver. The pure form, solveGear (gear.h), places every moving pivot of
// the gear for a driver angle and reverse-arm position and says whether the linkage closed;
// SolveLinkage is the main view's form of it, on the live Workspace, where a failure to close
// raises the error latch (which only sets the error flag while the error-beep switch is on).

#include <array>

#include "gear.h"
#include "workspace.h"

namespace vek1 {

// Smallest magnitude a divisor may have; smaller ones are pushed out to it.
constexpr double kGuardEpsilon = 0.00001;
// Largest magnitude of a sine or cosine handed to asin; beyond it the circles do not meet.
constexpr double kClampLimit = 0.999999;

// The three safe operations. Each substitutes a nearby usable value and clears `closed`; the
// Workspace forms raise the error latch instead.
float guardValue(float x, bool& closed);
float clampValue(float k, bool& closed);
float nonNegativeValue(float w, bool& closed);
float Guard(Workspace& ws, float x);
float Clamp(Workspace& ws, float k);
float NonNegative(Workspace& ws, float w);
void RaiseErrorLatch(Workspace& ws);

void SolveLinkage(Workspace& ws);

// SolveLinkage then ComputeValveState, as the animation tick does, from one copy of the set:
// the valve takes the crank's angle from the pose instead of turning it again.
void SolveGearAndValve(Workspace& ws);

// Writes a pose and its valve state into the Workspace fields that hold them (pivots, angles,
// port constants, piston and openings), without touching the error latch.
void applyPose(Workspace& ws, const GearPose& pose, const ValveState& valve);

// The valve face and valve as the solver and the valve model see them: P is half the exhaust
// port, then front/rear bridge, steam port, valve half length and exhaust-cavity half, the valve
// stem and the cylinder centre's H.
struct ValveFace {
  double P, BF, BR, SF, SR, LF, LR, CF, CR, VS, CC;
};
ValveFace valveFace(const std::array<float, cyl::kBlockSize>& cylinderBlock);
ValveFace valveFace(const GearSet& ws);

// Port constants from the cylinder dimensions and the valve-stem joint H[4]. Every constant but
// ValveDisplacement follows from the dimensions alone, so a drawing reads them from here rather
// than from ws.Ports, which holds them only once something has solved the gear.
PortConstants PortConstantsOf(const GearSet& ws);
// ws.Ports = PortConstantsOf(ws).
void ComputePortConstants(Workspace& ws);

}  // namespace vek1
