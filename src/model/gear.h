#pragma once
// The gear as a pure function: the dimensions and fixed pivots in, the pose and the valve's state
// out, with whether the linkage closed. Nothing here reads or writes a Workspace, a switch or a
// latch, so the events, the tuning, the diagrams and the command line can solve any set at any
// angle on their own values, and a drawing can take the poses it needs as inputs.

#include <array>

#include "workspace.h"

namespace vek1 {

// What the solver and the valve model read: the frame and cylinder dimensions and the fixed
// points of the pivot table (driver centre 1, the cylinder and valve-stem lines through 3 and 4,
// link pivot 6, anchor pivot 13; the other entries are carried through to the pose unchanged).
struct GearDimensions {
  std::array<float, 19> Frame{};
  std::array<float, cyl::kBlockSize> Cyl{};
  PivotTable Pivots;
};
GearDimensions gearOf(const GearSet& gear);

// One pose of the gear. Closed is false where some step of the construction could not close (a
// rod too short for the distance it must span, two circles that do not meet): the pose is then
// the nearest one the solver could make, as the main view draws it.
struct GearPose {
  GearPose() = default;
  // A pose starts from the fixed pivots, which it carries through unchanged.
  explicit GearPose(const PivotTable& fixed) : Pivots(fixed) {}

  PivotTable Pivots;
  float ReverseArmAngle = 0.0f;
  float ValveLeverAngle = 0.0f;
  PortConstants Ports;
  // The crank's angle as the solver turned it, which the piston follows.
  double CrankCos = 1.0, CrankSin = 0.0;
  bool Closed = true;
};
GearPose solveGear(const GearDimensions& gear, float driverAngle, float reverseArmPos);
// The same pose by the solve's written arithmetic alone, which solveGear's quicker routes must
// equal bit for bit: the reference the tests hold it to.
GearPose solveGearExact(const GearDimensions& gear, float driverAngle, float reverseArmPos);

// The piston and the four valve edges at a pose. Closed is false where the stroke is too small
// to divide by or the main rod too short for the crank.
struct ValveState {
  float PistonPos = 0.0f;  // 0 at front dead centre .. 640 at rear dead centre
  float FrontSteamOpen = 0.0f, FrontExhOpen = 0.0f, RearSteamOpen = 0.0f, RearExhOpen = 0.0f;
  bool Closed = true;
};
ValveState valveStateOf(const GearDimensions& gear, const GearPose& pose);

// The piston alone, which follows the crank and not the valve gear: 0 at front dead centre ..
// 640 at rear dead centre, with the angularity of the main rod.
float pistonPosAt(const GearDimensions& gear, float driverAngle, bool& closed);

// Port constants from the cylinder dimensions and the valve-stem joint's H. Every constant but
// ValveDisplacement follows from the dimensions alone.
PortConstants portConstantsOf(const GearDimensions& gear, float valveStemJointH);

}  // namespace vek1
