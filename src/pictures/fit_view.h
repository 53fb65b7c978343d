#pragma once
// Fit to Window: the view that makes the gear, at every crank angle of its notch, fill a part of
// the frame with a margin, so that a maximised window shows the gear large and whole.

#include <optional>

#include "workspace.h"

namespace vek1 {

// A box of frame pixels; right and bottom are exclusive.
struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// The margin left on each side, as a share of the area.
constexpr double kFitMargin = 0.04;

// The view (zoom and pans) at which what the main view draws of the gear over a whole turn at
// the current reverse-arm position fills `area`, centred, with kFitMargin to spare. Nothing when
// the area is empty or the gear draws nothing a view could be fitted to.
std::optional<ViewTriple> fittedView(const Workspace& ws, PixelBox area);

}  // namespace vek1
