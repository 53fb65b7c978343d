// The gear's CAD drawing against the solver and the main view: every pivot circle sits on the
// solver's point, the link is the arc the die block runs on, the outlines are the main view's
// before they became pixels, and a damaged set gives a drawing with nothing at infinity.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "dimensions.h"
#include "gear_cad.h"
#include "outlines.h"
#include "view.h"
#include "started_set.h"

namespace vek1 {
namespace {

double angleWithin(double a, double start) {
  while (a < start) a += 360.0;
  while (a >= start + 360.0) a -= 360.0;
  return a;
}

TEST(GearCad, PivotCirclesAndMembersSitOnTheSolversPoints) {
  const Workspace ws = test::startedSet();
  const GearDimensions gear = gearOf(ws);
  const float centre = ws.RevArmPositions[0];
  for (const float notch : {centre + 1.6f, centre, centre - 1.6f}) {
    for (const float angle : {0.0f, 77.5f, 200.0f, 333.0f}) {
      const GearPose pose = solveGear(gear, angle, notch);
      const GearCadDrawing d = gearCadDrawing(gear, {angle, notch, {}});
      int marked = 0;
      for (const CadCircle& c : d.circles) {
        if (c.pivot < 0) continue;
        ++marked;
        EXPECT_EQ(c.centre.x, pose.Pivots.H[static_cast<size_t>(c.pivot)]) << c.pivot;
        EXPECT_EQ(c.centre.y, pose.Pivots.V[static_cast<size_t>(c.pivot)]) << c.pivot;
      }
      // Driver centre, link and anchor pivots; crank pin, crosshead and the seven others.
      EXPECT_EQ(marked, 12);
      // The main rod runs from the crank pin to the crosshead, the reverse arm from the link
      // pivot to its end.
      auto hasLine = [&](int a, int b) {
        for (const CadLine& l : d.lines)
          if (l.from.x == pose.Pivots.H[a] && l.from.y == pose.Pivots.V[a] &&
              l.to.x == pose.Pivots.H[b] && l.to.y == pose.Pivots.V[b])
            return true;
        return false;
      };
      EXPECT_TRUE(hasLine(2, 3));
      EXPECT_TRUE(hasLine(6, 18));
      EXPECT_TRUE(hasLine(11, 13));
      EXPECT_TRUE(d.closed);
    }
  }
}

TEST(GearCad, TheLinkIsTheArcTheDieBlockRunsOn) {
  const Workspace ws = test::startedSet();
  const GearDimensions gear = gearOf(ws);
  const double LR = ws.Frame[dim::LinkRadius];
  for (const float offset : {1.6f, 0.3f, -1.6f}) {
    const float notch = ws.RevArmPositions[0] + offset;
    const GearCadDrawing d = gearCadDrawing(gear, {40.0f, notch, {notch}});
    ASSERT_EQ(d.arcs.size(), 1u);
    const CadArc& link = d.arcs[0];
    const GearPose pose = solveGear(gear, 40.0f, notch);
    EXPECT_EQ(link.layer, CadLayer::Link);
    EXPECT_EQ(link.centre.x, pose.Pivots.H[14]);
    EXPECT_EQ(link.centre.y, pose.Pivots.V[14]);
    EXPECT_DOUBLE_EQ(link.radius, LR);
    ASSERT_GT(link.endDegrees, link.startDegrees);
    EXPECT_LT(link.endDegrees - link.startDegrees, 90.0) << "the link is a short arc";
    // The die path at the pose's notch: on the arc's circle, and inside its span.
    ASSERT_EQ(d.polylines.back().layer, CadLayer::Paths);
    const auto& path = d.polylines.back().points;
    EXPECT_EQ(path.size(), 360u / kDiePathStepDegrees);
    EXPECT_TRUE(d.polylines.back().closed);
    double lowest = 360, highest = -360;
    for (const CadPoint& p : path) {
      EXPECT_NEAR(std::hypot(p.x - link.centre.x, p.y - link.centre.y), LR, 2e-5);
      const double a = angleWithin(
          std::atan2(p.y - link.centre.y, p.x - link.centre.x) * 180 / M_PI, link.startDegrees);
      EXPECT_LE(a, link.endDegrees + 1e-9) << offset;
      lowest = std::min(lowest, a);
      highest = std::max(highest, a);
    }
    // The die moves along the link at every notch off mid gear.
    EXPECT_GT(highest - lowest, 1.0) << offset;
    const double pivotAngle = angleWithin(
        std::atan2(pose.Pivots.V[6] - link.centre.y, pose.Pivots.H[6] - link.centre.x) * 180 / M_PI,
        link.startDegrees);
    EXPECT_LE(pivotAngle, link.endDegrees);
  }
}

TEST(GearCad, PathsFollowEachNotchInOrder) {
  const Workspace ws = test::startedSet();
  const GearCadDrawing d = gearCadDrawingOf(ws, {1.6, 0.0, -1.6});
  std::vector<const CadPolyline*> paths;
  for (const CadPolyline& p : d.polylines)
    if (p.layer == CadLayer::Paths) paths.push_back(&p);
  ASSERT_EQ(paths.size(), 3u);
  const GearDimensions gear = gearOf(ws);
  // Point k of a path is the die block at 2k degrees, at its own notch.
  for (const auto& [path, offset] : {std::pair{paths[0], 1.6f}, std::pair{paths[2], -1.6f}}) {
    const GearPose at90 = solveGear(gear, 90.0f, ws.RevArmPositions[0] + offset);
    EXPECT_EQ(path->points[45].x, at90.Pivots.H[8]) << offset;
    EXPECT_EQ(path->points[45].y, at90.Pivots.V[8]) << offset;
  }
  EXPECT_NE(paths[0]->points[45].y, paths[2]->points[45].y);
}

TEST(GearCad, TheStandingDrawingCarriesItsNotchAndTheThreeGearsOnce) {
  Workspace ws = test::startedSet();
  const float centre = ws.RevArmPositions[0];
  EXPECT_EQ(standingDieNotches(ws), (std::vector<double>{0.0, 1.6f, -1.6f}));
  ws.ReverseArmPos = centre + 1.6f;
  const std::vector<double> forward = standingDieNotches(ws);
  ASSERT_EQ(forward.size(), 3u);
  EXPECT_NEAR(forward[0], 1.6, 1e-6);
  EXPECT_EQ(forward[1], 0.0);
  ws.ReverseArmPos = centre + 0.7f;
  const std::vector<double> between = standingDieNotches(ws);
  ASSERT_EQ(between.size(), 4u);
  EXPECT_NEAR(between[0], 0.7, 1e-6);
  EXPECT_EQ(between[3], static_cast<double>(-1.6f));
}

// The cylinder, the valve and the port face are the main view's outlines in model units: put
// through the view's mapping they land on the very pixels the main view draws.
TEST(GearCad, OutlinesAreTheMainViewsInModelUnits) {
  Workspace ws = test::startedSet();
  ws.DriverAngle = 120.0f;
  ws.ReverseArmPos = ws.RevArmPositions[0] + 1.6f;
  const GearDimensions gear = gearOf(ws);
  const GearPose pose = solveGear(gear, ws.DriverAngle, ws.ReverseArmPos);
  ws.Pivots = pose.Pivots;
  const Outlines o = UpdateOutlines(ws);
  const GearCadDrawing d = gearCadDrawingOf(ws, {});
  auto onScreen = [&](const CadPolyline& p) {
    std::vector<Pt> pts;
    for (const CadPoint& c : p.points) pts.push_back({screenX(ws, c.x), screenY(ws, c.y)});
    return pts;
  };
  std::vector<std::vector<Pt>> cylinder, valve, ports;
  for (const CadPolyline& p : d.polylines) {
    if (p.layer == CadLayer::Cylinder) cylinder.push_back(onScreen(p));
    if (p.layer == CadLayer::Valve) valve.push_back(onScreen(p));
    if (p.layer == CadLayer::Ports) ports.push_back(onScreen(p));
  }
  ASSERT_EQ(cylinder.size(), 2u);
  ASSERT_EQ(valve.size(), 1u);
  ASSERT_EQ(ports.size(), 1u);
  EXPECT_EQ(cylinder[0], std::vector<Pt>(o.Cylinder.begin(), o.Cylinder.end()));
  EXPECT_EQ(cylinder[1], std::vector<Pt>(o.Piston.begin(), o.Piston.end() - 1));
  EXPECT_EQ(valve[0], std::vector<Pt>(o.Valve.begin(), o.Valve.end()));
  EXPECT_EQ(ports[0], std::vector<Pt>(o.Passage.begin(), o.Passage.end()));
}

TEST(GearCad, ADamagedSetDrawsNothingAtInfinity) {
  for (const float bad : {std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(), 0.0f, -3.0f}) {
    Workspace ws = test::startedSet();
    ws.Frame[dim::LinkRadius] = bad;
    ws.Frame[dim::DriverDia] = bad;
    const GearCadDrawing d = gearCadDrawingOf(ws, {1.6, -1.6});
    auto ok = [](const CadPoint& p) { return std::isfinite(p.x) && std::isfinite(p.y); };
    for (const CadCircle& c : d.circles) EXPECT_TRUE(ok(c.centre) && c.radius > 0) << bad;
    for (const CadLine& l : d.lines) EXPECT_TRUE(ok(l.from) && ok(l.to)) << bad;
    for (const CadArc& a : d.arcs)
      EXPECT_TRUE(ok(a.centre) && a.radius > 0 && std::isfinite(a.endDegrees)) << bad;
    for (const CadPolyline& p : d.polylines)
      for (const CadPoint& v : p.points) EXPECT_TRUE(ok(v)) << bad;
    // Without a driver diameter there is no wheel, hub or pivot circle to draw.
    EXPECT_GT(d.dropped, 0) << bad;
  }
}

}  // namespace
}  // namespace vek1
