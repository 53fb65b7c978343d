#pragma once
// The worn-gear study as a picture: per notch, a band for each end's cut-off, release and
// compression from the smallest to the largest value the play allows (a tick where the gear
// without play has it), the joints' shares of the spread at one notch as a bar chart, and a line
// of figures a notch.

#include <string>

#include "canvas.h"
#include "worn_gear.h"

namespace vek1 {

CanvasSize wearPictureSize(const WearStudy& study);
// `shareNotch` picks the notch whose joint shares are drawn (clamped to the study's notches).
void drawWearStudy(Canvas& canvas, const WearStudy& study, const std::string& setName,
                   int shareNotch);

// A notch's figures in one line: "+1.600: spread F cut-off 1.71 release ... lost motion 0.0171".
std::string wearNotchLine(const WearNotch& n);
// The clearances in words: "0.002 at every joint", or each joint's where they differ.
std::string clearancesText(const Clearances& c);

}  // namespace vek1
