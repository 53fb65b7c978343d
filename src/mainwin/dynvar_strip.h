#pragma once
// The dynamic-variable strip: four bars that nudge the dimensions last clicked while the gear
// runs, in their panel, and the UnDo button that follows the undo line of the screen data.

#include <QFrame>
#include <QPushButton>
#include <array>

#include "control_strip.h"
#include "endscrollbar.h"
#include "workspace.h"

namespace vek1 {

class DynVarStrip : public ControlStrip {
  Q_OBJECT
 public:
  DynVarStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout);

  std::array<EndScrollBar*, 5> SBDynVar{};  // 1..4
  QFrame* Panel7 = nullptr;
  QFrame* Panel8 = nullptr;
  QFrame* Panel9 = nullptr;
  QPushButton* UnDoDn = nullptr;

  void SBDynVarChange(int bar, int position);
  void SBDynVarScroll(int bar);
  void SBDynVarEnter(int bar);
  void UnDoDnClick();
  // Shows or hides the bars and their panels.
  void setControlsVisible(bool visible);
  // What the last frame drew: which bars have a variable, and the top of the undo line (below 0:
  // none drawn, the button hides).
  void showFrame(const std::array<bool, 4>& barEnabled, int undoButtonTop);

 signals:
  // A scroll of a bar ended: the focus is to leave the bar, so that its next use records a fresh
  // value at focus.
  void scrollEnded();

 private:
  Workspace& ws_;
};

}  // namespace vek1
