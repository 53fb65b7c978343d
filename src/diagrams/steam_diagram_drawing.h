#pragma once
// The steam diagram: an indicator-style card for each reverse-arm position, the pressure in the
// front and the rear cylinder end against the percentage of piston travel, with the cut-off of
// each end written where its steam edge closes.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

// Draws the whole diagram. The sweep turns DriverAngle 4 degrees per sample through the solver
// and the valve model, and puts DriverAngle and ReverseArmPos back at the end. It leaves
// PrevPistonPos, PrevFrontSteam and PrevRearSteam at the last sample, where the main view's
// cut-off detection picks them up again, and LastDiagramRevArmPos at the last position drawn.
DiagramOutcome drawSteamDiagram(Canvas& canvas, Workspace& ws);

}  // namespace vek1
