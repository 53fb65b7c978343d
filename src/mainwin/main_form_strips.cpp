// The main window's strips: made, wired to each other, and driven from the menus.
#include "dimensions.h"
#include "dynvar.h"
#include "main_form.h"
#include "motion.h"
#include "ref_points_dialog.h"
#include "reference_points.h"

namespace vek1 {

void TMainForm::buildStrips() {
  // Made in the order the keyboard goes through them: the view, then the motion.
  viewStrip = new ViewStrip(ws_, Surface, stripLayout_);
  motionStrip = new MotionStrip(ws_, Surface, stripLayout_);
  dynVarStrip = new DynVarStrip(ws_, Surface, stripLayout_);
  referenceStrip = new ReferenceStrip(ws_, Surface, stripLayout_);
  // Away from a dynamic-variable bar after its scroll, so that its next use records a fresh
  // value at focus.
  connect(dynVarStrip, &DynVarStrip::scrollEnded, this,
          [this] { motionStrip->SBRevArm->setFocus(); });
  connect(referenceStrip, &ReferenceStrip::panned, viewStrip, &ViewStrip::panByBars);
  connect(referenceStrip, &ReferenceStrip::dataTableAsked, this, [this] {
    if (dataTable_) dataTable_->exec();
  });
}

void TMainForm::pauseAnimation(bool paused) {
  if (paused) {
    Timer1->stop();
  } else {
    Timer1->start();
  }
}

void TMainForm::FindRevArmCentClick() {
  ComputeReverseArmCentre(ws_);
  motionStrip->CenterClick();
}

void TMainForm::setDynVarControlsVisible(bool visible) {
  dynVarStrip->setControlsVisible(visible);
}

void TMainForm::DynamicVariablesClick() {
  ws_.DynVarShown = !ws_.DynVarShown;
  setDynVarControlsVisible(ws_.DynVarShown);
}

void TMainForm::SetUnDoClick() {
  ws_.UndoMode = !ws_.UndoMode;
}

void TMainForm::syncReferenceControls() {
  referenceStrip->syncToModes();
  DrawLines1->setEnabled(ws_.RefPointsMode);
}

void TMainForm::RefPointsClick() {
  SetRefPointsMode(ws_, !ws_.RefPointsMode);
  syncReferenceControls();
}

void TMainForm::SetPivotDataClick() {
  SetPivotDataMode(ws_, !ws_.PivotDataMode);
  syncReferenceControls();
}

void TMainForm::RefPoints1Click() {
  if (!refPoints_) return;
  refPoints_->exec();
  if (auto* dialog = qobject_cast<TRefPnts*>(refPoints_))
    referenceStrip->takeDialogOutcome(dialog->Outcome);
  syncReferenceControls();
}

void TMainForm::FormMouseDown(bool left, QPoint at) {
  const bool armedBefore = ws_.OverlayTwoPointArmed;
  referenceStrip->takePressEffects(MainMousePress(ws_, left, at.x(), at.y()));
  // An item waiting for its pivot: the press that placed the reference point on it brings the
  // lines dialog back, which captures the pivot (a right press after a left one for two pivots).
  const bool chosen = ws_.OverlayTypeChoice >= 0 && ws_.OverlayColourChoice >= 0;
  if (ws_.RefPointsMode && chosen) {
    if (left && ws_.OverlayRefChoice >= 0 && ws_.OverlayRefChoice <= 2) {
      DrawLines1Click();
    } else if (!left && ws_.OverlayRefChoice == 3 && armedBefore) {
      ws_.OverlayTwoPointArmed = false;
      DrawLines1Click();
    }
  }
  // A press while a dimension is being shown ends the display at the next frame.
  if (ws_.ShowDimensionId != 0) EndPositionDisplaySoon(ws_);
}

}  // namespace vek1
