#pragma once
// The gear as a CAD drawing: the shapes a drawing office wants, in the set's own length units
// with V upwards, gathered from the pure solver so they can be checked without writing a file.
// Pivots are circles about the solver's points, members are lines, the link is one true arc
// about its centre of curvature, and the die block's path over a turn at each chosen notch is a
// polyline. Each shape belongs to one layer, so a user can switch the parts on and off.

#include <array>
#include <string_view>
#include <vector>

#include "gear.h"

namespace vek1 {

enum class CadLayer { Frame, Rods, Link, Valve, Cylinder, Ports, Paths };
constexpr std::array<CadLayer, 7> kCadLayers = {
    CadLayer::Frame,    CadLayer::Rods,  CadLayer::Link, CadLayer::Valve,
    CadLayer::Cylinder, CadLayer::Ports, CadLayer::Paths};
// "frame", "rods", "link", "valve", "cylinder", "ports", "paths".
std::string_view cadLayerName(CadLayer layer);

struct CadPoint {
  double x = 0.0, y = 0.0;  // H and V of the model
};
struct CadCircle {
  CadLayer layer = CadLayer::Frame;
  CadPoint centre;
  double radius = 0.0;
  int pivot = -1;  // the pivot table entry it marks, -1 for none
};
struct CadLine {
  CadLayer layer = CadLayer::Rods;
  CadPoint from, to;
};
// Counter-clockwise (V up) from startDegrees to endDegrees, angles from the +H axis.
struct CadArc {
  CadLayer layer = CadLayer::Link;
  CadPoint centre;
  double radius = 0.0;
  double startDegrees = 0.0, endDegrees = 0.0;
};
struct CadPolyline {
  CadLayer layer = CadLayer::Paths;
  std::vector<CadPoint> points;
  bool closed = false;
};

struct GearCadDrawing {
  std::vector<CadCircle> circles;
  std::vector<CadLine> lines;
  std::vector<CadArc> arcs;
  std::vector<CadPolyline> polylines;
  // The pose closed; a pose that did not is still drawn, as the main view draws it.
  bool closed = true;
  // Shapes left out because a damaged set put a point at infinity or NaN.
  int dropped = 0;
};

struct GearCadRequest {
  float driverAngle = 0.0f;
  float reverseArmPos = 0.0f;
  // The reverse-arm positions whose die path over a turn is drawn, one polyline each.
  std::vector<float> pathReverseArmPositions;
};

// Driver-angle step of the die paths, in degrees: 180 points a turn, closed.
constexpr int kDiePathStepDegrees = 2;

GearCadDrawing gearCadDrawing(const GearDimensions& gear, const GearCadRequest& request);

// The working set's drawing at its driver angle and reverse-arm position, with the die paths at
// the mid-gear centre plus each offset, as the valve events place their notches.
GearCadDrawing gearCadDrawingOf(const Workspace& ws, const std::vector<double>& pathOffsets);

// The notches whose die paths a drawing of the set as it stands carries, as offsets from the
// centre: where the gear stands, normal full forward gear, mid gear and normal full reverse,
// each once (two within 0.0001 of each other are one).
std::vector<double> standingDieNotches(const Workspace& ws);

// The link's arc at a pose: about point 14 with the link radius, spanning the part the main view
// draws (a quarter of the radius above and below the link pivot) and, beyond it, wherever the
// die block goes over a turn at that notch, so the die never leaves the drawn link.
CadArc linkArcOf(const GearDimensions& gear, const GearPose& pose, float reverseArmPos);

}  // namespace vek1
