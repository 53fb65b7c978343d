#pragma once
// The motion strip: the reverse arm, the driver and its step, each with its bar and buttons. It
// owns whether the driver turns; the Run button's caption follows that state.

#include <QPushButton>
#include <QScrollBar>

#include "control_strip.h"
#include "workspace.h"

namespace vek1 {

class MotionStrip : public ControlStrip {
  Q_OBJECT
 public:
  MotionStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout);

  QPushButton* Fwd = nullptr;
  QPushButton* Center = nullptr;
  QPushButton* Rev = nullptr;
  QPushButton* Run = nullptr;
  QPushButton* Deg00 = nullptr;
  QPushButton* Deg180 = nullptr;
  QPushButton* Step1 = nullptr;
  QPushButton* Step10 = nullptr;
  QPushButton* Step45 = nullptr;
  QScrollBar* SBRevArm = nullptr;
  QScrollBar* SBDrvAng = nullptr;
  QScrollBar* SBStepAng = nullptr;
  // Set while the step bar is moved to a step already chosen, so that its change handler keeps
  // the step as it is.
  bool SkipStepScroll = true;

  void RunClick();
  void SBDrvAngChange(int position);
  void Deg00Click();
  void Deg180Click();
  void SBStepAngChange(int position);
  void StepButtonClick(QPushButton* button, float step, int position);
  void SBRevArmChange(int position);
  void FwdClick();
  void RevClick();
  void CenterClick();

  // Whether the driver turns; the Run button's caption follows it ("Stop" while it turns).
  bool running() const { return running_; }
  // Starts or stops the driver: the step, the driver-angle bar and the caption follow. Setting
  // the state it already has applies it again (a typed step takes effect that way).
  void setRunning(bool run);
  // Stops the driver at a typed angle.
  void stopAtAngle(float angle);
  // Takes a typed step: the bar moves to its mark, the driver-angle bar steps by it.
  void takeTypedStep(float step);
  // The reverse arm to the mid-gear centre (after the centre was recomputed).
  void centreReverseArm();
  // Gives SBRevArm the range the model holds (after "Rev Arm to Cent Max" changed): its maximum
  // first, then its minimum.
  void SyncRevArmRange();
  // After a set was loaded: the bar's range from the new Max, its thumb where the arm now is.
  void showLoadedArm();
  // While stopped, turns the driver by the selected step (+1 forward, -1 back), as the
  // driver-angle bar would.
  void turnDriver(int direction);
  // The driver-angle bar is locked whenever the window becomes active.
  void lockDriverBar();
  void setStripShown(bool shown);

 private:
  // "0.0" and "180": stop the driver at an angle.
  void stopAt(float angle, QPushButton* pressed, QPushButton* other);
  // "Fwd" and "Rev": the reverse arm at centre +- Norm (side +1 or -1).
  void normalGear(double side, int position, QPushButton* pressed, QPushButton* other);

  Workspace& ws_;
  bool running_ = true;  // the driver starts turning
};

}  // namespace vek1
