#include "reference_ghost.h"

#include <cmath>
#include <numbers>

#include "gear.h"
#include "numbers.h"
#include "reference_pen.h"
#include "view.h"

namespace vek1 {

namespace {
constexpr Rgb kGhost{80, 80, 80};  // drawn in the reference pen's lighter shade of it
// The link is drawn as this many chords of its arc.
constexpr int kLinkChords = 12;

// The members as the main view draws them, by their pivots: crank, main rod, radius rod, valve
// lever, coupler, anchor link, reverse arm. Each is dashed from its first pivot, where a dash
// always starts; the reverse arm from its end, which tells one notch from another.
constexpr int kMembers[][2] = {{1, 2}, {3, 2}, {4, 7}, {7, 9}, {10, 11}, {11, 12}, {18, 5}};
}  // namespace

double poseCrankAngle(const Workspace& ws) {
  const double dh = static_cast<double>(ws.Pivots.H[2]) - ws.Pivots.H[1];
  const double dv = static_cast<double>(ws.Pivots.V[1]) - ws.Pivots.V[2];
  if (!std::isfinite(dh) || !std::isfinite(dv) || std::hypot(dh, dv) < 1e-6)
    return ws.DriverAngle;
  double a = std::atan2(dv, dh) * 180.0 / std::numbers::pi;
  if (a < 0.0) a += 360.0;
  return a;
}

void drawReferenceGhost(Canvas& canvas, const Workspace& ws, const Workspace& reference) {
  const GearDimensions gear = gearOf(reference);
  const GearPose pose =
      solveGear(gear, toSingle(poseCrankAngle(ws)), referenceArm(ws, reference, ws.ReverseArmPos));
  const auto& H = pose.Pivots.H;
  const auto& V = pose.Pivots.V;
  ReferencePen pen(canvas);
  pen.setPenColour(kGhost);
  for (const auto& m : kMembers) {
    pen.moveTo(screenX(ws, H[m[0]]), screenY(ws, V[m[0]]));
    pen.lineTo(screenX(ws, H[m[1]]), screenY(ws, V[m[1]]));
  }
  // The link: the arc of its circle about point 14 through the height of the link pivot, a
  // quarter of its radius either way, as the main view draws it.
  const double r = reference.Frame[dim::LinkRadius];
  const double ch = H[14], cv = V[14];
  if (!std::isfinite(r) || r <= 0.0 || !std::isfinite(ch) || !std::isfinite(cv)) return;
  const double side = H[5] >= ch ? 1.0 : -1.0;
  for (int i = 0; i <= kLinkChords; ++i) {
    const double v = V[5] + r * (0.25 - 0.5 * i / kLinkChords);
    const double dv = std::clamp(v - cv, -r, r);
    const double h = ch + side * std::sqrt(r * r - dv * dv);
    const int x = screenX(ws, h), y = screenY(ws, cv + dv);
    if (i == 0)
      pen.moveTo(x, y);
    else
      pen.lineTo(x, y);
  }
}

}  // namespace vek1
