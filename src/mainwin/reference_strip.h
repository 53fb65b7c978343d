#pragma once
// The reference strip: the bars that move reference points 1 and 2, their zero buttons, the RP
// buttons that pan to them, and the DataTable button of the pivot data.

#include <QPushButton>
#include <array>

#include "control_strip.h"
#include "endscrollbar.h"
#include "ref_points_dialog.h"
#include "reference_points.h"
#include "workspace.h"

namespace vek1 {

class ReferenceStrip : public ControlStrip {
  Q_OBJECT
 public:
  ReferenceStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout);

  std::array<EndScrollBar*, 4> SBRef{};  // SBRef1Vert, SBRef1Horz, SBRef2Vert, SBRef2Horz
  QPushButton* RefPt1 = nullptr;
  QPushButton* RefPt2 = nullptr;
  QPushButton* RefPt1Zero = nullptr;
  QPushButton* RefPt2Zero = nullptr;
  QPushButton* DataTableBut = nullptr;

  void SBRefChange(int bar, int position);
  void RefPtClick(int point);
  void RefPtZeroClick(int point);

  // Shows the controls as the reference-points and pivot-data modes say.
  void syncToModes();
  // What the reference points dialog or a press on the drawing changed of the zero buttons.
  void takeDialogOutcome(const RefPntsOutcome& outcome);
  void takePressEffects(const PressEffects& effects);
  // After each frame: the pivot prompt's lines run where the DataTable button stands, and the
  // shown dimension's label where RP1 and RP2 stand; while those texts are up, the buttons step
  // aside.
  void keepPlacedTextsReadable();
  // With the screen data off only the pan buttons go; the modes keep the rest.
  void setStripShown(bool shown);

 signals:
  // RP1 or RP2 panned the view: the pan bars carry it on toward the normal framing.
  void panned(const PanBarPositions& bars);
  void dataTableAsked();

 private:
  Workspace& ws_;
  bool labelShown_ = false;
};

}  // namespace vek1
