#pragma once
// The port events diagram: where in the piston stroke each of the four valve edges opens and
// closes, against the reverse-arm offset from the centre out to the maximum, forward or reverse.

#include <array>
#include <optional>

#include "canvas.h"
#include "diagram_frame_drawing.h"
#include "workspace.h"

namespace vek1 {

// The eight events in the order they are tested at each sample: the four edges opening (front
// steam, front exhaust, rear steam, rear exhaust), then the same four closing.
enum PortEvent {
  FrontSteamOpens,
  FrontExhOpens,
  RearSteamOpens,
  RearExhOpens,
  FrontSteamCloses,
  FrontExhCloses,
  RearSteamCloses,
  RearExhCloses,
  kPortEventCount
};

// The valve state at one sample of a sweep.
struct PortSample {
  double pistonPos = 0.0;
  double frontSteam = 0.0, frontExh = 0.0, rearSteam = 0.0, rearExh = 0.0;
};

// For each event, the piston position at which its opening crossed zero between two successive
// samples (linear interpolation), or nothing if it did not happen there. An edge opens when its
// opening goes from below 0 to 0 or more, and closes when it goes from above 0 to 0 or less.
std::array<std::optional<double>, kPortEventCount> portEventsBetween(const PortSample& previous,
                                                                     const PortSample& current);

// Draws the whole diagram for graph 'F' (forward: offsets above the centre, driver turning
// forwards) or 'R' (reverse: offsets below it, driver turning backwards); any other character
// draws the forward graph. The cycle legend is drawn only when cycleLegend is set. Every pose is
// solved here; nothing of the working set changes.
// With a reference set, its event lines at the same offsets from its own centre are drawn first,
// beneath, in the reference pen, and a legend names both sets.
DiagramOutcome drawPortDiagram(Canvas& canvas, const Workspace& ws, char graph, bool cycleLegend,
                               const Workspace* reference = nullptr);

}  // namespace vek1
