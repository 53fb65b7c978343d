#pragma once
// The side-on line drawing of the gear: driver with crank and counterweight, cylinder and
// passages, piston, valve, the fixed pivots, the link and every rod.

#include "canvas.h"
#include "outlines.h"
#include "view.h"
#include "workspace.h"

namespace vek1 {

namespace rod {
constexpr Rgb MainRod{255, 0, 0};
constexpr Rgb RadiusRod{0, 255, 0};
constexpr Rgb ValveLever{0, 255, 255};
constexpr Rgb Coupler{0, 0, 255};
constexpr Rgb AnchorLink{255, 0, 255};
constexpr Rgb ReverseArm{0, 0, 255};
constexpr Rgb ReachRod{0, 0, 0};
constexpr Rgb Cylinder{128, 128, 128};
constexpr Rgb Marks{255, 0, 0};
}  // namespace rod

void drawMechanism(Canvas& canvas, const Workspace& ws, const ScreenPoints& points,
                   const Outlines& outlines);

}  // namespace vek1
