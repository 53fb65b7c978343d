#include "dimensions.h"
#include "main_form.h"
#include "motion.h"
#include "numbers.h"
#include "valve.h"

namespace vek1 {

// Motion: reverse arm, driver angle and step angle, each with its buttons.
void TMainForm::buildMotionControls() {
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

  connect(SBRevArm, &QScrollBar::valueChanged, this, &TMainForm::SBRevArmChange);
  connect(SBDrvAng, &QScrollBar::valueChanged, this, &TMainForm::SBDrvAngChange);
  connect(SBStepAng, &QScrollBar::valueChanged, this, &TMainForm::SBStepAngChange);
  connect(Run, &QPushButton::clicked, this, &TMainForm::RunClick);
  connect(Deg00, &QPushButton::clicked, this, &TMainForm::Deg00Click);
  connect(Deg180, &QPushButton::clicked, this, &TMainForm::Deg180Click);
  connect(Fwd, &QPushButton::clicked, this, &TMainForm::FwdClick);
  connect(Rev, &QPushButton::clicked, this, &TMainForm::RevClick);
  connect(Center, &QPushButton::clicked, this, &TMainForm::CenterClick);
  connect(Step1, &QPushButton::clicked, this, [this] { StepButtonClick(Step1, 1.0f, 8000); });
  connect(Step10, &QPushButton::clicked, this, [this] { StepButtonClick(Step10, 10.0f, 12000); });
  connect(Step45, &QPushButton::clicked, this,
          [this] { StepButtonClick(Step45, 45.0f, kStepBarMax); });
  // The step bar's first change notification is the one of its initial position, which the
  // skip flag swallows so that the start-up step stays as it is.
  SBStepAng->setValue(12000);
}

void TMainForm::RunClick() {
  setRunning(!running_);
}

void TMainForm::setRunning(bool run) {
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

void TMainForm::pauseAnimation(bool paused) {
  if (paused) {
    Timer1->stop();
  } else {
    Timer1->start();
  }
}

void TMainForm::centreReverseArm() {
  SBRevArm->setValue(0);
}

void TMainForm::SBDrvAngChange(int position) {
  ws_.DriverAngle = toSingle(position / 100.0);
  Deg00->setEnabled(true);
  Deg180->setEnabled(true);
}

void TMainForm::stopAt(float angle, QPushButton* pressed, QPushButton* other) {
  ws_.DriverAngle = angle;
  SBDrvAng->setValue(roundHalfEven(angle * 100.0));
  ws_.StepAngle = 0.0f;
  SBDrvAng->setEnabled(true);
  running_ = false;
  Run->setText("Run");
  pressed->setEnabled(false);
  other->setEnabled(true);
}

void TMainForm::Deg00Click() {
  stopAt(0.0f, Deg00, Deg180);
}

void TMainForm::Deg180Click() {
  stopAt(180.0f, Deg180, Deg00);
}

void TMainForm::SBStepAngChange(int position) {
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

void TMainForm::StepButtonClick(QPushButton* button, float step, int position) {
  button->setEnabled(false);
  ws_.SelectedStep = step;
  if (running()) ws_.StepAngle = step;
  SBStepAng->setValue(position);
}

void TMainForm::SBRevArmChange(int position) {
  SetReverseArmFromBar(ws_, position);
  const float centre = ReverseArmCentre(ws_);
  const float norm = ws_.Frame[dim::RevArmToCentNorm];
  Center->setEnabled(position != 0);
  Fwd->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) + norm));
  Rev->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) - norm));
}

void TMainForm::normalGear(double side, int position, QPushButton* pressed, QPushButton* other) {
  const float centre = ReverseArmCentre(ws_);
  ws_.ReverseArmPos = toSingle(centre + side * ws_.Frame[dim::RevArmToCentNorm]);
  SBRevArm->setValue(position);
  pressed->setEnabled(false);
  other->setEnabled(true);
  Center->setEnabled(true);
  ClearCutOff(ws_);
}

void TMainForm::FwdClick() {
  normalGear(+1.0, ForwardBarPosition(ws_), Fwd, Rev);
}

void TMainForm::RevClick() {
  normalGear(-1.0, ReverseBarPosition(ws_), Rev, Fwd);
}

void TMainForm::CenterClick() {
  SBRevArm->setValue(0);
  ws_.ReverseArmPos = ReverseArmCentre(ws_);
  Fwd->setEnabled(true);
  Rev->setEnabled(true);
  Center->setEnabled(false);
  ClearCutOff(ws_);
}

void TMainForm::SyncRevArmRange() {
  SBRevArm->setMaximum(ws_.RevArmScrollMax);
  SBRevArm->setMinimum(ws_.RevArmScrollMin);
}

void TMainForm::FindRevArmCentClick() {
  ComputeReverseArmCentre(ws_);
  CenterClick();
}

}  // namespace vek1
