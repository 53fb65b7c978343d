#include "dynvar_strip.h"

#include "dynvar.h"

namespace vek1 {

DynVarStrip::DynVarStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout)
    : ControlStrip(drawing, layout), ws_(ws) {
  static const char* const kHints[] = {
      "", "Change Last Variable Clicked", "Change Next to Last Variable Clicked",
      "Change 2nd to Last Variable Clicked", "Change 3rd to Last Variable Clicked"};
  Panel7 = new QFrame(this);
  Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  place(Panel7, QRect(268, 68, 106, 52));
  // Two marks over the bars' centre, where each bar springs back to.
  Panel8 = new QFrame(this);
  Panel8->setFrameStyle(QFrame::VLine | QFrame::Plain);
  place(Panel8, QRect(320, 66, 2, 4));
  Panel9 = new QFrame(this);
  Panel9->setFrameStyle(QFrame::VLine | QFrame::Plain);
  place(Panel9, QRect(320, 118, 2, 4));
  for (int bar = 1; bar <= 4; ++bar) {
    auto* b = new EndScrollBar(Qt::Horizontal, this);
    place(b, QRect(271, 71 + 12 * (bar - 1), 100, 11));
    b->setRange(-200, 200);
    b->setSingleStep(1);
    b->setPageStep(10);
    b->setToolTip(kHints[bar]);
    SBDynVar[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBDynVarChange(bar, p); });
    connect(b, &EndScrollBar::scrollEnded, this, [this, bar] { SBDynVarScroll(bar); });
    connect(b, &EndScrollBar::focusEntered, this, [this, bar] { SBDynVarEnter(bar); });
  }
  UnDoDn = makeButton(282, 72, 36, "UnDo", QString());
  UnDoDn->setEnabled(false);
  UnDoDn->hide();
  connect(UnDoDn, &QPushButton::clicked, this, &DynVarStrip::UnDoDnClick);
  setControlsVisible(false);
}

void DynVarStrip::setControlsVisible(bool visible) {
  for (int bar = 1; bar <= 4; ++bar) SBDynVar[bar]->setVisible(visible);
  Panel7->setVisible(visible);
  Panel8->setVisible(visible);
  Panel9->setVisible(visible);
}

void DynVarStrip::showFrame(const std::array<bool, 4>& barEnabled, int undoButtonTop) {
  for (int bar = 1; bar <= 4; ++bar) SBDynVar[bar]->setEnabled(barEnabled[bar - 1]);
  if (undoButtonTop >= 0) {
    UnDoDn->move(UnDoDn->x(), undoButtonTop);
    UnDoDn->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDn]);
    UnDoDn->show();
  } else {
    UnDoDn->hide();
  }
}

void DynVarStrip::SBDynVarChange(int bar, int position) {
  DynVarBarChange(ws_, bar, position);
  // The bar springs back to its centre; that change applies a step of 0.
  SBDynVar[bar]->setValue(0);
}

void DynVarStrip::SBDynVarScroll(int bar) {
  DynVarBarScrollEnd(ws_, bar);
  emit scrollEnded();
}

void DynVarStrip::SBDynVarEnter(int bar) {
  DynVarBarEnter(ws_, bar);
}

void DynVarStrip::UnDoDnClick() {
  UndoButtonClick(ws_);
  UnDoDn->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDn]);
}

}  // namespace vek1
