#pragma once
// The main view's instructions while the overlay dialog waits for a pivot to be picked.

#include "canvas.h"
#include "workspace.h"

namespace vek1 {

// Three bold red lines while PivotSelectPending; the two-pivot wording for reference choice 3.
void drawPivotSelectPrompt(Canvas& canvas, const Workspace& ws);

}  // namespace vek1
