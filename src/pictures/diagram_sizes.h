#pragma once
// The size of each diagram's picture: what its window shows of its drawing, and what an export
// or a print of it holds.

#include "canvas.h"

namespace vek1 {

constexpr CanvasSize kSineDiagramSize{632, 414};
constexpr CanvasSize kOvalDiagramSize{632, 426};
constexpr CanvasSize kSteamDiagramSize{632, 414};
constexpr CanvasSize kPortDiagramSize{632, 414};

}  // namespace vek1
