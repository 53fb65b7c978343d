#include "main_view_links.h"

namespace vek1 {

void linkToMainView(TMainForm& main, DimensionDialog& dialog) {
  QObject::connect(&dialog, &DimensionDialog::reverseArmRangeChanged, main.motionStrip,
                   &MotionStrip::SyncRevArmRange);
  QObject::connect(&dialog, &DimensionDialog::midGearCentreChanged, main.motionStrip,
                   &MotionStrip::centreReverseArm);
}

void linkToMainView(TMainForm& main, DiagramWindow& window) {
  QObject::connect(&window, &DiagramWindow::animationPaused, &main, &TMainForm::pauseAnimation);
  QObject::connect(&window, &DiagramWindow::dynVarShownChanged, &main,
                   &TMainForm::setDynVarControlsVisible);
}

}  // namespace vek1
