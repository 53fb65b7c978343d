// The lines and circles over the mechanism, through the recording canvas: fixed items, items
// carried by pivots, colours, and items that draw nothing.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "overlay_drawing.h"
#include "solver.h"
#include "view.h"

namespace vek1 {
namespace {

struct OverlayFixture : ::testing::Test {
  OverlayFixture() { StartUp(ws); }
  OverlayItem& item(int k, int type, float colourValue, int ref) {
    OverlayItem& it = ws.Overlay[k];
    it.ItemType = static_cast<float>(type);
    it.ItemColour = colourValue;
    it.ItemRef = static_cast<float>(ref);
    return it;
  }
  Workspace ws;
  RecordingCanvas canvas;
};

TEST_F(OverlayFixture, AFixedLineAndCircleBetweenTwoPoints) {
  // Reference points at (H 1, V 2) and (H 4, V 6): a red line between them, and a circle about
  // the first through the second (radius 5).
  OverlayItem& line = item(1, 0, 255.0f, 0);
  line.Line1Horz = 1, line.Line1Vert = 2, line.Line2Horz = 4, line.Line2Vert = 6;
  OverlayItem& circle = item(2, 1, 16711680.0f, 0);
  circle.Line1Horz = 1, circle.Line1Vert = 2, circle.Line2Horz = 5;
  drawOverlay(canvas, ws);

  const auto lines = canvas.lines(Rgb{255, 0, 0});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].x1, 115 + 28);
  EXPECT_EQ(lines[0].y1, 270 - 56);
  EXPECT_EQ(lines[0].x2, 115 + 112);
  EXPECT_EQ(lines[0].y2, 270 - 168);

  const auto ellipses = canvas.ofKind(DrawKind::Ellipse);
  ASSERT_EQ(ellipses.size(), 1u);
  EXPECT_EQ(ellipses[0].colour, (Rgb{0, 0, 255}));
  EXPECT_EQ(ellipses[0].x1, (1 - 5) * 28 + 115);
  EXPECT_EQ(ellipses[0].y1, -(2 + 5) * 28 + 270);
  EXPECT_EQ(ellipses[0].x2, (1 + 5) * 28 + 115 + 1);
  EXPECT_EQ(ellipses[0].y2, -(2 - 5) * 28 + 270 + 1);
}

TEST_F(OverlayFixture, PivotCarriedItemsMoveWithTheirPivots) {
  // Mode 1: both ends offsets from the crosshead (point 3). Mode 3: end 2 from point 10.
  OverlayItem& carried = item(1, 0, 0.0f, 1);
  carried.Piv1Index = 3.0f;
  carried.Line1Horz = 0.0f, carried.Line1Vert = 0.5f, carried.Line2Horz = 1.0f;
  OverlayItem& joined = item(2, 0, 32768.0f, 3);
  joined.Piv1Index = 2.4f;  // rounds to the crank pin
  joined.Piv2Index = 10.0f;
  for (const float angle : {0.0f, 90.0f}) {
    ws.DriverAngle = angle;
    SolveLinkage(ws);
    canvas.reset();
    drawOverlay(canvas, ws);
    const auto& H = ws.Pivots.H;
    const auto& V = ws.Pivots.V;
    const auto black = canvas.lines(Rgb{0, 0, 0});
    ASSERT_EQ(black.size(), 1u) << angle;
    EXPECT_EQ(black[0].x1, std::lround(H[3] * 28 + 115)) << angle;
    EXPECT_EQ(black[0].y1, std::lround(-(V[3] + 0.5) * 28 + 270)) << angle;
    EXPECT_EQ(black[0].x2, std::lround((H[3] + 1.0) * 28 + 115)) << angle;
    const auto green = canvas.lines(Rgb{0, 128, 0});
    ASSERT_EQ(green.size(), 1u);
    EXPECT_TRUE(canvas.hasLine(std::lround(H[2] * 28 + 115), std::lround(-V[2] * 28 + 270),
                               std::lround(H[10] * 28 + 115), std::lround(-V[10] * 28 + 270)))
        << angle;
  }
}

TEST_F(OverlayFixture, ColoursAndItemsThatDrawNothing) {
  EXPECT_EQ(overlayColour(65535.0f), (Rgb{255, 255, 0}));
  EXPECT_EQ(overlayColour(8421504.0f), (Rgb{128, 128, 128}));
  EXPECT_EQ(overlayColour(-1.0f), (Rgb{0, 0, 0}));
  EXPECT_EQ(overlayColour(NAN), (Rgb{0, 0, 0}));

  // Empty items (the start-up state), a circle carried in a line-only mode, an unknown type.
  item(3, 1, 255.0f, 2).Line2Horz = 1.0f;
  item(4, 1, 255.0f, 3);
  item(5, 7, 255.0f, 0);
  drawOverlay(canvas, ws);
  EXPECT_TRUE(canvas.lines().empty());
  EXPECT_TRUE(canvas.ofKind(DrawKind::Ellipse).empty());
}

TEST_F(OverlayFixture, DamagedItemsStayOnTheCanvas) {
  OverlayItem& wild = item(1, 0, 3e38f, 1);
  wild.Piv1Index = NAN;
  wild.Line1Horz = 3e38f, wild.Line2Vert = -3e38f;
  OverlayItem& huge = item(2, 1, 255.0f, 1);
  huge.Piv1Index = 1e9f;
  huge.Line2Horz = 3e38f;
  drawOverlay(canvas, ws);
  for (const DrawCall& call : canvas.calls())
    for (int c : {call.x1, call.y1, call.x2, call.y2}) EXPECT_LE(std::abs(c), kScreenLimit);
}

}  // namespace
}  // namespace vek1
