// The main window driven through its real controls: the animation tick, Run/Stop, the driver,
// step and reverse-arm controls, the typed-entry dialogs, the view bars, Norm and the presets,
// and the display switches of the SetUp menu. The animation timer is stopped in every test and
// ticks are run by hand, so nothing moves between two checks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <cmath>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>

#include "dimensions.h"
#include "frame_view.h"
#include "main_form.h"
#include "motion_dialogs.h"
#include "recording_sound.h"
#include "sound.h"
#include "view.h"

namespace vek1 {
namespace {

constexpr quint32 kHalfVolume = 0x80008000u;
// Relative tolerance for a zoom built up in single-precision steps.
constexpr double kZoomRelTol = 1e-4;
// How far, in pixels, the fixed screen point may drift through single-precision pans.
constexpr double kFixedPointTol = 1e-3;

class MainForm : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TMainForm>(ws, sound);
    // These tests are about what the commands do once the user has agreed.
    form->askToSave = [](const QString&) { return TMainForm::UnsavedChoice::Discard; };
    form->confirm = [](const QString&) { return true; };
    form->Timer1->stop();
  }

  static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  static void step(QScrollBar* bar, QAbstractSlider::SliderAction action) {
    bar->triggerAction(action);
  }
  // Types `text` into a freshly shown dialog's field and presses "OK".
  static void enter(EntryDialog& dialog, const QString& text) {
    dialog.show();
    dialog.Edit1->clear();
    QTest::keyClicks(dialog.Edit1, text);
    QTest::mouseClick(dialog.OKButton, Qt::LeftButton);
  }
  template <class Dialog>
  Dialog& dialog() {
    if constexpr (std::is_same_v<Dialog, TGraphZoom>)
      return *new Dialog(ws, form.get());
    else
      return *new Dialog(ws, *form->motionStrip, form.get());
  }
  // "+" for each enabled control, "-" for each disabled one, in the order given.
  static std::string enabled(std::initializer_list<QWidget*> controls) {
    std::string states;
    for (const QWidget* control : controls) states += control->isEnabled() ? '+' : '-';
    return states;
  }
  float centre() const { return ws.RevArmPositions[0]; }
  void expectView(float zoom, float panX, float panY) const {
    EXPECT_EQ(ws.ViewZoom, zoom);
    EXPECT_EQ(ws.ViewPanX, panX);
    EXPECT_EQ(ws.ViewPanY, panY);
  }

  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
};

// Animation ---------------------------------------------------------------------------------

// The window opens at the size of its drawing area, not at a scroll area's default hint: no scroll
// bar shows and the strip's right end (the step bar and its caption) is inside the window.
TEST_F(MainForm, OpensShowingTheWholeDrawingArea) {
  form->show();
  QApplication::processEvents();
  const QWidget* view = form->centralWidget();
  ASSERT_TRUE(view);
  EXPECT_GE(view->width(), form->Surface->minimumWidth());
  EXPECT_GE(view->height(), form->Surface->minimumHeight());
  const QPoint stepBarEnd = form->motionStrip->SBStepAng->mapTo(
      form.get(), form->motionStrip->SBStepAng->rect().topRight());
  EXPECT_LT(stepBarEnd.x(), form->width());
}

TEST_F(MainForm, TickAdvancesAndWrapsOnlyAboveJustOver360AndBelowZero) {
  ws.DriverAngle = 359.0f;
  form->Timer1Timer();
  EXPECT_EQ(ws.DriverAngle, 9.0f);

  form->motionStrip->SBStepAng->setValue(11000);  // 5 degrees
  ASSERT_EQ(ws.StepAngle, 5.0f);
  ws.DriverAngle = 355.0f;
  form->Timer1Timer();
  EXPECT_EQ(ws.DriverAngle, 360.0f);
  form->Timer1Timer();
  EXPECT_EQ(ws.DriverAngle, 5.0f);

  click(form->motionStrip->Rev);
  form->motionStrip->SBStepAng->setValue(0);  // 0.01 degree
  ASSERT_EQ(ws.Direction, "Rev");
  ASSERT_EQ(ws.StepAngle, 0.01f);
  ws.DriverAngle = 0.0f;
  form->Timer1Timer();
  EXPECT_EQ(ws.DriverAngle, 359.99f);
}

TEST_F(MainForm, RunStopSwitchesStepCaptionAndDriverBar) {
  EXPECT_EQ(form->motionStrip->Run->text(), "Stop");
  EXPECT_EQ(ws.StepAngle, 10.0f);
  EXPECT_FALSE(form->motionStrip->SBDrvAng->isEnabled());

  click(form->motionStrip->Deg00);  // stops at 0 and disables "0.0"
  click(form->motionStrip->Run);    // runs again
  ASSERT_EQ(form->motionStrip->Run->text(), "Stop");
  EXPECT_EQ(enabled({form->motionStrip->Deg00, form->motionStrip->Deg180}), "++");

  ws.DriverAngle = 271.234f;
  click(form->motionStrip->Run);
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");
  EXPECT_EQ(ws.StepAngle, 0.0f);
  EXPECT_TRUE(form->motionStrip->SBDrvAng->isEnabled());
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 27123);
  EXPECT_EQ(ws.DriverAngle, 271.23f);  // the bar's change handler reads it back
  form->Timer1Timer();
  EXPECT_EQ(ws.DriverAngle, 271.23f);

  form->motionStrip->SBDrvAng->setValue(-4000);  // the bar reaches below 0 and above 360
  EXPECT_EQ(ws.DriverAngle, -40.0f);
  form->motionStrip->SBDrvAng->setValue(40000);
  EXPECT_EQ(ws.DriverAngle, 400.0f);

  click(form->motionStrip->Run);
  EXPECT_EQ(form->motionStrip->Run->text(), "Stop");
  EXPECT_EQ(ws.StepAngle, ws.SelectedStep);
  EXPECT_EQ(
      enabled({form->motionStrip->SBDrvAng, form->motionStrip->Deg00, form->motionStrip->Deg180}),
      "-++");
}

TEST_F(MainForm, ZeroAnd180ButtonsStopTheDriverThere) {
  click(form->motionStrip->Deg180);
  EXPECT_EQ(ws.DriverAngle, 180.0f);
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 18000);
  EXPECT_EQ(ws.StepAngle, 0.0f);
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");
  EXPECT_EQ(
      enabled({form->motionStrip->SBDrvAng, form->motionStrip->Deg00, form->motionStrip->Deg180}),
      "++-");

  click(form->motionStrip->Deg00);
  EXPECT_EQ(ws.DriverAngle, 0.0f);
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 0);
  EXPECT_EQ(enabled({form->motionStrip->Deg00, form->motionStrip->Deg180}), "-+");

  form->motionStrip->SBDrvAng->setValue(4500);  // any move of the driver bar re-enables both
  EXPECT_EQ(ws.DriverAngle, 45.0f);
  EXPECT_EQ(enabled({form->motionStrip->Deg00, form->motionStrip->Deg180}), "++");
}

TEST_F(MainForm, MainWindowActivationLocksTheDriverBar) {
  click(form->motionStrip->Run);
  ASSERT_TRUE(form->motionStrip->SBDrvAng->isEnabled());
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  EXPECT_FALSE(form->motionStrip->SBDrvAng->isEnabled());
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");
}

// Step angle --------------------------------------------------------------------------------

TEST_F(MainForm, StepBarQuantisesThroughTheTable) {
  // Each step owns a range of bar positions around its mark round(4000 log10(100 step)), and
  // brings its own small and large change for the driver bar, in hundredths of a degree.
  struct Row {
    int from, to;
    float step;
    int small, large;
  };
  // clang-format off
  const Row table[] = {
      {0, 704, 0.01f, 1, 5},          {705, 1591, 0.02f, 2, 10},     {1592, 2408, 0.03f, 3, 15},
      {2409, 3612, 0.05f, 5, 25},     {3613, 4704, 0.1f, 10, 50},    {4705, 5591, 0.2f, 20, 100},
      {5592, 6408, 0.3f, 30, 150},    {6409, 7612, 0.5f, 50, 250},   {7613, 8704, 1.0f, 100, 500},
      {8705, 9591, 2.0f, 200, 1000},  {9592, 10408, 3.0f, 300, 1500},
      {10409, 11612, 5.0f, 500, 2500}, {11613, 12704, 10.0f, 1000, 4500},
      {12705, 13591, 20.0f, 2000, 4500}, {13592, 14408, 30.0f, 3000, 4500},
      {14409, 14613, 45.0f, 4500, 4500}};
  // clang-format on
  for (const Row& row : table) {
    for (int position : {row.to, row.from}) {  // never the bar's current 12000
      SCOPED_TRACE(position);
      form->motionStrip->SBStepAng->setValue(position);
      EXPECT_EQ(ws.SelectedStep, row.step);
      EXPECT_EQ(ws.StepAngle, row.step);  // running
      EXPECT_EQ(form->motionStrip->SBDrvAng->singleStep(), row.small);
      EXPECT_EQ(form->motionStrip->SBDrvAng->pageStep(), row.large);
      EXPECT_EQ(form->motionStrip->Step1->isEnabled(), row.step != 1.0f);
      EXPECT_EQ(form->motionStrip->Step10->isEnabled(), row.step != 10.0f);
      EXPECT_EQ(form->motionStrip->Step45->isEnabled(), row.step != 45.0f);
    }
  }
  form->motionStrip->SBStepAng->setValue(12000);

  // Stopped, the bar chooses the step for the next run but the driver stays still.
  click(form->motionStrip->Run);
  step(form->motionStrip->SBStepAng, QAbstractSlider::SliderPageStepSub);  // 12000 - 2760
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 9240);
  EXPECT_EQ(ws.SelectedStep, 2.0f);
  EXPECT_EQ(ws.StepAngle, 0.0f);
  click(form->motionStrip->Run);
  EXPECT_EQ(ws.StepAngle, 2.0f);
}

TEST_F(MainForm, StepButtonsDisableThemselvesAndMoveTheBar) {
  click(form->motionStrip->Step1);
  EXPECT_EQ(
      enabled({form->motionStrip->Step1, form->motionStrip->Step10, form->motionStrip->Step45}),
      "-++");
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 8000);
  EXPECT_EQ(ws.SelectedStep, 1.0f);
  EXPECT_EQ(ws.StepAngle, 1.0f);

  click(form->motionStrip->Step45);
  EXPECT_EQ(
      enabled({form->motionStrip->Step1, form->motionStrip->Step10, form->motionStrip->Step45}),
      "++-");
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 14613);
  EXPECT_EQ(ws.StepAngle, 45.0f);

  click(form->motionStrip->Run);
  click(form->motionStrip->Step10);
  EXPECT_EQ(
      enabled({form->motionStrip->Step1, form->motionStrip->Step10, form->motionStrip->Step45}),
      "+-+");
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 12000);
  EXPECT_EQ(ws.SelectedStep, 10.0f);
  EXPECT_EQ(ws.StepAngle, 0.0f);  // stopped stays stopped
}

TEST_F(MainForm, TypedStepIsClampedKeptUnquantisedAndKeepsTheRunningState) {
  auto& stpAng = dialog<TStpAng>();
  stpAng.show();
  EXPECT_EQ(stpAng.Edit1->text(), "10.00");
  stpAng.reject();

  enter(stpAng, "50");
  EXPECT_EQ(ws.SelectedStep, 45.0f);
  EXPECT_EQ(ws.StepAngle, 45.0f);
  EXPECT_EQ(form->motionStrip->Run->text(), "Stop");
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 14613);

  enter(stpAng, "0");
  EXPECT_EQ(ws.SelectedStep, 0.01f);
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 0);

  enter(stpAng, "7");
  EXPECT_EQ(ws.SelectedStep, 7.0f);
  EXPECT_EQ(ws.StepAngle, 7.0f);
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 11380);
  EXPECT_EQ(form->motionStrip->SBDrvAng->singleStep(), 700);
  EXPECT_EQ(form->motionStrip->SBDrvAng->pageStep(), 3500);
  EXPECT_TRUE(form->motionStrip->Step10->isEnabled());

  // A later drag goes through the table again.
  form->motionStrip->SBStepAng->setValue(11400);
  EXPECT_EQ(ws.SelectedStep, 5.0f);
  EXPECT_EQ(ws.StepAngle, 5.0f);

  // Stopped: the typed step waits for the next run.
  click(form->motionStrip->Run);
  stpAng.show();
  EXPECT_EQ(stpAng.Edit1->text(), "0.00");
  enter(stpAng, "2.5");
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");
  EXPECT_EQ(ws.StepAngle, 0.0f);
  EXPECT_EQ(ws.SelectedStep, 2.5f);
  EXPECT_TRUE(form->motionStrip->SBDrvAng->isEnabled());
  click(form->motionStrip->Run);
  EXPECT_EQ(ws.StepAngle, 2.5f);
}

TEST_F(MainForm, TypedStepAtTheBarsCurrentMarkDoesNotSwallowTheNextDrag) {
  auto& stpAng = dialog<TStpAng>();
  enter(stpAng, "10");  // the bar already stands at 12000
  EXPECT_EQ(form->motionStrip->SBStepAng->value(), 12000);
  EXPECT_EQ(ws.SelectedStep, 10.0f);
  form->motionStrip->SBStepAng->setValue(8000);
  EXPECT_EQ(ws.SelectedStep, 1.0f);
  EXPECT_EQ(ws.StepAngle, 1.0f);
}

// Driver angle dialog -----------------------------------------------------------------------

TEST_F(MainForm, TypedDriverAngleStopsTheDriverThereWithinZeroTo360) {
  auto& drivAng = dialog<TDrivAng>();
  drivAng.show();
  EXPECT_EQ(drivAng.Edit1->text(), "0.00");  // running
  drivAng.reject();

  enter(drivAng, "400");
  EXPECT_EQ(ws.DriverAngle, 360.0f);
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");
  EXPECT_EQ(ws.StepAngle, 0.0f);
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 36000);
  EXPECT_TRUE(form->motionStrip->SBDrvAng->isEnabled());

  drivAng.show();
  EXPECT_EQ(drivAng.Edit1->text(), "360.00");
  drivAng.Edit1->clear();
  QTest::keyClicks(drivAng.Edit1, "-12.3.4x");  // no sign, one point, digits only
  EXPECT_EQ(drivAng.Edit1->text(), "12.34");
  click(drivAng.OKButton);
  EXPECT_EQ(ws.DriverAngle, 12.34f);
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 1234);
  EXPECT_EQ(form->motionStrip->Run->text(), "Run");  // stopped stays stopped
}

// Reverse arm -------------------------------------------------------------------------------

TEST_F(MainForm, TypedReverseArmPositionIsHeldWithinMax) {
  const float norm = ws.Frame[dim::RevArmToCentNorm];
  const float max = ws.Frame[dim::RevArmToCentMax];
  auto& revPos = dialog<TRevPos>();
  revPos.show();
  auto fixed = [](double x, int width) { return QString::asprintf("%*.3f", width, x); };
  EXPECT_EQ(revPos.label(1)->text(), "Enter");
  EXPECT_EQ(revPos.label(2)->text(), "Min = " + fixed(double(centre()) - max, 5));
  EXPECT_EQ(revPos.label(3)->text(), "Cen = " + fixed(centre(), 5));
  EXPECT_EQ(revPos.label(4)->text(), "Max = " + fixed(double(centre()) + max, 5));
  EXPECT_EQ(revPos.label(5)->text(), "Rev = " + fixed(double(centre()) - norm, 5));
  EXPECT_EQ(revPos.label(6)->text(), "Fwd = " + fixed(double(centre()) + norm, 5));
  EXPECT_EQ(revPos.Edit1->text(), fixed(ws.ReverseArmPos, 7));

  enter(revPos, "99");
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 1800);
  EXPECT_FLOAT_EQ(ws.ReverseArmPos, centre() + max);
  EXPECT_EQ(ws.Direction, "Fwd");

  enter(revPos, "-99");
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), -1800);
  EXPECT_FLOAT_EQ(ws.ReverseArmPos, centre() - max);
  EXPECT_EQ(ws.Direction, "Rev");
  EXPECT_TRUE(form->motionStrip->Center->isEnabled());

  revPos.show();
  EXPECT_EQ(revPos.Edit1->text(), fixed(ws.ReverseArmPos, 7));
  revPos.Edit1->clear();
  QTest::keyClicks(revPos.Edit1, "--1..5");
  EXPECT_EQ(revPos.Edit1->text(), "-1.5");
  revPos.Edit1->setText(QString::number(double(centre()) + 0.25, 'f', 6));
  click(revPos.OKButton);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 250);
  EXPECT_EQ(ws.Direction, "Fwd");
}

TEST_F(MainForm, FwdRevCenPlaceTheArmAndClearTheCutOff) {
  const float norm = ws.Frame[dim::RevArmToCentNorm];
  auto markCutOff = [this] { ws.FrontCutOffText = ws.RearCutOffText = "25.0%"; };
  // Each change of the arm leaves the cut-off of the old setting behind.
  auto expectButtons = [this](const std::string& fwdRevCen) {
    EXPECT_EQ(enabled({form->motionStrip->Fwd, form->motionStrip->Rev, form->motionStrip->Center}),
              fwdRevCen);
    EXPECT_EQ(ws.FrontCutOffText + ws.RearCutOffText, "");
  };
  expectButtons("++-");

  markCutOff();
  click(form->motionStrip->Fwd);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 1600);
  EXPECT_FLOAT_EQ(ws.ReverseArmPos, centre() + norm);
  EXPECT_EQ(ws.Direction, "Fwd");
  expectButtons("-++");

  markCutOff();
  click(form->motionStrip->Rev);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), -1600);
  EXPECT_FLOAT_EQ(ws.ReverseArmPos, centre() - norm);
  EXPECT_EQ(ws.Direction, "Rev");
  expectButtons("+-+");

  markCutOff();
  click(form->motionStrip->Center);
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
  EXPECT_EQ(ws.ReverseArmPos, centre());
  EXPECT_EQ(ws.Direction, "Fwd");
  expectButtons("++-");

  // Dragging the bar onto a normal setting shows it as reached.
  markCutOff();
  form->motionStrip->SBRevArm->setValue(1600);
  expectButtons("-++");
  markCutOff();
  form->motionStrip->SBRevArm->setValue(-1600);
  EXPECT_EQ(ws.Direction, "Rev");
  expectButtons("+-+");
  markCutOff();
  form->motionStrip->SBRevArm->setValue(-1);
  EXPECT_EQ(ws.Direction, "Rev");
  form->motionStrip->SBRevArm->setValue(0);
  EXPECT_EQ(ws.Direction, "Fwd");
  expectButtons("++-");
}

TEST_F(MainForm, CalcCentRevArmFindsTheNewCentreAndCentresTheArm) {
  const float oldCentre = centre();
  click(form->motionStrip->Rev);
  setDimension(ws, dim::ValveLeverUpper, ws.Frame[dim::ValveLeverUpper] + 0.2f);
  Workspace expected = ws;
  ComputeReverseArmCentre(expected);
  ASSERT_NE(expected.RevArmPositions[0], oldCentre);

  form->FindRevArmCent->trigger();
  EXPECT_EQ(centre(), expected.RevArmPositions[0]);
  EXPECT_EQ(ws.ReverseArmPos, centre());
  EXPECT_EQ(form->motionStrip->SBRevArm->value(), 0);
  EXPECT_EQ(ws.Direction, "Fwd");
  EXPECT_EQ(enabled({form->motionStrip->Fwd, form->motionStrip->Rev, form->motionStrip->Center}),
            "++-");
}

// View --------------------------------------------------------------------------------------

TEST_F(MainForm, ZoomArrowClicksScaleAboutTheScreenCentre) {
  const double h = (320.0 - ws.ViewPanX) / ws.ViewZoom;
  const double v = -(240.0 - ws.ViewPanY) / ws.ViewZoom;
  for (int n = 1; n <= 5; ++n) {
    step(form->viewStrip->SBZoom, QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(form->viewStrip->SBZoom->value(), 0);
    EXPECT_NEAR(ws.ViewZoom, 28.0 * std::pow(1.001, n), 28.0 * std::pow(1.001, n) * kZoomRelTol);
    EXPECT_NEAR(h * ws.ViewZoom + ws.ViewPanX, 320.0, kFixedPointTol);
    EXPECT_NEAR(-v * ws.ViewZoom + ws.ViewPanY, 240.0, kFixedPointTol);
    EXPECT_EQ(screenX(ws, h), 320);
    EXPECT_EQ(screenY(ws, v), 240);
  }
  EXPECT_TRUE(form->viewStrip->NormVHZ->isEnabled());

  step(form->viewStrip->SBZoom, QAbstractSlider::SliderSingleStepSub);
  EXPECT_NEAR(ws.ViewZoom, 28.0 * std::pow(1.001, 5) * 0.999, 28.0 * kZoomRelTol);
}

TEST_F(MainForm, ZoomIsHeldBetweenHalfAnd3000) {
  ws.ViewZoom = 2999.0f;
  const float panX = ws.ViewPanX, panY = ws.ViewPanY;
  step(form->viewStrip->SBZoom, QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(ws.ViewZoom, 3000.0f);
  // The pans follow the zoom as it was before the clamp.
  const double unclamped = 2999.0 * 1.01;
  EXPECT_NEAR(ws.ViewPanX, (panX - 320.0) * unclamped / 2999.0 + 320.0, 0.01);
  EXPECT_NEAR(ws.ViewPanY, (panY - 240.0) * unclamped / 2999.0 + 240.0, 0.01);
  step(form->viewStrip->SBZoom, QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(ws.ViewZoom, 3000.0f);

  ws.ViewZoom = 0.502f;
  step(form->viewStrip->SBZoom, QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(ws.ViewZoom, 0.5f);
  step(form->viewStrip->SBZoom, QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(ws.ViewZoom, 0.5f);
  EXPECT_EQ(form->viewStrip->SBZoom->value(), 0);
}

TEST_F(MainForm, PanBarsMoveTheOriginAndNormRestoresTheNormalView) {
  EXPECT_FALSE(form->viewStrip->NormVHZ->isEnabled());
  step(form->viewStrip->SBPanHorz, QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(ws.ViewPanX, 116.0f);
  step(form->viewStrip->SBPanVert, QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(ws.ViewPanY, 269.0f);  // toward the maximum moves the origin up
  EXPECT_TRUE(form->viewStrip->NormVHZ->isEnabled());
  step(form->viewStrip->SBPanHorz, QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(ws.ViewPanX, static_cast<float>(116.0 - 0.1));
  step(form->viewStrip->SBPanVert, QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(ws.ViewPanY, static_cast<float>(269.0 + 0.1));
  step(form->viewStrip->SBPanVert, QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(ws.ViewPanY, static_cast<float>(static_cast<float>(269.0 + 0.1) + 1.0));
  EXPECT_EQ(form->viewStrip->SBPanHorz->value(), 0);
  EXPECT_EQ(form->viewStrip->SBPanVert->value(), 0);
  EXPECT_EQ(ws.ViewZoom, 28.0f);

  const ViewTriple before = CurrentView(ws);
  click(form->viewStrip->Preset0);
  click(form->viewStrip->NormVHZ);
  expectView(28.0f, 115.0f, 270.0f);
  EXPECT_EQ(ws.SavedView.Zoom, before.Zoom);
  EXPECT_EQ(ws.SavedView.PanX, before.PanX);
  EXPECT_EQ(ws.SavedView.PanY, before.PanY);
  EXPECT_EQ(enabled({form->viewStrip->NormVHZ, form->viewStrip->Preset0}), "-+");
}

TEST_F(MainForm, PresetsRecallAndPThenANumberStores) {
  click(form->viewStrip->Presets[3]);
  expectView(55.0f, -250.0f, 370.0f);
  EXPECT_EQ(enabled({form->viewStrip->NormVHZ, form->viewStrip->Preset0}), "++");

  click(form->viewStrip->NormVHZ);
  step(form->viewStrip->SBPanHorz, QAbstractSlider::SliderPageStepAdd);
  click(form->viewStrip->Preset0);
  EXPECT_FALSE(form->viewStrip->Preset0->isEnabled());
  click(form->viewStrip->Presets[3]);
  EXPECT_TRUE(form->viewStrip->Preset0->isEnabled());
  expectView(28.0f, 116.0f, 270.0f);

  click(form->viewStrip->NormVHZ);
  click(form->viewStrip->Presets[4]);  // recall only
  expectView(80.0f, -950.0f, 335.0f);
  click(form->viewStrip->Presets[3]);
  expectView(28.0f, 116.0f, 270.0f);
  EXPECT_EQ(ws.ViewPresets[4].PanX, -950.0f);

  // Norm with nothing changed since the last Norm still cancels a pending P.
  click(form->viewStrip->NormVHZ);
  click(form->viewStrip->Preset0);
  click(form->viewStrip->NormVHZ);
  EXPECT_EQ(enabled({form->viewStrip->NormVHZ, form->viewStrip->Preset0}), "-+");
  click(form->viewStrip->Presets[5]);
  expectView(350.0f, -5100.0f, 900.0f);
}

TEST_F(MainForm, GraphicZoomDialogFiltersAndClampsTheFactor) {
  auto& graphZoom = dialog<TGraphZoom>();
  graphZoom.show();
  EXPECT_EQ(graphZoom.Edit1->text(), "7.50");
  graphZoom.Edit1->clear();
  QTest::keyClicks(graphZoom.Edit1, "a-1b2.5.0");
  EXPECT_EQ(graphZoom.Edit1->text(), "12.50");
  click(graphZoom.OKButton);
  EXPECT_EQ(ws.GraphicZoomFactor, 12.5f);

  using Case = std::pair<const char*, float>;
  for (auto [typed, stored] : {Case{"0.1", 0.5f}, Case{"5000", 2000.0f}, Case{"", 0.5f}}) {
    enter(graphZoom, typed);
    EXPECT_EQ(ws.GraphicZoomFactor, stored) << '"' << typed << '"';
  }

  graphZoom.show();
  EXPECT_EQ(graphZoom.Edit1->text(), "0.50");
  graphZoom.Edit1->setText("30");
  click(graphZoom.CancelButton);
  EXPECT_EQ(ws.GraphicZoomFactor, 0.5f);
}

// SetUp switches ----------------------------------------------------------------------------

TEST_F(MainForm, ScreenDataHidesTheStripAndSetPanZoomBringsBackTheViewBars) {
  const QList<QWidget*> strip = {form->viewStrip->Presets[1],  form->viewStrip->Presets[6],
                                 form->viewStrip->Preset0,     form->viewStrip->NormVHZ,
                                 form->viewStrip->SBPanVert,   form->viewStrip->SBPanHorz,
                                 form->viewStrip->SBZoom,      form->motionStrip->Rev,
                                 form->motionStrip->Center,    form->motionStrip->Fwd,
                                 form->motionStrip->Deg180,    form->motionStrip->Run,
                                 form->motionStrip->Deg00,     form->motionStrip->Step1,
                                 form->motionStrip->Step10,    form->motionStrip->Step45,
                                 form->motionStrip->SBRevArm,  form->motionStrip->SBDrvAng,
                                 form->motionStrip->SBStepAng, form->ToolBar1};
  auto expectHidden = [&](bool hidden) {
    for (QWidget* w : strip) EXPECT_EQ(w->isHidden(), hidden) << w->metaObject()->className();
  };
  EXPECT_FALSE(form->SetPanZoom->isEnabled());

  ws.DynVarShown = ws.UndoMode = true;
  form->SetScreenData->trigger();
  EXPECT_FALSE(ws.ScreenDataOn || ws.DynVarShown || ws.UndoMode);
  EXPECT_EQ(form->SetScreenData->text(), "SetScree&nData On");
  expectHidden(true);
  EXPECT_TRUE(form->SetPanZoom->isEnabled());
  EXPECT_FALSE(form->DriverAng->isEnabled() || form->FindRevArmCent->isEnabled());

  form->SetPanZoom->trigger();
  EXPECT_EQ(form->SetPanZoom->text(), "SetP&anZoom Off");
  for (QWidget* bar :
       {form->viewStrip->SBPanVert, form->viewStrip->SBPanHorz, form->viewStrip->SBZoom})
    EXPECT_FALSE(bar->isHidden());
  EXPECT_TRUE(form->motionStrip->Run->isHidden());
  form->SetPanZoom->trigger();
  EXPECT_EQ(form->SetPanZoom->text(), "SetP&anZoom On");
  EXPECT_TRUE(form->viewStrip->SBZoom->isHidden());

  form->SetPanZoom->trigger();
  form->SetScreenData->trigger();
  EXPECT_TRUE(ws.ScreenDataOn);
  EXPECT_EQ(form->SetScreenData->text(), "SetScree&nData Off");
  expectHidden(false);
  EXPECT_FALSE(form->SetPanZoom->isEnabled());
  EXPECT_EQ(form->SetPanZoom->text(), "Set&PanZoom On");
  EXPECT_TRUE(form->DriverAng->isEnabled() && form->FindRevArmCent->isEnabled());
  EXPECT_FALSE(ws.DynVarShown || ws.UndoMode);  // the modes switched off stay off
}

// The strips lie over the whole drawing but take a press only on a shown control of theirs:
// between the controls, and where a hidden one stood, the press is the drawing's.
TEST_F(MainForm, StripsTakePressesOnlyOnTheirShownControls) {
  form->show();
  QApplication::processEvents();
  FrameView* drawing = form->Surface;
  const auto centreOf = [&](const QWidget* control) {
    return control->mapTo(drawing, control->rect().center());
  };
  const QPoint fwd = centreOf(form->motionStrip->Fwd);
  const QPoint zoom = centreOf(form->viewStrip->SBZoom);
  EXPECT_EQ(drawing->childAt(fwd), form->motionStrip->Fwd);
  EXPECT_TRUE(form->viewStrip->SBZoom->isAncestorOf(drawing->childAt(zoom)) ||
              drawing->childAt(zoom) == form->viewStrip->SBZoom);
  // Below the strip, over the gear, and in the gap between two buttons of one row.
  EXPECT_EQ(drawing->childAt(drawing->width() / 2, drawing->height() - 20), nullptr);
  const QRect fwdBox = form->motionStrip->Fwd->geometry();
  const QRect cenBox = form->motionStrip->Center->geometry();
  if (cenBox.left() - fwdBox.right() > 1) {
    EXPECT_EQ(drawing->childAt(fwdBox.right() + 1, fwdBox.center().y()), nullptr);
  }

  form->SetScreenData->trigger();
  QApplication::processEvents();
  EXPECT_EQ(drawing->childAt(fwd), nullptr);
  EXPECT_EQ(drawing->childAt(zoom), nullptr);
  // The view bars come back alone, and take their presses again.
  form->SetPanZoom->trigger();
  QApplication::processEvents();
  EXPECT_EQ(drawing->childAt(fwd), nullptr);
  EXPECT_NE(drawing->childAt(zoom), nullptr);
  // The strips follow the drawing when it grows.
  drawing->resize(drawing->width() + 100, drawing->height() + 50);
  for (const QWidget* strip :
       {static_cast<QWidget*>(form->motionStrip), static_cast<QWidget*>(form->viewStrip)})
    EXPECT_EQ(strip->geometry(), drawing->rect());
}

TEST_F(MainForm, ToggleCaptionsNameTheNextAction) {
  form->SetLineWidth->trigger();
  EXPECT_EQ(ws.LineWidth, 2);
  EXPECT_EQ(form->SetLineWidth->text(), "Set&LineWidth 1");
  form->SetLineWidth->trigger();
  EXPECT_EQ(ws.LineWidth, 1);
  EXPECT_EQ(form->SetLineWidth->text(), "Set&LineWidth 2");

  EXPECT_EQ(form->LargeFont->text(), "SetLarge&Font");
  form->LargeFont->trigger();
  EXPECT_EQ(ws.TextScaleX, 1.27f);
  EXPECT_EQ(ws.TextScaleY, 1.22f);
  EXPECT_EQ(form->LargeFont->text(), "SetSmall&Font");
  form->LargeFont->trigger();
  EXPECT_EQ(ws.TextScaleX, 1.0f);
  EXPECT_EQ(ws.TextScaleY, 1.0f);
  EXPECT_EQ(form->LargeFont->text(), "SetLarge&Font");

  EXPECT_EQ(form->SetSteam->text(), "SetS&teamDisp On");
  form->SetSteam->trigger();
  EXPECT_TRUE(ws.SteamDisplayOn);
  EXPECT_EQ(form->SetSteam->text(), "SetS&teamDisp Off");

  EXPECT_EQ(form->SetBeepOnError->text(), "Set&ErrorBeep Off");
  form->SetBeepOnError->trigger();
  EXPECT_FALSE(ws.ErrorBeepOn);
  EXPECT_EQ(form->SetBeepOnError->text(), "Set&ErrorBeep On");
  form->SetBeepOnError->trigger();
  EXPECT_TRUE(ws.ErrorBeepOn);
}

TEST_F(MainForm, StartUpAndCloseSetHalfVolume) {
  EXPECT_EQ(sound.lastVolume(), kHalfVolume);
  sound.reset();
  form->close();
  EXPECT_EQ(sound.lastVolume(), kHalfVolume);
}

}  // namespace
}  // namespace vek1
