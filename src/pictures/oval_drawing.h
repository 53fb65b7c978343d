#pragma once
// The oval diagram: valve travel against piston position over one whole turn, so each reverse-arm
// position closes into a loop over the port-edge lines.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

// Draws the whole diagram from the set as it stands: every pose is solved here, and nothing of
// the working set changes (the window keeps the last position drawn, lastDiagramPosition).
// With a reference set, its loops at the same notches are drawn first, beneath, in the reference
// pen (each on its own piston travel), and a legend names both sets.
DiagramOutcome drawOvalDiagram(Canvas& canvas, const Workspace& ws,
                               const Workspace* reference = nullptr);

}  // namespace vek1
