// Fit to Window: the whole turn of the gear lands inside the drawing area, large, whatever view
// it started from; the main window fits to the area below its strip and texts, and keeps fitting
// while the window is resized when asked to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <random>

#include "canvas.h"
#include "dimensions.h"
#include "fit_view.h"
#include "frame_tick.h"
#include "main_form.h"
#include "mechanism_drawing.h"
#include "numbers.h"
#include "outlines.h"
#include "painter_canvas.h"
#include "recording_canvas.h"
#include "recording_sound.h"
#include "screen_data_drawing.h"
#include "solver.h"
#include "valve.h"
#include "view.h"

namespace vek1 {
namespace {

// The pixels the mechanism covers over a turn, at the set's own view.
PixelBox drawnOverATurn(Workspace ws) {
  PixelBox box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
  for (int a = 0; a < 360; a += 3) {
    ws.DriverAngle = static_cast<float>(a) + 1.5f;  // between the fit's own samples
    SolveLinkage(ws);
    ComputeValveState(ws);
    RecordingCanvas canvas;
    drawMechanism(canvas, ws, projectPivots(ws), UpdateOutlines(ws));
    for (const DrawCall& c : canvas.calls()) {
      if (c.kind != DrawKind::LineTo && c.kind != DrawKind::Ellipse && c.kind != DrawKind::Arc)
        continue;
      box.left = std::min({box.left, c.x1, c.x2});
      box.right = std::max({box.right, c.x1, c.x2});
      box.top = std::min({box.top, c.y1, c.y2});
      box.bottom = std::max({box.bottom, c.y1, c.y2});
    }
  }
  return box;
}

TEST(FitView, TheWholeTurnFillsTheAreaFromAnyView) {
  const PixelBox area{0, 150, 1600, 1100};
  for (const ViewTriple start :
       {ViewTriple{28.0f, 115.0f, 270.0f}, ViewTriple{3.0f, -900.0f, 40.0f},
        ViewTriple{400.0f, 5000.0f, -3000.0f}}) {
    Workspace ws;
    StartUp(ws);
    ws.ReverseArmPos = toSingle(ws.RevArmPositions[0] + 1.6);
    SetCurrentView(ws, start);
    const std::optional<ViewTriple> fitted = fittedView(ws, area);
    ASSERT_TRUE(fitted) << start.Zoom;
    SetCurrentView(ws, *fitted);
    const PixelBox drawn = drawnOverATurn(ws);
    EXPECT_GE(drawn.left, area.left) << start.Zoom;
    EXPECT_LT(drawn.right, area.right);
    EXPECT_GE(drawn.top, area.top);
    EXPECT_LT(drawn.bottom, area.bottom);
    // Large: at least 70 % of the area's width or of its height, whichever the gear's shape
    // lets it fill.
    EXPECT_TRUE(drawn.width() >= 0.7 * area.width() || drawn.height() >= 0.7 * area.height())
        << drawn.width() << " x " << drawn.height();
  }
  // Nothing to fit into, or a view that cannot be taken back: no new view.
  Workspace ws;
  StartUp(ws);
  EXPECT_FALSE(fittedView(ws, PixelBox{0, 0, 0, 100}));
  ws.ViewZoom = 0.0f;
  EXPECT_FALSE(fittedView(ws, area));
}

// Panned 300 pixels up (and zoomed in, so the wheel reaches the texts at the right), the gear
// would run through the strip of controls and the screen data; it is clipped to its own area,
// so not one pixel there changes, while below the strip the picture does.
TEST(FrameClip, TheGearNeverDrawsOverTheStripOrTheScreenData) {
  auto pixels = [](float panUp, float zoom) {
    Workspace ws;
    StartUp(ws);
    ws.DriverAngle = 40.0f;
    ws.StepAngle = 0.0f;
    ws.ViewZoom *= zoom;
    ws.ViewPanY -= panUp;
    ws.ViewPanX += 250.0f;
    QImage image(kFrameWidth, kFrameHeight, QImage::Format_RGB32);
    QPainterCanvas canvas(image);
    RecordingSoundSink sound;
    std::mt19937 rng(7);
    FrameContext context{sound, rng, false};
    AnimationTick(canvas, ws, context);
    return image;
  };
  const QImage still = pixels(0.0f, 1.0f);
  const QImage panned = pixels(300.0f, 1.6f);
  Workspace ws;
  StartUp(ws);
  const CanvasClip clip = gearClip(ws, {kFrameWidth, kFrameHeight});
  long outsideDiffers = 0, insideDiffers = 0;
  for (int y = 0; y < kFrameHeight; ++y)
    for (int x = 0; x < kFrameWidth; ++x) {
      const bool differs = still.pixel(x, y) != panned.pixel(x, y);
      (clip.contains(x, y) ? insideDiffers : outsideDiffers) += differs;
    }
  EXPECT_EQ(outsideDiffers, 0);
  EXPECT_GT(insideDiffers, 1000);
  // The clip is the area below the strip, less the screen-data column, and follows the large
  // font; with the screen data off only the tool bar stays out of it.
  EXPECT_FALSE(clip.contains(10, kStripBottom - 1));
  EXPECT_TRUE(clip.contains(10, kStripBottom));
  EXPECT_FALSE(clip.contains(600, 100));
  EXPECT_TRUE(clip.contains(600, kScreenDataBottom));
  ws.TextScaleY = 1.5f;
  EXPECT_FALSE(gearClip(ws, {kFrameWidth, kFrameHeight}).contains(10, kStripBottom + 20));
  ws.ScreenDataOn = false;
  EXPECT_TRUE(gearClip(ws, {kFrameWidth, kFrameHeight}).contains(600, 100));
}

class FitWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(ws);
    form = std::make_unique<TMainForm>(ws, sound);
    form->show();
    QApplication::processEvents();
  }
  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
};

// The menu's Fit to Window (key F) fits the gear below the strip and the screen-data texts; with
// Keep Fitted on, a larger window is filled again; Norm brings the old view back.
TEST_F(FitWindow, FitsBelowTheStripAndKeepsFittedOnResize) {
  ASSERT_TRUE(form->FitToWindow);
  EXPECT_EQ(form->FitToWindow->shortcut(), QKeySequence(Qt::Key_F));
  const PixelBox area = form->drawingArea();
  EXPECT_GT(area.top, form->viewStrip->NormVHZ->geometry().bottom());
  form->FitToWindow->trigger();
  const PixelBox drawn = drawnOverATurn(ws);
  EXPECT_GE(drawn.top, area.top);
  EXPECT_LT(drawn.right, area.right);
  EXPECT_TRUE(form->viewStrip->NormVHZ->isEnabled());

  form->KeepFitted->setChecked(true);
  const float fittedZoom = ws.ViewZoom;
  form->resize(1600, 1150);
  QApplication::processEvents();
  EXPECT_GT(ws.ViewZoom, fittedZoom * 1.5f);
  // The frame grows with the window, so nothing beyond 1280 x 1024 is left undrawn.
  EXPECT_GE(form->frameImage().width(), form->Surface->width());
  EXPECT_GE(form->frameImage().height(), form->Surface->height());
  form->KeepFitted->setChecked(false);
  form->viewStrip->NormVHZ->click();
  EXPECT_EQ(CurrentView(ws).Zoom, ws.NormalView.Zoom);
}

// Every screen-data text names itself in full, with its unit, when the pointer rests on it; the
// gear's empty space has no tip.
TEST_F(FitWindow, ScreenDataTextsHaveTipsWithTheirUnits) {
  RecordingCanvas texts(form->Surface->width(), form->Surface->height());
  drawScreenData(texts, ws, CutOffDisplay{true, true, true});
  int tipped = 0;
  for (const DrawCall& t : texts.texts()) {
    if (t.text.empty()) continue;  // a cut-off value not measured yet
    const QString tip = form->screenDataTipAt(QPoint(t.x1 + 2, t.y1 + 3));
    EXPECT_FALSE(tip.isEmpty()) << t.text;
    tipped += !tip.isEmpty();
  }
  EXPECT_GE(tipped, 12);
  EXPECT_TRUE(form->screenDataTipAt(QPoint(545, 49)).contains("length units"));
  EXPECT_TRUE(form->screenDataTipAt(QPoint(form->Surface->width() - 5, form->Surface->height() - 5))
                  .isEmpty());
}

// Made smaller than its strip of controls, the window scrolls instead of cutting the strip and
// the screen data off: the drawing keeps the size that shows them whole.
TEST_F(FitWindow, ASmallWindowScrollsRatherThanCutting) {
  form->resize(450, 300);
  QApplication::processEvents();
  auto* scroller = qobject_cast<QScrollArea*>(form->centralWidget());
  ASSERT_NE(scroller, nullptr);
  EXPECT_GE(form->Surface->width(), form->Surface->minimumWidth());
  EXPECT_GE(form->Surface->height(), form->Surface->minimumHeight());
  EXPECT_GT(form->Surface->width(), scroller->viewport()->width());
  EXPECT_TRUE(scroller->horizontalScrollBar()->isVisible());
  EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
}

// The window's pictures leave out the bars' captions and carry a caption line when asked.
TEST_F(FitWindow, PicturesOfTheViewCanCarryACaptionLine) {
  form->Timer1->stop();
  ws.StepAngle = 0.0f;
  ws.DriverAngle = 30.0f;
  form->Timer1Timer();
  RecordingCanvas plain;
  form->drawShownFrame(plain);
  EXPECT_EQ(plain.findText("Pan Vert"), nullptr);
  EXPECT_EQ(plain.findTextContaining("from mid gear"), nullptr);
  form->PictureCaption->setChecked(true);
  RecordingCanvas captioned;
  form->drawShownFrame(captioned);
  const DrawCall* line = captioned.findTextContaining("from mid gear");
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text, "Nominal    notch +0.000 from mid gear    crank 30.00 deg");
}

}  // namespace
}  // namespace vek1
