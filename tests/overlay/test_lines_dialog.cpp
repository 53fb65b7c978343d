#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "recording_sound.h"
#include "lines_dialog.h"
#include "overlay.h"
#include "pivot_prompt_drawing.h"
#include "recording_canvas.h"

using namespace vek1;

namespace {

struct Fixture : ::testing::Test {
  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TDrawLines> dlg;
  void SetUp() override {
    // Reference point 1 at (H 1, V 2), point 2 at (H 4, V 6).
    ws.Pivots.H[19] = 1;
    ws.Pivots.V[19] = 2;
    ws.Pivots.H[20] = 4;
    ws.Pivots.V[20] = 6;
    dlg = std::make_unique<TDrawLines>(ws, sound);
    dlg->show();
  }
  void choose(int type, int colour, int ref) {
    dlg->typeButton(type)->click();
    dlg->colourButton(colour)->click();
    dlg->refButton(ref)->click();
  }
  QString text(int row, int n) { return dlg->edit(row, n)->text(); }
};

}  // namespace

TEST(OverlayModel, ClampNearestTextsAndColours) {
  EXPECT_EQ(clampOverlayItem(0), 1);
  EXPECT_EQ(clampOverlayItem(-7), 1);
  EXPECT_EQ(clampOverlayItem(21), 20);
  EXPECT_EQ(clampOverlayItem(9), 9);
  PivotTable p;
  for (int i = 0; i < kPivotCount; ++i) p.H[i] = p.V[i] = 100.0f + i;
  p.H[19] = 5;
  p.V[19] = 5;
  p.H[20] = 5;  // the reference points never count
  p.V[20] = 5;
  p.H[7] = p.H[4] = 6;  // equal sums: the lower index wins
  p.V[7] = p.V[4] = 5;
  EXPECT_EQ(nearestOverlayPivot(p, 19), 4);
  p.H[0] = p.V[0] = 5;  // point 0 is outside the search
  EXPECT_EQ(nearestOverlayPivot(p, 19), 4);
  p.H[4] = p.H[7] = 1e6f;
  for (int i = 1; i < kPivotCount; ++i) p.H[i] = i == 19 || i == 20 ? 5 : 1e6f;
  EXPECT_EQ(nearestOverlayPivot(p, 19), 1);  // nothing within the bound
  EXPECT_EQ(overlayNumberText(5), "  5.000");
  EXPECT_EQ(overlayNumberText(123456789.0).size(), 10u);
  EXPECT_FLOAT_EQ(overlayStoredRounded(1.23456), 1.235f);
  EXPECT_EQ(*overlayColourText(8421504), "Gray");
  EXPECT_FALSE(overlayColourText(7).has_value());
  EXPECT_EQ(*overlayRefText(3), "Piv1/P2");
  EXPECT_EQ(*overlayRefText(0), "0 , 0");
  EXPECT_FALSE(overlayRefText(4).has_value());
  EXPECT_EQ(*overlayTypeText(1), "Circle");
  EXPECT_FALSE(overlayTypeText(-1).has_value());
}

TEST(OverlayModel, CommitModesAndClear) {
  Workspace ws;
  OverlayItem& it = ws.Overlay[3];
  it = {10, 20, 30, 40, 1, 2, 3, 4, 0, 0, 3, 5, 6};  // H1 V1 H2 V2, snaps P1H P1V P2H P2V
  auto t = CommitItemGeometry(ws, 3, kOverlayLine, 3, false, 0, 0);
  EXPECT_FLOAT_EQ(it.Line1Vert, 18);
  EXPECT_FLOAT_EQ(it.Line1Horz, 9);
  EXPECT_FLOAT_EQ(it.Line2Vert, 36);
  EXPECT_FLOAT_EQ(it.Line2Horz, 27);
  EXPECT_EQ(t[3], " 27.000");
  it = {10, 20, 30, 40, 1, 2, 3, 4, 1, 0, 1, 5, 6};
  t = CommitItemGeometry(ws, 3, kOverlayCircle, 1, false, 27, 36);  // radius from ref 1 snapshot
  EXPECT_FLOAT_EQ(it.Line1Vert, 18);
  EXPECT_FLOAT_EQ(it.Line2Horz, 5);
  EXPECT_EQ(t[2], "");
  t = CommitItemGeometry(ws, 3, kOverlayLine, 0, true, 0, 0);
  EXPECT_EQ(t[0], "");
  EXPECT_FLOAT_EQ(it.Line1Vert, 0);
  EXPECT_FLOAT_EQ(it.Piv2SnapV, 0);
  ClearOverlayItem(ws, 99);  // out of range goes to item 20, never past the table
  EXPECT_FLOAT_EQ(ws.Overlay[20].ItemType, -1);
}

TEST_F(Fixture, FixedLineAndCircleFromTheReferencePoints) {
  EXPECT_FALSE(dlg->drawBut()->isEnabled());
  choose(kOverlayLine, 0, 0);
  EXPECT_TRUE(dlg->drawBut()->isEnabled());
  EXPECT_EQ(dlg->refLabel(1)->text(), "0 , 0");
  dlg->drawBut()->click();
  const OverlayItem& a = ws.Overlay[1];
  EXPECT_FLOAT_EQ(a.Line1Vert, 2);
  EXPECT_FLOAT_EQ(a.Line1Horz, 1);
  EXPECT_FLOAT_EQ(a.Line2Vert, 6);
  EXPECT_FLOAT_EQ(a.Line2Horz, 4);
  EXPECT_FLOAT_EQ(a.ItemType, 0);
  EXPECT_FLOAT_EQ(a.ItemColour, 0);
  EXPECT_EQ(ws.CurrentOverlayItem, 2);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(ws.OverlayTypeChoice, -1);
  dlg->show();
  choose(kOverlayCircle, 4, 0);
  dlg->drawBut()->click();
  EXPECT_FLOAT_EQ(ws.Overlay[2].Line2Horz, 5);
  EXPECT_FLOAT_EQ(ws.Overlay[2].ItemColour, 16711680);
  EXPECT_EQ(text(2, 4).trimmed(), "5.000");
  EXPECT_TRUE(text(2, 3).isEmpty());
  EXPECT_EQ(sound.beeps(), 0);
}

TEST_F(Fixture, RefusalsBeep) {
  dlg->colourButton(1)->click();  // colour before type
  EXPECT_EQ(sound.beeps(), 1);
  EXPECT_FALSE(dlg->colourButton(1)->isChecked());
  EXPECT_EQ(ws.OverlayColourChoice, -1);
  dlg->typeButton(0)->click();
  dlg->refButton(0)->click();  // reference before colour
  EXPECT_EQ(sound.beeps(), 2);
  EXPECT_FALSE(dlg->refButton(0)->isChecked());

  // A circle cannot be carried by "Piv1/0,0": the row empties.
  dlg->edit(1, 1)->setText("3");
  dlg->typeButton(kOverlayCircle)->click();
  dlg->colourButton(2)->click();
  dlg->refButton(2)->click();
  EXPECT_EQ(sound.beeps(), 3);
  EXPECT_TRUE(dlg->typeLabel(1)->text().isEmpty());
  EXPECT_TRUE(dlg->colourLabel(1)->text().isEmpty());
  EXPECT_TRUE(text(1, 1).isEmpty());
  EXPECT_FLOAT_EQ(ws.Overlay[1].ItemType, -1);
  EXPECT_FLOAT_EQ(ws.Overlay[1].Line1Vert, 0);
  EXPECT_FALSE(ws.PivotSelectPending);
  EXPECT_FALSE(dlg->drawBut()->isEnabled());

  // Draw Close on row 20 stays there.
  ws.CurrentOverlayItem = 20;
  choose(kOverlayLine, 3, 0);
  dlg->drawBut()->click();
  EXPECT_EQ(ws.CurrentOverlayItem, 20);
  EXPECT_EQ(sound.beeps(), 4);
  EXPECT_FLOAT_EQ(ws.Overlay[20].ItemColour, 65535);

  // No reference point placed: the type choice closes the dialog.
  dlg->show();
  ws.Pivots.H[19] = ws.Pivots.V[19] = ws.Pivots.H[20] = ws.Pivots.V[20] = 0;
  dlg->typeButton(0)->click();
  EXPECT_EQ(sound.beeps(), 5);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(ws.OverlayTypeChoice, -1);
}

TEST_F(Fixture, RowLabelAndKeys) {
  choose(kOverlayLine, 0, 0);
  QTest::mouseClick(dlg->numberLabel(7), Qt::LeftButton);
  EXPECT_EQ(ws.CurrentOverlayItem, 7);
  EXPECT_EQ(dlg->rowPanel(7)->palette().color(QPalette::Window), QColor(0, 255, 255));
  EXPECT_EQ(dlg->rowPanel(1)->palette().color(QPalette::Window), QColor(Qt::white));
  EXPECT_EQ(ws.OverlayTypeChoice, -1);
  EXPECT_EQ(ws.OverlayRefChoice, -1);
  EXPECT_FALSE(dlg->typeButton(0)->isChecked());
  EXPECT_FALSE(dlg->drawBut()->isEnabled());

  KeyFilterEdit* e = dlg->edit(7, 2);
  e->setFocus();
  QTest::keyClicks(e, "-1.5-.x2");
  EXPECT_EQ(e->text(), "-1.52");
  QTest::keyClick(e, Qt::Key_Return);
  EXPECT_EQ(e->text(), "-1.52");
  EXPECT_FALSE(dlg->drawBut()->isEnabled());
  dlg->edit(7, 3)->setFocus();  // commit on leaving, into row 7 whatever is current
  ws.CurrentOverlayItem = 2;
  e->setText("-1.52");
  emit e->focusLost();
  EXPECT_FLOAT_EQ(ws.Overlay[7].Line1Horz, -1.52f);

  dlg->typeLabel(7)->setText("Circle");
  KeyFilterEdit* third = dlg->edit(7, 3);
  third->setText("4");
  QTest::keyClicks(third, "12");
  QTest::keyClick(third, Qt::Key_Backspace);
  EXPECT_EQ(third->text(), "4");
}

TEST_F(Fixture, PivotModeClosesAndActivationCaptures) {
  for (int i = 1; i <= 18; ++i) ws.Pivots.H[i] = ws.Pivots.V[i] = 50;
  ws.Pivots.H[19] = 1;
  ws.Pivots.V[19] = 2;
  ws.Pivots.H[3] = 1.5f;  // nearest to reference point 1
  ws.Pivots.V[3] = 2.5f;
  ws.CurrentOverlayItem = 1;
  choose(kOverlayLine, 1, 1);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_TRUE(ws.PivotSelectPending);
  EXPECT_EQ(ws.CurrentOverlayItem, 0);
  EXPECT_EQ(ws.OverlayRefChoice, 1);
  dlg->show();  // the main view reopens it after the pick
  EXPECT_EQ(ws.CurrentOverlayItem, 1);
  EXPECT_FLOAT_EQ(ws.Overlay[1].Piv1Index, 3);
  EXPECT_FLOAT_EQ(ws.Overlay[1].Piv1SnapH, 1.5f);
  dlg->drawBut()->click();
  EXPECT_FLOAT_EQ(ws.Overlay[1].Line1Horz, -0.5f);  // offsets from the pivot
  EXPECT_FLOAT_EQ(ws.Overlay[1].Line2Vert, 3.5f);
  EXPECT_FALSE(ws.PivotSelectPending);
  EXPECT_EQ(ws.CurrentOverlayItem, 2);

  // A damaged current item is brought into range before use.
  ws.CurrentOverlayItem = 500;
  dlg->HighlightCurrentItem();
  EXPECT_EQ(ws.CurrentOverlayItem, 20);
}

TEST_F(Fixture, RefillAndClose) {
  ws.Overlay[5] = {1, 2, 3, 4, 0, 0, 0, 0, 1, 255, 1, 3, 0};
  ws.Overlay[6].ItemColour = 9;  // names no colour: the text is left
  dlg->colourLabel(6)->setText("kept");
  dlg->edit(6, 1)->setText("9");
  dlg->LinesDataClick();
  EXPECT_EQ(text(5, 1).trimmed(), "2.000");
  EXPECT_EQ(text(5, 4).trimmed(), "3.000");
  EXPECT_EQ(dlg->typeLabel(5)->text(), "Circle");
  EXPECT_EQ(dlg->colourLabel(5)->text(), "Red");
  EXPECT_EQ(dlg->refLabel(5)->text(), "Pivot1");
  EXPECT_EQ(dlg->colourLabel(6)->text(), "kept");
  EXPECT_TRUE(text(6, 1).isEmpty());

  choose(kOverlayLine, 0, 0);
  ws.PivotSelectPending = true;
  dlg->closeBut()->click();
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_FALSE(ws.PivotSelectPending);
  EXPECT_TRUE(dlg->drawBut()->isEnabled());  // keeps its state
  EXPECT_EQ(ws.OverlayTypeChoice, -1);
}

TEST_F(Fixture, OpeningAFileClearsEveryRowLabelBeforeTheRefill) {
  // Row 4 shows "Circle" from a definition the opened set does not hold.
  dlg->typeLabel(4)->setText("Circle");
  dlg->colourLabel(4)->setText("Green");
  dlg->refLabel(4)->setText("Pivot1");
  ws.Overlay[7] = {1, 2, 3, 4, 0, 0, 0, 0, 0, 0, 0, 3, 0};  // a black fixed line
  dlg->DimensionFileOpened();
  for (QLabel* l : {dlg->typeLabel(4), dlg->colourLabel(4), dlg->refLabel(4)})
    EXPECT_TRUE(l->text().isEmpty()) << l->text().toStdString();
  // The empty row's third field takes keys again.
  dlg->edit(4, 3)->setFocus();
  QTest::keyClicks(dlg->edit(4, 3), "1.5");
  EXPECT_EQ(text(4, 3), "1.5");
  EXPECT_EQ(dlg->typeLabel(7)->text(), "Line");
  EXPECT_EQ(dlg->colourLabel(7)->text(), "Black");
  EXPECT_EQ(dlg->refLabel(7)->text(), "0 , 0");
}

TEST_F(Fixture, EscapeAndTheCloseBoxDisarmTheChoicesAsCloseDoes) {
  for (const bool byEscape : {true, false}) {
    dlg->show();
    choose(kOverlayLine, 0, 0);
    ws.PivotSelectPending = true;
    if (byEscape) {
      QTest::keyClick(dlg.get(), Qt::Key_Escape);
    } else {
      dlg->close();
    }
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_EQ(ws.OverlayTypeChoice, -1);
    EXPECT_EQ(ws.OverlayColourChoice, -1);
    EXPECT_EQ(ws.OverlayRefChoice, -1);
    EXPECT_FALSE(ws.PivotSelectPending);
    EXPECT_FALSE(dlg->typeButton(kOverlayLine)->isChecked());
  }
  // Closing to let the user pick a pivot keeps them.
  dlg->show();
  choose(kOverlayLine, 2, 1);
  EXPECT_FALSE(dlg->isVisible());
  EXPECT_EQ(ws.OverlayRefChoice, 1);
  EXPECT_EQ(ws.OverlayColourChoice, 2);
  EXPECT_TRUE(ws.PivotSelectPending);
}

TEST_F(Fixture, ButtonsTakeClicksOverTheirWholeFace) {
  for (QPushButton* b : {dlg->closeBut(), dlg->clearLineBut()}) {
    const QRect face = b->geometry().adjusted(2, 2, -2, -2);
    for (int x = face.left(); x <= face.right(); x += 3)
      for (int y = face.top(); y <= face.bottom(); y += 3) {
        QWidget* hit = dlg->childAt(x, y);
        ASSERT_TRUE(hit == b || b->isAncestorOf(hit))
            << b->text().toStdString() << " at " << x << "," << y << ": "
            << (hit ? hit->metaObject()->className() : "nothing");
      }
  }
  // A real click in the middle of Close closes.
  dlg->drawBut()->setEnabled(false);
  QTest::mouseClick(dlg->closeBut(), Qt::LeftButton, {}, dlg->closeBut()->rect().center());
  EXPECT_FALSE(dlg->isVisible());
}

TEST(PivotPrompt, TextsByReferenceChoice) {
  Workspace ws;
  RecordingCanvas canvas;
  drawPivotSelectPrompt(canvas, ws);
  EXPECT_TRUE(canvas.texts().empty());
  ws.PivotSelectPending = true;
  ws.OverlayRefChoice = 2;
  ws.TextScaleX = ws.TextScaleY = 2;
  drawPivotSelectPrompt(canvas, ws);
  const DrawCall* first = canvas.findText("STOP MOTION AND SELECT PIVOT 1");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->x1, 20);
  EXPECT_EQ(first->y1, 260);
  EXPECT_TRUE(first->fontStyle.bold);
  EXPECT_EQ(first->colour, (Rgb{255, 0, 0}));
  ASSERT_NE(canvas.findText("MOVE MOTION IF NECESSARY TO CLEAR PIVOT"), nullptr);
  EXPECT_EQ(canvas.findText("USE LEFT MOUSE BUTTON")->y1, 286);
  canvas.reset();
  ws.OverlayRefChoice = 3;
  drawPivotSelectPrompt(canvas, ws);
  EXPECT_EQ(canvas.textStrings(),
            (std::vector<std::string>{"STOP MOTION AND SELECT PIVOT 1 AND PIVOT 2",
                                      "USE LEFT MOUSE BUTTON FIRST THEN RIGHT",
                                      "MOVE MOTION IF NECESSARY TO CLEAR PIVOTS"}));
}
