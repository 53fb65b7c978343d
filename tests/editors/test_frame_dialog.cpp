// The frame dialog driven through its real fields and buttons: what leaving a field commits,
// which keys a field takes, the reverse-arm limits, the two ways the reset button acts, Close,
// the show-position buttons, the tab order and the refill on opening.
#include <QClipboard>
#include <functional>
#include <utility>
#include <vector>

#include "dialog_test.h"
#include "dimensions.h"
#include "dynvar.h"
#include "frame_dialog.h"
#include "main_view_links.h"

namespace vek1 {
namespace {

using namespace std::string_literals;

class FrameDialog : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    dialog = std::make_unique<TFrameDi>(ws);
    linkToMainView(*form, *dialog);
    open(*dialog);
  }
  std::unique_ptr<TFrameDi> dialog;
};

TEST_F(FrameDialog, OpensWithTheFocusOnCloseAndEveryFieldRefilled) {
  EXPECT_EQ(focused(), dialog->Close1);
  EXPECT_EQ(dialog->edit(1)->text(), "7.000");
  EXPECT_EQ(dialog->edit(14)->text(), "-1.677");
  EXPECT_EQ(dialog->edit(18)->text(), "1.800");

  focusTo(dialog->edit(2));
  ws.Frame[dim::RadiusRod] = 5.25f;
  dialog->hide();
  open(*dialog);
  EXPECT_EQ(dialog->edit(5)->text(), "5.250");
  EXPECT_EQ(focused(), dialog->Close1);
}

TEST_F(FrameDialog, LeavingAGreyFieldSelectsItsDimensionAndRecordsOnlyTypedChanges) {
  QTest::mouseClick(dialog->edit(5), Qt::LeftButton);
  QTest::mouseClick(dialog->edit(6), Qt::LeftButton);
  EXPECT_EQ(ws.DynVarList[1].Id, dim::RadiusRod);
  EXPECT_EQ(ws.DynVarList[1].Name, "Radius Rod");
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_EQ(ws.UndoButtonEnabled, kNoUndoButtons);

  // Typed, then Enter: stored, recorded, the focus parked on Close and the dialog still open.
  retype(dialog->edit(5), "5.5");
  QTest::keyClick(dialog->edit(5), Qt::Key_Return);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.5f);
  EXPECT_EQ(newestUndo(), std::make_tuple(5, 5.0f, 5.5f, "Radius Rod"s));
  EXPECT_EQ(ws.UndoButtonEnabled, kAllUndoButtons);
  EXPECT_EQ(focused(), dialog->Close1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->edit(5)->text(), "5.5");

  // Passing through a field leaves the history and the undo buttons as they were.
  QTest::mouseClick(dialog->edit(2), Qt::LeftButton);
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.DynVarList[1].Id, dim::Stroke);
  EXPECT_EQ(ws.UndoCount, 1);
  EXPECT_EQ(ws.UndoButtonEnabled, kAllUndoButtons);

  // Enter alone changes no text, so nothing is stored or recorded, but the dimension is picked.
  QTest::mouseClick(dialog->edit(1), Qt::LeftButton);
  QTest::keyClick(dialog->edit(1), Qt::Key_Enter);
  EXPECT_EQ(ws.DynVarList[1].Id, dim::DriverDia);
  EXPECT_EQ(ws.UndoCount, 1);
  EXPECT_EQ(newestUndo(), std::make_tuple(5, 5.0f, 5.5f, "Radius Rod"s));
}

TEST_F(FrameDialog, PassingThroughAFieldKeepsDigitsTheFieldCannotShow) {
  // An inch user's 64ths and a value longer than the field's ten characters.
  ws.Frame[dim::RadiusRod] = 5.0625f;
  ws.Frame[dim::LinkRadius] = 3e38f;
  ws.Frame[dim::RevArmToCentNorm] = 1.0625f;
  dialog->hide();
  open(*dialog);
  for (int n : {5, 6, 17}) {
    QTest::mouseClick(dialog->edit(n), Qt::LeftButton);
    QTest::keyClick(dialog->edit(n), Qt::Key_Return);
  }
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.0625f);
  EXPECT_EQ(ws.Frame[dim::LinkRadius], 3e38f);
  EXPECT_EQ(ws.Frame[dim::RevArmToCentNorm], 1.0625f);
  EXPECT_EQ(ws.DynVarList[1].Id, dim::LinkRadius);
  EXPECT_EQ(ws.DynVarList[1].Value, 3e38f);
  EXPECT_EQ(ws.DynVarList[2].Value, 5.0625f);
  EXPECT_EQ(ws.UndoCount, 0);

  // A text typed over what was shown is stored, with the whole old value in its undo entry.
  retype(dialog->edit(5), "5.06");
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.06f);
  EXPECT_EQ(newestUndo(), std::make_tuple(5, 5.0625f, 5.06f, "Radius Rod"s));
}

TEST_F(FrameDialog, EveryWayOfChangingTheTextCanBeUndone) {
  // Each gesture changes the text without a key the field filter sees; each goes to its own
  // field so that every undo entry has a different old value.
  using Gesture = std::function<void(KeyFilterEdit*)>;
  const std::vector<std::tuple<int, Gesture, float>> gestures{
      {2,
       [](KeyFilterEdit* e) {
         e->home(false);
         QTest::keyClick(e, Qt::Key_Delete);
       },
       0.0f},
      {3,
       [](KeyFilterEdit* e) {
         e->selectAll();
         QTest::keyClick(e, Qt::Key_Delete);
       },
       0.0f},
      {4,
       [](KeyFilterEdit* e) {
         e->selectAll();
         QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
       },
       0.0f},
      {5,
       [](KeyFilterEdit* e) {
         QApplication::clipboard()->setText("2.25");
         e->selectAll();
         QTest::keyClick(e, Qt::Key_V, Qt::ControlModifier);
       },
       2.25f},
  };
  int count = 0;
  for (const auto& [id, gesture, value] : gestures) {
    QTest::mouseClick(dialog->edit(id), Qt::LeftButton);
    const float before = ws.Frame[id];
    ASSERT_NE(before, value);
    gesture(dialog->edit(id));
    focusTo(dialog->Close1);
    EXPECT_EQ(ws.Frame[id], value) << id;
    EXPECT_EQ(ws.UndoCount, ++count) << id;
    EXPECT_EQ(std::get<0>(newestUndo()), id);
    EXPECT_EQ(std::get<1>(newestUndo()), before);
  }
  // And the history takes them back, newest first.
  UndoPop(ws);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.0f);
  UndoPop(ws);
  EXPECT_EQ(ws.Frame[dim::MainRodPistonEnd], 2.793f);
}

TEST_F(FrameDialog, FieldsTakeOneSignOnePointAndDigitsOnly) {
  KeyFilterEdit* edit = dialog->edit(3);
  retype(edit, "-1.2.3-");
  QTest::keyClicks(edit, "a 4,x");
  EXPECT_EQ(edit->text(), "-1.234");
  // The point is refused even when the text holding one is selected to be typed over.
  edit->selectAll();
  QTest::keyClicks(edit, ".5");
  EXPECT_EQ(edit->text(), "5");

  retype(edit, "");
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Frame[dim::MainRodCrankEnd], 0.0f);
}

TEST_F(FrameDialog, PivotDimensionsMoveTheirWorkingCopies) {
  retype(dialog->edit(8), "6.5");
  retype(dialog->edit(15), "9.5");
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Pivots.H[5], 6.5f);
  EXPECT_EQ(ws.Pivots.H[6], 6.5f);
  EXPECT_EQ(ws.Pivots.H[12], 9.5f);
  EXPECT_EQ(ws.Pivots.H[13], 9.5f);
}

class RevArmLimits : public FrameDialog {
 protected:
  // A centre far enough from 0 that an empty diagram position (0.0) lies outside centre +- Norm.
  static constexpr float kCentre = 3.0f;
  void SetUp() override {
    FrameDialog::SetUp();
    ws.RevArmPositions = {kCentre, 0.0f, kCentre + 2.5f, kCentre - 2.5f, kCentre + 0.5f};
  }
  static float low(float norm) { return static_cast<float>(double{kCentre} - norm); }
  static float high(float norm) { return static_cast<float>(double{kCentre} + norm); }
};

TEST_F(RevArmLimits, NormAboveMaxIsCutToMaxAndPullsInOnlyTheSetPositions) {
  retype(dialog->edit(17), "2.0");
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Frame[dim::RevArmToCentNorm], 1.8f);
  EXPECT_EQ(ws.RevArmPositions[2], high(1.8f));
  EXPECT_EQ(ws.RevArmPositions[3], low(1.8f));
  EXPECT_EQ(ws.RevArmPositions[4], kCentre + 0.5f);
  EXPECT_EQ(ws.RevArmPositions[1], 0.0f);
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_EQ(ws.DynVarList[1].Id, 0);
  // The field shows what was typed until the dialog is opened again.
  EXPECT_EQ(dialog->edit(17)->text(), "2.0");
  dialog->hide();
  open(*dialog);
  EXPECT_EQ(dialog->edit(17)->text(), "1.800");
}

TEST_F(RevArmLimits, MaxBelowNormIsRaisedToNormAndClampsEveryPositionAndTheBar) {
  retype(dialog->edit(18), "1.0");
  // Typing in a white field marks no change: leaving a grey one next records nothing.
  QTest::mouseClick(dialog->edit(2), Qt::LeftButton);
  focusTo(dialog->Close1);
  EXPECT_EQ(ws.Frame[dim::RevArmToCentMax], 1.6f);
  for (int i = 1; i <= 9; ++i) {
    EXPECT_GE(ws.RevArmPositions[i], low(1.6f)) << i;
    EXPECT_LE(ws.RevArmPositions[i], high(1.6f)) << i;
  }
  EXPECT_EQ(ws.RevArmPositions[1], low(1.6f));  // was empty
  EXPECT_EQ(form->motionStrip->SBRevArm->minimum(), -1600);
  EXPECT_EQ(form->motionStrip->SBRevArm->maximum(), 1600);
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_EQ(ws.UndoButtonEnabled, kNoUndoButtons);
}

TEST_F(FrameDialog, ResetPressResetsAndOnlyAClickOverTheButtonClearsTheHistory) {
  retype(dialog->edit(5), "5.5");
  retype(dialog->edit(18), "2.5");
  focusTo(dialog->Close1);
  ASSERT_EQ(form->motionStrip->SBRevArm->maximum(), 2500);

  // The press alone resets, before the button is released elsewhere.
  QTest::mousePress(dialog->ResetFrame, Qt::LeftButton);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.0f);
  EXPECT_EQ(dialog->edit(18)->text(), "1.800");
  EXPECT_EQ(form->motionStrip->SBRevArm->maximum(), 1800);
  EXPECT_EQ(ws.DynVarList[1].Id, 0);
  QTest::mouseRelease(dialog->ResetFrame, Qt::LeftButton, {}, QPoint(-40, -40));
  EXPECT_EQ(ws.UndoCount, 1);

  retype(dialog->edit(5), "4.5");
  QTest::mouseClick(dialog->ResetFrame, Qt::LeftButton);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.0f);
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_EQ(ws.UndoButtonEnabled, kNoUndoButtons);
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FrameDialog, CloseRecentresTheReverseArmAndClearsTheCutOff) {
  const float centre = ws.RevArmPositions[0];
  ws.RevArmPositions[0] = 99.0f;
  form->motionStrip->SBRevArm->setValue(500);
  ws.FrontCutOffText = ws.RearCutOffText = "75%";
  QTest::mouseClick(dialog->Close1, Qt::LeftButton);
  EXPECT_EQ(ws.RevArmPositions[0], centre);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
  EXPECT_EQ(ws.FrontCutOffText + ws.RearCutOffText, "");
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(FrameDialog, EscapeAndTheCloseBoxDoWhatCloseDoes) {
  const float centre = ws.RevArmPositions[0];
  for (const bool byEscape : {true, false}) {
    ws.RevArmPositions[0] = 99.0f;
    form->motionStrip->SBRevArm->setValue(500);
    ws.FrontCutOffText = ws.RearCutOffText = "75%";
    retype(dialog->edit(5), byEscape ? "4.5" : "5.0");
    if (byEscape) {
      QTest::keyClick(dialog->edit(5), Qt::Key_Escape);
    } else {
      dialog->close();
    }
    EXPECT_FALSE(dialog->isVisible());
    // What was typed is kept, and the centre comes from it.
    EXPECT_EQ(ws.Frame[dim::RadiusRod], byEscape ? 4.5f : 5.0f);
    EXPECT_NE(ws.RevArmPositions[0], 99.0f);
    EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
    EXPECT_EQ(ws.FrontCutOffText + ws.RearCutOffText, "");
    open(*dialog);
  }
  EXPECT_EQ(ws.RevArmPositions[0], centre);
  EXPECT_EQ(ws.UndoCount, 2);
}

TEST_F(FrameDialog, SmallButtonsAskForTheirRowAfterTheFieldIsCommitted) {
  retype(dialog->edit(5), "4.5");
  QTest::mouseClick(dialog->button(5), Qt::LeftButton);
  EXPECT_EQ(ws.ShowDimensionId, 5);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 4.5f);
  QTest::mouseClick(dialog->button(18), Qt::LeftButton);
  EXPECT_EQ(ws.ShowDimensionId, 18);
}

TEST_F(FrameDialog, TabRunsThroughTheFirstRowsCloseResetTheRestAndTheButtons) {
  std::vector<QWidget*> expected{dialog->edit(2), dialog->edit(3), dialog->Close1,
                                 dialog->ResetFrame};
  for (int n = 4; n <= 18; ++n) expected.push_back(dialog->edit(n));
  for (int n = 1; n <= 18; ++n) expected.push_back(dialog->button(n));
  expected.push_back(dialog->edit(1));
  focusTo(dialog->edit(1));
  for (QWidget* next : expected) {
    QTest::keyClick(focused(), Qt::Key_Tab);
    ASSERT_EQ(focused(), next);
  }
}

TEST_F(FrameDialog, LayoutKeepsItsPixelPlacesColoursAndFits) {
  EXPECT_EQ(dialog->windowTitle(), "Frame Dimensions");
  EXPECT_EQ(dialog->size(), QSize(386, 192));
  EXPECT_EQ(dialog->edit(8)->geometry(), QRect(146, 91, 40, 13));
  EXPECT_EQ(dialog->edit(9)->geometry(), QRect(342, 0, 40, 13));
  EXPECT_EQ(dialog->edit(18)->geometry(), QRect(342, 117, 40, 13));
  EXPECT_EQ(dialog->button(1)->geometry(), QRect(2, 0, 8, 13));
  EXPECT_EQ(dialog->button(17)->geometry(), QRect(196, 104, 8, 13));
  EXPECT_EQ(dialog->ResetFrame->geometry(), QRect(288, 132, 89, 25));
  EXPECT_EQ(dialog->Close1->geometry(), QRect(288, 160, 89, 25));
  EXPECT_EQ(dialog->ResetFrame->text(), "ResetFrameDim");
  EXPECT_EQ(dialog->edit(16)->grab().toImage().pixelColor(38, 11), QColor(192, 192, 192));
  EXPECT_EQ(dialog->edit(17)->grab().toImage().pixelColor(38, 11), QColor(255, 255, 255));
  // QLineEdit keeps 2 pixels free on each side of the text.
  EXPECT_LE(dialog->edit(14)->fontMetrics().horizontalAdvance("-1.677"), 40 - 4);
}

}  // namespace
}  // namespace vek1
