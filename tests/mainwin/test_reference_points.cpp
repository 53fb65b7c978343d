// Reference points and pivot data: presses, bars, panning, their drawing and the dialog.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cmath>
#include <limits>

#include "canvas.h"
#include "recording_canvas.h"
#include "numbers.h"
#include "ref_points_dialog.h"
#include "reference_drawing.h"
#include "reference_points.h"
#include "scrollstep.h"
#include "view.h"

using namespace vek1;

namespace {

// The normal view (zoom 28, pans 115 and 270) with the reference points on.
Workspace refWorkspace() {
  Workspace ws;
  ws.RefPointsMode = true;
  return ws;
}

float invH(int x) {
  return toSingle((x - 115.0) / 28.0);
}
float invV(int y) {
  return toSingle(-(y - 270.0) / 28.0);
}

void refBarClick(Workspace& ws, int bar, int p) {
  RefBarChange(ws, bar, p);
  RefBarChange(ws, bar, 0);  // the bar springs back to its centre
}

}  // namespace

TEST(ReferencePoints, PressesPlacePointsOnlyInTheDrawingWithTheModeOn) {
  EXPECT_FALSE(InDrawingRegion(200, 100));
  EXPECT_TRUE(InDrawingRegion(300, 100));
  EXPECT_FALSE(InDrawingRegion(247, 100));
  EXPECT_TRUE(InDrawingRegion(248, 68));
  EXPECT_FALSE(InDrawingRegion(400, 67));
  EXPECT_TRUE(InDrawingRegion(0, 121));
  EXPECT_FALSE(InDrawingRegion(0, 120));

  Workspace off;
  const PressEffects none = MainMousePress(off, true, 300, 300);
  MainMousePress(off, false, 300, 300);
  EXPECT_FALSE(none.ref1Zero || none.ref2Zero);
  EXPECT_EQ(off.Pivots.H, Workspace{}.Pivots.H);
  EXPECT_EQ(off.Pivots.V, Workspace{}.Pivots.V);
  EXPECT_TRUE(off.OverlayTwoPointArmed);  // every left press arms it

  Workspace ws = refWorkspace();
  const PressEffects left = MainMousePress(ws, true, 300, 200);
  EXPECT_TRUE(left.ref1Zero);
  EXPECT_FALSE(left.ref2Zero);
  EXPECT_EQ(ws.Pivots.H[19], invH(300));
  EXPECT_EQ(ws.Pivots.V[19], invV(200));
  const PressEffects right = MainMousePress(ws, false, 400, 321);
  EXPECT_TRUE(right.ref2Zero);
  EXPECT_FALSE(right.ref1Zero);
  EXPECT_EQ(ws.Pivots.H[20], invH(400));
  EXPECT_EQ(ws.Pivots.V[20], invV(321));
  EXPECT_EQ(ws.Pivots.H[19], invH(300));  // point 1 untouched by the right press

  MainMousePress(ws, true, 200, 100);  // on the panels
  EXPECT_EQ(ws.Pivots.H[19], invH(300));

  ws.ViewZoom = 0.0f;  // nothing to divide by: the point stays
  MainMousePress(ws, true, 500, 500);
  EXPECT_EQ(ws.Pivots.H[19], invH(300));
}

TEST(ReferencePoints, NearestPivotTiesToLowerIndexAndKeepsTheLastResult) {
  Workspace ws;
  for (int i = 1; i <= 18; ++i) ws.Pivots.H[i] = 20000.0f;
  EXPECT_EQ(FindNearestPivot(ws), 0);  // nothing nearer than 10000
  ws.Pivots.H[19] = 1.0f;
  ws.Pivots.V[19] = 1.0f;
  ws.Pivots.H[7] = 2.0f;  // |dV| + |dH| = 1
  ws.Pivots.V[7] = 1.0f;
  ws.Pivots.H[3] = 1.5f;  // 0.5 + 0.5 = 1 too
  ws.Pivots.V[3] = 0.5f;
  EXPECT_EQ(FindNearestPivot(ws), 3);
  ws.Pivots.H[19] = -19000.0f;  // no pivot within reach any more
  EXPECT_EQ(FindNearestPivot(ws), 3);
  EXPECT_EQ(ws.NearestPivot, 3);
}

TEST(ReferencePoints, RowClickThenPivotPick) {
  Workspace ws = refWorkspace();
  SetPivotDataMode(ws, true);
  for (int i = 1; i <= 18; ++i) ws.Pivots.H[i] = 100.0f;
  ws.Pivots.H[5] = 10.0f;  // at screen (395, 242)
  ws.Pivots.V[5] = 1.0f;

  MainMousePress(ws, true, 5, 172);  // below row 2's band (152+10k < y < 161+10k)
  EXPECT_FALSE(ws.PivotPickWaiting);
  MainMousePress(ws, true, 20, 165);  // x beyond the numbers
  EXPECT_FALSE(ws.PivotPickWaiting);
  MainMousePress(ws, true, 1, 165);
  EXPECT_TRUE(ws.PivotPickWaiting);
  EXPECT_EQ(ws.PivotPickRow, 2);
  EXPECT_TRUE(ws.PivotDataRows[2].InUse);
  EXPECT_EQ(ws.PivotDataRows[2].Index, 0.0f);
  EXPECT_EQ(ws.Pivots.H[19], invH(1));  // the same press moved point 1

  MainMousePress(ws, false, 397, 240);  // right presses do not pick
  EXPECT_TRUE(ws.PivotPickWaiting);
  MainMousePress(ws, true, 397, 240);
  EXPECT_FALSE(ws.PivotPickWaiting);
  EXPECT_EQ(ws.PivotDataRows[2].Index, 5.0f);
  EXPECT_EQ(ws.Pivots.H[19], invH(397));

  // Large font: row 1 is round(152 * 1.22) = 185 < y < round(161 * 1.22) = 196, x < 25.
  ws.TextScaleX = 1.27f;
  ws.TextScaleY = 1.22f;
  MainMousePress(ws, true, 25, 190);
  EXPECT_FALSE(ws.PivotPickWaiting);
  MainMousePress(ws, true, 24, 185);
  EXPECT_FALSE(ws.PivotPickWaiting);
  MainMousePress(ws, true, 24, 186);
  EXPECT_EQ(ws.PivotPickRow, 1);

  SetRefPointsMode(ws, false);  // the pivot data goes off with the reference points
  EXPECT_FALSE(ws.PivotDataMode);
}

TEST(ReferencePoints, BarsStepInThousandthsWithPagesOf25) {
  Workspace ws;
  for (int i = 0; i < 3; ++i) refBarClick(ws, Ref1HorzBar, 1);
  EXPECT_FLOAT_EQ(ws.Pivots.H[19], 0.003f);
  EXPECT_EQ(ws.RefBars[Ref1HorzBar].Last, 0);
  refBarClick(ws, Ref1HorzBar, 25);
  EXPECT_FLOAT_EQ(ws.Pivots.H[19], 0.028f);
  refBarClick(ws, Ref2VertBar, -25);  // both directions add the signed step
  refBarClick(ws, Ref2VertBar, -1);
  EXPECT_FLOAT_EQ(ws.Pivots.V[20], -0.026f);
  EXPECT_EQ(ws.Pivots.V[19], 0.0f);
  EXPECT_EQ(ws.Pivots.H[20], 0.0f);

  // After a drag to 40, a jump of 25 is still a page click forwards, while 10 is not a page on
  // these bars and counts as a drag back (p > 0, p < P).
  refBarClick(ws, Ref1VertBar, 40);
  EXPECT_FLOAT_EQ(ws.Pivots.V[19], 0.040f);
  refBarClick(ws, Ref1VertBar, 25);
  EXPECT_FLOAT_EQ(ws.Pivots.V[19], 0.065f);
  refBarClick(ws, Ref1VertBar, 40);
  refBarClick(ws, Ref1VertBar, 10);
  EXPECT_FLOAT_EQ(ws.Pivots.V[19], 0.095f);
  EXPECT_EQ(autoCentreCount(10, 0, 40), 10);  // the pan bars' page of 10 is unchanged

  ZeroRefPoint(ws, 1);
  EXPECT_EQ(ws.Pivots.V[19], 0.0f);
  EXPECT_EQ(ws.Pivots.H[19], 0.0f);
  EXPECT_FLOAT_EQ(ws.Pivots.V[20], -0.026f);
}

TEST(ReferencePoints, PanToPointCentresItAndGivesBarPositions) {
  Workspace ws;
  ws.ViewZoom = 40.0f;
  ws.Pivots.H[19] = 2.0f;
  ws.Pivots.V[19] = 1.0f;
  const PanBarPositions bars = PanToRefPoint(ws, 1);
  EXPECT_EQ(screenX(ws, 2.0), 320);
  EXPECT_EQ(screenY(ws, 1.0), 240);
  EXPECT_FLOAT_EQ(ws.ViewPanX, 240.0f);
  EXPECT_FLOAT_EQ(ws.ViewPanY, 280.0f);
  // -((240 - 320) * 28 / 40 + 320 - 115) * 100 / 115 = -129.57; (28 + 240 - 270) * 200 / 270 =
  // -1.48.
  EXPECT_EQ(bars.horz, roundHalfEven(-((240.0 - 320) * 28 / 40 + 320 - 115) * 100 / 115));
  EXPECT_EQ(bars.horz, -130);
  EXPECT_EQ(bars.vert, roundHalfEven(((280.0 - 240) * 28 / 40 + 240 - 270) * 200 / 270));
  EXPECT_EQ(bars.vert, -1);

  ws.ViewZoom = 0.0f;
  ws.Pivots.H[20] = std::numeric_limits<float>::quiet_NaN();
  const PanBarPositions held = PanToRefPoint(ws, 2);
  EXPECT_EQ(held.horz, 0);
  EXPECT_EQ(held.vert, 0);
}

TEST(ReferenceDrawing, CrossesAndPointTexts) {
  Workspace ws;
  RecordingCanvas off;
  drawReferencePoints(off, ws);
  EXPECT_TRUE(off.calls().empty());

  ws.RefPointsMode = true;
  ws.Pivots.H[19] = 2.0f;  // screen (171, 242)
  ws.Pivots.V[19] = 1.0f;
  ws.Pivots.H[20] = -1.0f;  // screen (87, 354)
  ws.Pivots.V[20] = -3.0f;
  RecordingCanvas c;
  drawReferencePoints(c, ws);
  ASSERT_EQ(c.lines(kRefPointColour).size(), 4u);
  EXPECT_TRUE(c.hasLine(161, 242, 181, 242));
  EXPECT_TRUE(c.hasLine(171, 232, 171, 252));
  EXPECT_TRUE(c.hasLine(77, 354, 97, 354));
  EXPECT_TRUE(c.hasLine(87, 344, 87, 364));
  const DrawCall* one = c.findText("1");
  ASSERT_NE(one, nullptr);
  EXPECT_EQ(one->x1, 174);
  EXPECT_EQ(one->y1, 225);
  ASSERT_NE(c.findText("2"), nullptr);
  EXPECT_EQ(c.findText("2")->x1, 90);
  EXPECT_EQ(c.findText("2")->y1, 337);

  struct Expect {
    const char* text;
    int x, y;
  };
  for (const Expect& e :
       {Expect{"Pt1V  1.000", 143, 71}, Expect{"Pt1H  2.000", 143, 83},
        Expect{"Pt2V -3.000", 143, 95}, Expect{"Pt2H -1.000", 143, 107}, Expect{" 4.000", 210, 71},
        Expect{" 3.000", 210, 83}, Expect{"Pt1-Pt2", 207, 95}, Expect{" 5.000", 209, 107}}) {
    const DrawCall* t = c.findText(e.text);
    ASSERT_NE(t, nullptr) << e.text;
    EXPECT_EQ(t->x1, e.x) << e.text;
    EXPECT_EQ(t->y1, e.y) << e.text;
  }

  ws.TextScaleX = 1.27f;
  ws.TextScaleY = 1.22f;
  c.reset();
  drawReferencePoints(c, ws);
  EXPECT_EQ(c.findText("Pt1V  1.000")->x1, roundHalfEven(143 * 1.27));
  EXPECT_EQ(c.findText("Pt1V  1.000")->y1, roundHalfEven(71 * 1.22));
  EXPECT_EQ(c.findText("1")->x1, 174);  // beside the point: not scaled
}

TEST(ReferenceDrawing, PivotDataRowsNumbersAndDistances) {
  Workspace ws;
  ws.PivotDataMode = true;
  ws.Pivots.V[5] = 1.0f;
  ws.Pivots.H[5] = 2.0f;  // screen (171, 242)
  ws.Pivots.V[7] = -2.0f;
  ws.Pivots.H[7] = 6.0f;
  ws.PivotDataRows[1] = {5.0f, true};
  ws.PivotDataRows[2] = {7.0f, true};
  ws.PivotDataRows[3] = {0.0f, true};  // clicked, never picked: the origin entry
  ws.PivotDataRows[5] = {std::numeric_limits<float>::quiet_NaN(), false};
  ws.PivotDataRows[6] = {1e30f, true};  // a value no pivot has
  const ScreenPoints pts = projectPivots(ws);
  RecordingCanvas c;
  drawPivotData(c, ws, pts);

  EXPECT_NE(c.findText("    Pivot Data"), nullptr);
  EXPECT_EQ(c.findText("No.  Vert     Horz")->y1, 138);
  int red = 0;
  for (const DrawCall& t : c.texts()) {
    if (t.colour == kPivotNumberColour && t.x1 == 3) {
      ++red;
      EXPECT_EQ(t.y1, 140 + 10 * std::stoi(t.text));
    }
  }
  EXPECT_EQ(red, 6);
  const std::vector<DrawCall> texts = c.texts();
  auto at = [&](int x, int y) -> const DrawCall* {
    for (const DrawCall& t : texts)
      if (t.x1 == x && t.y1 == y) return &t;
    return nullptr;
  };
  ASSERT_NE(at(12, 150), nullptr);
  EXPECT_EQ(at(12, 150)->text, "  1.000");
  EXPECT_EQ(at(12, 150)->colour, colour::Black);
  EXPECT_EQ(at(50, 150)->text, "  2.000");
  EXPECT_EQ(at(12, 160)->text, " -2.000");
  EXPECT_EQ(at(12, 170)->text, "  0.000");
  EXPECT_EQ(at(12, 180), nullptr);  // row 4 not in use
  const DrawCall* beside = at(171 + 4, 242 - 12);
  ASSERT_NE(beside, nullptr);
  EXPECT_EQ(beside->text, "1");
  EXPECT_EQ(beside->colour, kPivotNumberColour);
  EXPECT_EQ(at(90, 155)->text, fixedText(std::sqrt(3.0 * 3 + 4.0 * 4), 7, 3));
  EXPECT_EQ(at(90, 175), nullptr);  // row 4 not in use
  EXPECT_EQ(at(90, 195), nullptr);
}

TEST(RefPointsDialog, ShowsPointsAndAppliesOkZeroCancel) {
  Workspace ws;
  ws.Pivots.V[19] = -2.5f;
  ws.Pivots.H[19] = 12.25f;
  TRefPnts dlg(ws);
  dlg.show();
  EXPECT_EQ(dlg.Edit1->text(), "-2.500");
  EXPECT_EQ(dlg.Edit2->text(), "12.250");
  EXPECT_EQ(dlg.Edit3->text(), "0.000");

  dlg.Edit1->clear();
  QTest::keyClicks(dlg.Edit1, "1.2.3x-");
  EXPECT_EQ(dlg.Edit1->text(), "1.23-");

  // All four at 0: the mode comes on, no zero button is enabled.
  for (KeyFilterEdit* e : {dlg.Edit1, dlg.Edit2, dlg.Edit3, dlg.Edit4}) e->setText("0");
  QTest::mouseClick(dlg.OKButton, Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(ws.RefPointsMode);
  EXPECT_FALSE(dlg.Outcome.enableRef1Zero || dlg.Outcome.enableRef2Zero ||
               dlg.Outcome.disableZeros);
  EXPECT_EQ(ws.Pivots.V[19], 0.0f);

  dlg.show();
  dlg.Edit4->setText("-1.5");
  QTest::mouseClick(dlg.OKButton, Qt::LeftButton);
  EXPECT_FALSE(dlg.Outcome.enableRef1Zero);
  EXPECT_TRUE(dlg.Outcome.enableRef2Zero);
  EXPECT_EQ(ws.Pivots.H[20], -1.5f);

  ws.PivotDataMode = true;
  dlg.show();
  dlg.Edit1->setText("7");
  QTest::mouseClick(dlg.CancelButton, Qt::LeftButton);
  EXPECT_FALSE(ws.RefPointsMode);
  EXPECT_FALSE(ws.PivotDataMode);
  EXPECT_EQ(ws.Pivots.V[19], 0.0f);  // Cancel changes no value

  ws.RefPointsMode = true;
  dlg.show();
  QTest::mouseClick(dlg.ZeroButton, Qt::LeftButton);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_TRUE(dlg.Outcome.disableZeros);
  EXPECT_FALSE(ws.RefPointsMode);
  EXPECT_EQ(ws.Pivots.H[20], 0.0f);
}

TEST(RefPointsDialog, EnterNeitherTypesNorPressesAButton) {
  Workspace ws;
  ws.RefPointsMode = ws.PivotDataMode = true;
  TRefPnts dlg(ws);
  dlg.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
  ASSERT_EQ(QApplication::focusWidget(), dlg.CancelButton);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(dlg.CancelButton, key);
    QTest::keyClick(dlg.Edit1, key);
  }
  dlg.Edit2->clear();
  QTest::keyClicks(dlg.Edit2, "3\r4 ,e");
  EXPECT_EQ(dlg.Edit2->text(), "34");
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_TRUE(ws.RefPointsMode && ws.PivotDataMode);
  EXPECT_EQ(ws.Pivots.H[19], 0.0f);
  // The button with the focus still answers Space.
  QTest::keyClick(dlg.CancelButton, Qt::Key_Space);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_FALSE(ws.RefPointsMode || ws.PivotDataMode);
}

