// The reference drawn beneath: in the four diagrams and in the main view's ghost, the reference
// pen's lines follow the reference's own gear at the working set's notches, the working set's
// drawing is the same call for call, and a legend names both sets.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "canvas.h"
#include "dimensions.h"
#include "frame.h"
#include "numbers.h"
#include "solver.h"
#include "oval_drawing.h"
#include "port_diagram_drawing.h"
#include "reference_ghost.h"
#include "reference_pen.h"
#include "sine_drawing.h"
#include "sound.h"
#include "steam_diagram_drawing.h"
#include "untouched.h"
#include "view.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

Workspace factory() {
  Workspace ws;
  StartUp(ws);
  ws.RevArmPosCount = 3;
  ws.DriverAngle = 123.5f;
  ws.ReverseArmPos = 0.7f;
  return ws;
}

// A reference with a longer radius rod and its link pivot higher, which gives it a mid-gear
// centre of its own.
Workspace longerRadiusRod() {
  Workspace ws = factory();
  ws.Frame[dim::RadiusRod] += 0.03f;
  setDimension(ws, dim::LinkPivotVert, dimensionValue(ws, dim::LinkPivotVert) + 0.2f);
  ComputeReverseArmCentre(ws);
  ws.DimSetName = "Higher link";
  return ws;
}

using Draw = std::function<void(Canvas&, const Workspace&, const Workspace*)>;
struct Diagram {
  const char* name;
  Draw draw;
};
const std::vector<Diagram>& diagrams() {
  static const std::vector<Diagram> d = {
      {"sine", [](Canvas& c, const Workspace& ws, const Workspace* r) { drawSineDiagram(c, ws, r); }},
      {"oval", [](Canvas& c, const Workspace& ws, const Workspace* r) { drawOvalDiagram(c, ws, r); }},
      {"steam",
       [](Canvas& c, const Workspace& ws, const Workspace* r) { drawSteamDiagram(c, ws, r); }},
      {"port",
       [](Canvas& c, const Workspace& ws, const Workspace* r) { drawPortDiagram(c, ws, 'F', true, r); }},
  };
  return d;
}

bool isReferenceShade(Rgb c) {
  for (Rgb pen : {colour::Black, Rgb{0, 128, 0}, Rgb{255, 0, 0}, Rgb{0, 128, 128}})
    if (c == lighterShade(pen) && !(c == pen)) return true;
  return false;
}

// The calls of a drawing that are not the reference pen's dashes nor the legend.
std::vector<DrawCall> workingCalls(const RecordingCanvas& canvas) {
  std::vector<DrawCall> out;
  for (const DrawCall& c : canvas.calls()) {
    if ((c.kind == DrawKind::LineTo || c.kind == DrawKind::MoveTo || c.kind == DrawKind::PenColour) &&
        isReferenceShade(c.colour))
      continue;
    out.push_back(c);
  }
  return out;
}

constexpr int kLegendTop = 375;

double distanceToSegment(double px, double py, const DrawCall& s) {
  const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
  const double len2 = dx * dx + dy * dy;
  double t = len2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / len2 : 0.0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

// How far each reference dash's end lies from the nearest working line of the shade it was
// drawn in: the largest such distance.
double farthestDash(const RecordingCanvas& withReference, const RecordingCanvas& alone) {
  double farthest = 0.0;
  for (const DrawCall& dash : withReference.lines()) {
    // The legend's key, under every diagram's plot, stands beside no curve.
    if (!isReferenceShade(dash.colour) || dash.y1 >= kLegendTop) continue;
    double nearest = 1e9;
    for (const DrawCall& line : alone.lines())
      if (lighterShade(line.colour) == dash.colour)
        nearest = std::min({nearest, distanceToSegment(dash.x1, dash.y1, line)});
    farthest = std::max(farthest, nearest);
  }
  return farthest;
}

TEST(CompareDrawings, ReferenceCurvesFollowTheReferenceBeneathAnUnchangedDrawing) {
  const Workspace ws = factory();
  const Workspace other = longerRadiusRod();
  for (const Diagram& d : diagrams()) {
    SCOPED_TRACE(d.name);
    RecordingCanvas alone, same, compared;
    Workspace drawn = ws;
    d.draw(alone, drawn, nullptr);
    // The set compared with itself: every dash lies on a working curve of its colour.
    d.draw(same, drawn, &ws);
    ASSERT_GT(same.lines().size(), alone.lines().size() + 50);
    EXPECT_LE(farthestDash(same, alone), 1.5);
    // Another set: its own curves, some of them well away from the working ones.
    d.draw(compared, drawn, &other);
    EXPECT_GT(farthestDash(compared, alone), 3.0);
    test::expectUntouched(ws, drawn);

    // Without the dashes and the legend, the drawing is the one without a reference.
    std::vector<DrawCall> kept = workingCalls(compared);
    std::vector<DrawCall> plain = workingCalls(alone);
    // The legend: a key line and the two names, at the end before the footer.
    EXPECT_TRUE(compared.findText("Nominal (working set)"));
    EXPECT_TRUE(compared.findText(other.DimSetName + " (reference)"));
    size_t matched = 0;
    for (size_t i = 0, j = 0; i < plain.size() && j < kept.size(); ++j)
      if (plain[i].kind == kept[j].kind && plain[i].x1 == kept[j].x1 && plain[i].y1 == kept[j].y1 &&
          plain[i].x2 == kept[j].x2 && plain[i].y2 == kept[j].y2 && plain[i].text == kept[j].text) {
        ++i;
        ++matched;
      }
    EXPECT_EQ(matched, plain.size()) << "the working set's calls, in order";
  }
}

TEST(CompareDrawings, GhostIsTheReferenceGearAtTheWorkingSetsCrankAngleAndNotch) {
  Workspace ws = factory();
  Workspace other = longerRadiusRod();
  // The reference's centre is its own: the notch is found from it, not at the working set's H.
  ASSERT_GT(std::fabs(other.RevArmPositions[0] - ws.RevArmPositions[0]), 0.01f);
  for (const float angle : {0.0f, 75.0f, 200.0f, 359.0f}) {
    SCOPED_TRACE(angle);
    ws.DriverAngle = angle;
    SolveGearAndValve(ws);
    // The frame draws after the tick has moved the driver on: the angle comes from the pose.
    ws.DriverAngle = angle + 10.0f;
    EXPECT_NEAR(poseCrankAngle(ws), angle, 1e-3);
    const Workspace before = ws;
    RecordingCanvas canvas;
    drawReferenceGhost(canvas, ws, other);
    test::expectUntouched(before, ws);
    // Its rods end where the reference's own solver puts its pivots, projected in the working
    // set's view, with the reverse arm at the working set's offset from the reference's centre.
    const float arm = toSingle(other.RevArmPositions[0] + (ws.ReverseArmPos - ws.RevArmPositions[0]));
    const GearPose pose = solveGear(gearOf(other), angle, arm);
    // A member is dashed from its first pivot, so a dash starts exactly there (where it does
    // not go on from the member before, as the valve lever and the anchor link do).
    auto starts = [&](const GearPose& p, int pivot) {
      const double x = screenX(ws, p.Pivots.H[pivot]), y = screenY(ws, p.Pivots.V[pivot]);
      for (const DrawCall& c : canvas.lines())
        if (std::hypot(c.x1 - x, c.y1 - y) <= 0.5) return true;
      return false;
    };
    for (int pivot : {1, 3, 4, 10, 18}) EXPECT_TRUE(starts(pose, pivot)) << pivot;
    // Not at the working set's absolute reverse-arm position: that is another notch of the
    // reference, whose arm ends elsewhere.
    const GearPose elsewhere = solveGear(gearOf(other), angle, ws.ReverseArmPos);
    ASSERT_GT(std::hypot(screenX(ws, elsewhere.Pivots.H[18]) - screenX(ws, pose.Pivots.H[18]),
                         screenY(ws, elsewhere.Pivots.V[18]) - screenY(ws, pose.Pivots.V[18])),
              2.0);
    EXPECT_FALSE(starts(elsewhere, 18));
    for (const DrawCall& c : canvas.lines()) ASSERT_EQ(c.colour, lighterShade(Rgb{80, 80, 80}));
  }
  // A reference that cannot close, or holds wild values, still draws and stays finite.
  Workspace wild = factory();
  wild.Frame[dim::RadiusRod] = 1e30f;
  wild.Frame[dim::LinkRadius] = -1.0f;
  RecordingCanvas canvas;
  drawReferenceGhost(canvas, ws, wild);
  for (const DrawCall& c : canvas.lines()) EXPECT_LE(std::abs(c.x2), kScreenLimit);
}

TEST(CompareDrawings, DashesCarryTheirPatternAlongAPolyline) {
  RecordingCanvas canvas;
  ReferencePen pen(canvas);
  pen.setPenColour(colour::Black);
  pen.moveTo(0, 0);
  // Seven one-pixel steps: dash of 4, gap of 3, whatever the segments.
  for (int x = 1; x <= 14; ++x) pen.lineTo(x, 0);
  std::vector<int> painted;
  for (const DrawCall& c : canvas.lines())
    for (int x = c.x1; x < std::max(c.x2, c.x1 + 1); ++x) painted.push_back(x);
  EXPECT_EQ(painted, (std::vector<int>{0, 1, 2, 3, 7, 8, 9, 10}));
  // A long line is cut into dashes; one beyond any picture is drawn whole.
  canvas.reset();
  pen.moveTo(100, 100);
  pen.lineTo(100, 170);
  EXPECT_EQ(canvas.lines().size(), 10u);
  canvas.reset();
  pen.moveTo(0, 0);
  pen.lineTo(kScreenLimit, kScreenLimit);
  EXPECT_EQ(canvas.lines().size(), 1u);
  // Texts, shapes and widths never reach the picture from the reference pen.
  canvas.reset();
  pen.textOut(1, 1, "x");
  pen.ellipse(0, 0, 5, 5);
  pen.setPenWidth(3);
  EXPECT_TRUE(canvas.calls().empty());
}

}  // namespace
}  // namespace vek1
