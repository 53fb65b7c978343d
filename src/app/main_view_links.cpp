#include "main_view_links.h"

namespace vek1 {

void linkToMainView(TMainForm& main, DimensionDialog& dialog) {
  QObject::connect(&dialog, &DimensionDialog::reverseArmRangeChanged, &main,
                   &TMainForm::SyncRevArmRange);
  QObject::connect(&dialog, &DimensionDialog::midGearCentreChanged, &main,
                   &TMainForm::centreReverseArm);
}

void linkToMainView(TMainForm& main, DiagramWindow& window) {
  QObject::connect(&window, &DiagramWindow::animationPaused, &main, &TMainForm::pauseAnimation);
  QObject::connect(&window, &DiagramWindow::dynVarShownChanged, &main,
                   &TMainForm::setDynVarControlsVisible);
}

}  // namespace vek1
