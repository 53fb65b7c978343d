#pragma once
// The steam diagram: an indicator-style card for each reverse-arm position, the pressure in the
// front and the rear cylinder end against the percentage of piston travel, with the cut-off of
// each end written where its steam edge closes.

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

// Draws the whole diagram. The sweep turns the driver 4 degrees per sample through the solver
// and the valve model on its own values: the pressures and the cut-off detection live in the
// drawing, and nothing of the working set changes (the window keeps the last position drawn,
// lastDiagramPosition).
// With a reference set, its cards at the same notches are drawn first, beneath, in the reference
// pen, and a legend names both sets; the cut-off tables stay the working set's.
DiagramOutcome drawSteamDiagram(Canvas& canvas, const Workspace& ws,
                                const Workspace* reference = nullptr);

}  // namespace vek1
