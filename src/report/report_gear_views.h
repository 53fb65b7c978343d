#pragma once
// The main view's drawing of the gear for the report: at full forward gear, at several crank
// angles, each cut to the same part of the frame so the four pictures share one scale.

#include <array>

#include "page_canvas.h"
#include "workspace.h"

namespace vek1 {

constexpr std::array<float, 4> kReportCrankAngles = {0.0f, 90.0f, 180.0f, 270.0f};

struct ReportGearViews {
  Workspace ws;   // the set at normal full forward gear, fitted to the frame, no screen data
  PagePart part;  // the part of the frame that any of the angles draws on, with a margin
};

// The views of `set`: a copy at the mid-gear centre plus "Rev Arm to Cent Norm", its view fitted
// to the gear over a turn, the steam and screen data off.
ReportGearViews reportGearViews(const Workspace& set);

// Draws the frame at `angle` on `canvas`, a canvas of the whole frame's size, as the main view
// draws it but without its white ground, which would cover the rest of the page.
void drawReportGear(Canvas& canvas, const ReportGearViews& views, float angle);

}  // namespace vek1
