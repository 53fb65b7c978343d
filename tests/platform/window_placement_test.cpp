// Where a tool window opens beside the main window: off it when the screen has room, made
// smaller to fit a free strip, on the screen always, and covering as little as can be when not
// even its smallest size fits beside.
#include <gtest/gtest.h>

#include "window_placement.h"

namespace {

using vek1::besideGeometry;

long long covered(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

const QRect kScreen(0, 0, 1280, 1024);
const QSize kSmall(300, 200);

TEST(WindowPlacement, OpensOffTheAnchorInTheLargestFreeStrip) {
  struct Case {
    QRect anchor;
    QSize preferred;
    QRect expected;
  };
  for (const Case& c : {
           // The main window in the top-left corner: below it, at full size.
           Case{QRect(0, 0, 640, 440), QSize(1000, 500), QRect(0, 440, 1000, 500)},
           // Tall: right of it.
           Case{QRect(0, 0, 640, 900), QSize(600, 500), QRect(640, 0, 600, 500)},
           // At the bottom: above it.
           Case{QRect(0, 600, 640, 424), QSize(1000, 500), QRect(0, 100, 1000, 500)},
           // Centred, as a window manager places it: the strip below is the largest free one,
           // and the window is made as tall as the strip.
           Case{QRect(323, 297, 634, 430), QSize(1270, 540), QRect(10, 727, 1270, 297)},
       }) {
    const QRect at = besideGeometry(c.anchor, c.preferred, kSmall, kScreen);
    EXPECT_EQ(at, c.expected) << c.anchor.x() << ',' << c.anchor.y();
    EXPECT_EQ(covered(at, c.anchor), 0);
    EXPECT_TRUE(kScreen.contains(at));
  }
}

TEST(WindowPlacement, WhenNothingFitsBesideItStaysOnTheScreenAndCoversTheLeast) {
  // Its smallest size is taller than any strip: full size, pushed up by what does not fit below.
  const QRect main(0, 0, 634, 432);
  const QRect tune = besideGeometry(main, QSize(1000, 640), QSize(900, 600), kScreen);
  EXPECT_EQ(tune, QRect(0, 384, 1000, 640));

  // Larger than the screen: the top-left corner stays on it, so the title bar can be reached.
  const QRect small(0, 0, 800, 600);
  const QRect big = besideGeometry(QRect(100, 100, 300, 200), QSize(900, 700), QSize(850, 650),
                                   small);
  EXPECT_EQ(big.topLeft(), QPoint(0, 0));

  // A screen that does not start at the origin (a second monitor, a panel on the left).
  const QRect offset(1280, 30, 1920, 1050);
  const QRect anchor(1300, 40, 640, 440);
  const QRect right = besideGeometry(anchor, QSize(600, 400), kSmall, offset);
  EXPECT_TRUE(offset.contains(right));
  EXPECT_EQ(covered(right, anchor), 0);
  EXPECT_EQ(right.size(), QSize(600, 400));
}

}  // namespace
