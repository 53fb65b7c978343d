#pragma once
// The reference gear in the main view: a faint dashed ghost of its rods and link beneath the
// working set's gear, at the same crank angle and the same notch (the reverse arm's offset from
// each set's own mid-gear centre), in the working set's view. It is solved here from the
// reference's own dimensions with the pure solver; nothing of either set changes.

#include "canvas.h"
#include "workspace.h"

namespace vek1 {

// The crank angle of the pose the working set now holds, in degrees, read off its crank pin:
// by the time a frame is drawn the driver angle has already moved on to the next tick's. The
// driver angle itself where the stroke is too short to read an angle from.
double poseCrankAngle(const Workspace& ws);

void drawReferenceGhost(Canvas& canvas, const Workspace& ws, const Workspace& reference);

}  // namespace vek1
