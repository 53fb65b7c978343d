// The tables and pictures the two windows show, without a window.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "sensitivity_view.h"
#include "wear_drawing.h"
#include "started_set.h"

namespace vek1 {
namespace {

// The rows come in the rank of the chosen figure, per unit or per percent as asked: the first
// row is the dimension that moves it most, the drawing-only ones are last, grey and unranked,
// and exactly the entries of at least half their column's largest are marked.
TEST(SensitivityView, RanksByTheChosenFigureAndMarksTheLargest) {
  const Workspace ws = test::startedSet();
  const SensitivityNotch n = ComputeSensitivity(ws, {0.8}).Notches.front();
  for (const SensitivityChoice choice : {SensitivityChoice{kRearCutOff, false},
                                         SensitivityChoice{kFrontLead, true}}) {
    const StudyTable t = buildSensitivityView(n, "factory", choice);
    ASSERT_EQ(t.rows.size(), n.Rows.size());
    const int column = 4 + choice.Figure;
    EXPECT_EQ(t.header[static_cast<size_t>(column)].rfind("> ", 0), 0u);
    double previous = INFINITY;
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
      const int id = std::stoi(t.rows[r][1].text);
      const SensitivityRow* row = nullptr;
      for (const SensitivityRow& x : n.Rows)
        if (x.Id == id) row = &x;
      ASSERT_TRUE(row);
      const double v = std::fabs(choice.PerPercent ? row->PerPercent[choice.Figure]
                                                   : row->PerUnit[choice.Figure]);
      EXPECT_LE(v, previous) << r;
      previous = v;
      EXPECT_EQ(t.rows[r][0].text == "-", row->DrawingOnly) << id;
      EXPECT_EQ(t.rows[r][0].dim, row->DrawingOnly) << id;
      if (!row->DrawingOnly) {
        EXPECT_EQ(t.rows[r][0].text, std::to_string(r + 1));
      }
    }
    // Marked cells in the ranked column: a leading run, at least the first.
    EXPECT_TRUE(t.rows[0][static_cast<size_t>(column)].marked);
    EXPECT_FALSE(t.rows.back()[static_cast<size_t>(column)].marked);
  }
}

// Each band of the picture spans the envelope it draws: the pixel rows filled in a band's
// colour at a notch reach from the largest value's row to the smallest's. A wider clearance
// draws a taller band.
TEST(WearDrawing, BandsGrowWithTheClearance) {
  const Workspace ws = test::startedSet();
  auto bandHeight = [&](double c) {
    Clearances clear;
    clear.fill(c);
    const WearStudy s = ComputeWornGear(ws, {1.6}, clear);
    const CanvasSize size = wearPictureSize(s);
    RecordingCanvas canvas(size.width, size.height);
    drawWearStudy(canvas, s, "factory", 0);
    // The bands' fill: one line a pixel row in the cut-off's colour.
    return static_cast<int>(canvas.lines(colour::Admission).size());
  };
  const int none = bandHeight(0.0), some = bandHeight(0.004), more = bandHeight(0.016);
  EXPECT_GT(some, none);
  EXPECT_GT(more, some);
}

}  // namespace
}  // namespace vek1
