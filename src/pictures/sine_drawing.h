#pragma once
// The sine diagram: valve travel against driver angle over a little more than one revolution,
// one curve per reverse-arm position, over the port-edge lines.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

using SineDiagramOutcome = DiagramOutcome;

// Draws the whole diagram from the set as it stands: every pose is solved here, and nothing of
// the working set changes (the window keeps the last position drawn, lastDiagramPosition).
// With a reference set, its curves at the same notches are drawn first, beneath, in the
// reference pen, and a legend names both sets.
SineDiagramOutcome drawSineDiagram(Canvas& canvas, const Workspace& ws,
                                   const Workspace* reference = nullptr);

}  // namespace vek1
