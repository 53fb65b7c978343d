#pragma once
// The screen outlines of the cylinder, its steam passages, the piston and the valve for the
// current pose and view, recomputed on every tick and read by the frame and steam drawings.

#include <array>

#include "view.h"
#include "workspace.h"

namespace vek1 {

struct Pt {
  int x = 0, y = 0;
  friend bool operator==(const Pt&, const Pt&) = default;
};

struct Outlines {
  // Polyline: the start point, then 13 vertices round the chest, ports, bore and back.
  std::array<Pt, 14> Cylinder;
  // Polyline: the start point, then 9 vertices round the passages and the bridges.
  std::array<Pt, 10> Passage;
  // Closed rectangle: front-top, rear-top, rear-bottom, front-bottom, front-top.
  std::array<Pt, 5> Piston;
  // The valve's 8 vertices; drawn closed, starting from the last.
  std::array<Pt, 8> Valve;
  Pt PistonRodEnd;
  Pt ValveStemEnd;
};

Outlines UpdateOutlines(const Workspace& ws);

}  // namespace vek1
