#pragma once
// The lines and circles drawn over the mechanism: each item fixed in the engine's frame or
// carried along by one or two pivots, in one of six colours.

#include "canvas.h"
#include "workspace.h"

namespace vek1 {

// Draws items 1..20 with the frame's current pen width. A line's ends are offsets from pivot 1
// (modes 1..3) and, for its second end, from pivot 1 (mode 1) or pivot 2 (mode 3); a circle's
// centre is an offset from pivot 1 in mode 1. Empty items and circles in modes 2 and 3 draw
// nothing.
void drawOverlay(Canvas& canvas, const Workspace& ws);

// The pen colour of a stored colour value R + 256 G + 65536 B.
Rgb overlayColour(float value);

}  // namespace vek1
