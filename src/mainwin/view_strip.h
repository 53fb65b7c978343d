#pragma once
// The view strip: Norm and the presets, and the pan and zoom bars beside their labels. Each bar
// springs back to its centre after every step it applies.

#include <QPushButton>
#include <QScrollBar>
#include <array>

#include "control_strip.h"
#include "reference_points.h"
#include "workspace.h"

namespace vek1 {

class ViewStrip : public ControlStrip {
  Q_OBJECT
 public:
  ViewStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout);

  QPushButton* NormVHZ = nullptr;
  QPushButton* Preset0 = nullptr;
  std::array<QPushButton*, 7> Presets{};  // 1..6
  QScrollBar* SBPanVert = nullptr;
  QScrollBar* SBPanHorz = nullptr;
  QScrollBar* SBZoom = nullptr;

  void NormVHZClick();
  void Preset0Click();
  void PresetClick(int n);
  // The view moved away from normal (wheel, drag, fit): Norm can bring it back.
  void viewMoved();
  // Pans by the bars' positions, each limited to its bar, as the bars themselves would.
  void panByBars(const PanBarPositions& bars);
  // The pan and zoom bars alone, while the rest of the strip is hidden (the screen data off);
  // SetPanZoom's caption follows.
  void setPanZoomBarsShown(bool shown);
  bool panZoomBarsShown() const { return panZoomShown_; }
  void setStripShown(bool shown);

 private:
  void wireAutoCentreBar(QScrollBar* bar, ViewBar which);

  Workspace& ws_;
  bool panZoomShown_ = false;
};

}  // namespace vek1
