// The main window on a desktop: ticks paced to the display with the frame-counted rules kept per
// tick, no drawing while nothing can change, the wheel and the middle button, the menu bar that
// does not move, the large font that keeps every placed text inside the window and clear of the
// controls, and frames drawn at the screen's pixel ratio.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <random>

#include "dimensions.h"
#include "frame_tick.h"
#include "main_form.h"
#include "painter_canvas.h"
#include "placed_texts.h"
#include "recording_canvas.h"
#include "recording_sound.h"
#include "sound.h"
#include "view.h"

namespace vek1 {
namespace {

// How far a model point under the pointer may drift through single-precision pans, in pixels.
constexpr double kFixedPointTol = 0.01;

class Desktop : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TMainForm>(ws, sound);
    form->Timer1->stop();
  }
  void stop() {
    if (form->motionStrip->running()) QTest::mouseClick(form->motionStrip->Run, Qt::LeftButton);
  }
  // As the timer runs it, n times.
  void frames(int n) {
    for (int i = 0; i < n; ++i) form->onTimerFrame();
  }
  void wheel(QPoint at, int eighths) {
    QWheelEvent event(QPointF(at), QPointF(form->Surface->mapToGlobal(at)), QPoint(),
                      QPoint(0, eighths), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(form->Surface, &event);
  }
  // The model point under screen point (x, y).
  std::pair<double, double> modelAt(double x, double y) const {
    return {(x - ws.ViewPanX) / ws.ViewZoom, -(y - ws.ViewPanY) / ws.ViewZoom};
  }

  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
};

TEST(TickPace, FollowsTheDisplayButNeverOutrunsTheFrameCountedRules) {
  EXPECT_EQ(TMainForm::tickIntervalFor(60.0), 16);
  EXPECT_EQ(TMainForm::tickIntervalFor(59.94), 16);
  EXPECT_EQ(TMainForm::tickIntervalFor(50.0), 20);
  // A fast display still ticks at about 60 a second: the error cycle and the beats count frames.
  EXPECT_EQ(TMainForm::tickIntervalFor(144.0), 16);
  // A screen that reports no rate, or nonsense, gets the usual one.
  EXPECT_EQ(TMainForm::tickIntervalFor(0.0), 16);
  EXPECT_EQ(TMainForm::tickIntervalFor(std::nan("")), 16);
  EXPECT_EQ(TMainForm::tickIntervalFor(-5.0), 16);
  EXPECT_EQ(TMainForm::tickIntervalFor(0.5), 16);
}

TEST_F(Desktop, TheErrorCycleCountsEveryTimerFrameEvenWhileStopped) {
  stop();
  frames(10);  // settle: nothing can change now
  const int drawn = form->framesDrawn();
  ws.ErrorFlag = true;
  ws.ErrorFrames = 0;
  // The item shows for 9 frames, hides with the sound on the 10th, the latch goes after 20.
  for (int frame = 1; frame <= 21; ++frame) {
    frames(1);
    EXPECT_EQ(form->Error->isVisible(), frame < 10) << frame;
  }
  EXPECT_FALSE(ws.ErrorFlag);
  EXPECT_EQ(form->framesDrawn() - drawn, 21);
  EXPECT_EQ(sound.plays().size(), 1u);
}

TEST_F(Desktop, NothingIsDrawnWhileNothingCanChangeAndInputWakesOneFrame) {
  // Running, every timer frame is a tick that turns the driver.
  const float before = ws.DriverAngle;
  frames(3);
  EXPECT_EQ(form->framesDrawn(), 3);
  EXPECT_NE(ws.DriverAngle, before);

  stop();
  frames(10);
  const int still = form->framesDrawn();
  const float angle = ws.DriverAngle;
  frames(100);
  EXPECT_EQ(form->framesDrawn(), still) << "a stopped gear with nothing blinking is not redrawn";
  EXPECT_EQ(ws.DriverAngle, angle);

  // A press on a control changes the picture: the frames after it are drawn.
  QTest::mouseClick(form->motionStrip->Deg180, Qt::LeftButton);
  frames(10);
  EXPECT_GT(form->framesDrawn(), still);
  EXPECT_EQ(ws.DriverAngle, 180.0f);

  // Each state that changes the picture by itself keeps the ticks coming while stopped.
  frames(10);
  const int quiet = form->framesDrawn();
  ws.SteamDisplayOn = true;
  frames(5);
  EXPECT_EQ(form->framesDrawn(), quiet + 5);
  ws.SteamDisplayOn = false;
  ws.ShowDimensionId = 5;
  EXPECT_TRUE(FrameCanChange(ws));
  ws.ShowDimensionId = 0;
  EXPECT_FALSE(FrameCanChange(ws));
}

TEST_F(Desktop, SpaceRunsAndStopsAndTheArrowsTurnTheDriverOnlyWhileStopped) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  QTest::keyClick(form->Surface, Qt::Key_Space);
  EXPECT_FALSE(form->motionStrip->running());
  EXPECT_EQ(ws.StepAngle, 0.0f);
  QTest::mouseClick(form->motionStrip->Deg00, Qt::LeftButton);  // stopped at 0
  ws.SelectedStep = 10.0f;
  QTest::keyClick(form->Surface, Qt::Key_Right);
  EXPECT_FLOAT_EQ(ws.DriverAngle, 10.0f);
  EXPECT_EQ(form->motionStrip->SBDrvAng->value(), 1000);
  QTest::keyClick(form->Surface, Qt::Key_Left);
  QTest::keyClick(form->Surface, Qt::Key_Left);
  EXPECT_FLOAT_EQ(ws.DriverAngle, 350.0f) << "turning back past 0 wraps";
  QTest::keyClick(form->Surface, Qt::Key_Space);
  EXPECT_TRUE(form->motionStrip->running());
  EXPECT_EQ(ws.StepAngle, 10.0f);
  const float running = ws.DriverAngle;
  QTest::keyClick(form->Surface, Qt::Key_Right);
  EXPECT_EQ(ws.DriverAngle, running);
  // The space bar is the window's, not the first button's: "P" stays as it was.
  EXPECT_TRUE(form->viewStrip->Preset0->isEnabled());
}

TEST_F(Desktop, TheWheelZoomsAboutThePointerWithinTheZoomLimits) {
  const QPoint at(200, 150);
  const auto [h, v] = modelAt(at.x(), at.y());
  const float zoom = ws.ViewZoom;
  wheel(at, 120);
  EXPECT_NEAR(ws.ViewZoom, zoom * 1.1, 1e-3);
  EXPECT_TRUE(form->viewStrip->NormVHZ->isEnabled());
  auto [h1, v1] = modelAt(at.x(), at.y());
  EXPECT_NEAR((h1 - h) * ws.ViewZoom, 0.0, kFixedPointTol);
  EXPECT_NEAR((v1 - v) * ws.ViewZoom, 0.0, kFixedPointTol);

  for (int i = 0; i < 200; ++i) wheel(at, 120);
  EXPECT_EQ(ws.ViewZoom, kMaxZoom);
  std::tie(h1, v1) = modelAt(at.x(), at.y());
  EXPECT_NEAR((h1 - h) * ws.ViewZoom, 0.0, 1.0) << "the limit holds the point as well";
  EXPECT_NEAR((v1 - v) * ws.ViewZoom, 0.0, 1.0);

  for (int i = 0; i < 400; ++i) wheel(QPoint(500, 300), -120);
  EXPECT_EQ(ws.ViewZoom, kMinZoom);
  EXPECT_TRUE(std::isfinite(ws.ViewPanX) && std::isfinite(ws.ViewPanY));
}

TEST_F(Desktop, TheMiddleButtonDragsTheViewAndPlacesNoReferencePoint) {
  ws.RefPointsMode = true;
  const float panX = ws.ViewPanX, panY = ws.ViewPanY;
  QTest::mousePress(form->Surface, Qt::MiddleButton, Qt::NoModifier, QPoint(300, 200));
  QMouseEvent move(QEvent::MouseMove, QPointF(330, 190), QPointF(330, 190), Qt::NoButton,
                   Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(form->Surface, &move);
  QTest::mouseRelease(form->Surface, Qt::MiddleButton, Qt::NoModifier, QPoint(330, 190));
  EXPECT_EQ(ws.ViewPanX, panX + 30);
  EXPECT_EQ(ws.ViewPanY, panY - 10);
  EXPECT_EQ(ws.Pivots.H[19], 0.0f);
  EXPECT_EQ(ws.Pivots.V[19], 0.0f);
  EXPECT_EQ(ws.Pivots.H[20], 0.0f);
  EXPECT_EQ(ws.Pivots.V[20], 0.0f);
  // A right press does place point 2.
  QTest::mousePress(form->Surface, Qt::RightButton, Qt::NoModifier, QPoint(300, 200));
  EXPECT_TRUE(ws.Pivots.H[20] != 0.0f || ws.Pivots.V[20] != 0.0f);
}

TEST_F(Desktop, TheMenuBarKeepsItsHeightWhileTheErrorItemBlinks) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  const int top = form->Surface->mapTo(form.get(), QPoint(0, 0)).y();
  const QSize size = form->size();
  form->Error->setVisible(true);
  QApplication::processEvents();
  EXPECT_EQ(form->Surface->mapTo(form.get(), QPoint(0, 0)).y(), top);
  form->Error->setVisible(false);
  QApplication::processEvents();
  EXPECT_EQ(form->Surface->mapTo(form.get(), QPoint(0, 0)).y(), top);
  EXPECT_EQ(form->size(), size);
}

// Every text of a frame lies inside the drawing area and clear of every control shown over it.
void expectTextsClearOfControls(TMainForm& form, Workspace& ws) {
  RecordingCanvas canvas;
  RecordingSoundSink sink;
  std::mt19937 rng(1);
  FrameContext context{sink, rng, false};
  AnimationTick(canvas, ws, context);
  const QRect client(QPoint(0, 0), form.Surface->minimumSize());
  const auto controls = testing::visibleControls(form.Surface);
  const auto texts = testing::placedTexts(canvas);
  ASSERT_GT(texts.size(), 10u);
  for (const auto& t : texts) {
    EXPECT_TRUE(client.contains(t.box))
        << "'" << t.text << "' at " << t.box.x() << "," << t.box.y() << " width " << t.box.width();
    for (QWidget* control : controls) {
      EXPECT_FALSE(control->geometry().intersects(t.box))
          << "'" << t.text << "' runs under " << control->metaObject()->className() << " at "
          << control->x() << "," << control->y();
    }
  }
}

TEST_F(Desktop, EveryPlacedTextFitsBesideTheControlsInBothFonts) {
  form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
  {
    SCOPED_TRACE("normal font");
    expectTextsClearOfControls(*form, ws);
  }
  form->LargeFont->trigger();
  ASSERT_EQ(ws.TextScaleX, 1.27f);
  QApplication::processEvents();
  EXPECT_GE(form->Surface->width(), form->Surface->minimumWidth());
  EXPECT_GE(form->Surface->minimumWidth(), 800);
  {
    SCOPED_TRACE("large font");
    expectTextsClearOfControls(*form, ws);
  }
  // Back at the normal font every control stands where it stood.
  const QRect fwd = form->motionStrip->Fwd->geometry();
  form->LargeFont->trigger();
  EXPECT_EQ(form->motionStrip->Fwd->geometry(), QRect(248, 25, 27, 14));
  EXPECT_NE(fwd, form->motionStrip->Fwd->geometry());
}

TEST_F(Desktop, UnsavedChangesAreOfferedForSavingBeforeExitAndOpen) {
  std::vector<QString> asked;
  TMainForm::UnsavedChoice answer = TMainForm::UnsavedChoice::Cancel;
  form->askToSave = [&](const QString& name) {
    asked.push_back(name);
    return answer;
  };
  int dialogs = 0;
  QString savePath;
  form->chooseFile = [&](TMainForm::FileDialog kind) {
    ++dialogs;
    return kind == TMainForm::FileDialog::Save ? savePath : QString();
  };
  form->show();
  // Nothing changed since start: Exit asks nothing.
  EXPECT_FALSE(form->hasUnsavedChanges());
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(asked.empty());
  form->show();

  ws.Frame[dim::RadiusRod] = 5.0625f;
  EXPECT_TRUE(form->hasUnsavedChanges());
  EXPECT_FALSE(form->close()) << "Cancel keeps the window open";
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0], "Nominal");
  form->OpenDimensions->trigger();
  EXPECT_EQ(dialogs, 0) << "Cancel before Open asks for no file";
  form->OpenDosDimensions->trigger();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(asked.size(), 3u);

  // Save, but the save dialog is cancelled: still nothing lost, still open.
  answer = TMainForm::UnsavedChoice::Save;
  EXPECT_FALSE(form->close());
  EXPECT_EQ(dialogs, 1);
  // Save into a file: the window closes and the set is saved.
  const QString file = QDir::temp().filePath(QStringLiteral("vek1-unsaved-%1.dve").arg(getpid()));
  savePath = file;
  EXPECT_TRUE(form->close());
  EXPECT_FALSE(form->hasUnsavedChanges());
  EXPECT_TRUE(QFile::exists(file));
  QFile::remove(file);

  // Discard goes ahead without saving.
  form->show();
  ws.Frame[dim::RadiusRod] = 5.5f;
  answer = TMainForm::UnsavedChoice::Discard;
  savePath.clear();
  const int before = dialogs;
  form->OpenDimensions->trigger();
  EXPECT_EQ(dialogs, before + 1) << "the open dialog comes after the answer";
}

TEST_F(Desktop, AFullResetAsksFirst) {
  bool agree = false;
  QString question;
  form->confirm = [&](const QString& q) {
    question = q;
    return agree;
  };
  int resets = 0;
  form->setDimensionDialogs(
      nullptr, nullptr, [&] { ++resets; }, [&] { ++resets; });
  form->ResetAll->trigger();
  EXPECT_FALSE(question.isEmpty());
  EXPECT_EQ(resets, 0) << "refused: nothing reset";
  agree = true;
  form->ResetAll->trigger();
  EXPECT_EQ(resets, 2);
}

TEST_F(Desktop, ButtonsStepAsideForThePivotPromptAndTheShownDimensionsLabel) {
  form->show();
  ws.RefPointsMode = true;
  form->SetPivotData->trigger();
  form->Timer1Timer();
  EXPECT_TRUE(form->referenceStrip->DataTableBut->isVisible());
  ws.PivotSelectPending = true;
  ws.OverlayRefChoice = 1;
  form->Timer1Timer();
  // With the button shown, the prompt's first line would run under it; now it lies clear.
  expectTextsClearOfControls(*form, ws);
  EXPECT_FALSE(form->referenceStrip->DataTableBut->isVisible());
  ws.PivotSelectPending = false;
  form->Timer1Timer();
  EXPECT_TRUE(form->referenceStrip->DataTableBut->isVisible());

  ws.ShowDimensionId = dim::RadiusRod;
  form->Timer1Timer();
  EXPECT_FALSE(form->referenceStrip->RefPt1->isVisible());
  expectTextsClearOfControls(*form, ws);
  ws.ShowDimensionId = 0;
  form->Timer1Timer();
  EXPECT_TRUE(form->referenceStrip->RefPt1->isVisible());
}

TEST(ScaledCanvas, AFinerSurfaceRedrawsAtItsOwnPitchRatherThanDoublingPixels) {
  QImage one(100, 60, QImage::Format_RGB32), two(200, 120, QImage::Format_RGB32);
  one.fill(Qt::white);
  two.fill(Qt::white);
  auto draw = [](Canvas& c) {
    c.moveTo(10, 10);
    c.lineTo(60, 10);  // straight: the same pixels, doubled
    c.moveTo(10, 20);
    c.lineTo(90, 50);  // slanted: finer steps
    c.setFontSize(8);
    c.textOut(5, 30, "Zoom");
  };
  {
    QPainterCanvas c(one);
    draw(c);
  }
  {
    QPainterCanvas c(two, nullptr, 2.0);
    EXPECT_EQ(c.size().width, 100);
    EXPECT_EQ(c.size().height, 60);
    draw(c);
  }
  const QRgb black = qRgb(0, 0, 0);
  for (int x = 0; x < 100; ++x) {
    const bool on = one.pixel(x, 10) == black;
    for (int d = 0; d < 4; ++d) EXPECT_EQ(two.pixel(2 * x + d % 2, 20 + d / 2) == black, on) << x;
  }
  // The slanted line and the text are not the normal picture blown up.
  const QImage doubled = one.scaled(200, 120);
  int differing = 0;
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; ++x) differing += doubled.pixel(x, y) != two.pixel(x, y);
  EXPECT_GT(differing, 40);
  // The end of a line is still left out: pixel 60 of the straight line stays white.
  EXPECT_EQ(two.pixel(120, 20), qRgb(255, 255, 255));
  EXPECT_EQ(two.pixel(118, 20), black);
}

}  // namespace
}  // namespace vek1
