#pragma once
// The texts painted on the frame and cylinder dialogs: each field's label to its left and the two
// instruction lines at the bottom. Labels are spaced with runs of blanks so that their second word
// ends near the field. Positions follow the text scale of the large-font mode; the font size does
// not, and the font colour is the caller's.

#include "canvas.h"
#include "workspace.h"

namespace vek1 {

// The point size the dialog texts are painted in.
constexpr int kDialogTextPoints = 7;

void drawFrameDialogTexts(Canvas& canvas, const Workspace& ws);
void drawCylinderDialogTexts(Canvas& canvas, const Workspace& ws);

}  // namespace vek1
