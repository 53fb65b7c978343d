// The dimension position display as the recording canvas sees it: where each dimension's
// highlight lands, the view it zooms to, the blink, the label, the hourglass, and how the display
// ends and hands the dialog back.
//
// Expected endpoints are worked out here from the pivots, the dimensions and the outline
// geometry in model coordinates, mapped by hand, not by asking the drawing code's helpers.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "dimensions.h"
#include "outlines.h"
#include "position_display.h"
#include "solver.h"
#include "valve.h"
#include "view.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack{0, 0, 0};

int px(double v) {
  return static_cast<int>(std::nearbyint(v));
}

struct Seg {
  int x1, y1, x2, y2;
  friend bool operator==(const Seg&, const Seg&) = default;
};
std::ostream& operator<<(std::ostream& os, const Seg& s) {
  return os << "(" << s.x1 << "," << s.y1 << ")-(" << s.x2 << "," << s.y2 << ")";
}

struct Map {
  double zoom, panX, panY;
  int x(double h) const { return px(h * zoom + panX); }
  int y(double v) const { return px(-v * zoom + panY); }
};

// A gear caught mid-stroke off mid-gear, seen through a view that is not the default one, so
// kept pans and the tick's projection are both told apart from the factory view.
struct Scene {
  Workspace ws;
  ScreenPoints points;
  Outlines outlines;
  Map tick{31.0, 97.0, 288.0};

  explicit Scene(float graphicZoom = 7.5f) {
    StartUp(ws);
    ws.DriverAngle = 37.0f;
    ws.ReverseArmPos = ws.RevArmPositions[0] + 0.7f;
    ws.GraphicZoomFactor = graphicZoom;
    SetCurrentView(ws, ViewTriple{31.0f, 97.0f, 288.0f});
    SolveLinkage(ws);
    ComputeValveState(ws);
    points = projectPivots(ws);
    outlines = UpdateOutlines(ws);
  }

  RecordingCanvas frame() {
    RecordingCanvas canvas;
    last = runPositionDisplayFrame(canvas, ws, points, outlines);
    return canvas;
  }
  PositionDisplayOutcome last;
};

// The lines the display draws with its 3-pixel pen, as segments.
std::vector<Seg> highlights(const RecordingCanvas& c) {
  std::vector<Seg> out;
  for (const DrawCall& l : c.lines())
    if (l.penWidth == 3) out.push_back({l.x1, l.y1, l.x2, l.y2});
  return out;
}
std::vector<Rgb> highlightColours(const RecordingCanvas& c) {
  std::vector<Rgb> out;
  for (const DrawCall& l : c.lines())
    if (l.penWidth == 3) out.push_back(l.colour);
  return out;
}

// Pixels per unit and pans for each identifier, for a graphic-zoom factor of 7.5.
struct Placing {
  int k;
  std::optional<float> panX, panY;
};
Placing placingOf(int id) {
  if (id <= 2) return {30, 290, 212};
  if (id <= 6) return {20, {}, {}};
  if (id <= 15) return {40, 100, 212};
  if (id <= 18 || id == 101) return {28, {}, {}};
  if (id == 102) return {55, -600, 295};
  if (id <= 105) return {55, -600, 250};
  if (id == 106) return {40, -200, 260};
  return {55, -600, 295};
}

// The highlight of `id` from the pose: pivots and outline vertices at the tick's view `t`,
// model coordinates at the display's view `s`.
std::vector<Seg> expectedHighlight(const Workspace& ws, int id, const Map& t, const Map& s) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  auto d = [&ws](int i) { return static_cast<double>(dimensionValue(ws, i)); };
  struct P {
    int x, y;
  };
  auto S = [&](int i) { return P{t.x(H[i]), t.y(V[i])}; };
  auto at = [&](double h, double v) { return P{t.x(h), t.y(v)}; };
  auto seg = [](P a, P b) { return std::vector<Seg>{{a.x, a.y, b.x, b.y}}; };
  auto half = [](int a, int b) { return static_cast<int>(std::trunc((a + b) / 2.0)); };

  // Cylinder, passages, piston and valve in model coordinates.
  const double V3 = V[3], CC = d(101), E = d(110), P2 = E / 2, BR = d(111), BF = d(112);
  const double SR = d(113), SF = d(114), Lc = d(116), Lb = d(104), Db = d(103), Ps = d(105);
  const double F = V3 + d(108), T = F + d(115);
  const P chestRearTop = at(CC - Lc / 2, T), chestRearFace = at(CC - Lc / 2, F);
  const P chestFrontFace = at(CC + Lc / 2, F);
  const P rearPortOuter = at(CC - P2 - BR - SR, F), frontPortOuter = at(CC + P2 + BF + SF, F);
  const P boreRearTop = at(CC - Lb / 2, V3 + Db / 2), boreRearBottom = at(CC - Lb / 2, V3 - Db / 2);
  const P boreFrontBottom = at(CC + Lb / 2, V3 - Db / 2);
  const P exhRear = at(CC - P2, F), exhFront = at(CC + P2, F);
  const P rearBridgeOuter = at(CC - P2 - BR, F), frontBridgeOuter = at(CC + P2 + BF, F);
  const P boreTopInner = at(CC - Lb / 2 + Ps, V3 + Db / 2);
  const double c = H[3] + d(106), w = d(107);
  const P pistonRearTop = at(c - w / 2, V3 + Db / 2), pistonFrontTop = at(c + w / 2, V3 + Db / 2);
  const double m = H[4] + d(122), vh = d(117);
  const P valveRearTop = at(m - d(118), F + vh), valveFrontTop = at(m + d(119), F + vh);
  const P cavityFront = at(m + d(121), F), cavityRear = at(m - d(120), F);
  const P valveRearFace = at(m - d(118), F);
  const int topMid = half(valveRearTop.x, valveFrontTop.x);
  const int cavityMid = half(cavityFront.x, cavityRear.x);

  // The two reverse-arm offsets: the rear half to the mid-gear centre, then the front half.
  auto offsets = [&](double off) {
    const double centre = ws.RevArmPositions[0];
    const int y = S(18).y + 5;
    return std::vector<Seg>{{s.x(centre - off), y, s.x(centre), y},
                            {s.x(centre), y, s.x(centre + off), y}};
  };
  const std::map<int, std::vector<Seg>> table = {
      {1, seg({S(1).x, s.y(V[1] - d(1) / 2)}, {S(1).x, s.y(V[1] + d(1) / 2)})},
      {2, seg(S(2), {s.x(2.0 * H[1] - H[2]), s.y(2.0 * V[1] - V[2])})},
      {3, seg(S(2), S(10))},
      {4, seg(S(3), S(10))},
      {5, seg(S(4), S(7))},
      {6, seg(S(5), S(14))},
      {7, seg(S(5), {S(5).x, S(1).y})},
      {8, seg(S(5), {S(1).x, S(5).y})},
      {9, seg(S(7), S(8))},
      {10, seg(S(8), S(9))},
      {11, seg(S(9), S(10))},
      {12, seg(S(9), S(11))},
      {13, seg(S(11), S(12))},
      {14, seg(S(12), {S(12).x, S(0).y})},
      {15, seg(S(12), {S(0).x, S(12).y})},
      {16, seg(S(5), S(18))},
      {17, offsets(d(17))},
      {18, offsets(d(18))},
      {101, seg(S(1), {s.x(H[1] + CC), S(1).y})},
      {102, seg({s.x(H[1] + CC), S(1).y}, {s.x(H[1] + CC), S(3).y})},
      {103, seg(boreRearTop, boreRearBottom)},
      {104, seg(boreRearBottom, boreFrontBottom)},
      {105, seg(boreRearTop, boreTopInner)},
      {106, seg(S(3), {s.x(H[3] + d(106)), S(3).y})},
      {107, seg(pistonRearTop, pistonFrontTop)},
      {108, seg({chestRearFace.x + 5, chestRearFace.y}, {chestRearFace.x + 5, S(3).y})},
      {109, seg({chestRearFace.x, S(4).y}, {chestRearFace.x, S(3).y})},
      {110, seg(exhRear, exhFront)},
      {111, seg(exhRear, rearBridgeOuter)},
      {112, seg(frontBridgeOuter, exhFront)},
      {113, seg(rearPortOuter, rearBridgeOuter)},
      {114, seg(frontPortOuter, frontBridgeOuter)},
      {115, seg(chestRearTop, chestRearFace)},
      {116, seg(chestRearFace, chestFrontFace)},
      {117, seg(valveRearTop, valveRearFace)},
      {118, seg(valveRearTop, {topMid, valveRearTop.y})},
      {119, seg(valveFrontTop, {topMid, valveFrontTop.y})},
      {120, seg(cavityRear, {cavityMid, cavityRear.y})},
      {121, seg(cavityFront, {cavityMid, cavityFront.y})},
      {122, seg(S(4), {cavityMid, S(4).y})},
  };
  return table.at(id);
}

std::vector<int> everyIdentifier() {
  std::vector<int> ids;
  for (int id = 1; id <= 18; ++id) ids.push_back(id);
  for (int id = 101; id <= 122; ++id) ids.push_back(id);
  return ids;
}

TEST(PositionDisplay, EveryDimensionZoomsAndHighlightsWhereItLies) {
  for (float g : {7.5f, 12.0f}) {
    for (int id : everyIdentifier()) {
      SCOPED_TRACE(testing::Message() << "id " << id << ", graphic zoom " << g);
      Scene scene(g);
      scene.ws.ShowDimensionId = id;
      const RecordingCanvas c = scene.frame();

      const Placing p = placingOf(id);
      const float zoom = static_cast<float>(p.k / static_cast<double>(g) * 7.5);
      EXPECT_EQ(scene.ws.ViewZoom, zoom);
      EXPECT_EQ(scene.ws.ViewPanX, p.panX.value_or(97.0f));
      EXPECT_EQ(scene.ws.ViewPanY, p.panY.value_or(288.0f));

      const Map shown{zoom, p.panX.value_or(97.0f), p.panY.value_or(288.0f)};
      EXPECT_EQ(highlights(c), expectedHighlight(scene.ws, id, scene.tick, shown));
    }
  }
}

TEST(PositionDisplay, OffsetLinesSplitAtTheCentreInBothColoursAndRestoreThePen) {
  for (int id : {17, 18}) {
    Scene scene;
    scene.ws.ShowDimensionId = id;
    for (int frame = 1; frame <= 5; ++frame) {
      SCOPED_TRACE(testing::Message() << "id " << id << ", frame " << frame);
      const RecordingCanvas c = scene.frame();
      const bool red = frame <= 3;
      EXPECT_EQ(highlightColours(c), (std::vector<Rgb>{red ? kRed : kBlack, red ? kBlack : kRed}));
      EXPECT_EQ(c.ofKind(DrawKind::PenColour).back().colour, red ? kRed : kBlack);
    }
  }
}

TEST(PositionDisplay, ValveSplitsTruncateTowardsZeroLeftOfTheWindow) {
  Scene scene;
  // Vertices left of the window with odd sums, where truncation and flooring differ.
  Outlines o = scene.outlines;
  o.Valve[0] = {-7, 40};
  o.Valve[1] = {-2, 40};
  o.Valve[3] = {-20, 60};
  o.Valve[6] = {-31, 60};
  const struct {
    int id;
    Seg line;
  } cases[] = {{118, {-7, 40, -4, 40}},
               {119, {-2, 40, -4, 40}},
               {120, {-31, 60, -25, 60}},
               {121, {-20, 60, -25, 60}},
               {122, {scene.points.X[4], scene.points.Y[4], -25, scene.points.Y[4]}}};
  for (const auto& [id, line] : cases) {
    SCOPED_TRACE(id);
    Workspace ws = scene.ws;
    ws.ShowDimensionId = id;
    RecordingCanvas c;
    runPositionDisplayFrame(c, ws, scene.points, o);
    EXPECT_EQ(highlights(c), std::vector<Seg>{line});
  }
}

TEST(PositionDisplay, ADamagedGraphicZoomStillGivesAFiniteZoom) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // Factors are held to [0.5, 2000]; dimension 5 has k = 20.
  const struct {
    double g;
    float zoom;
  } cases[] = {{0, 300.0f}, {nan, 300.0f}, {-3, 300.0f}, {inf, 0.075f}, {1e9, 0.075f}};
  for (const auto& [g, zoom] : cases) {
    SCOPED_TRACE(g);
    Scene scene(static_cast<float>(g));
    scene.ws.ShowDimensionId = 5;
    scene.frame();
    EXPECT_FLOAT_EQ(scene.ws.ViewZoom, zoom);
  }
}

TEST(PositionDisplay, BlinksThreeFramesRedThenTwoBlack) {
  Scene scene;
  scene.ws.ShowDimensionId = 9;
  std::vector<Rgb> seen;
  for (int i = 0; i < 12; ++i) seen.push_back(highlightColours(scene.frame()).at(0));
  const Rgb R = kRed, B = kBlack;
  EXPECT_EQ(seen, (std::vector<Rgb>{R, R, R, B, B, R, R, R, B, B, R, R}));
}

TEST(PositionDisplay, LabelInBlackAtTheScaledPosition) {
  const struct {
    int id;
    float sx, sy;
    const char* label;
    int x, y;
  } cases[] = {
      {110, 1.0f, 1.0f, "Exhaust Port  Width", 30, 75},
      {17, 1.0f, 1.0f, "Rev Arm to Cent Norm", 30, 75},
      // 30 x 1.27 = 38.1; 75 x 1.22 = 91.5 (a hair above as singles) goes to 92.
      {18, 1.27f, 1.22f, "Rev Arm to Cent Max", 38, 92},
      {1, 2.0f, 0.5f, "Driver Dia", 60, 38},  // 37.5 rounds to the even 38
  };
  for (const auto& t : cases) {
    SCOPED_TRACE(t.id);
    Scene scene;
    scene.ws.TextScaleX = t.sx;
    scene.ws.TextScaleY = t.sy;
    scene.ws.ShowDimensionId = t.id;
    const RecordingCanvas c = scene.frame();
    const std::vector<DrawCall> texts = c.texts();
    ASSERT_EQ(texts.size(), 1u);
    const DrawCall& text = texts[0];
    EXPECT_EQ(text.text, t.label);
    EXPECT_EQ(std::make_pair(text.x1, text.y1), std::make_pair(t.x, t.y));
    EXPECT_EQ(text.fontSize, 14);
    EXPECT_EQ(text.colour, kBlack);
  }
}

TEST(PositionDisplay, DrawsTheHourglassInBlackAtTheTopLeft) {
  Scene scene;
  scene.ws.ShowDimensionId = 3;
  const RecordingCanvas c = scene.frame();
  int framed = 0, sand = 0;
  for (const DrawCall& l : c.lines()) {
    if (l.penWidth == 3) continue;
    EXPECT_EQ(l.colour, kBlack);
    for (auto [x, y] : {std::pair{l.x1, l.y1}, std::pair{l.x2, l.y2}}) {
      EXPECT_TRUE(x >= 20 && x <= 44 && y >= 100 && y <= 142) << x << "," << y;
    }
    (l.penWidth == 2 ? framed : sand)++;
  }
  EXPECT_GT(sand, 0);
  EXPECT_GT(framed, 0);
  // The plates span the full width; the bulbs meet at the waist between x 30 and 34.
  EXPECT_TRUE(c.hasLine(20, 100, 44, 100));
  EXPECT_TRUE(c.hasLine(20, 142, 44, 142) || c.hasLine(44, 142, 20, 142));
  EXPECT_TRUE(c.hasLine(30, 120, 30, 122));
  EXPECT_TRUE(c.hasLine(34, 120, 34, 122));
}

TEST(PositionDisplay, RunsAThousandFramesThenRestoresTheViewAndReopensTheDialog) {
  const struct {
    int id;
    PositionAsker asker;
  } cases[] = {{5, PositionAsker::FrameDialog},
               {18, PositionAsker::FrameDialog},
               {101, PositionAsker::CylinderDialog},
               {122, PositionAsker::CylinderDialog}};
  for (const auto& [id, asker] : cases) {
    SCOPED_TRACE(id);
    Scene scene;
    scene.ws.ShowDimensionId = id;
    int highlighted = 0;
    for (int frame = 1; frame < 1000; ++frame) {
      highlighted += !highlights(scene.frame()).empty();
      ASSERT_TRUE(scene.last.active);
      ASSERT_EQ(scene.last.closeDialog, asker);
      ASSERT_EQ(scene.last.reopenDialog, PositionAsker::None);
    }
    EXPECT_EQ(scene.ws.ShowDimensionId, id);

    const RecordingCanvas last = scene.frame();
    highlighted += !highlights(last).empty();
    EXPECT_EQ(highlighted, 1000);
    EXPECT_EQ(scene.last.reopenDialog, asker);
    EXPECT_EQ(last.ofKind(DrawKind::FontSize).back().fontSize, 8);
    EXPECT_EQ(scene.ws.ShowDimensionId, 0);
    EXPECT_EQ(scene.ws.ShowFrames, 0);
    EXPECT_EQ(scene.ws.ShowBlink, 0);
    EXPECT_EQ(scene.ws.ViewZoom, 31.0f);
    EXPECT_EQ(scene.ws.ViewPanX, 97.0f);
    EXPECT_EQ(scene.ws.ViewPanY, 288.0f);

    // Over: the next frame draws nothing and asks nothing.
    EXPECT_TRUE(scene.frame().calls().empty());
    EXPECT_FALSE(scene.last.active);
    EXPECT_EQ(scene.last.closeDialog, PositionAsker::None);
  }
}

TEST(PositionDisplay, AMousePressEndsItAtTheNextFrame) {
  for (int framesBefore : {0, 1, 400}) {
    SCOPED_TRACE(framesBefore);
    Scene scene;
    scene.ws.ShowDimensionId = 112;
    for (int i = 0; i < framesBefore; ++i) scene.frame();
    EndPositionDisplaySoon(scene.ws);
    scene.frame();
    EXPECT_EQ(scene.last.reopenDialog, PositionAsker::CylinderDialog);
    EXPECT_EQ(scene.ws.ShowDimensionId, 0);
    EXPECT_EQ(scene.ws.ViewZoom, 31.0f);
    EXPECT_EQ(scene.ws.ViewPanX, 97.0f);
    EXPECT_EQ(scene.ws.ViewPanY, 288.0f);
  }
  // Without a display a press changes nothing.
  Scene idle;
  EndPositionDisplaySoon(idle.ws);
  EXPECT_TRUE(idle.frame().calls().empty());
  EXPECT_EQ(idle.ws.ShowFrames, 0);
}

TEST(PositionDisplay, AnIdentifierWithNothingToShowEndsCleanly) {
  for (int id : {50, 200, -4, 19, 100, 123}) {
    SCOPED_TRACE(id);
    Scene scene;
    scene.ws.ShowDimensionId = id;
    const RecordingCanvas c = scene.frame();
    EXPECT_TRUE(c.lines().empty());
    EXPECT_TRUE(c.texts().empty());
    EXPECT_EQ(scene.ws.ShowDimensionId, 0);
    EXPECT_EQ(scene.ws.ViewZoom, 31.0f);
    // The dialog was never closed, so nothing is closed or reopened.
    EXPECT_EQ(scene.last.closeDialog, PositionAsker::None);
    EXPECT_EQ(scene.last.reopenDialog, PositionAsker::None);
  }
  // Gone bad while running: the view comes back and the closed dialog is reopened.
  Scene scene;
  scene.ws.ShowDimensionId = 7;
  scene.frame();
  scene.frame();
  scene.ws.ShowDimensionId = 50;
  scene.frame();
  EXPECT_EQ(scene.ws.ShowDimensionId, 0);
  EXPECT_EQ(scene.last.reopenDialog, PositionAsker::FrameDialog);
  EXPECT_EQ(scene.ws.ViewZoom, 31.0f);
  EXPECT_EQ(scene.ws.ViewPanX, 97.0f);
}

}  // namespace
}  // namespace vek1
