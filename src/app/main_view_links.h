#pragma once
// What the other windows ask of the main view, connected in one place: they announce what they
// did through their own signals and never reach into the main window's controls.

#include "diagram_window.h"
#include "dimension_dialog.h"
#include "main_form.h"

namespace vek1 {

// The frame and cylinder dialogs: the reverse-arm bar's range follows "Rev Arm to Cent Max", and
// the arm goes to the mid-gear centre the dialog recomputed on closing.
void linkToMainView(TMainForm& main, DimensionDialog& dialog);
// A diagram window: the animation pauses while it is shown, and the main view's dynamic-variable
// bars follow the diagram's switch.
void linkToMainView(TMainForm& main, DiagramWindow& window);

}  // namespace vek1
