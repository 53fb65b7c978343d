// Editing the gear from the main window while it runs: the dynamic-variable bars, the undo
// button, the full reset and the dimension position display with the dialog it closes and
// reopens. Ticks are run by hand; the animation timer is stopped.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <memory>

#include "cylinder_dialog.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "dynvar.h"
#include "file_dialogs.h"
#include "frame_dialog.h"
#include "main_form.h"
#include "main_view_links.h"
#include "pipe_watchdog.h"
#include "recording_sound.h"
#include "sound.h"

namespace vek1 {
namespace {

class Editing : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TMainForm>(ws, sound);
    // These tests are about what the commands do once the user has agreed.
    form->askToSave = [](const QString&) { return TMainForm::UnsavedChoice::Discard; };
    form->confirm = [](const QString&) { return true; };
    form->Timer1->stop();
    frameDi = new TFrameDi(ws, form.get());
    cylDimen = new TCylDimen(ws, form.get());
    linkToMainView(*form, *frameDi);
    linkToMainView(*form, *cylDimen);
    form->setDimensionDialogs(
        frameDi, cylDimen, [this] { frameDi->ResetFrameClick(); },
        [this] { cylDimen->ResetCylClick(); });
    form->show();
    // Focus follows clicks only in the active window, as on the desktop.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }

  // Picks a dimension as the newest dynamic variable, as leaving its dialog field does.
  void pick(int id) { DynVarRegisterDimension(ws, id); }

  void showBars() {
    if (!ws.DynVarShown) form->DynamicVariablesClick();
    form->Timer1Timer();  // the frame enables the bars whose slots are filled
  }

  // A click on the right arrow of a bar: one press and release, one step, one scroll end.
  static void arrowClick(QScrollBar* bar) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  }

  static void mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &event);
  }

  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
  TFrameDi* frameDi = nullptr;
  TCylDimen* cylDimen = nullptr;
};

TEST_F(Editing, ArrowAndPageClicksNudgeTheNewestDimensionAndTheBarReturns) {
  pick(dim::RadiusRod);
  showBars();
  QScrollBar* bar = form->dynVarStrip->SBDynVar[1];
  ASSERT_TRUE(bar->isVisible());
  ASSERT_TRUE(bar->isEnabled());
  EXPECT_FALSE(form->dynVarStrip->SBDynVar[2]->isEnabled());  // slots 2..4 are empty

  arrowClick(bar);
  EXPECT_FLOAT_EQ(ws.Frame[dim::RadiusRod], 5.001f);
  EXPECT_EQ(bar->value(), 0);
  EXPECT_EQ(ws.UndoCount, 1);

  bar->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_NEAR(ws.Frame[dim::RadiusRod], 4.991f, 1e-6);
  EXPECT_EQ(bar->value(), 0);
  // The bar hands the focus on, so its next use records a fresh value at focus.
  EXPECT_TRUE(form->motionStrip->SBRevArm->hasFocus() || !QApplication::focusWidget());
}

TEST_F(Editing, ADragIsOneUndoEntryFromTheValueAtFocus) {
  pick(dim::RadiusRod);
  showBars();
  QScrollBar* bar = form->dynVarStrip->SBDynVar[1];
  bar->setFocus();
  QApplication::processEvents();
  ASSERT_FLOAT_EQ(ws.SlotValueAtEnter, 5.0f);

  // Press on the thumb, drag right in two moves, release.
  const QPoint thumb(bar->width() / 2, bar->height() / 2);
  mouse(bar, QEvent::MouseButtonPress, thumb, Qt::LeftButton);
  mouse(bar, QEvent::MouseMove, thumb + QPoint(6, 0), Qt::LeftButton);
  mouse(bar, QEvent::MouseMove, thumb + QPoint(12, 0), Qt::LeftButton);
  mouse(bar, QEvent::MouseButtonRelease, thumb + QPoint(12, 0), Qt::NoButton);

  EXPECT_GT(ws.Frame[dim::RadiusRod], 5.0f);
  EXPECT_EQ(bar->value(), 0);
  ASSERT_EQ(ws.UndoCount, 1);
  EXPECT_EQ(ws.UndoList[1].Id, dim::RadiusRod);
  EXPECT_FLOAT_EQ(ws.UndoList[1].OldValue, 5.0f);
  EXPECT_FLOAT_EQ(ws.UndoList[1].NewValue, ws.Frame[dim::RadiusRod]);
  EXPECT_EQ(ws.UndoList[2].Id, 0);
}

TEST_F(Editing, TheHistoryKeepsTheNewestTwentyAndUndoRestoresLinkedPoints) {
  pick(dim::LinkPivotHorz);
  showBars();
  QScrollBar* bar = form->dynVarStrip->SBDynVar[1];
  for (int i = 0; i < 21; ++i) arrowClick(bar);
  EXPECT_EQ(ws.UndoCount, 20);
  EXPECT_NEAR(ws.Pivots.H[5], 6.207f + 0.021f, 1e-5);
  EXPECT_EQ(ws.Pivots.H[6], ws.Pivots.H[5]);

  // Undo mode shows the newest entry with its button beside it.
  form->SetUnDoClick();
  form->Timer1Timer();
  ASSERT_TRUE(form->dynVarStrip->UnDoDn->isVisible());
  ASSERT_TRUE(form->dynVarStrip->UnDoDn->isEnabled());
  EXPECT_EQ(form->dynVarStrip->UnDoDn->y(), 127);  // below the dynamic-variable list
  // Each click was its own scroll: old and new values a thousandth apart.
  EXPECT_NEAR(ws.UndoList[1].NewValue - ws.UndoList[1].OldValue, 0.001f, 1e-6);

  QTest::mouseClick(form->dynVarStrip->UnDoDn, Qt::LeftButton);
  EXPECT_NEAR(ws.Pivots.H[5], 6.207f + 0.020f, 1e-5);
  EXPECT_EQ(ws.Pivots.H[6], ws.Pivots.H[5]);
  EXPECT_EQ(ws.UndoCount, 19);

  // Undo the rest: the oldest kept entry goes back to the value after the first click.
  for (int i = 0; i < 19; ++i) QTest::mouseClick(form->dynVarStrip->UnDoDn, Qt::LeftButton);
  EXPECT_NEAR(ws.Pivots.H[5], 6.208f, 1e-5);
  EXPECT_EQ(ws.Pivots.H[6], ws.Pivots.H[5]);
  EXPECT_EQ(ws.UndoCount, 0);
  // The last undo disables every undo button, the main window's included.
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_FALSE(enabled);
  EXPECT_FALSE(form->dynVarStrip->UnDoDn->isEnabled());
}

TEST_F(Editing, FullResetReturnsEverythingToTheFactorySet) {
  pick(dim::Stroke);
  showBars();
  arrowClick(form->dynVarStrip->SBDynVar[1]);
  ws.Cyl[cyl::slot<dim::ValveStem>] = 5.0f;
  form->SetUnDoClick();
  form->viewStrip->SBZoom->triggerAction(QAbstractSlider::SliderPageStepAdd);
  form->motionStrip->FwdClick();
  ws.DimSetName = "bigloco";

  form->ResetAllClick();
  EXPECT_EQ(ws.Frame[dim::Stroke], 3.0f);
  EXPECT_EQ(ws.Cyl[cyl::slot<dim::ValveStem>], 4.793f);
  EXPECT_EQ(ws.DimSetName, "Nominal");
  EXPECT_EQ(ws.UndoCount, 0);
  EXPECT_FALSE(ws.UndoMode);
  EXPECT_FALSE(ws.DynVarShown);
  EXPECT_FALSE(form->dynVarStrip->SBDynVar[1]->isVisible());
  EXPECT_EQ(ws.DynVarList[1].Id, 0);
  EXPECT_EQ(ws.ViewZoom, 28.0f);
  EXPECT_EQ(ws.ViewPanX, 115.0f);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
  EXPECT_EQ(ws.ReverseArmPos, ws.RevArmPositions[0]);
  EXPECT_FALSE(form->motionStrip->Center->isEnabled());
}

TEST_F(Editing, ShowingADimensionClosesTheDialogThenBringsItBack) {
  frameDi->show();
  QApplication::processEvents();
  QTest::mouseClick(frameDi->button(5), Qt::LeftButton);
  ASSERT_EQ(ws.ShowDimensionId, dim::RadiusRod);

  form->Timer1Timer();
  EXPECT_FALSE(frameDi->isVisible());
  EXPECT_NE(ws.ViewZoom, 28.0f);  // zoomed onto the radius rod
  EXPECT_EQ(form->cursor().shape(), Qt::WaitCursor);
  EXPECT_EQ(ws.SavedView.Zoom, 28.0f);

  for (int i = 0; i < 5; ++i) form->Timer1Timer();
  ASSERT_NE(ws.ShowDimensionId, 0);

  // A press in the drawing ends the display at the next frame, and the dialog comes back.
  QTest::mouseClick(form->Surface, Qt::LeftButton, {}, QPoint(300, 300));
  bool reopened = false;
  QTimer::singleShot(50, frameDi, [&] {
    reopened = frameDi->isVisible();
    frameDi->done(0);
  });
  form->Timer1Timer();
  EXPECT_EQ(ws.ShowDimensionId, 0);
  EXPECT_EQ(ws.ViewZoom, 28.0f);
  EXPECT_EQ(ws.ViewPanX, 115.0f);
  EXPECT_NE(form->cursor().shape(), Qt::WaitCursor);
  QTest::qWait(100);
  EXPECT_TRUE(reopened);
}

TEST_F(Editing, ACylinderDimensionReopensTheCylinderDialog) {
  cylDimen->show();
  QApplication::processEvents();
  QTest::mouseClick(cylDimen->button(6), Qt::LeftButton);
  ASSERT_EQ(ws.ShowDimensionId, dim::PistonCtrToCrosshead);
  form->Timer1Timer();
  EXPECT_FALSE(cylDimen->isVisible());
  // Run the display to its natural end.
  bool reopened = false;
  QTimer::singleShot(50, cylDimen, [&] {
    reopened = cylDimen->isVisible();
    cylDimen->done(0);
  });
  for (int i = 0; i < 1000 && ws.ShowDimensionId != 0; ++i) form->Timer1Timer();
  EXPECT_EQ(ws.ShowDimensionId, 0);
  QTest::qWait(100);
  EXPECT_TRUE(reopened);
  EXPECT_FALSE(frameDi->isVisible());
}

TEST_F(Editing, SaveAndOpenADimensionSet) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("bigloco.dve");
  QStringList errors;
  QString chosen;
  form->chooseFile = [&](TMainForm::FileDialog) { return chosen; };
  form->reportError = [&](const QString& text) { errors << text; };

  ws.Frame[dim::RadiusRod] = 5.5f;
  setDimension(ws, dim::RevArmToCentMax, 1.7f);
  chosen = path;
  form->SaveAsDimensionsClick();
  ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  EXPECT_EQ(QFileInfo(path).size(), 1480);
  EXPECT_EQ(ws.DimSetName, "bigloco");

  form->ResetAllClick();
  ASSERT_EQ(ws.Frame[dim::RadiusRod], 5.0f);
  form->OpenDimensionsClick();
  ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.5f);
  EXPECT_EQ(ws.DimSetName, "bigloco");
  // The reverse-arm bar follows the loaded Max, with the arm at the recomputed centre.
  EXPECT_EQ(form->motionStrip->SBRevArm->maximum(), 1700);
  EXPECT_EQ(form->motionStrip->SBRevArm->minimum(), -1700);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
  EXPECT_EQ(ws.ReverseArmPos, ws.RevArmPositions[0]);

  // Cancelling changes nothing.
  chosen.clear();
  ws.Frame[dim::RadiusRod] = 6.0f;
  form->OpenDimensionsClick();
  form->SaveAsDimensionsClick();
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 6.0f);
  EXPECT_TRUE(errors.isEmpty());
}

// Undo belongs to the set it was made in: after another set is opened, UnDo has nothing to
// give back, where it used to write the older set's value into the new one. A refused file keeps
// the history, as it keeps the set.
TEST_F(Editing, OpeningASetStartsItsOwnUndoHistory) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath("other.dve");
  QStringList errors;
  form->reportError = [&](const QString& text) { errors << text; };
  form->chooseFile = [&](TMainForm::FileDialog) { return path; };
  ws.Frame[dim::RadiusRod] = 5.75f;
  form->SaveAsDimensionsClick();
  ws.Frame[dim::RadiusRod] = 5.0f;

  ws.UndoPending = 1;
  CommitDimensionRow(ws, dim::RadiusRod, "5.25", true);
  ASSERT_EQ(ws.UndoCount, 1);
  ASSERT_EQ(ws.Frame[dim::RadiusRod], 5.25f);
  form->askToSave = [](const QString&) { return TMainForm::UnsavedChoice::Discard; };
  form->OpenDimensionsClick();
  ASSERT_TRUE(errors.isEmpty()) << errors.join("; ").toStdString();
  ASSERT_EQ(ws.Frame[dim::RadiusRod], 5.75f);
  EXPECT_EQ(ws.UndoCount, 0);
  // Every file dialog opens where this set lives from now on.
  EXPECT_EQ(QDir(setFolder()).canonicalPath(), QDir(dir.path()).canonicalPath());
  UndoButtonClick(ws);
  EXPECT_EQ(ws.Frame[dim::RadiusRod], 5.75f);

  ws.UndoPending = 1;
  CommitDimensionRow(ws, dim::RadiusRod, "5.5", true);
  std::ofstream(dir.filePath("short.dve").toStdString(), std::ios::binary) << std::string(9, '\0');
  form->chooseFile = [&](TMainForm::FileDialog) { return dir.filePath("short.dve"); };
  form->OpenDimensionsClick();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(ws.UndoCount, 1);
}

TEST_F(Editing, ADamagedFileIsReportedAndLeavesTheSetAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath("short.dve");
  std::ofstream(path.toStdString(), std::ios::binary) << std::string(100, '\0');
  QStringList errors;
  form->chooseFile = [&](TMainForm::FileDialog) { return path; };
  form->reportError = [&](const QString& text) { errors << text; };
  ws.Frame[dim::Stroke] = 3.25f;

  form->OpenDimensionsClick();
  form->OpenDosDimensionsClick();
  EXPECT_EQ(errors.size(), 2);
  EXPECT_EQ(ws.Frame[dim::Stroke], 3.25f);
  EXPECT_EQ(ws.DimSetName, "Nominal");

  // A save into a folder that does not exist is reported, and the set keeps its name.
  form->chooseFile = [&](TMainForm::FileDialog) { return dir.filePath("no/such/dir/x.dve"); };
  form->SaveAsDimensionsClick();
  EXPECT_EQ(errors.size(), 3);
  EXPECT_EQ(ws.DimSetName, "Nominal");
}

TEST_F(Editing, OpeningAPipeAFolderOrADeviceIsRefusedAndTheWindowGoesOn) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pipe = dir.filePath("p.dve");
  ASSERT_EQ(::mkfifo(pipe.toLocal8Bit().constData(), 0600), 0);
  QStringList errors;
  QString chosen;
  form->chooseFile = [&](TMainForm::FileDialog) { return chosen; };
  form->reportError = [&](const QString& text) { errors << text; };
  ws.Frame[dim::Stroke] = 3.25f;

  for (const QString& path : {pipe, dir.path(), QStringLiteral("/dev/zero")}) {
    chosen = path;
    for (auto open : {&TMainForm::OpenDimensionsClick, &TMainForm::OpenDosDimensionsClick}) {
      errors.clear();
      PipeWatchdog watchdog(pipe.toStdString());
      (form.get()->*open)();
      EXPECT_FALSE(watchdog.stop()) << path.toStdString() << ": the window waited on the pipe";
      ASSERT_EQ(errors.size(), 1) << path.toStdString();
      EXPECT_TRUE(errors[0].contains("not a dimension file")) << errors[0].toStdString();
    }
  }
  EXPECT_EQ(ws.Frame[dim::Stroke], 3.25f);
  EXPECT_EQ(ws.DimSetName, "Nominal");
}

TEST_F(Editing, ReferencePointsFromTheMenuAndTheMouse) {
  EXPECT_FALSE(form->referenceStrip->SBRef[0]->isVisible());
  EXPECT_FALSE(form->referenceStrip->RefPt1->isEnabled());
  form->RefPointsClick();
  EXPECT_TRUE(form->referenceStrip->SBRef[0]->isVisible());
  EXPECT_TRUE(form->referenceStrip->RefPt1->isEnabled());
  EXPECT_TRUE(form->referenceStrip->RefPt1Zero->isVisible());
  EXPECT_FALSE(form->referenceStrip->RefPt1Zero->isEnabled());

  // A left press in the drawing places point 1 there; a press among the controls does not.
  QTest::mouseClick(form->Surface, Qt::LeftButton, {}, QPoint(200, 100));
  EXPECT_EQ(ws.Pivots.H[19], 0.0f);
  QTest::mouseClick(form->Surface, Qt::LeftButton, {}, QPoint(395, 242));
  EXPECT_FLOAT_EQ(ws.Pivots.H[19], (395 - 115) / 28.0f);
  EXPECT_FLOAT_EQ(ws.Pivots.V[19], -(242 - 270) / 28.0f);
  EXPECT_TRUE(form->referenceStrip->RefPt1Zero->isEnabled());
  QTest::mouseClick(form->Surface, Qt::RightButton, {}, QPoint(563, 270));
  EXPECT_FLOAT_EQ(ws.Pivots.H[20], 16.0f);

  // Three arrow clicks on the first horizontal bar add three thousandths; the bar springs back.
  for (int i = 0; i < 3; ++i)
    form->referenceStrip->SBRef[1]->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_NEAR(ws.Pivots.H[19], 10.0f + 0.003f, 1e-5);
  EXPECT_EQ(form->referenceStrip->SBRef[1]->value(), 0);

  // Pan to point 2, then zero point 1.
  form->referenceStrip->RefPt2->click();
  EXPECT_NE(ws.ViewPanX, 115.0f);
  form->referenceStrip->RefPt1Zero->click();
  EXPECT_EQ(ws.Pivots.H[19], 0.0f);
  EXPECT_FALSE(form->referenceStrip->RefPt1Zero->isEnabled());

  // Pivot data: the table button shows, and turning the points off turns the data off too.
  form->SetPivotDataClick();
  EXPECT_TRUE(form->referenceStrip->DataTableBut->isVisible());
  form->RefPointsClick();
  EXPECT_FALSE(ws.PivotDataMode);
  EXPECT_FALSE(form->referenceStrip->DataTableBut->isVisible());
  EXPECT_FALSE(form->referenceStrip->SBRef[0]->isVisible());
}

TEST_F(Editing, ScreenDataOffSwitchesTheReferenceModesOff) {
  form->SetPivotDataClick();
  ASSERT_TRUE(ws.RefPointsMode);
  form->SetScreenDataClick();
  EXPECT_FALSE(ws.RefPointsMode);
  EXPECT_FALSE(ws.PivotDataMode);
  EXPECT_FALSE(form->referenceStrip->RefPt1->isVisible());
  EXPECT_FALSE(form->RefPoints->isEnabled());
  form->SetScreenDataClick();
  EXPECT_TRUE(form->referenceStrip->RefPt1->isVisible());
  EXPECT_FALSE(form->referenceStrip->RefPt1->isEnabled());  // the modes stay off
  EXPECT_TRUE(form->RefPoints->isEnabled());
}

TEST_F(Editing, TheLinesDialogComesBackForAWaitingPivotAndAfterAnOpen) {
  QDialog lines;
  int opened = 0, refilled = 0;
  form->setOverlayDialog(&lines, [&] { ++refilled; });
  auto answer = [&] {
    QTimer::singleShot(0, &lines, [&] {
      opened += lines.isVisible();
      lines.done(0);
    });
  };
  EXPECT_FALSE(form->DrawLines1->isEnabled());
  form->RefPointsClick();
  EXPECT_TRUE(form->DrawLines1->isEnabled());

  // With no reference point placed the command beeps, and opens the dialog all the same.
  answer();
  form->DrawLines1Click();
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(sound.beeps(), 1);

  // An item waiting for its pivot: the left press on the pivot brings the dialog back.
  ws.OverlayTypeChoice = 0;
  ws.OverlayColourChoice = 1;
  ws.OverlayRefChoice = 1;
  ws.PivotSelectPending = true;
  answer();
  QTest::mouseClick(form->Surface, Qt::LeftButton, {}, QPoint(409, 270));
  EXPECT_EQ(opened, 2);
  EXPECT_FLOAT_EQ(ws.Pivots.H[19], (409 - 115) / 28.0f);

  // Two pivots: the right press after a left one.
  ws.OverlayRefChoice = 3;
  QTest::mouseClick(form->Surface, Qt::LeftButton, {}, QPoint(300, 250));
  EXPECT_EQ(opened, 2);
  answer();
  QTest::mouseClick(form->Surface, Qt::RightButton, {}, QPoint(320, 250));
  EXPECT_EQ(opened, 3);

  // Opening a file refills the dialog's rows, also when the user cancels.
  form->chooseFile = [](TMainForm::FileDialog) { return QString(); };
  form->OpenDimensionsClick();
  EXPECT_EQ(refilled, 1);
}

TEST_F(Editing, FileDialogsTakeANameWithoutExtensionAndTheImportAnyName) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(WriteDimensionFile(dir.filePath("full70.dve").toStdString(), ws).ok);
  // Types `name` into the file dialog that is about to open, and accepts it.
  auto type = [&](const QString& name) {
    QTimer::singleShot(0, [&dir, name] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->setDirectory(dir.path());
      dialog->selectFile(name);
      // A dialog that refuses the name says so in a message box of its own: dismiss it.
      QTimer::singleShot(50, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
          box->done(QMessageBox::Ok);
      });
      QMetaObject::invokeMethod(dialog, "accept");
      // A dialog that refuses the name stays open; close it so the test goes on.
      if (dialog->isVisible()) dialog->reject();
    });
  };
  type("full70");
  EXPECT_EQ(form->chooseFile(TMainForm::FileDialog::OpenNative), dir.filePath("full70.dve"));
  // The older form's dialog passes on a name that is not there; the import then says so.
  QStringList errors;
  form->reportError = [&](const QString& text) { errors << text; };
  type("gone.ovk");
  form->OpenDosDimensionsClick();
  ASSERT_EQ(errors.size(), 1);
  EXPECT_TRUE(errors[0].contains("gone.ovk")) << errors[0].toStdString();
}

}  // namespace
}  // namespace vek1
