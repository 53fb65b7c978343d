#pragma once
// The cylinder, its passages, the piston and the valve as the dimensions and the pose place
// them, in the gear's own units: the main view turns each point into pixels (outlines.h), the CAD
// drawing keeps them as they are.

#include <array>

#include "workspace.h"

namespace vek1 {

struct ModelPoint {
  double h = 0.0, v = 0.0;
};

struct CylinderOutline {
  // Round the chest, the steam ports, the bore and back (an open polyline).
  std::array<ModelPoint, 14> Cylinder;
  // Round the passages and the bridges, from the face down to the bore and up again.
  std::array<ModelPoint, 10> Passage;
  // Front-top, rear-top, rear-bottom, front-bottom.
  std::array<ModelPoint, 4> Piston;
  ModelPoint PistonRodEnd;  // where the piston rod leaves the piston's front face
  // The valve's 8 vertices, from the rear-top corner round the front and the exhaust cavity.
  std::array<ModelPoint, 8> Valve;
  ModelPoint ValveStemEnd;  // the valve stem's end at the valve's rear
  // The port face the valve slides on: between the steam ports' outer edges.
  ModelPoint FaceRear, FaceFront;
};

// `pivots` holds the pose: the crosshead (point 3), the valve-stem joint (point 4) and the
// cylinder's centre line height V[3].
CylinderOutline cylinderOutlineOf(const std::array<float, cyl::kBlockSize>& cylinder,
                                  const PivotTable& pivots);

}  // namespace vek1
