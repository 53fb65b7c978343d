// The reverse-arm positions: the clamping and tidying rules of the model, the dialog driven through
// its real fields, and the texts it paints.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "rev_arm_positions.h"
#include "set_rev_arm_dialog.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

// Centre 0.2 with Norm 1.6 and Max 1.8: positions run from -1.6 to 2.0.
Workspace gearWorkspace() {
  Workspace ws;
  ws.Frame[dim::RevArmToCentNorm] = 1.6f;
  ws.Frame[dim::RevArmToCentMax] = 1.8f;
  ws.RevArmPositions = {0.2f, 0.2f, 1.8f, -1.4f, 1.0f, -0.5f, 0, 0, 0, 0};
  return ws;
}

TEST(RevArmPositions, CommitsKeepPositionOneSetAndTheScaleAboveATenth) {
  Workspace ws = gearWorkspace();
  CommitRevArmPosition(ws, 4, "-");
  EXPECT_EQ(ws.RevArmPositions[4], 0.0f);  // empty, not clamped to the low limit
  for (const char* text : {"0", "", "abc"}) {
    CommitRevArmPosition(ws, 1, text);
    EXPECT_EQ(ws.RevArmPositions[1], 0.001f) << text;
  }
  // With the whole range above zero, the stand-in for an empty position 1 is clamped into it too.
  ws.RevArmPositions[0] = 2.0f;
  CommitRevArmPosition(ws, 1, "0");
  EXPECT_FLOAT_EQ(ws.RevArmPositions[1], 0.2f);

  for (const char* text : {"-3", "-", "1e-9"}) {
    CommitVerticalScale(ws, text);
    EXPECT_EQ(ws.VerticalScale, 0.1f) << text;
  }
}

TEST(RevArmPositions, RefreshEndsTheListAtTheFirstEmptyPosition) {
  Workspace ws = gearWorkspace();
  ws.RevArmPositions[3] = 0.0f;
  ws.RevArmPositions[8] = 1.5f;
  const RevArmRowsShown rows = RefreshPositions(ws);
  EXPECT_EQ(ws.RevArmPosCount, 2);
  for (int k = 4; k <= 9; ++k) EXPECT_EQ(ws.RevArmPositions[k], 0.0f) << k;
  for (int k = 1; k <= 9; ++k) EXPECT_EQ(rows.shown(k), k <= 3) << k;

  ws.RevArmPositions.fill(1.0f);
  EXPECT_EQ(RefreshPositions(ws).shown(9), true);
  EXPECT_EQ(ws.RevArmPosCount, 9);

  // An empty position 1 leaves the count as it was.
  ws.RevArmPositions[1] = 0.0f;
  EXPECT_EQ(RefreshPositions(ws).shown(2), false);
  EXPECT_EQ(ws.RevArmPosCount, 9);
}

class SetRevArmDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog = std::make_unique<TSetRevArm>(ws);
    open();
  }
  void open() {
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    if (!dialog->isActiveWindow()) QApplication::setActiveWindow(dialog.get());
  }
  // Clicks into the field, empties it and types `text`, then leaves it for Close.
  void enter(int n, const QString& text) {
    KeyFilterEdit* e = dialog->edit(n);
    QTest::mouseClick(e, Qt::LeftButton);
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Backspace);
    QTest::keyClicks(e, text);
    dialog->Close1->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }

  Workspace ws = gearWorkspace();
  std::unique_ptr<TSetRevArm> dialog;
};

TEST_F(SetRevArmDialog, OpensRefreshedWithTheFocusOnClose) {
  EXPECT_EQ(QApplication::focusWidget(), dialog->Close1);
  EXPECT_EQ(ws.RevArmPosCount, 5);
  EXPECT_EQ(dialog->edit(3)->text(), "-1.400");
  EXPECT_EQ(dialog->edit(6)->text(), "0.000");
  EXPECT_EQ(dialog->edit(10)->text(), "1.500");
  EXPECT_TRUE(dialog->edit(6)->isVisible());
  EXPECT_FALSE(dialog->edit(7)->isVisible());
}

TEST_F(SetRevArmDialog, AZeroEndsTheListAtTheNextRefreshAndClosingAsksForARepaint) {
  enter(3, "0");
  EXPECT_EQ(ws.RevArmPositions[3], 0.0f);
  EXPECT_FALSE(ws.RepaintPending);
  dialog->Close1Click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(ws.RepaintPending);
  EXPECT_EQ(ws.RevArmPosCount, 2);
  for (int k = 4; k <= 9; ++k) {
    EXPECT_EQ(ws.RevArmPositions[k], 0.0f) << k;
    EXPECT_TRUE(dialog->edit(k)->isHidden()) << k;
  }
  EXPECT_FALSE(dialog->edit(3)->isHidden());
  EXPECT_EQ(dialog->edit(3)->text(), "0.000");

  // Escape and the close box close it the same way.
  ws.RepaintPending = false;
  open();
  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(ws.RepaintPending);
}

TEST_F(SetRevArmDialog, FieldsTakeOnlyNumberKeysAndClampWhatTheyStore) {
  enter(2, "5x.0");
  EXPECT_EQ(dialog->edit(2)->text(), "5.0");
  EXPECT_FLOAT_EQ(ws.RevArmPositions[2], 2.0f);
  enter(2, "--5..0a");
  EXPECT_EQ(dialog->edit(2)->text(), "-5.0");
  EXPECT_FLOAT_EQ(ws.RevArmPositions[2], -1.6f);

  QTest::keyClick(dialog->edit(2), Qt::Key_Return);  // Enter is dropped too
  EXPECT_TRUE(dialog->isVisible());

  enter(1, "-");
  EXPECT_EQ(ws.RevArmPositions[1], 0.001f);
  enter(10, "0.05");
  EXPECT_EQ(ws.VerticalScale, 0.1f);
}

TEST_F(SetRevArmDialog, AnyKeyInTheLastRowShownOpensTheNext) {
  ASSERT_TRUE(dialog->edit(7)->isHidden());
  QTest::keyClick(dialog->edit(6), Qt::Key_Q);
  EXPECT_EQ(dialog->edit(6)->text(), "0.000");
  EXPECT_FALSE(dialog->edit(7)->isHidden());
  EXPECT_TRUE(dialog->rowsShown().shown(7));
  EXPECT_TRUE(dialog->edit(8)->isHidden());

  // The next refresh takes back a row opened over an empty position.
  dialog->Close1Click();
  EXPECT_TRUE(dialog->edit(7)->isHidden());
  EXPECT_FALSE(dialog->rowsShown().shown(7));
}

TEST(RevArmPositionsTexts, HeaderAndLabelsAtTheirScaledPlaces) {
  Workspace ws = gearWorkspace();
  RevArmRowsShown rows;
  rows.Visible = {false, true, true, true, false, false, false, false, false, false};
  RecordingCanvas canvas;
  drawRevArmPositionsTexts(canvas, ws, rows);
  const auto at = [&](const char* text) {
    const DrawCall* call = canvas.findText(text);
    return call ? std::pair(call->x1, call->y1) : std::pair(-1, -1);
  };
  EXPECT_EQ(at("Min -1.600"), std::pair(10, 4));
  EXPECT_EQ(at("Rev -1.400"), std::pair(75, 4));
  EXPECT_EQ(at("Cent 0.200"), std::pair(140, 4));
  EXPECT_EQ(at("Fwd 1.800"), std::pair(205, 4));
  EXPECT_EQ(at("Max 2.000"), std::pair(270, 4));
  EXPECT_EQ(at("Vertical Scale"), std::pair(13, 25));
  EXPECT_EQ(at("Max of 9 Positions"), std::pair(13, 98));
  EXPECT_EQ(at("Rev Arm Position  1"), std::pair(13, 38));
  EXPECT_EQ(at("Rev Arm Position  3"), std::pair(13, 64));
  EXPECT_EQ(canvas.findTextContaining("Position  4"), nullptr);
  EXPECT_EQ(canvas.texts().front().colour, colour::Black);

  // Large fonts spread the texts; the header keeps its line. Long values are cut, "Cent" one
  // character later than the others.
  ws.TextScaleX = 1.27f;
  ws.TextScaleY = 1.22f;
  ws.RevArmPositions[0] = 1234567.0f;
  rows.Visible.fill(true);
  canvas.reset();
  drawRevArmPositionsTexts(canvas, ws, rows);
  EXPECT_EQ(at("Min 1234565.20"), std::pair(13, 4));
  EXPECT_EQ(at("Rev 1234565.40"), std::pair(95, 4));
  EXPECT_EQ(at("Cent 1234567.00"), std::pair(178, 4));
  EXPECT_EQ(at("Fwd 1234568.60"), std::pair(260, 4));
  EXPECT_EQ(at("Max 1234568.80"), std::pair(343, 4));
  EXPECT_EQ(at("Max of 9 Positions"), std::pair(17, 120));
  EXPECT_EQ(at("Rev Arm Position  2"), std::pair(17, 62));
  EXPECT_EQ(at("Rev Arm Position  5"), std::pair(210, 31));
  EXPECT_EQ(at("Rev Arm Position  9"), std::pair(210, 94));
}

}  // namespace
}  // namespace vek1
