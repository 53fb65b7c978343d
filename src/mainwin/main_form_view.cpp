#include "main_form.h"

#include <QFontMetrics>
#include <algorithm>

#include "canvas.h"
#include "recording_canvas.h"
#include "numbers.h"
#include "screen_data_drawing.h"
#include "valve.h"
#include "reference_points.h"
#include "steam_drawing.h"
#include "view.h"

namespace vek1 {

namespace {
// One notch of the mouse wheel (120 eighths of a degree) zooms by 10 %.
constexpr double kWheelPercentPerEighth = 10.0 / 120.0;
}  // namespace

void TMainForm::wireAutoCentreBar(QScrollBar* bar, ViewBar which) {
  connect(bar, &QScrollBar::valueChanged, this, [this, bar, which](int p) {
    NormVHZ->setEnabled(true);
    ViewBarChange(ws_, which, p);
    // The bar springs back to its centre; that change applies a step of 0.
    bar->setValue(0);
  });
}

void TMainForm::buildViewControls() {
  // View: Norm and the presets at the left, the pan and zoom bars beside their labels.
  NormVHZ = makeButton(2, 25, 44, "Norm", "Return Pan & Zoom to Normal");
  NormVHZ->setEnabled(false);
  Preset0 = makeButton(48, 25, 44, "P", "Select First to Change Presets");
  for (int n = 1; n <= 6; ++n) {
    const int row = (n - 1) / 3, col = (n - 1) % 3;
    Presets[n] = makeButton(2 + col * 30, 39 + row * 14, 28, QString::number(n),
                            QStringLiteral("Pan & Zoom to Preset %1").arg(n));
    connect(Presets[n], &QPushButton::clicked, this, [this, n] { PresetClick(n); });
  }
  connect(NormVHZ, &QPushButton::clicked, this, &TMainForm::NormVHZClick);
  connect(Preset0, &QPushButton::clicked, this, &TMainForm::Preset0Click);
  SBPanVert = makeBar(95, 25, 100, -500, 500, 1, 10, "Pan Vertical");
  SBPanHorz = makeBar(95, 39, 100, -500, 500, 1, 10, "Pan Horizontal");
  SBZoom = makeBar(95, 53, 100, -200, 200, 1, 10, "Zoom In / Out");
  wireAutoCentreBar(SBPanVert, PanVertBar);
  wireAutoCentreBar(SBPanHorz, PanHorzBar);
  wireAutoCentreBar(SBZoom, ZoomBar);

  // Motion: reverse arm, driver angle and step angle, each with its buttons.
  Fwd = makeButton(248, 25, 27, "Fwd", "Set Reverse Arm to Normal Forward");
  Center = makeButton(276, 25, 27, "Cen", "Set Reverse Arm to Mid Gear");
  Center->setEnabled(false);
  Rev = makeButton(304, 25, 26, "Rev", "Set Reverse Arm to Normal Reverse");
  Run = makeButton(248, 39, 27, "Stop", "Start / Stop Driver Rotation");
  Deg00 = makeButton(276, 39, 27, "0.0", "Set Driver to 0 Deg");
}

void TMainForm::NormVHZClick() {
  ws_.SavedView = CurrentView(ws_);
  SBPanVert->setValue(0);
  SBPanHorz->setValue(0);
  SBZoom->setValue(0);
  SetCurrentView(ws_, ws_.NormalView);
  NormVHZ->setEnabled(false);
  Preset0->setEnabled(true);
}

void TMainForm::Preset0Click() {
  ws_.ViewPresets[0] = CurrentView(ws_);
  Preset0->setEnabled(false);
  NormVHZ->setEnabled(true);
}

void TMainForm::PresetClick(int n) {
  if (n < 1 || n >= kViewPresets) return;
  // A disabled P means the view captured by P is to be stored as this preset first.
  if (!Preset0->isEnabled()) ws_.ViewPresets[n] = ws_.ViewPresets[0];
  SetCurrentView(ws_, ws_.ViewPresets[n]);
  NormVHZ->setEnabled(true);
  Preset0->setEnabled(true);
}

void TMainForm::setStripVisible(bool visible) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           Presets[1], Presets[2], Presets[3], Presets[4], Presets[5], Presets[6],
           Preset0,    NormVHZ,    SBPanVert,  SBPanHorz,  SBZoom,     Rev,
           Center,     Fwd,        Deg180,     Run,        Deg00,      Step1,
           Step10,     Step45,     SBRevArm,   SBDrvAng,   SBStepAng,  ToolBar1})
    w->setVisible(visible);
  DriverAng->setEnabled(visible);
  FindRevArmCent->setEnabled(visible);
  DynamicVariables->setEnabled(visible);
  SetUnDo->setEnabled(visible);
  RefPoints->setEnabled(visible);
  SetPivotData->setEnabled(visible);
  RefPoints1->setVisible(visible);
  RefPt1->setVisible(visible);
  RefPt2->setVisible(visible);
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
  const bool show = SetPanZoom->text() != "SetP&anZoom Off";
  SetPanZoom->setText(show ? "SetP&anZoom Off" : "SetP&anZoom On");
  SBPanVert->setVisible(show);
  SBPanHorz->setVisible(show);
  SBZoom->setVisible(show);
}

void TMainForm::SetLineWidthClick() {
  ws_.LineWidth = ws_.LineWidth == 1 ? 2 : 1;
  SetLineWidth->setText(ws_.LineWidth == 1 ? "Set&LineWidth 2" : "Set&LineWidth 1");
}

void TMainForm::SurfaceWheel(QPoint at, int eighths) {
  ZoomAbout(ws_, eighths * kWheelPercentPerEighth, at.x(), at.y());
  NormVHZ->setEnabled(true);
}

void TMainForm::SurfaceDrag(QPoint by) {
  PanBy(ws_, by.x(), by.y());
  NormVHZ->setEnabled(true);
}

void TMainForm::LargeFontClick() {
  if (LargeFont->text() == "SetLarge&Font") {
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
  NormVHZ->setEnabled(true);
  redrawWhole();
}

void TMainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  growFrameToSurface();
  if (KeepFitted && KeepFitted->isChecked()) FitToWindowClick();
}

}  // namespace vek1
