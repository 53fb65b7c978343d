// The oval diagram: its loops against the solver and the piston formula, its own frame places.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "numbers.h"
#include "oval_drawing.h"
#include "solver.h"
#include "view.h"
#include "untouched.h"

namespace vek1 {
namespace {

constexpr int kSegments = 45;  // 46 samples, 32 degrees round to 32 again

Workspace factory(int count = 3) {
  Workspace ws;
  StartUp(ws);
  ws.RevArmPosCount = count;
  ws.DriverAngle = 123.5f;
  ws.ReverseArmPos = 0.7f;
  return ws;
}

// The curves are the black lines after the port-edge labels (the last thing the frame draws).
std::vector<DrawCall> curveSegments(const RecordingCanvas& canvas) {
  std::vector<DrawCall> out;
  bool afterFrame = false;
  for (const DrawCall& c : canvas.calls()) {
    afterFrame = afterFrame || c.text == "Rear Exhaust Port Open";
    if (afterFrame && c.kind == DrawKind::LineTo && c.colour == colour::Black) out.push_back(c);
  }
  return out;
}

double displacement(Workspace ws, double p, double angle) {
  ws.ReverseArmPos = static_cast<float>(p);
  ws.DriverAngle = static_cast<float>(angle);
  SolveLinkage(ws);
  return ws.Ports.ValveDisplacement;
}

// Screen place of a sample, from the piston formula and the travel mapping (250 px per unit).
std::pair<int, int> expectedPoint(const Workspace& ws, double p, double angle) {
  const double S = ws.Frame[dim::Stroke];
  const double L = double{ws.Frame[dim::MainRodCrankEnd]} + ws.Frame[dim::MainRodPistonEnd];
  const double t = angle * std::numbers::pi / 180.0;
  const double u =
      std::cos(t) + 2.0 * std::sqrt(L * L - std::pow(std::sin(t) * S / 2, 2)) / S - 2.0 * L / S;
  return {roundHalfEven(314.0 + 270.5 * u),
          roundHalfEven(215.0 - displacement(ws, p, angle) * 250)};
}

TEST(OvalDiagram, ClosedLoopsFollowTheSolverAndLeaveTheSetAlone) {
  Workspace ws = factory();
  const Workspace probe = ws;
  RecordingCanvas canvas(640, 480);
  drawOvalDiagram(canvas, ws);
  test::expectUntouched(probe, ws);

  const auto segs = curveSegments(canvas);
  ASSERT_EQ(segs.size(), 3u * kSegments);
  for (int k = 1; k <= 3; ++k) {
    const DrawCall* loop = &segs[(k - 1) * kSegments];
    const double p = ws.RevArmPositions[k];
    for (int i = 1; i <= kSegments; ++i) {  // joined, and the last ends where the first began
      const DrawCall& next = loop[i % kSegments];
      EXPECT_EQ(std::pair(next.x1, next.y1), std::pair(loop[i - 1].x2, loop[i - 1].y2));
    }
    EXPECT_EQ(loop[3].x2, 584);  // segment 4 ends at 0 degrees: the forward dead centre
    EXPECT_EQ(std::pair(loop[0].x1, loop[0].y1), expectedPoint(probe, p, 32.0));
    for (auto [seg, angle] : {std::pair{4, 0.0}, {27, 176.0}, {45, 32.0}})
      EXPECT_EQ(std::pair(loop[seg - 1].x2, loop[seg - 1].y2), expectedPoint(probe, p, angle))
          << "loop " << k << " segment " << seg;
  }
}

TEST(OvalDiagram, CurveNumbersOnBothRunsOfEachLoop) {
  Workspace ws = factory();
  // Written after the samples at 280 (j = 21) and 88 degrees (j = 45), above the previous point.
  for (auto [upper, lower] : {std::pair{204.0, 213.0}, {213.0, 204.0}}) {
    Workspace drawn = ws;
    RecordingCanvas canvas(640, 480);
    drawOvalDiagram(canvas, drawn);
    std::vector<DrawCall> bold;
    for (const DrawCall& c : canvas.texts())
      if (c.fontStyle.bold) bold.push_back(c);
    ASSERT_EQ(bold.size(), 6u);
    for (int k = 1; k <= 3; ++k) {
      const DrawCall& a = bold[2 * k - 2];
      const DrawCall& b = bold[2 * k - 1];
      const double p = ws.RevArmPositions[k];
      EXPECT_EQ(std::tuple(a.text, a.x1, a.y1),
                std::tuple(" " + std::to_string(k), 300,
                           roundHalfEven(upper - displacement(ws, p, 280.0) * 250)));
      EXPECT_EQ(std::tuple(b.text, b.x1, b.y1),
                std::tuple(" " + std::to_string(k), 334,
                           roundHalfEven(lower - displacement(ws, p, 88.0) * 250)));
    }
    // A valve half no longer than its rear port: the two offsets change places.
    ws.Cyl[cyl::slot<dim::ValveLengthRearHalf>] = ws.Cyl[cyl::slot<dim::SteamPortWidthRear>];
  }
}

TEST(OvalDiagram, FrameAtTheOvalsPlaces) {
  Workspace ws = factory();
  SolveLinkage(ws);
  RecordingCanvas canvas(640, 480);
  drawOvalDiagram(canvas, ws);
  EXPECT_TRUE(canvas.hasLine(44, 84, 44, 346) && canvas.hasLine(584, 84, 584, 346));
  EXPECT_TRUE(canvas.hasLine(71, 84, 71, 90) && canvas.hasLine(557, 340, 557, 346));  // 5 %
  EXPECT_TRUE(canvas.hasLine(98, 82, 98, 92) && canvas.hasLine(530, 338, 530, 348));  // 10 %
  EXPECT_EQ(std::pair(canvas.findText("0")->x1, canvas.findText("0")->y1), std::pair(577, 348));
  EXPECT_EQ(canvas.findText("Forward End --->")->x1, 386);
  EXPECT_EQ(canvas.findText("0.6")->x1, 15);  // the value labels
  EXPECT_EQ(canvas.findText("-0.6")->x1, 15);

  const PortConstants& pc = ws.Ports;
  const int front = roundHalfEven(215 - pc.FrontSteamEdge * 250.0);
  const int rear = roundHalfEven(215 + pc.RearExhEdge * 250.0);
  EXPECT_TRUE(canvas.hasLine(15, front, 584, front) && canvas.hasLine(15, rear, 584, rear));
  const auto place = [&](const char* text) {
    const DrawCall* c = canvas.findText(text);
    return c ? std::pair(c->x1, c->y1) : std::pair(-1, -1);
  };
  EXPECT_EQ(place("Front Steam Port Open"),
            std::pair(430, roundHalfEven(199 - pc.FrontSteamEdge * 250.0)));
  EXPECT_EQ(place("Rear Steam Port Max"),
            std::pair(75, roundHalfEven(199 + pc.RearPortFull * 250.0)));
  // Only the centre position is at mid gear: one table of leads and laps.
  const std::vector<std::string> texts = canvas.textStrings();
  EXPECT_EQ(std::count(texts.begin(), texts.end(), "Lead"), 2);
}

TEST(OvalDiagram, DegenerateInputDrawsSafely) {
  // A stroke of 0: the divisor is guarded and every point stays on the clamped screen. The
  // error latch is the running view's business, not the drawing's: it stays as it was.
  {
    Workspace ws = factory();
    ws.Frame[dim::Stroke] = 0.0f;
    const Workspace before = ws;
    RecordingCanvas canvas(640, 480);
    drawOvalDiagram(canvas, ws);
    const auto segs = curveSegments(canvas);
    ASSERT_EQ(segs.size(), 3u * kSegments);
    for (const DrawCall& c : segs)
      for (int v : {c.x1, c.y1, c.x2, c.y2}) EXPECT_LE(std::abs(v), kScreenLimit);
    test::expectUntouched(before, ws);
  }
  // No positions: the frame alone.
  Workspace ws = factory(0);
  RecordingCanvas canvas(640, 480);
  drawOvalDiagram(canvas, ws);
  EXPECT_TRUE(curveSegments(canvas).empty());
  EXPECT_EQ(canvas.findText("Cen"), nullptr);
  EXPECT_TRUE(canvas.hasLine(584, 84, 584, 346));
  EXPECT_EQ(canvas.lines(Rgb{0, 255, 0}).size(), 3u);
  EXPECT_EQ(ws.LastDiagramRevArmPos, 0.0f);
}

}  // namespace
}  // namespace vek1
