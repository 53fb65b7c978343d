#include "gear_cad.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "cylinder_outline.h"
#include "numbers.h"

namespace vek1 {

namespace {

constexpr double kDegrees = 180.0 / std::numbers::pi;

bool finite(const CadPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y);
}

// Collects the shapes, leaving out any that a damaged set put at infinity or NaN: a CAD program
// reads "nan" as a broken file, where a missing rod is plain to see.
class Collector {
 public:
  explicit Collector(GearCadDrawing& d) : d_(d) {}
  void circle(CadLayer layer, CadPoint c, double r, int pivot = -1) {
    if (!finite(c) || !std::isfinite(r) || !(r > 0)) return drop();
    d_.circles.push_back({layer, c, r, pivot});
  }
  void line(CadLayer layer, CadPoint a, CadPoint b) {
    if (!finite(a) || !finite(b)) return drop();
    d_.lines.push_back({layer, a, b});
  }
  void arc(const CadArc& a) {
    if (!finite(a.centre) || !std::isfinite(a.radius) || !(a.radius > 0) ||
        !std::isfinite(a.startDegrees) || !std::isfinite(a.endDegrees))
      return drop();
    d_.arcs.push_back(a);
  }
  void polyline(CadLayer layer, std::vector<CadPoint> points, bool closed) {
    if (points.size() < 2 || !std::all_of(points.begin(), points.end(), finite)) return drop();
    d_.polylines.push_back({layer, std::move(points), closed});
  }

 private:
  void drop() { ++d_.dropped; }
  GearCadDrawing& d_;
};

CadPoint pivot(const GearPose& pose, int i) {
  return {pose.Pivots.H[static_cast<size_t>(i)], pose.Pivots.V[static_cast<size_t>(i)]};
}

// The cylinder, its passages and port face, the piston and the valve, in model units: the
// outlines the main view draws, before they are turned into pixels.
void addCylinderAndValve(Collector& out, const GearDimensions& gear, const GearPose& pose) {
  const CylinderOutline o = cylinderOutlineOf(gear.Cyl, pose.Pivots);
  auto points = [](const auto& shape) {
    std::vector<CadPoint> p;
    for (const ModelPoint& m : shape) p.push_back({m.h, m.v});
    return p;
  };
  auto point = [](const ModelPoint& m) { return CadPoint{m.h, m.v}; };
  out.polyline(CadLayer::Cylinder, points(o.Cylinder), false);
  // The passages run from the face down to the bore; their mouths on the face, between the
  // steam ports' outer edges, are the port face the valve slides on.
  out.polyline(CadLayer::Ports, points(o.Passage), false);
  out.line(CadLayer::Ports, point(o.FaceRear), point(o.FaceFront));
  out.polyline(CadLayer::Cylinder, points(o.Piston), true);
  out.line(CadLayer::Cylinder, pivot(pose, 3), point(o.PistonRodEnd));
  out.polyline(CadLayer::Valve, points(o.Valve), true);
  out.line(CadLayer::Valve, pivot(pose, 4), point(o.ValveStemEnd));
}

// Degrees of `p` about `centre`, taken within half a turn of `reference`.
double angleNear(const CadPoint& centre, const CadPoint& p, double reference) {
  double a = std::atan2(p.y - centre.y, p.x - centre.x) * kDegrees;
  while (a - reference > 180.0) a -= 360.0;
  while (a - reference < -180.0) a += 360.0;
  return a;
}

}  // namespace

std::string_view cadLayerName(CadLayer layer) {
  switch (layer) {
    case CadLayer::Frame:
      return "frame";
    case CadLayer::Rods:
      return "rods";
    case CadLayer::Link:
      return "link";
    case CadLayer::Valve:
      return "valve";
    case CadLayer::Cylinder:
      return "cylinder";
    case CadLayer::Ports:
      return "ports";
    case CadLayer::Paths:
      return "paths";
  }
  return "0";
}

CadArc linkArcOf(const GearDimensions& gear, const GearPose& pose, float reverseArmPos) {
  const double LR = gear.Frame[dim::LinkRadius];
  const CadPoint centre = pivot(pose, 14);
  const CadPoint linkPivot = pivot(pose, 6);
  const double reference = std::atan2(linkPivot.y - centre.y, linkPivot.x - centre.x) * kDegrees;
  double low = reference, high = reference;
  auto cover = [&](const CadPoint& p) {
    if (!finite(p)) return;
    const double a = angleNear(centre, p, reference);
    low = std::min(low, a);
    high = std::max(high, a);
  };
  const double h = gear.Pivots.H[5] + 0.05 * LR;
  cover({h, gear.Pivots.V[5] + 0.25 * LR});
  cover({h, gear.Pivots.V[5] - 0.25 * LR});
  for (int angle = 0; angle < 360; angle += kDiePathStepDegrees)
    cover(pivot(solveGear(gear, static_cast<float>(angle), reverseArmPos), 8));
  double start = std::fmod(low, 360.0);
  if (start < 0) start += 360.0;
  return {CadLayer::Link, centre, std::fabs(LR), start, start + (high - low)};
}

GearCadDrawing gearCadDrawing(const GearDimensions& gear, const GearCadRequest& request) {
  GearCadDrawing d;
  Collector out(d);
  const GearPose pose = solveGear(gear, request.driverAngle, request.reverseArmPos);
  d.closed = pose.Closed;
  const double Dd = gear.Frame[dim::DriverDia];

  // The frame: the driver wheel and its hub about the driver centre, the fixed pivots of the
  // link and the anchor link.
  out.circle(CadLayer::Frame, pivot(pose, 1), Dd / 2);
  out.circle(CadLayer::Frame, pivot(pose, 1), 0.08 * Dd, 1);
  out.circle(CadLayer::Frame, pivot(pose, 6), 0.02 * Dd, 6);
  out.circle(CadLayer::Frame, pivot(pose, 13), 0.02 * Dd, 13);

  // The moving pivots and the members between them.
  out.circle(CadLayer::Rods, pivot(pose, 2), 0.05 * Dd, 2);
  out.circle(CadLayer::Rods, pivot(pose, 3), 0.04 * Dd, 3);
  for (int i : {4, 7, 8, 9, 10, 11, 18}) out.circle(CadLayer::Rods, pivot(pose, i), 0.02 * Dd, i);
  const std::array<std::array<int, 2>, 7> members = {{{1, 2},     // crank
                                                      {2, 3},     // main rod
                                                      {4, 7},     // radius rod
                                                      {7, 9},     // valve lever, through the die
                                                      {10, 11},   // coupler
                                                      {11, 13},   // anchor link
                                                      {6, 18}}};  // reverse arm
  for (const auto& [a, b] : members) out.line(CadLayer::Rods, pivot(pose, a), pivot(pose, b));
  out.line(CadLayer::Rods, pivot(pose, 18), {pose.Pivots.H[1], pose.Pivots.V[18]});  // reach rod

  out.arc(linkArcOf(gear, pose, request.reverseArmPos));
  addCylinderAndValve(out, gear, pose);

  for (const float notch : request.pathReverseArmPositions) {
    std::vector<CadPoint> path;
    for (int angle = 0; angle < 360; angle += kDiePathStepDegrees)
      path.push_back(pivot(solveGear(gear, static_cast<float>(angle), notch), 8));
    out.polyline(CadLayer::Paths, std::move(path), true);
  }
  return d;
}

GearCadDrawing gearCadDrawingOf(const Workspace& ws, const std::vector<double>& pathOffsets) {
  GearCadRequest request{ws.DriverAngle, ws.ReverseArmPos, {}};
  for (const double offset : pathOffsets)
    request.pathReverseArmPositions.push_back(
        toSingle(static_cast<double>(ws.RevArmPositions[0]) + offset));
  return gearCadDrawing(gearOf(ws), request);
}

std::vector<double> standingDieNotches(const Workspace& ws) {
  const double here = static_cast<double>(ws.ReverseArmPos) - ws.RevArmPositions[0];
  const double full = ws.Frame[dim::RevArmToCentNorm];
  std::vector<double> notches;
  for (const double n : {here, full, 0.0, -full})
    if (std::none_of(notches.begin(), notches.end(),
                     [n](double m) { return std::fabs(m - n) < 1e-4; }))
      notches.push_back(n);
  return notches;
}

}  // namespace vek1
