#pragma once
// The reference points and the pivot-data list over the drawing: crosses on the two points with
// their coordinates, difference and distance beside the control strip, and the six picked pivots
// with their coordinates, numbers on the drawing and pair distances.

#include "canvas.h"
#include "view.h"
#include "workspace.h"

namespace vek1 {

// Colour of the reference crosses and their "1" / "2" labels: blue stands apart from the black
// gear and the red pivot numbers.
constexpr Rgb kRefPointColour{0, 0, 255};
constexpr Rgb kPivotNumberColour{255, 0, 0};

// Draws nothing while the reference points are off.
void drawReferencePoints(Canvas& canvas, const Workspace& ws);

// Draws nothing while the pivot data is off. `points` are the screen positions of this frame.
void drawPivotData(Canvas& canvas, const Workspace& ws, const ScreenPoints& points);

}  // namespace vek1
