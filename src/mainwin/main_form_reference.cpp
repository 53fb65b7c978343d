#include <algorithm>

#include "main_form.h"
#include "ref_points_dialog.h"
#include "reference_points.h"

namespace vek1 {

void TMainForm::buildReferenceControls() {
  static const char* const kHints[] = {"Change Ref Point 1 Vert", "Change Ref Point 1 Horz",
                                       "Change Ref Point 2 Vert", "Change Ref Point 2 Horz"};
  for (int bar = 0; bar < kRefBarCount; ++bar) {
    const bool vertical = bar == Ref1VertBar || bar == Ref2VertBar;
    auto* b = new EndScrollBar(Qt::Horizontal, Surface);
    place(b, QRect(20, 71 + 12 * bar, 100, 11));
    b->setRange(vertical ? -5000 : -10000, vertical ? 5000 : 10000);
    b->setSingleStep(1);
    b->setPageStep(kRefBarPage);
    b->setToolTip(kHints[bar]);
    b->hide();
    SBRef[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBRefChange(bar, p); });
  }
  RefPt1Zero = makeButton(2, 71, 16, "0", "Zero Reference Point 1");
  RefPt2Zero = makeButton(2, 95, 16, "0", "Zero Reference Point 2");
  RefPt1 = makeButton(121, 71, 21, "RP1", "Pan to Ref Point 1");
  RefPt2 = makeButton(121, 95, 21, "RP2", "Pan to Ref Point 2");
  for (QPushButton* b : {RefPt1Zero, RefPt2Zero, RefPt1, RefPt2}) b->setEnabled(false);
  RefPt1Zero->hide();
  RefPt2Zero->hide();
  DataTableBut = makeButton(100, 125, 56, "DataTable", QString());
  DataTableBut->hide();
  connect(RefPt1, &QPushButton::clicked, this, [this] { RefPtClick(1); });
  connect(RefPt2, &QPushButton::clicked, this, [this] { RefPtClick(2); });
  connect(RefPt1Zero, &QPushButton::clicked, this, [this] { RefPtZeroClick(1); });
  connect(RefPt2Zero, &QPushButton::clicked, this, [this] { RefPtZeroClick(2); });
  connect(DataTableBut, &QPushButton::clicked, this, &TMainForm::DataTableButClick);
}

void TMainForm::syncReferenceControls() {
  const bool on = ws_.RefPointsMode;
  for (EndScrollBar* b : SBRef) b->setVisible(on);
  RefPt1->setEnabled(on);
  RefPt2->setEnabled(on);
  RefPt1Zero->setVisible(on);
  RefPt2Zero->setVisible(on);
  DataTableBut->setVisible(ws_.PivotDataMode);
  DrawLines1->setEnabled(on);
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
  if (auto* dialog = qobject_cast<TRefPnts*>(refPoints_)) {
    const RefPntsOutcome& outcome = dialog->Outcome;
    if (outcome.disableZeros) {
      RefPt1Zero->setEnabled(false);
      RefPt2Zero->setEnabled(false);
    }
    if (outcome.enableRef1Zero) RefPt1Zero->setEnabled(true);
    if (outcome.enableRef2Zero) RefPt2Zero->setEnabled(true);
  }
  syncReferenceControls();
}

void TMainForm::DataTableButClick() {
  if (dataTable_) dataTable_->exec();
}

void TMainForm::SBRefChange(int bar, int position) {
  (bar <= Ref1HorzBar ? RefPt1Zero : RefPt2Zero)->setEnabled(true);
  RefBarChange(ws_, bar, position);
  SBRef[bar]->setValue(0);
}

void TMainForm::RefPtZeroClick(int point) {
  ZeroRefPoint(ws_, point);
  SBRef[point == 1 ? Ref1VertBar : Ref2VertBar]->setValue(0);
  SBRef[point == 1 ? Ref1HorzBar : Ref2HorzBar]->setValue(0);
  (point == 1 ? RefPt1Zero : RefPt2Zero)->setEnabled(false);
}

void TMainForm::RefPtClick(int point) {
  const PanBarPositions bars = PanToRefPoint(ws_, point);
  SBPanHorz->setValue(std::clamp(bars.horz, SBPanHorz->minimum(), SBPanHorz->maximum()));
  SBPanVert->setValue(std::clamp(bars.vert, SBPanVert->minimum(), SBPanVert->maximum()));
}

void TMainForm::FormMouseDown(bool left, QPoint at) {
  const bool armedBefore = ws_.OverlayTwoPointArmed;
  const PressEffects effects = MainMousePress(ws_, left, at.x(), at.y());
  if (effects.ref1Zero) RefPt1Zero->setEnabled(true);
  if (effects.ref2Zero) RefPt2Zero->setEnabled(true);
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
