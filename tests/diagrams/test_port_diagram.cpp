// The port events diagram: its event detection on hand-made samples, and the drawing call by call.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include <QRectF>

#include "canvas.h"
#include "recording_canvas.h"
#include "dynvar.h"
#include "dimensions.h"
#include "numbers.h"
#include "port_diagram_drawing.h"
#include "solver.h"
#include "valve.h"
#include "untouched.h"

namespace vek1 {
namespace {

constexpr Rgb kTeal{0, 128, 128}, kRed{255, 0, 0}, kDarkGreen{0, 128, 0}, kMaroon{128, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

// Whether `text` was written at (x, y) in that colour.
bool wrote(const RecordingCanvas& canvas, std::string_view text, int x, int y,
           Rgb colour = colour::Black) {
  for (const DrawCall& c : canvas.texts())
    if (c.text == text && c.x1 == x && c.y1 == y && c.colour == colour) return true;
  return false;
}

Workspace factory() {
  Workspace ws;
  StartUp(ws);
  ws.DriverAngle = 123.5f;
  ws.ReverseArmPos = 0.7f;
  return ws;
}

double rowPosition(const Workspace& ws, int i, bool reverse) {
  const double step = i * static_cast<double>(ws.Frame[dim::RevArmToCentMax]) / 18.0;
  return static_cast<float>(ws.RevArmPositions[0] + (reverse ? -step : step));
}

// The first zero crossing of one opening over a row's turn (4 degrees a sample, backwards for
// the reverse graph), found here by its own sweep: where the line between two samples meets zero.
std::optional<double> crossing(Workspace ws, double p, float Workspace::*opening, bool opens,
                               bool reverse = false) {
  ws.ReverseArmPos = static_cast<float>(p);
  double prevOpen = 0.0, prevPiston = 0.0;
  for (int j = 0; j <= 90; ++j) {
    const float turned = 4.0f * (j + 1);
    ws.DriverAngle = reverse ? (turned > 360.0f ? 720.0f - turned : 360.0f - turned)
                             : (turned > 360.0f ? turned - 360.0f : turned);
    SolveLinkage(ws);
    ComputeValveState(ws);
    const double b = prevOpen, a = ws.*opening;
    if (j > 0 && (opens ? (b < 0 && a >= 0) : (b > 0 && a <= 0)))
      return prevPiston + (ws.PistonPos - prevPiston) * b / (b - a);
    prevOpen = a;
    prevPiston = ws.PistonPos;
  }
  return std::nullopt;
}

TEST(PortEvents, EdgesOpenAndCloseAtTheirZeroCrossings) {
  // Each edge in turn goes -0.25 -> 0.75 (opens) and back (closes), pistons 100 <-> 200: the
  // zero lies a quarter of the way from 100.
  constexpr double PortSample::*kEdges[4] = {&PortSample::frontSteam, &PortSample::frontExh,
                                             &PortSample::rearSteam, &PortSample::rearExh};
  for (int edge = 0; edge < 4; ++edge) {
    PortSample shut{100, -1, -1, -1, -1}, open{200, -1, -1, -1, -1};
    shut.*kEdges[edge] = -0.25;
    open.*kEdges[edge] = 0.75;
    for (auto [from, to, event] : {std::tuple(shut, open, edge), {open, shut, edge + 4}}) {
      const auto events = portEventsBetween(from, to);
      for (int e = 0; e < kPortEventCount; ++e)
        EXPECT_EQ(events[e], e == event ? std::optional(125.0) : std::nullopt) << edge << e;
    }
  }
  // Touching exactly 0 counts, from either side, at the sample that touches; leaving 0 does not.
  const PortSample apart{10, -0.2, 0.1, -0.3, 0.4}, touching{30, 0, 0, 0, 0};
  const auto events = portEventsBetween(apart, touching);
  for (int e : {FrontSteamOpens, FrontExhCloses, RearSteamOpens, RearExhCloses})
    EXPECT_EQ(events[e], 30.0) << e;
  for (int e : {FrontExhOpens, RearExhOpens, FrontSteamCloses, RearSteamCloses})
    EXPECT_FALSE(events[e]) << e;
  for (const auto& e : portEventsBetween(touching, apart)) EXPECT_FALSE(e);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (const auto& e : portEventsBetween({0, 0.1, -0.1, 0.1, -0.1}, {9, nan, nan, nan, nan}))
    EXPECT_FALSE(e);
}

TEST(PortDiagram, FrameTextsAndPositionColumnPerGraph) {
  for (bool reverse : {false, true}) {
    Workspace ws = factory();
    ws.UndoMode = true;
    RecordingCanvas canvas(640, 480);
    const DiagramOutcome out = drawPortDiagram(canvas, ws, reverse ? 'R' : 'F', false);
    EXPECT_TRUE(out.undoButtonShown);
    EXPECT_EQ(std::pair(ws.DriverAngle, ws.ReverseArmPos), std::pair(123.5f, 0.7f));

    // Axes, base line, long and short ticks, a dash, the Norm line (1.6 of 1.8: 256 px up).
    const int kLines[][4] = {{9, 42, 9, 353},   {549, 42, 549, 353},  {9, 343, 549, 343},
                             {63, 45, 63, 65},  {495, 333, 495, 353}, {36, 52, 36, 58},
                             {5, 343, 14, 343}, {59, 87, 650, 87}};
    for (const auto& l : kLines) EXPECT_TRUE(canvas.hasLine(l[0], l[1], l[2], l[3])) << l[0];
    EXPECT_TRUE(wrote(canvas, "Maximum", 420, 47, kRed) && wrote(canvas, "Normal", 345, 80, kBlue));
    EXPECT_EQ(canvas.lines(kBlue).size(), 1u);
    EXPECT_TRUE(wrote(canvas, "I", 537, 266) && wrote(canvas, "I", 537, 294));  // in POSITION

    // Only this graph's heading, column and key.
    int row = 0;
    for (const DrawCall& c : canvas.texts()) {
      EXPECT_NE(c.x1, reverse ? 556 : 596);
      if (c.x1 != (reverse ? 596 : 556)) continue;
      EXPECT_EQ(c.y1, 336 - 16 * row);
      EXPECT_EQ(c.text, fixedText(rowPosition(ws, row, reverse), 7, 3));
      ++row;
    }
    EXPECT_EQ(row, 19);
    EXPECT_EQ(wrote(canvas, "Forward", 554, 32) && wrote(canvas, "Fwd.", 415, 290) &&
                  wrote(canvas, "Front Port", 446, 284, kTeal) &&
                  wrote(canvas, "Rear Port", 446, 296, kRed),
              !reverse);
    EXPECT_EQ(wrote(canvas, "Rev.", 605, 32) && wrote(canvas, "Rev.", 415, 321) &&
                  wrote(canvas, "Front Port", 446, 315, kDarkGreen) &&
                  wrote(canvas, "Rear Port", 446, 327, kMaroon),
              reverse);
  }
}

TEST(PortDiagram, EventLinesAndCycleLegendFollowTheSweep) {
  Workspace ws = factory();
  RecordingCanvas canvas(640, 480);
  for (bool rev : {true, false}) {
    // Where an event of row i falls, front scale (fx) or mirrored rear scale (rx).
    const auto piston = [&](int i, float Workspace::*opening, bool opens) {
      return crossing(ws, rowPosition(ws, i, rev), opening, opens, rev).value_or(-1e4);
    };
    const auto fx = [](double f) { return roundHalfEven(0.84375 * f + 9); };
    const auto rx = [](double f) { return roundHalfEven(549 - 0.84375 * f); };
    canvas.reset();
    drawPortDiagram(canvas, ws, rev ? 'R' : 'F', false);
    for (const DrawCall& c : canvas.texts()) EXPECT_FALSE(c.fontStyle.bold) << c.text;
    const Rgb front = rev ? kDarkGreen : kTeal, rear = rev ? kMaroon : kRed;
    EXPECT_TRUE(canvas.lines(rev ? kTeal : kDarkGreen).empty() &&
                canvas.lines(rev ? kRed : kMaroon).empty());
    bool fromCentre = false;
    for (Rgb colour : {front, rear}) {
      ASSERT_FALSE(canvas.lines(colour).empty());
      for (const DrawCall& c : canvas.lines(colour)) {
        EXPECT_EQ(c.y1 - c.y2, 16);  // from the row before, never out of row 0
        EXPECT_TRUE(c.y2 >= 55 && c.y2 <= 327) << c.y2;
        fromCentre |= c.y1 == 343;
      }
    }
    EXPECT_TRUE(fromCentre);
    // Row 1: admission on the front scale, the rear cut-off on the mirrored one.
    EXPECT_TRUE(canvas.hasLine(fx(piston(0, &Workspace::FrontSteamOpen, true)), 343,
                               fx(piston(1, &Workspace::FrontSteamOpen, true)), 327));
    EXPECT_TRUE(canvas.hasLine(rx(piston(0, &Workspace::RearSteamOpen, false)), 343,
                               rx(piston(1, &Workspace::RearSteamOpen, false)), 327));

    // The legend hangs on row 13's front events: admission s, cut-off p, release q, compression r.
    canvas.reset();
    drawPortDiagram(canvas, ws, rev ? 'R' : 'F', true);
    const int s = fx(piston(13, &Workspace::FrontSteamOpen, true));
    const int p = fx(piston(13, &Workspace::FrontSteamOpen, false));
    const int q = fx(piston(13, &Workspace::FrontExhOpen, true));
    const int r = fx(piston(13, &Workspace::FrontExhOpen, false));
    EXPECT_TRUE(wrote(canvas, "Exp", p + 10, 129) && wrote(canvas, "Adm", p - 140, 95) &&
                wrote(canvas, "Com", r - 25, 129));
    EXPECT_TRUE(canvas.findText("Exh") && canvas.findText("Exh")->fontStyle.bold);
    EXPECT_TRUE(canvas.hasLine(p - 110, 101, p - 70, 101) && canvas.hasLine(p + 40, 135, q, 135));
    EXPECT_TRUE(canvas.hasLine(r - 30, 135, s, 135) && canvas.hasLine(q + 8, 135, 549, 135));
  }
  // The sweep's previous values are the drawing's own: the set and the running view's memory of
  // the last frame are as they were.
  Workspace fresh = factory();
  fresh.PrevPistonPos = 17.0f;
  fresh.PrevFrontSteam = 0.25f;
  const Workspace before = fresh;
  RecordingCanvas again(640, 480);
  drawPortDiagram(again, fresh, 'B', true);
  test::expectUntouched(before, fresh);
}

// The undo line stands clear of every line the diagram draws (its grid starts where the other
// diagrams write it), in both font sizes; the window puts its UnDo button to the line's left.
TEST(PortDiagram, UndoLineStandsClearOfTheGrid) {
  for (float scale : {1.0f, 1.25f}) {
    Workspace ws = factory();
    ws.UndoMode = true;
    ws.TextScaleX = ws.TextScaleY = scale;
    RecordingCanvas canvas(800, 600);
    ASSERT_TRUE(drawPortDiagram(canvas, ws, 'F', true).undoButtonShown);
    const DrawCall* undo = canvas.findText(UndoLineText(ws));
    ASSERT_NE(undo, nullptr);
    const QRectF box(undo->x1, undo->y1, 7.0 * undo->text.size(), 13);
    for (const DrawCall& l : canvas.lines()) {
      const QRectF span = QRectF(QPointF(l.x1, l.y1), QPointF(l.x2, l.y2)).normalized();
      EXPECT_FALSE(box.intersects(span.adjusted(-0.5, -0.5, 0.5, 0.5)))
          << "line " << l.x1 << "," << l.y1 << " to " << l.x2 << "," << l.y2 << " at scale " << scale;
    }
  }
}

TEST(PortDiagram, DamagedMaximumStaysFinite) {
  for (float max : {0.0f, -1.8f, 1e-9f, std::numeric_limits<float>::quiet_NaN(),
                    std::numeric_limits<float>::infinity()}) {
    Workspace ws = factory();
    ws.Frame[dim::RevArmToCentMax] = max;
    for (char graph : {'F', 'R', 'x'}) {
      RecordingCanvas canvas(640, 480);
      drawPortDiagram(canvas, ws, graph, true);
      EXPECT_EQ(std::pair(ws.DriverAngle, ws.ReverseArmPos), std::pair(123.5f, 0.7f));
      for (const DrawCall& c : canvas.texts())
        EXPECT_EQ(c.text.find("nan"), std::string::npos) << max;
      EXPECT_NE(canvas.findText("Normal"), nullptr);
    }
  }
}

}  // namespace
}  // namespace vek1
