#pragma once
// The sine diagram: valve travel against driver angle over a little more than one revolution,
// one curve per reverse-arm position, over the port-edge lines.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

using SineDiagramOutcome = DiagramOutcome;

// Draws the whole diagram. The sweep drives DriverAngle and ReverseArmPos through the solver and
// puts both back at the end; it leaves the solver's other outputs at the last pose drawn and sets
// LastDiagramRevArmPos to the last position drawn.
SineDiagramOutcome drawSineDiagram(Canvas& canvas, Workspace& ws);

}  // namespace vek1
