// The sine diagram and the frame it shares with the other diagrams, checked call by call.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "dynvar.h"
#include "numbers.h"
#include "sine_drawing.h"
#include "solver.h"
#include "untouched.h"

namespace vek1 {
namespace {

using Texts = std::vector<std::string>;
constexpr Rgb kRed{255, 0, 0};

// Factory gear with its three default positions (centre, +Norm, -Norm), posed off the sweep.
Workspace factory(int count = 3) {
  Workspace ws;
  StartUp(ws);
  ws.RevArmPosCount = count;
  ws.DriverAngle = 123.5f;
  ws.ReverseArmPos = 0.7f;
  return ws;
}

// Curve segments are the lines one sample (8 pixels) wide right of the axis.
std::vector<DrawCall> curveSegments(const RecordingCanvas& canvas) {
  std::vector<DrawCall> out;
  for (const DrawCall& c : canvas.lines(colour::Black))
    if (c.x1 >= 58 && c.x2 - c.x1 == 8) out.push_back(c);
  return out;
}

// Texts at one x above y = 340 (below it are the angle axis's labels).
Texts textsAt(const RecordingCanvas& canvas, int x) {
  Texts out;
  for (const DrawCall& c : canvas.texts())
    if (c.x1 == x && c.y1 < 340) out.push_back(c.text);
  return out;
}

Texts axisLabels(const RecordingCanvas& canvas) {
  Texts out;
  for (const DrawCall& c : canvas.texts())
    if (c.x1 == 14) out.push_back(c.text);
  return out;
}

long countText(const RecordingCanvas& canvas, const std::string& s) {
  const Texts all = canvas.textStrings();
  return std::count(all.begin(), all.end(), s);
}

TEST(SineDiagram, DefaultPositionsPlotTheSolverAndLeaveTheSetAlone) {
  Workspace ws = factory();
  const Workspace before = ws;
  RecordingCanvas canvas(640, 480);
  drawSineDiagram(canvas, ws);
  test::expectUntouched(before, ws);
  // What the file keeps as the last diagram position, which the window stores.
  EXPECT_EQ(lastDiagramPosition(ws, 0.0f), ws.RevArmPositions[3]);

  const auto segs = curveSegments(canvas);
  ASSERT_EQ(segs.size(), 3u * 66u);
  Workspace probe = factory();
  for (int k = 1; k <= 3; ++k) {
    const DrawCall* curve = &segs[(k - 1) * 66];
    EXPECT_EQ(curve[0].x1, 58);
    EXPECT_EQ(curve[65].x2, 586);
    // Ends of segments 1 (336 degrees), 4 (360), 5 (8, wrapped) and 66 (136 on the second turn).
    probe.ReverseArmPos = ws.RevArmPositions[k];
    for (auto [seg, angle] : {std::pair{1, 336.0f}, {4, 360.0f}, {5, 8.0f}, {66, 136.0f}}) {
      probe.DriverAngle = angle;
      SolveLinkage(probe);
      EXPECT_EQ(curve[seg - 1].x2, 58 + 8 * seg);
      EXPECT_EQ(curve[seg - 1].y2, roundHalfEven(215.0 - probe.Ports.ValveDisplacement * 250.0))
          << "curve " << k << " segment " << seg;
    }
    const DrawCall* label = canvas.findText(" " + std::to_string(k));  // bold, at the left end
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(std::tuple(label->x1, label->y1, label->fontStyle.bold),
              std::tuple(45, curve[0].y1, true));
  }
}

TEST(SineDiagram, TableRowsAndTheMidGearTable) {
  Workspace ws = factory();
  RecordingCanvas canvas(640, 480);
  drawSineDiagram(canvas, ws);
  EXPECT_EQ(textsAt(canvas, 533), (Texts{"Cen", "Fwd", "Rev"}));
  EXPECT_EQ(canvas.findText("    2")->y1, 36);

  // Only the centre is at mid gear: one table, laps equal front and rear, exhaust laps ~0.
  EXPECT_EQ(countText(canvas, "Lead"), 2);
  const Texts values = textsAt(canvas, 592);
  ASSERT_EQ(values.size(), 6u);
  EXPECT_EQ(values[1], values[4]);
  EXPECT_NEAR(parseNumber(values[1]), 0.1565, 0.001);
  EXPECT_NEAR(parseNumber(values[2]), 0.0, 0.001);
  EXPECT_NEAR(parseNumber(values[3]), 0.0, 0.001);

  // Just inside the mid-gear band: still tabled, but a forward position; just outside: no table.
  for (auto [offset, tabled] : {std::pair{0.04f, 2}, {0.06f, 0}}) {
    ws.RevArmPositions[1] = ws.RevArmPositions[0] + offset;
    ws.RevArmPosCount = 1;
    canvas.reset();
    drawSineDiagram(canvas, ws);
    EXPECT_EQ(textsAt(canvas, 533), Texts{"Fwd"});
    EXPECT_EQ(countText(canvas, "Lead"), tabled) << offset;
  }
}

TEST(SineDiagram, PositionCountIsHeldToTheNinePositions) {
  for (int count : {0, -7}) {  // the frame alone
    Workspace ws = factory(count);
    RecordingCanvas canvas(640, 480);
    drawSineDiagram(canvas, ws);
    EXPECT_TRUE(curveSegments(canvas).empty());
    EXPECT_TRUE(textsAt(canvas, 533).empty());
    EXPECT_NE(canvas.findText("Reverse Arm Positions"), nullptr);
    EXPECT_EQ(canvas.lines(Rgb{0, 255, 0}).size(), 3u);
    EXPECT_EQ(ws.LastDiagramRevArmPos, 0.0f);
  }
  Workspace ws = factory(1000);
  RecordingCanvas canvas(640, 480);
  drawSineDiagram(canvas, ws);
  EXPECT_EQ(curveSegments(canvas).size(), 9u * 66u);
}

TEST(SineDiagram, AxisFollowsTheVerticalScale) {
  Workspace ws = factory();
  RecordingCanvas canvas(640, 480);
  drawValveTravelAxis(canvas, ws);  // 1.5: g = 6, ticks every 0.02 and 0.1 units
  EXPECT_EQ(canvas.findText("1.5")->x1, 50);
  EXPECT_EQ(axisLabels(canvas).size(), 13u);
  EXPECT_EQ(canvas.findText("0.6")->y1, 60);

  ws.VerticalScale = 4.0f;  // g = 16: only 0.1-unit ticks and 0.5-unit labels
  canvas.reset();
  drawValveTravelAxis(canvas, ws);
  EXPECT_EQ(axisLabels(canvas), (Texts{"-1.5", "-1.0", "-0.5", "0.0", "0.5", "1.0", "1.5"}));
  std::vector<int> minor;
  for (const DrawCall& c : canvas.lines())
    if (c.x1 == 39) minor.push_back(c.y1);
  ASSERT_EQ(minor.size(), 33u);
  EXPECT_EQ(std::pair(minor.front(), minor.back()), std::pair(65, 365));
  EXPECT_TRUE(canvas.hasLine(36, 74, 44, 74));  // -1.5 units

  // A damaged scale is held to a usable one rather than dividing by it.
  for (float vs : {0.0f, -3.0f, std::numeric_limits<float>::quiet_NaN(),
                   std::numeric_limits<float>::infinity(), 1e30f}) {
    ws.VerticalScale = vs;
    canvas.reset();
    drawSineDiagram(canvas, ws);
    EXPECT_EQ(curveSegments(canvas).size(), 3u * 66u) << vs;
  }
  ws.VerticalScale = 0.0f;
  EXPECT_EQ(travelY(ws, 0.1), 215 - 375);
}

TEST(SineDiagram, PortEdgeLinesAtTheirHeights) {
  Workspace ws = factory();
  SolveLinkage(ws);
  RecordingCanvas canvas(640, 480);
  drawPortEdgeLines(canvas, ws);
  const PortConstants& pc = ws.Ports;
  const auto y = [](double v) { return roundHalfEven(215.0 - v * 250.0); };
  const auto red = canvas.lines(kRed);
  ASSERT_EQ(red.size(), 3u);
  const float front[3] = {pc.FrontSteamEdge, pc.FrontPortFull, pc.FrontExhEdge};
  const float rear[3] = {pc.RearSteamEdge, pc.RearPortFull, pc.RearExhEdge};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(canvas.lines(Rgb{0, 255, 0}).at(i).y1, y(front[i]));
    EXPECT_TRUE(canvas.hasLine(15, y(-rear[i]), 583, y(-rear[i])));  // mirrored
    EXPECT_EQ(red[i].y1, y(-rear[i]));
  }
  const DrawCall* max = canvas.findText("Rear Steam Port Max");
  EXPECT_EQ(max->y1, roundHalfEven(199 + pc.RearPortFull * 250.0));
  EXPECT_EQ(max->colour, colour::Black);
}

// The grid's rows of ticks (centres 32 r + 55, r = 1..9; every 10 degrees 2 pixels either
// side, every 90 degrees 5) do not run through "Rear Steam Port Open" on the factory gear, and
// no port edge's label crosses more of them than it would on the other side of its line.
TEST(SineDiagram, PortEdgeLabelsKeepOffTheTickRows) {
  const auto ticksUnder = [](const DrawCall& t, int top) {
    int covered = 0;
    const int right = t.x1 + 7 * static_cast<int>(t.text.size());
    for (int r = 1; r <= 9; ++r)
      for (int x = 60; x <= 580; x += 10) {
        if (x < t.x1 || x >= right) continue;
        const int half = x % 90 == 0 ? 5 : 2;
        covered += std::max(0, std::min(top + 13, 32 * r + 55 + half + 1) -
                                   std::max(top, 32 * r + 55 - half));
      }
    return covered;
  };
  for (float vs : {1.5f, 1.0f, 2.5f}) {
    Workspace ws = factory();
    ws.VerticalScale = vs;
    RecordingCanvas canvas(640, 480);
    drawSineDiagram(canvas, ws);
    const PortConstants pc = PortConstantsOf(ws);
    // Where each label was asked for: 199 (above) or 216 (below) shifted by its edge.
    const std::map<std::string, std::pair<double, bool>> asked = {
        {"Front Steam Port Open", {-pc.FrontSteamEdge, true}},
        {"Front Steam Port Max", {-pc.FrontPortFull, false}},
        {"Front Exhaust Port Open", {-pc.FrontExhEdge, false}},
        {"Rear Steam Port Open", {pc.RearSteamEdge, false}},
        {"Rear Steam Port Max", {pc.RearPortFull, true}},
        {"Rear Exhaust Port Open", {pc.RearExhEdge, true}}};
    for (const auto& [text, place] : asked) {
      const DrawCall* t = canvas.findText(text);
      ASSERT_NE(t, nullptr) << text;
      const int top = roundHalfEven((place.second ? 199 : 216) + place.first * 375.0 / vs);
      const int other = place.second ? top + 17 : top - 17;
      ASSERT_TRUE(t->y1 == top || t->y1 == other) << text << " at " << t->y1 << ", scale " << vs;
      EXPECT_LE(ticksUnder(*t, t->y1), std::min(ticksUnder(*t, top), ticksUnder(*t, other)))
          << text << ", scale " << vs;
    }
    if (vs == 1.5f) {
      const DrawCall* rearOpen = canvas.findText("Rear Steam Port Open");
      EXPECT_EQ(ticksUnder(*rearOpen, rearOpen->y1), 0);
    }
  }
}

TEST(SineDiagram, DynVarPanelAndUndoLine) {
  Workspace ws = factory(0);
  DynVarClear(ws);
  ws.DynVarShown = ws.UndoMode = false;
  RecordingCanvas canvas(640, 480);
  SineDiagramOutcome out = drawSineDiagram(canvas, ws);
  EXPECT_FALSE(out.panel.shown || out.undoButtonShown);
  EXPECT_EQ(canvas.findText("* First Select Dimensions *"), nullptr);

  ws.DynVarShown = ws.UndoMode = true;
  canvas.reset();
  out = drawSineDiagram(canvas, ws);
  EXPECT_TRUE(out.panel.shown && out.undoButtonShown);
  EXPECT_EQ(out.panel.enabled, (std::array<bool, 4>{}));
  const DrawCall* prompt = canvas.findText("* First Select Dimensions *");
  ASSERT_NE(prompt, nullptr);
  EXPECT_EQ(std::tuple(prompt->x1, prompt->y1, prompt->colour), std::tuple(235, 12, kRed));
  const DrawCall* undo = canvas.findText(UndoLineText(ws));
  EXPECT_EQ(std::tuple(undo->x1, undo->y1, undo->colour), std::tuple(150, 55, colour::Black));

  DynVarRegisterDimension(ws, dim::RadiusRod);
  canvas.reset();
  out = drawSineDiagram(canvas, ws);
  EXPECT_EQ(out.panel.enabled, (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(canvas.findText(ws.DynVarList[1].Name)->x1, 235);
  EXPECT_EQ(canvas.findText(fixedText(ws.DynVarList[1].Value, 6, 3))->x1, 363);
}

}  // namespace
}  // namespace vek1
