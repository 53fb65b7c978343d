#include "motion_strip.h"

#include <cmath>

#include "dimensions.h"
#include "motion.h"
#include "numbers.h"
#include "valve.h"

namespace vek1 {

MotionStrip::MotionStrip(Workspace& ws, QWidget* drawing, ScaledLayout& layout)
    : ControlStrip(drawing, layout), ws_(ws) {
  // Made in the order the keyboard goes through them.
  Fwd = makeButton(248, 25, 27, "Fwd", "Set Reverse Arm to Normal Forward");
  Center = makeButton(276, 25, 27, "Cen", "Set Reverse Arm to Mid Gear");
  Center->setEnabled(false);
  Rev = makeButton(304, 25, 26, "Rev", "Set Reverse Arm to Normal Reverse");
  Run = makeButton(248, 39, 27, "Stop", "Start / Stop Driver Rotation");
  Deg00 = makeButton(276, 39, 27, "0.0", "Set Driver to 0 Deg");
  Deg180 = makeButton(304, 39, 26, "180", "Set Driver Angle to 180 Deg");
  Step1 = makeButton(248, 53, 27, "1.0", "Set Driver Step Angle to 1 Deg");
  Step10 = makeButton(276, 53, 27, "10.0", "Set Driver Step Angle to 10 Deg");
  Step10->setEnabled(false);
  Step45 = makeButton(304, 53, 26, "45.0", "Set Driver Step Angle to 45 Deg");
  SBRevArm = makeBar(332, 25, 124, ws_.RevArmScrollMin, ws_.RevArmScrollMax, 1, 20,
                     "Set Reverse Arm Between Max & Min");
  SBDrvAng = makeBar(332, 39, 124, -4000, 40000, 1000, 4500, "Set Driver Angle From 0 to 360 Deg");
  SBDrvAng->setEnabled(false);
  SBStepAng = makeBar(332, 53, 124, 0, kStepBarMax, 920, 2760,
                      "Set Driver Step Angle to Predefined Values");

  connect(SBRevArm, &QScrollBar::valueChanged, this, &MotionStrip::SBRevArmChange);
  connect(SBDrvAng, &QScrollBar::valueChanged, this, &MotionStrip::SBDrvAngChange);
  connect(SBStepAng, &QScrollBar::valueChanged, this, &MotionStrip::SBStepAngChange);
  connect(Run, &QPushButton::clicked, this, &MotionStrip::RunClick);
  connect(Deg00, &QPushButton::clicked, this, &MotionStrip::Deg00Click);
  connect(Deg180, &QPushButton::clicked, this, &MotionStrip::Deg180Click);
  connect(Fwd, &QPushButton::clicked, this, &MotionStrip::FwdClick);
  connect(Rev, &QPushButton::clicked, this, &MotionStrip::RevClick);
  connect(Center, &QPushButton::clicked, this, &MotionStrip::CenterClick);
  connect(Step1, &QPushButton::clicked, this, [this] { StepButtonClick(Step1, 1.0f, 8000); });
  connect(Step10, &QPushButton::clicked, this, [this] { StepButtonClick(Step10, 10.0f, 12000); });
  connect(Step45, &QPushButton::clicked, this,
          [this] { StepButtonClick(Step45, 45.0f, kStepBarMax); });
  // The step bar's first change notification is the one of its initial position, which the
  // skip flag swallows so that the start-up step stays as it is.
  SBStepAng->setValue(12000);
}

void MotionStrip::RunClick() {
  setRunning(!running_);
}

void MotionStrip::setRunning(bool run) {
  running_ = run;
  if (run) {
    ws_.StepAngle = ws_.SelectedStep;
    SBDrvAng->setEnabled(false);
  } else {
    SBDrvAng->setValue(roundHalfEven(ws_.DriverAngle * 100.0));
    ws_.StepAngle = 0.0f;
    SBDrvAng->setEnabled(true);
  }
  Run->setText(run ? "Stop" : "Run");
  Deg00->setEnabled(true);
  Deg180->setEnabled(true);
}

void MotionStrip::stopAtAngle(float angle) {
  setRunning(false);
  ws_.DriverAngle = angle;
  SBDrvAng->setValue(roundHalfEven(ws_.DriverAngle * 100.0));
}

void MotionStrip::takeTypedStep(float step) {
  // The typed step is kept as typed: the bar moves to its mark without re-choosing a step.
  SkipStepScroll = true;
  ws_.SelectedStep = step;
  // A running driver goes on at the new step, a stopped one stays stopped.
  setRunning(running_);
  const int position = StepBarPosition(ws_.SelectedStep);
  SBStepAng->setValue(position);
  // When the bar already stood at that mark no change was reported; consume the skip now so
  // that the user's next move of the bar is not ignored.
  if (SkipStepScroll) SBStepAngChange(position);
  SBDrvAng->setSingleStep(roundHalfEven(100.0 * ws_.SelectedStep));
  SBDrvAng->setPageStep(roundHalfEven(500.0 * ws_.SelectedStep));
}

void MotionStrip::centreReverseArm() {
  SBRevArm->setValue(0);
}

void MotionStrip::SBDrvAngChange(int position) {
  ws_.DriverAngle = toSingle(position / 100.0);
  Deg00->setEnabled(true);
  Deg180->setEnabled(true);
}

void MotionStrip::stopAt(float angle, QPushButton* pressed, QPushButton* other) {
  stopAtAngle(angle);
  pressed->setEnabled(false);
  other->setEnabled(true);
}

void MotionStrip::Deg00Click() {
  stopAt(0.0f, Deg00, Deg180);
}

void MotionStrip::Deg180Click() {
  stopAt(180.0f, Deg180, Deg00);
}

void MotionStrip::SBStepAngChange(int position) {
  if (SkipStepScroll) {
    SkipStepScroll = false;
  } else {
    const StepSetting setting = StepForBarPosition(position);
    ws_.SelectedStep = setting.Step;
    SBDrvAng->setSingleStep(setting.Small);
    SBDrvAng->setPageStep(setting.Large);
    if (running()) ws_.StepAngle = ws_.SelectedStep;
  }
  Step10->setEnabled(ws_.SelectedStep != 10.0f);
  Step45->setEnabled(ws_.SelectedStep != 45.0f);
  Step1->setEnabled(ws_.SelectedStep != 1.0f);
}

void MotionStrip::StepButtonClick(QPushButton* button, float step, int position) {
  button->setEnabled(false);
  ws_.SelectedStep = step;
  if (running()) ws_.StepAngle = step;
  SBStepAng->setValue(position);
}

void MotionStrip::SBRevArmChange(int position) {
  SetReverseArmFromBar(ws_, position);
  const float centre = ReverseArmCentre(ws_);
  const float norm = ws_.Frame[dim::RevArmToCentNorm];
  Center->setEnabled(position != 0);
  Fwd->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) + norm));
  Rev->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) - norm));
}

void MotionStrip::normalGear(double side, int position, QPushButton* pressed, QPushButton* other) {
  const float centre = ReverseArmCentre(ws_);
  ws_.ReverseArmPos = toSingle(centre + side * ws_.Frame[dim::RevArmToCentNorm]);
  SBRevArm->setValue(position);
  pressed->setEnabled(false);
  other->setEnabled(true);
  Center->setEnabled(true);
  ClearCutOff(ws_);
}

void MotionStrip::FwdClick() {
  normalGear(+1.0, ForwardBarPosition(ws_), Fwd, Rev);
}

void MotionStrip::RevClick() {
  normalGear(-1.0, ReverseBarPosition(ws_), Rev, Fwd);
}

void MotionStrip::CenterClick() {
  SBRevArm->setValue(0);
  ws_.ReverseArmPos = ReverseArmCentre(ws_);
  Fwd->setEnabled(true);
  Rev->setEnabled(true);
  Center->setEnabled(false);
  ClearCutOff(ws_);
}

void MotionStrip::SyncRevArmRange() {
  SBRevArm->setMaximum(ws_.RevArmScrollMax);
  SBRevArm->setMinimum(ws_.RevArmScrollMin);
}

void MotionStrip::showLoadedArm() {
  SyncRevArmRange();
  SBRevArm->setValue(ReverseArmBarPosition(ws_, ws_.ReverseArmPos));
  // The loaded centre may differ from the old one even at bar position 0.
  SBRevArmChange(SBRevArm->value());
}

void MotionStrip::turnDriver(int direction) {
  const double turn = direction > 0 ? ws_.SelectedStep : -ws_.SelectedStep;
  double angle = std::fmod(static_cast<double>(ws_.DriverAngle) + turn, 360.0);
  if (angle < 0) angle += 360.0;
  SBDrvAng->setValue(roundHalfEven(angle * 100.0));
  ws_.DriverAngle = toSingle(SBDrvAng->value() / 100.0);
}

void MotionStrip::lockDriverBar() {
  SBDrvAng->setEnabled(false);
}

void MotionStrip::setStripShown(bool shown) {
  for (QWidget* w : std::initializer_list<QWidget*>{Rev, Center, Fwd, Deg180, Run, Deg00, Step1,
                                                    Step10, Step45, SBRevArm, SBDrvAng, SBStepAng})
    w->setVisible(shown);
}

}  // namespace vek1
