#include "reference_strip.h"

namespace vek1 {

ReferenceStrip::ReferenceStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout)
    : ControlStrip(drawing, layout), ws_(ws) {
  static const char* const kHints[] = {"Change Ref Point 1 Vert", "Change Ref Point 1 Horz",
                                       "Change Ref Point 2 Vert", "Change Ref Point 2 Horz"};
  for (int bar = 0; bar < kRefBarCount; ++bar) {
    const bool vertical = bar == Ref1VertBar || bar == Ref2VertBar;
    auto* b = new EndScrollBar(Qt::Horizontal, this);
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
  connect(DataTableBut, &QPushButton::clicked, this, &ReferenceStrip::dataTableAsked);
}

void ReferenceStrip::syncToModes() {
  const bool on = ws_.RefPointsMode;
  for (EndScrollBar* b : SBRef) b->setVisible(on);
  RefPt1->setEnabled(on);
  RefPt2->setEnabled(on);
  RefPt1Zero->setVisible(on);
  RefPt2Zero->setVisible(on);
  DataTableBut->setVisible(ws_.PivotDataMode);
}

void ReferenceStrip::takeDialogOutcome(const RefPntsOutcome& outcome) {
  if (outcome.disableZeros) {
    RefPt1Zero->setEnabled(false);
    RefPt2Zero->setEnabled(false);
  }
  if (outcome.enableRef1Zero) RefPt1Zero->setEnabled(true);
  if (outcome.enableRef2Zero) RefPt2Zero->setEnabled(true);
}

void ReferenceStrip::takePressEffects(const PressEffects& effects) {
  if (effects.ref1Zero) RefPt1Zero->setEnabled(true);
  if (effects.ref2Zero) RefPt2Zero->setEnabled(true);
}

void ReferenceStrip::keepPlacedTextsReadable() {
  const bool prompt = ws_.PivotSelectPending;
  DataTableBut->setVisible(ws_.PivotDataMode && !prompt);
  const bool label = ws_.ShowDimensionId != 0;
  RefPt1->setVisible(ws_.ScreenDataOn && !label);
  RefPt2->setVisible(ws_.ScreenDataOn && !label);
  if (label == labelShown_) return;
  labelShown_ = label;
  if (label) {
    for (EndScrollBar* b : SBRef) b->hide();
    RefPt1Zero->hide();
    RefPt2Zero->hide();
  } else {
    syncToModes();
  }
}

void ReferenceStrip::setStripShown(bool shown) {
  RefPt1->setVisible(shown);
  RefPt2->setVisible(shown);
}

void ReferenceStrip::SBRefChange(int bar, int position) {
  (bar <= Ref1HorzBar ? RefPt1Zero : RefPt2Zero)->setEnabled(true);
  RefBarChange(ws_, bar, position);
  SBRef[bar]->setValue(0);
}

void ReferenceStrip::RefPtZeroClick(int point) {
  ZeroRefPoint(ws_, point);
  SBRef[point == 1 ? Ref1VertBar : Ref2VertBar]->setValue(0);
  SBRef[point == 1 ? Ref1HorzBar : Ref2HorzBar]->setValue(0);
  (point == 1 ? RefPt1Zero : RefPt2Zero)->setEnabled(false);
}

void ReferenceStrip::RefPtClick(int point) {
  emit panned(PanToRefPoint(ws_, point));
}

}  // namespace vek1
