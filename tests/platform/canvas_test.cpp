#include "canvas.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <array>
#include <climits>
#include <cmath>
#include <functional>
#include <numbers>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "painter_canvas.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

using Pixel = std::pair<int, int>;
using Pixels = std::set<Pixel>;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};

QImage blank(int width, int height, QImage::Format format = QImage::Format_RGB32) {
  QImage image(width, height, format);
  image.fill(Qt::white);
  return image;
}

Pixels painted(const QImage& image) {
  Pixels result;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) result.insert({x, y});
    }
  }
  return result;
}

Pixels linePixels(int x0, int y0, int x1, int y1, int width = 1, int size = 32) {
  QImage image = blank(size, size);
  {
    QPainterCanvas canvas(image);
    canvas.setPenWidth(width);
    canvas.moveTo(x0, y0);
    canvas.lineTo(x1, y1);
  }
  return painted(image);
}

TEST(QPainterCanvas, LineLightsItsStartAndLeavesOutItsEnd) {
  EXPECT_EQ(linePixels(2, 3, 7, 3), (Pixels{{2, 3}, {3, 3}, {4, 3}, {5, 3}, {6, 3}}));
  EXPECT_EQ(linePixels(7, 3, 2, 3), (Pixels{{7, 3}, {6, 3}, {5, 3}, {4, 3}, {3, 3}}));
  EXPECT_EQ(linePixels(4, 1, 4, 5), (Pixels{{4, 1}, {4, 2}, {4, 3}, {4, 4}}));
  EXPECT_EQ(linePixels(4, 5, 4, 1), (Pixels{{4, 5}, {4, 4}, {4, 3}, {4, 2}}));
  EXPECT_EQ(linePixels(0, 10, 4, 14), (Pixels{{0, 10}, {1, 11}, {2, 12}, {3, 13}}));
  EXPECT_EQ(linePixels(9, 0, 5, 4), (Pixels{{9, 0}, {8, 1}, {7, 2}, {6, 3}}));
  EXPECT_TRUE(linePixels(5, 5, 5, 5).empty());
}

TEST(QPainterCanvas, LineTakesTheNearestPixelAndBreaksTiesTheSameWayInBothDirections) {
  EXPECT_EQ(linePixels(0, 0, 5, 2), (Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}));
  // Half way along, (0, 0)-(4, 1) passes exactly between rows 0 and 1: the smaller one wins.
  EXPECT_EQ(linePixels(0, 0, 4, 1), (Pixels{{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
  EXPECT_EQ(linePixels(4, 1, 0, 0), (Pixels{{4, 1}, {3, 1}, {2, 0}, {1, 0}}));
  EXPECT_EQ(linePixels(0, 0, 1, 4), (Pixels{{0, 0}, {0, 1}, {0, 2}, {1, 3}}));

  // Any segment drawn either way lights the same pixels between its two ends.
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(0, 31);
  for (int trial = 0; trial < 300; ++trial) {
    const int x0 = coordinate(random), y0 = coordinate(random);
    const int x1 = coordinate(random), y1 = coordinate(random);
    Pixels forward = linePixels(x0, y0, x1, y1), backward = linePixels(x1, y1, x0, y0);
    if (x0 != x1 || y0 != y1) {
      ASSERT_TRUE(forward.count({x0, y0}) && !forward.count({x1, y1}));
      ASSERT_EQ(forward.size(),
                static_cast<size_t>(std::max(std::abs(x1 - x0), std::abs(y1 - y0))));
    }
    forward.erase({x0, y0});
    backward.erase({x1, y1});
    ASSERT_EQ(forward, backward) << x0 << "," << y0 << " - " << x1 << "," << y1;
  }
}

// Pixels of a drawing on a size x size surface, with every coordinate moved by `shift`.
template <typename Draw>
Pixels drawn(int size, int shift, int width, Draw&& draw) {
  QImage image = blank(size, size);
  {
    QPainterCanvas canvas(image);
    canvas.setPenWidth(width);
    draw(canvas, shift);
  }
  return painted(image);
}

TEST(QPainterCanvas, ShapesLeavingTheSurfaceKeepThePixelsTheyHaveInside) {
  // The same shapes on a small surface and, shifted, on one large enough to hold them whole.
  constexpr int kSmall = 40, kShift = 100, kLarge = 260;
  std::mt19937 random(11);
  std::uniform_int_distribution<int> coordinate(-kShift, kSmall + kShift - 1);
  for (int trial = 0; trial < 60; ++trial) {
    std::array<int, 8> c;
    for (int& v : c) v = coordinate(random);
    const auto line = [&](Canvas& canvas, int d) {
      canvas.moveTo(c[0] + d, c[1] + d);
      canvas.lineTo(c[2] + d, c[3] + d);
    };
    const auto ellipse = [&](Canvas& canvas, int d) {
      canvas.ellipse(c[0] + d, c[1] + d, c[2] + d, c[3] + d);
    };
    const auto arc = [&](Canvas& canvas, int d) {
      canvas.arc(c[0] + d, c[1] + d, c[2] + d, c[3] + d, c[4] + d, c[5] + d, c[6] + d, c[7] + d);
    };
    for (int width : {1, 2}) {
      for (const auto& [name, shape] :
           {std::pair<const char*, std::function<void(Canvas&, int)>>{"line", line},
            {"ellipse", ellipse},
            {"arc", arc}}) {
        Pixels expected;
        for (const auto& [x, y] : drawn(kLarge, kShift, width, shape)) {
          if (x >= kShift && x < kShift + kSmall && y >= kShift && y < kShift + kSmall) {
            expected.insert({x - kShift, y - kShift});
          }
        }
        ASSERT_EQ(drawn(kSmall, 0, width, shape), expected) << name << " trial " << trial;
      }
    }
  }
}

TEST(QPainterCanvas, HugeCircleShowsTheStretchThatCrossesTheSurface) {
  constexpr int kRadius = 100'000'000;
  // Top of a circle whose centre lies far below: row 16 across the whole surface.
  Pixels top = drawn(32, 0, 1, [](Canvas& canvas, int) {
    canvas.ellipse(16 - kRadius, 16, 17 + kRadius, 17 + 2 * kRadius);
  });
  // Left side of a circle whose centre lies far to the right: column 16 down the surface.
  Pixels side = drawn(32, 0, 1, [](Canvas& canvas, int) {
    canvas.ellipse(16, 16 - kRadius, 17 + 2 * kRadius, 17 + kRadius);
  });
  Pixels row, column;
  for (int i = 0; i < 32; ++i) {
    row.insert({i, 16});
    column.insert({16, i});
  }
  EXPECT_EQ(top, row);
  EXPECT_EQ(side, column);
  EXPECT_TRUE(drawn(32, 0, 1, [](Canvas& canvas, int) {
                canvas.ellipse(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
              }).empty());
}

TEST(QPainterCanvas, LineWithExtremeCoordinatesIsDrawnWithoutOverflow) {
  const Pixels row = linePixels(INT_MIN, 5, INT_MAX, 5);
  EXPECT_EQ(row.size(), 32u);
  EXPECT_TRUE(row.count({0, 5}) && row.count({31, 5}));
  const Pixels diagonal = linePixels(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(diagonal.size(), 32u);
  EXPECT_TRUE(diagonal.count({17, 17}));
  EXPECT_TRUE(linePixels(INT_MAX, INT_MIN, INT_MAX - 5, INT_MIN).empty());
}

TEST(QPainterCanvas, WidePenCoversTheEndPoint) {
  EXPECT_EQ(linePixels(2, 5, 6, 5, 2), (Pixels{{1, 4},
                                               {2, 4},
                                               {3, 4},
                                               {4, 4},
                                               {5, 4},
                                               {6, 4},
                                               {1, 5},
                                               {2, 5},
                                               {3, 5},
                                               {4, 5},
                                               {5, 5},
                                               {6, 5}}));
}

struct Extent {
  int left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
};

Extent extentOf(const Pixels& pixels) {
  Extent e;
  for (const auto& [x, y] : pixels) {
    e.left = std::min(e.left, x);
    e.right = std::max(e.right, x);
    e.top = std::min(e.top, y);
    e.bottom = std::max(e.bottom, y);
  }
  return e;
}

TEST(QPainterCanvas, EllipseFillsItsBoxWithoutTheRightAndBottomEdges) {
  QImage image = blank(64, 64), turned = blank(64, 64), flat = blank(64, 64);
  QPainterCanvas(image).ellipse(10, 20, 31, 31);
  QPainterCanvas(turned).ellipse(31, 31, 10, 20);
  QPainterCanvas(flat).ellipse(10, 20, 10, 40);
  const Pixels pixels = painted(image);
  const Extent e = extentOf(pixels);
  EXPECT_EQ(e.left, 10);
  EXPECT_EQ(e.right, 30);
  EXPECT_EQ(e.top, 20);
  EXPECT_EQ(e.bottom, 30);
  EXPECT_EQ(painted(turned), pixels);
  EXPECT_TRUE(painted(flat).empty());
}

// Screen angle of a pixel about (cx, cy), counter-clockwise from east, in [-180, 180].
double screenAngle(const Pixel& p, double cx, double cy) {
  return std::atan2(cy - p.second, p.first - cx) * 180.0 / std::numbers::pi;
}

TEST(QPainterCanvas, ArcRunsCounterClockwiseFromTheFirstRadialToTheSecond) {
  // Circle of radius 20 about (20, 20): east radial through (40, 20), north through (20, 0).
  QImage quarter = blank(41, 41), rest = blank(41, 41), whole = blank(41, 41),
         circle = blank(41, 41);
  QPainterCanvas(quarter).arc(0, 0, 41, 41, 40, 20, 20, 0);
  QPainterCanvas(rest).arc(0, 0, 41, 41, 20, 0, 40, 20);
  QPainterCanvas(whole).arc(0, 0, 41, 41, 30, 10, 35, 5);  // both radials point north-east
  QPainterCanvas(circle).ellipse(0, 0, 41, 41);

  const Pixels upperRight = painted(quarter);
  ASSERT_FALSE(upperRight.empty());
  for (const auto& [x, y] : upperRight) {
    EXPECT_TRUE(x >= 20 && y <= 20) << x << "," << y;
  }
  const Extent q = extentOf(upperRight);
  EXPECT_GE(q.right, 39);  // reaches both radials
  EXPECT_LE(q.top, 1);

  const Extent r = extentOf(painted(rest));
  EXPECT_LE(r.left, 1);  // the other three quarters: west and south are covered
  EXPECT_GE(r.bottom, 39);
  EXPECT_EQ(painted(whole), painted(circle));  // equal radials give the whole ellipse
}

TEST(QPainterCanvas, ArcOfAnEllipseEndsOnTheRadials) {
  // Ellipse 80 x 40 about (40, 20). The radial at 45 degrees meets it at about (58, 2); an arc
  // that took 45 degrees as the ellipse's parameter would stop near 27 degrees instead.
  QImage image = blank(81, 41);
  QPainterCanvas(image).arc(0, 0, 81, 41, 80, 20, 60, 0);
  double lowest = 360, highest = -360;
  for (const Pixel& p : painted(image)) {
    const double a = screenAngle(p, 40, 20);
    lowest = std::min(lowest, a);
    highest = std::max(highest, a);
  }
  EXPECT_NEAR(lowest, 0, 2);
  EXPECT_NEAR(highest, 45, 2);
}

TEST(QPainterCanvas, SetPixelPaintsExactlyOnePixelAndIgnoresPointsOutside) {
  QImage image = blank(8, 8);
  {
    QPainterCanvas canvas(image);
    canvas.setPixel(3, 4, {12, 34, 56});
    for (const auto& [x, y] : {Pixel{-1, 0}, {0, -1}, {8, 0}, {0, 8}, {INT_MIN, INT_MAX}}) {
      canvas.setPixel(x, y, kRed);
    }
  }
  EXPECT_EQ(painted(image), (Pixels{{3, 4}}));
  EXPECT_EQ(image.pixel(3, 4), qRgb(12, 34, 56));
}

// The steam display sets its specks together: the same pixels as one by one, on every kind of
// surface and pitch, with the clip's cut-out and the surface's edges kept.
TEST(QPainterCanvas, PixelsSetTogetherAreThoseSetOneByOne) {
  const CanvasClip clip{1, 1, 15, 15, 4, 4, 8, 8};
  const std::vector<CanvasPixel> specks = {{2, 2},  {5, 5}, {0, 3}, {14, 14}, {15, 3},
                                           {-1, 2}, {9, 9}, {7, 4}, {3, 12},  {INT_MIN, 5}};
  for (const QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888}) {
    for (const double scale : {1.0, 2.0}) {
      const int side = static_cast<int>(16 * scale);
      QImage together = blank(side, side, format), alone = blank(side, side, format);
      DirtyArea dirtyTogether, dirtyAlone;
      {
        QPainterCanvas canvas(together, &dirtyTogether, scale);
        canvas.setClip(clip);
        canvas.setPixels(kRed, specks);
      }
      {
        QPainterCanvas canvas(alone, &dirtyAlone, scale);
        canvas.setClip(clip);
        for (const CanvasPixel& p : specks) canvas.setPixel(p.x, p.y, kRed);
      }
      SCOPED_TRACE(testing::Message() << "format " << format << ", scale " << scale);
      EXPECT_EQ(together, alone);
      EXPECT_EQ(painted(together).size(), static_cast<std::size_t>(4 * scale * scale));
      // What the window copies to the screen afterwards covers what was set.
      EXPECT_EQ(dirtyTogether.whole, dirtyAlone.whole);
      EXPECT_EQ(
          QRect(dirtyTogether.left, dirtyTogether.top, dirtyTogether.right - dirtyTogether.left,
                dirtyTogether.bottom - dirtyTogether.top),
          QRect(dirtyAlone.left, dirtyAlone.top, dirtyAlone.right - dirtyAlone.left,
                dirtyAlone.bottom - dirtyAlone.top));
    }
  }
}

TEST(QPainterCanvas, TextHangsBelowAndRightOfItsPosition) {
  QImage image = blank(120, 60);
  int regularCount = 0;
  QFont font;
  {
    QPainterCanvas canvas(image);
    canvas.setFontColour(kBlue);
    canvas.textOut(10, 20, "Hg");
    font = canvas.currentFont();
  }
  const QFontMetrics metrics(font);
  const Pixels pixels = painted(image);
  regularCount = static_cast<int>(pixels.size());
  ASSERT_GT(regularCount, 10);
  for (const auto& [x, y] : pixels) ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 255));
  const Extent e = extentOf(pixels);
  EXPECT_GE(e.left, 10);
  EXPECT_LE(e.left, 12);  // the H's stem, just right of the position
  EXPECT_LE(e.right, 10 + metrics.horizontalAdvance("Hg"));
  const int capTop = 20 + metrics.ascent() - metrics.capHeight();
  EXPECT_GE(e.top, 20);
  EXPECT_NEAR(e.top, capTop, 1);
  EXPECT_LT(e.bottom, 20 + metrics.height());  // the g's tail stays inside the cell

  QImage bold = blank(120, 60), large = blank(120, 60);
  {
    QPainterCanvas canvas(bold);
    canvas.setFontStyle({.bold = true});
    canvas.textOut(10, 20, "Hg");
  }
  {
    QPainterCanvas canvas(large);
    canvas.setFontSize(16);
    canvas.textOut(10, 20, "Hg");
  }
  EXPECT_GT(painted(bold).size(), pixels.size());
  EXPECT_GT(extentOf(painted(large)).bottom - extentOf(painted(large)).top, e.bottom - e.top);
}

void drawScene(Canvas& canvas) {
  canvas.clear({192, 192, 192});
  canvas.setPenColour(kRed);
  canvas.moveTo(-5, 3);
  canvas.lineTo(50, 40);
  canvas.lineTo(70, 2);
  canvas.setPenWidth(2);
  canvas.lineTo(10, 55);
  canvas.setPenWidth(1);
  canvas.setPenColour(kBlue);
  canvas.ellipse(20, 10, 61, 41);
  canvas.arc(5, 5, 35, 35, 35, 20, 20, 5);
  canvas.setPixel(1, 1, {0, 128, 0});
  canvas.setFontColour(kRed);
  canvas.textOut(3, 40, "Zoom 1.25");
  canvas.textOut(40, 50, "\xc2\xb0");  // a degree sign: text is UTF-8
}

TEST(QPainterCanvas, EveryDeviceShowsTheSamePicture) {
  QImage direct = blank(80, 64);
  {
    QPainterCanvas canvas(direct);
    drawScene(canvas);
  }
  QImage packed = blank(80, 64, QImage::Format_RGB888);
  {
    QPainterCanvas canvas(packed);
    drawScene(canvas);
  }
  QPixmap pixmap(80, 64);
  {
    QPainterCanvas canvas(pixmap);
    drawScene(canvas);
  }
  EXPECT_EQ(packed.convertToFormat(QImage::Format_RGB32), direct);
  EXPECT_EQ(pixmap.toImage().convertToFormat(QImage::Format_RGB32), direct);
}

TEST(QPainterCanvas, EmptyDeviceDrawsNothingAndReportsNoSize) {
  QImage empty;
  QPainterCanvas canvas(empty);
  EXPECT_EQ(canvas.size(), (CanvasSize{0, 0}));
  drawScene(canvas);  // must not crash
}

TEST(RecordingCanvas, RecordsEachCallWithTheStateItWasDrawnWith) {
  RecordingCanvas canvas(632, 380);
  EXPECT_EQ(canvas.size(), (CanvasSize{632, 380}));
  canvas.setPenColour(kRed);
  canvas.moveTo(1, 2);
  canvas.lineTo(3, 4);
  canvas.setPenWidth(2);
  canvas.setPenColour(kBlue);
  canvas.lineTo(5, 6);
  canvas.arc(0, 0, 10, 10, 10, 5, 5, 0);
  canvas.setFontColour(kRed);
  canvas.setFontSize(10);
  canvas.setFontStyle({.bold = true});
  canvas.textOut(320, 128, "UnDo");

  ASSERT_EQ(canvas.lines().size(), 2u);
  EXPECT_TRUE(canvas.hasLine(1, 2, 3, 4));
  EXPECT_FALSE(canvas.hasLine(3, 4, 1, 2));
  const auto blue = canvas.lines(kBlue);
  ASSERT_EQ(blue.size(), 1u);
  EXPECT_EQ(blue[0].x1, 3);
  EXPECT_EQ(blue[0].y2, 6);
  EXPECT_EQ(blue[0].penWidth, 2);

  const auto arcs = canvas.ofKind(DrawKind::Arc);
  ASSERT_EQ(arcs.size(), 1u);
  EXPECT_EQ((std::array{arcs[0].x3, arcs[0].y3, arcs[0].x4, arcs[0].y4}),
            (std::array{10, 5, 5, 0}));

  const DrawCall* text = canvas.findText("UnDo");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->x1, 320);
  EXPECT_EQ(text->y1, 128);
  EXPECT_EQ(text->colour, kRed);
  EXPECT_EQ(text->fontSize, 10);
  EXPECT_TRUE(text->fontStyle.bold);
  EXPECT_EQ(canvas.findTextContaining("nD"), text);
  EXPECT_EQ(canvas.findText("nD"), nullptr);
  EXPECT_EQ(canvas.textStrings(), std::vector<std::string>{"UnDo"});
}

}  // namespace
}  // namespace vek1
