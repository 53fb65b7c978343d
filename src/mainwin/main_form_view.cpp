#include <QFontMetrics>
#include <algorithm>

#include "canvas.h"
#include "main_form.h"
#include "numbers.h"
#include "recording_canvas.h"
#include "reference_points.h"
#include "screen_data_drawing.h"
#include "steam_drawing.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {
// One notch of the mouse wheel (120 eighths of a degree) zooms by 10 %.
constexpr double kWheelPercentPerEighth = 10.0 / 120.0;
}  // namespace

void TMainForm::setStripVisible(bool visible) {
  viewStrip->setStripShown(visible);
  motionStrip->setStripShown(visible);
  referenceStrip->setStripShown(visible);
  ToolBar1->setVisible(visible);
  DriverAng->setEnabled(visible);
  FindRevArmCent->setEnabled(visible);
  DynamicVariables->setEnabled(visible);
  SetUnDo->setEnabled(visible);
  RefPoints->setEnabled(visible);
  SetPivotData->setEnabled(visible);
  RefPoints1->setVisible(visible);
}

void TMainForm::SetScreenDataClick() {
  if (ws_.ScreenDataOn) {
    ws_.ScreenDataOn = false;
    SetScreenData->setText("SetScree&nData On");
    setStripVisible(false);
    ws_.DynVarShown = false;
    setDynVarControlsVisible(false);
    ws_.UndoMode = false;
    SetRefPointsMode(ws_, false);
    syncReferenceControls();
    SetPanZoom->setEnabled(true);
  } else {
    ws_.ScreenDataOn = true;
    SetScreenData->setText("SetScree&nData Off");
    setStripVisible(true);
    SetPanZoom->setEnabled(false);
    SetPanZoom->setText("Set&PanZoom On");
  }
}

void TMainForm::SetPanZoomClick() {
  const bool show = !viewStrip->panZoomBarsShown();
  SetPanZoom->setText(show ? "SetP&anZoom Off" : "SetP&anZoom On");
  viewStrip->setPanZoomBarsShown(show);
}

void TMainForm::SetLineWidthClick() {
  ws_.LineWidth = ws_.LineWidth == 1 ? 2 : 1;
  SetLineWidth->setText(ws_.LineWidth == 1 ? "Set&LineWidth 2" : "Set&LineWidth 1");
}

void TMainForm::SurfaceWheel(QPoint at, int eighths) {
  ZoomAbout(ws_, eighths * kWheelPercentPerEighth, at.x(), at.y());
  viewStrip->viewMoved();
}

void TMainForm::SurfaceDrag(QPoint by) {
  PanBy(ws_, by.x(), by.y());
  viewStrip->viewMoved();
}

void TMainForm::LargeFontClick() {
  // The texts' scale says which font is on; the caption offers the other.
  if (ws_.TextScaleX == 1.0f && ws_.TextScaleY == 1.0f) {
    ws_.TextScaleX = 1.27f;
    ws_.TextScaleY = 1.22f;
    LargeFont->setText("SetSmall&Font");
  } else {
    ws_.TextScaleX = ws_.TextScaleY = 1.0f;
    LargeFont->setText("SetLarge&Font");
  }
  applyTextScale();
}

void TMainForm::SetSteamClick() {
  SetSteam->setText(QString::fromUtf8(toggleSteamDisplay(ws_)));
}

void TMainForm::SetBeepOnErrorClick() {
  ws_.ErrorBeepOn = !ws_.ErrorBeepOn;
  SetBeepOnError->setText(ws_.ErrorBeepOn ? "Set&ErrorBeep Off" : "Set&ErrorBeep On");
}

PixelBox TMainForm::drawingArea() const {
  // The area the frame clips the gear to, less the screen-data column's height: a fitted gear
  // stands below the strip and the texts, over the whole width.
  const CanvasClip clip = gearClip(ws_, {Surface->width(), Surface->height()});
  const int top = ws_.ScreenDataOn ? std::max(clip.top, clip.cutBottom) : clip.top;
  return {clip.left, top, clip.right, clip.bottom};
}

QString TMainForm::screenDataTipAt(QPoint at) const {
  if (!ws_.ScreenDataOn) return {};
  RecordingCanvas texts(Surface->width(), Surface->height());
  drawScreenData(texts, ws_, CutOffDisplay{true, true, true});
  for (const DrawCall& t : texts.texts()) {
    const QFontMetrics metrics(canvasFont(canvasFontPixels(t.fontSize), t.fontStyle));
    const QRect box(t.x1, t.y1, metrics.horizontalAdvance(QString::fromStdString(t.text)),
                    metrics.height());
    if (box.contains(at)) return QString::fromStdString(screenDataTip(t.text));
  }
  return {};
}

void TMainForm::FitToWindowClick() {
  const std::optional<ViewTriple> view = fittedView(ws_, drawingArea());
  if (!view) return;
  ws_.SavedView = CurrentView(ws_);
  SetCurrentView(ws_, *view);
  ws_.BaseView = *view;
  viewStrip->viewMoved();
  redrawWhole();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  if (KeepFitted && KeepFitted->isChecked()) FitToWindowClick();
}

}  // namespace vek1
