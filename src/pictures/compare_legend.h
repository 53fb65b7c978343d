#pragma once
// The key of a picture that shows two sets: a short solid line with the working set's name over
// a short dashed one with the reference's, so a printed or exported diagram still says which
// curves are which.

#include <string>

#include "canvas.h"
#include "workspace.h"

namespace vek1 {

// Drawn with its top left at (x, y) in design pixels (moved with the texts in the large font),
// two lines of the canvas's current font; the solid line in black, the dashed one in the
// reference pen's shade of black.
void drawComparisonLegend(Canvas& canvas, const Workspace& ws, int x, int y,
                          const std::string& workingName, const std::string& referenceName);

}  // namespace vek1
