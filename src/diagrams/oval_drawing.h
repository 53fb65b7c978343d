#pragma once
// The oval diagram: valve travel against piston position over one whole turn, so each reverse-arm
// position closes into a loop over the port-edge lines.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

// Draws the whole diagram. The sweep drives DriverAngle and ReverseArmPos through the solver and
// puts both back at the end; it leaves the solver's other outputs at the last pose drawn and sets
// LastDiagramRevArmPos to the last position drawn.
DiagramOutcome drawOvalDiagram(Canvas& canvas, Workspace& ws);

}  // namespace vek1
