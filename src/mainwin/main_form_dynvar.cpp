#include "dynvar.h"
#include "main_form.h"

namespace vek1 {

void TMainForm::buildDynVarControls() {
  static const char* const kHints[] = {
      "", "Change Last Variable Clicked", "Change Next to Last Variable Clicked",
      "Change 2nd to Last Variable Clicked", "Change 3rd to Last Variable Clicked"};
  Panel7 = new QFrame(Surface);
  Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  place(Panel7, QRect(268, 68, 106, 52));
  // Two marks over the bars' centre, where each bar springs back to.
  Panel8 = new QFrame(Surface);
  Panel8->setFrameStyle(QFrame::VLine | QFrame::Plain);
  place(Panel8, QRect(320, 66, 2, 4));
  Panel9 = new QFrame(Surface);
  Panel9->setFrameStyle(QFrame::VLine | QFrame::Plain);
  place(Panel9, QRect(320, 118, 2, 4));
  for (int bar = 1; bar <= 4; ++bar) {
    auto* b = new EndScrollBar(Qt::Horizontal, Surface);
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
  connect(UnDoDn, &QPushButton::clicked, this, &TMainForm::UnDoDnClick);
  setDynVarControlsVisible(false);
}

void TMainForm::setDynVarControlsVisible(bool visible) {
  for (int bar = 1; bar <= 4; ++bar) SBDynVar[bar]->setVisible(visible);
  Panel7->setVisible(visible);
  Panel8->setVisible(visible);
  Panel9->setVisible(visible);
}

void TMainForm::SBDynVarChange(int bar, int position) {
  DynVarBarChange(ws_, bar, position);
  // The bar springs back to its centre; that change applies a step of 0.
  SBDynVar[bar]->setValue(0);
}

void TMainForm::SBDynVarScroll(int bar) {
  DynVarBarScrollEnd(ws_, bar);
  // Away from the bar, so that its next use records a fresh value at focus.
  SBRevArm->setFocus();
}

void TMainForm::SBDynVarEnter(int bar) {
  DynVarBarEnter(ws_, bar);
}

void TMainForm::UnDoDnClick() {
  UndoButtonClick(ws_);
  UnDoDn->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDn]);
}

void TMainForm::DynamicVariablesClick() {
  ws_.DynVarShown = !ws_.DynVarShown;
  setDynVarControlsVisible(ws_.DynVarShown);
}

void TMainForm::SetUnDoClick() {
  ws_.UndoMode = !ws_.UndoMode;
}

}  // namespace vek1
