#include "view_strip.h"

#include <algorithm>

#include "view.h"

namespace vek1 {

ViewStrip::ViewStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout)
    : ControlStrip(drawing, layout), ws_(ws) {
  NormVHZ = makeButton(2, 25, 44, "Norm", "Return Pan & Zoom to Normal");
  NormVHZ->setEnabled(false);
  Preset0 = makeButton(48, 25, 44, "P", "Select First to Change Presets");
  for (int n = 1; n <= 6; ++n) {
    const int row = (n - 1) / 3, col = (n - 1) % 3;
    Presets[n] = makeButton(2 + col * 30, 39 + row * 14, 28, QString::number(n),
                            QStringLiteral("Pan & Zoom to Preset %1").arg(n));
    connect(Presets[n], &QPushButton::clicked, this, [this, n] { PresetClick(n); });
  }
  connect(NormVHZ, &QPushButton::clicked, this, &ViewStrip::NormVHZClick);
  connect(Preset0, &QPushButton::clicked, this, &ViewStrip::Preset0Click);
  SBPanVert = makeBar(95, 25, 100, -500, 500, 1, 10, "Pan Vertical");
  SBPanHorz = makeBar(95, 39, 100, -500, 500, 1, 10, "Pan Horizontal");
  SBZoom = makeBar(95, 53, 100, -200, 200, 1, 10, "Zoom In / Out");
  wireAutoCentreBar(SBPanVert, PanVertBar);
  wireAutoCentreBar(SBPanHorz, PanHorzBar);
  wireAutoCentreBar(SBZoom, ZoomBar);
}

void ViewStrip::wireAutoCentreBar(QScrollBar* bar, ViewBar which) {
  connect(bar, &QScrollBar::valueChanged, this, [this, bar, which](int p) {
    NormVHZ->setEnabled(true);
    ViewBarChange(ws_, which, p);
    // The bar springs back to its centre; that change applies a step of 0.
    bar->setValue(0);
  });
}

void ViewStrip::NormVHZClick() {
  ws_.SavedView = CurrentView(ws_);
  SBPanVert->setValue(0);
  SBPanHorz->setValue(0);
  SBZoom->setValue(0);
  SetCurrentView(ws_, ws_.NormalView);
  NormVHZ->setEnabled(false);
  Preset0->setEnabled(true);
}

void ViewStrip::Preset0Click() {
  ws_.ViewPresets[0] = CurrentView(ws_);
  Preset0->setEnabled(false);
  NormVHZ->setEnabled(true);
}

void ViewStrip::PresetClick(int n) {
  if (n < 1 || n >= kViewPresets) return;
  // A disabled P means the view captured by P is to be stored as this preset first.
  if (!Preset0->isEnabled()) ws_.ViewPresets[n] = ws_.ViewPresets[0];
  SetCurrentView(ws_, ws_.ViewPresets[n]);
  NormVHZ->setEnabled(true);
  Preset0->setEnabled(true);
}

void ViewStrip::viewMoved() {
  NormVHZ->setEnabled(true);
}

void ViewStrip::panByBars(const PanBarPositions& bars) {
  SBPanHorz->setValue(std::clamp(bars.horz, SBPanHorz->minimum(), SBPanHorz->maximum()));
  SBPanVert->setValue(std::clamp(bars.vert, SBPanVert->minimum(), SBPanVert->maximum()));
}

void ViewStrip::setPanZoomBarsShown(bool shown) {
  panZoomShown_ = shown;
  SBPanVert->setVisible(shown);
  SBPanHorz->setVisible(shown);
  SBZoom->setVisible(shown);
}

void ViewStrip::setStripShown(bool shown) {
  // Shown or hidden with the strip, the bars are no longer shown apart from it.
  panZoomShown_ = false;
  for (QWidget* w :
       std::initializer_list<QWidget*>{Presets[1], Presets[2], Presets[3], Presets[4], Presets[5],
                                       Presets[6], Preset0, NormVHZ, SBPanVert, SBPanHorz, SBZoom})
    w->setVisible(shown);
}

}  // namespace vek1
