// The performance pictures on a recording canvas: each card where its pressures put it, the
// ends that do not run left out and named, the curves in their charts, and a page whose parts
// stay inside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "canvas.h"
#include "dimensions.h"
#include "perf_page.h"
#include "recording_canvas.h"
#include "started_set.h"

namespace vek1 {
namespace {

const PerformancePage& factoryPage() {
  static const PerformancePage page = [] {
    const Workspace ws = test::startedSet();
    return computePerformancePage({ws, performanceNotches(ws), {1.8, 0.6}});
  }();
  return page;
}

// The card's own segments: drawn two pixels wide (the legend's sample is three).
std::vector<DrawCall> cardLines(const RecordingCanvas& c, std::size_t i) {
  std::vector<DrawCall> out;
  for (const DrawCall& l : c.lines(cardColour(i)))
    if (l.penWidth == 2) out.push_back(l);
  return out;
}

bool hasTextContaining(const RecordingCanvas& c, const std::string& part) {
  return c.findTextContaining(part) != nullptr;
}

TEST(PerfDrawing, EachCardRunsFromTheChestLineDownToTheBackPressure) {
  const PerformancePage& p = factoryPage();
  ASSERT_EQ(p.cards.rows.size(), 2u);
  const CanvasSize size = cardsPictureSize(p.cards);
  RecordingCanvas c(size.width, size.height);
  drawIndicatorCards(c, p.cards);
  // The chest line's pixel row: the grey reference whose y is the same at both ends.
  std::vector<int> levels;
  for (const DrawCall& l : c.lines(Rgb{150, 150, 150}))
    if (l.y1 == l.y2) levels.push_back(l.y1);
  ASSERT_EQ(levels.size(), 4u);  // chest and back, front and rear
  const int chestY = std::min(levels[0], levels[1]), backY = std::max(levels[0], levels[1]);
  for (std::size_t i = 0; i < 2; ++i) {
    const std::vector<DrawCall> card = cardLines(c, i);
    ASSERT_GT(card.size(), 1000u) << i;  // both ends, a segment a crank step
    int top = INT_MAX, bottom = INT_MIN;
    for (const DrawCall& l : card) {
      top = std::min({top, l.y1, l.y2});
      bottom = std::max({bottom, l.y1, l.y2});
      EXPECT_TRUE(l.x2 >= 0 && l.x2 < size.width && l.y2 >= 0 && l.y2 < size.height);
    }
    // Admission reaches the chest line (within the wire-drawing), exhaust the back pressure.
    EXPECT_NEAR(top, chestY, 4) << i;
    EXPECT_NEAR(bottom, backY, 2) << i;
  }
  EXPECT_TRUE(hasTextContaining(c, "Front end"));
  EXPECT_TRUE(hasTextContaining(c, "Rear end"));
  EXPECT_TRUE(hasTextContaining(c, "Notch +1.800:  front MEP 93."));
  EXPECT_TRUE(hasTextContaining(c, "psi gauge"));
  // A legend line a card, and the picture ends under the last.
  const DrawCall* last = c.findTextContaining("Notch +0.600:");
  ASSERT_TRUE(last);
  EXPECT_LT(last->y1 + 14, size.height);
  EXPECT_GT(last->y1 + 30, size.height);
}

TEST(PerfDrawing, AnEndThatDoesNotRunHasNoCardAndSaysWhy) {
  Workspace ws = test::startedSet();
  ws.Cyl[cyl::slot<dim::ValveLengthFrontHalf>] += 1.0f;
  const PerformancePage p = computePerformancePage({ws, {1.8}, {1.8}});
  ASSERT_EQ(p.cards.rows[0].Front.Status, EndStatus::NeverOpens);
  const CanvasSize size = cardsPictureSize(p.cards);
  RecordingCanvas c(size.width, size.height);
  drawIndicatorCards(c, p.cards);
  // Only the rear chart, the right half, has the card.
  const std::vector<DrawCall> card = cardLines(c, 0);
  ASSERT_FALSE(card.empty());
  for (const DrawCall& l : card) EXPECT_GT(l.x2, size.width / 2);
  EXPECT_TRUE(hasTextContaining(c, "front never opens;  rear MEP"));
  // The table says none where the front end has no figure, and names the reason.
  ASSERT_EQ(p.table.rows.size(), 1u);
  EXPECT_EQ(p.table.rows[0][1].text, "none");
  EXPECT_EQ(p.table.rows[0].back().text, "F never opens");
  EXPECT_EQ(p.table.rows[0][15].text, "none");  // the work ratio
}

TEST(PerfDrawing, CurvesFollowPowerAndEffortInTheirCharts) {
  const PerformancePage& p = factoryPage();
  ASSERT_EQ(p.curves.byNotch.size(), 9u);
  ASSERT_EQ(p.curves.bySpeed.size(), 8u);
  // Power rises with the speed at a fixed notch.
  for (std::size_t i = 1; i < p.curves.bySpeed.size(); ++i)
    EXPECT_GT(p.curves.bySpeed[i].IHP, p.curves.bySpeed[i - 1].IHP);
  const CanvasSize size = curvesPictureSize();
  RecordingCanvas c(size.width, size.height);
  drawPerformanceCurves(c, p.curves);
  const Rgb power{0, 70, 200}, effort{200, 0, 0};
  for (Rgb colour : {power, effort}) {
    int left = 0, right = 0;
    for (const DrawCall& l : c.lines(colour)) {
      ASSERT_TRUE(l.x2 >= 0 && l.x2 < size.width && l.y2 >= 0 && l.y2 < size.height);
      (l.x2 < size.width / 2 ? left : right)++;
    }
    EXPECT_GT(left, 8);
    EXPECT_GT(right, 7);
  }
  // The power over the speeds climbs: its segments in the right chart go up the page.
  const std::vector<DrawCall> lines = c.lines(power);
  const auto climbing = std::count_if(lines.begin(), lines.end(), [&](const DrawCall& l) {
    return l.x1 > size.width / 2 && l.penWidth > 1 && l.x2 > l.x1 && l.y2 < l.y1;
  });
  EXPECT_GE(climbing, 7);
  EXPECT_TRUE(hasTextContaining(c, "Against the speed at notch +1.800"));
  EXPECT_TRUE(hasTextContaining(c, "TE lbf"));
}

TEST(PerfDrawing, ThePageStacksItsPartsAndEveryTextFitsOnIt) {
  const PerformancePage& p = factoryPage();
  const CanvasSize size = performancePageSize(p);
  EXPECT_EQ(size.width,
            std::max({cardsPictureSize(p.cards).width, studyTablePictureSize(p.table).width,
                      curvesPictureSize().width}));
  EXPECT_GT(size.height, cardsPictureSize(p.cards).height + studyTablePictureSize(p.table).height +
                             curvesPictureSize().height);
  RecordingCanvas c(size.width, size.height);
  drawPerformancePage(c, p);
  EXPECT_EQ(c.ofKind(DrawKind::Clear).size(), 1u);
  int tableTitle = -1, curvesTitle = -1;
  for (const DrawCall& t : c.texts()) {
    // Seven pixels a character is what the tables allow; the texts are shorter than that.
    EXPECT_GE(t.x1, 0) << t.text;
    EXPECT_LE(t.x1 + static_cast<int>(t.text.size()) * 6, size.width) << t.text;
    EXPECT_TRUE(t.y1 >= 0 && t.y1 + 14 <= size.height) << t.text;
    if (t.text.rfind("Engine performance:", 0) == 0) tableTitle = t.y1;
    if (t.text.rfind("Power and tractive effort:", 0) == 0) curvesTitle = t.y1;
  }
  EXPECT_GT(tableTitle, cardsPictureSize(p.cards).height);
  EXPECT_GT(curvesTitle, tableTitle + studyTablePictureSize(p.table).height);
  EXPECT_NEAR(railSpeedMph(180.0, 7.0), 3.748, 1e-3);
}

}  // namespace
}  // namespace vek1
