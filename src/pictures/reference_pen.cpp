#include "reference_pen.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"

namespace vek1 {

namespace {
// Longer than any picture: such a line (a pose thrown far off by a wild dimension) is drawn
// whole rather than cut into more dashes than a picture has pixels.
constexpr double kLongestDashedLine = 16384.0;
constexpr double kPeriod = kReferenceDash + kReferenceGap;

int lighter(int c) {
  return static_cast<int>(std::lround(c + (255 - c) * kReferenceLightening));
}
}  // namespace

float referenceArm(const GearSet& ws, const Workspace& reference, double workingArm) {
  const double offset = workingArm - ws.RevArmPositions[0];
  return toSingle(static_cast<double>(reference.RevArmPositions[0]) + offset);
}

Rgb lighterShade(Rgb colour) {
  return {lighter(colour.r), lighter(colour.g), lighter(colour.b)};
}

double dashedLine(Canvas& canvas, int x0, int y0, int x1, int y1, double phase) {
  const double dx = static_cast<double>(x1) - x0;
  const double dy = static_cast<double>(y1) - y0;
  const double length = std::hypot(dx, dy);
  if (length == 0.0) return phase;
  if (length > kLongestDashedLine) {
    canvas.moveTo(x0, y0);
    canvas.lineTo(x1, y1);
    return phase;
  }
  auto at = [&](double s, int& x, int& y) {
    x = static_cast<int>(std::lround(x0 + dx * s / length));
    y = static_cast<int>(std::lround(y0 + dy * s / length));
  };
  // The place in the pattern is carried as a run length, and snapped to the pattern's edges,
  // so that every pass of the loop moves on by a whole dash or gap, or to the line's end.
  double pos = std::isfinite(phase) && phase >= 0.0 && phase < kPeriod ? phase : 0.0;
  double s = 0.0;
  while (s < length) {
    const bool inDash = pos < kReferenceDash;
    const double run = std::min((inDash ? kReferenceDash : kPeriod) - pos, length - s);
    if (inDash) {
      int ax = 0, ay = 0, bx = 0, by = 0;
      at(s, ax, ay);
      at(s + run, bx, by);
      canvas.moveTo(ax, ay);
      // A dash of under a pixel still shows as one: lineTo leaves its end point unpainted.
      if (bx == ax && by == ay) bx += 1;
      canvas.lineTo(bx, by);
    }
    s += run;
    pos += run;
    if (pos > kPeriod - 1e-9) pos = 0.0;
    if (pos > kReferenceDash - 1e-9 && pos < kReferenceDash) pos = kReferenceDash;
  }
  return pos;
}

void ReferencePen::moveTo(int x, int y) {
  // A move to where the pen already is continues the line: the pattern runs on.
  if (x != x_ || y != y_) phase_ = 0.0;
  x_ = x;
  y_ = y;
}

void ReferencePen::lineTo(int x, int y) {
  phase_ = dashedLine(target_, x_, y_, x, y, phase_);
  x_ = x;
  y_ = y;
}

}  // namespace vek1
