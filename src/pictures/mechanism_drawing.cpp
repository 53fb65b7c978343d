#include "mechanism_drawing.h"

#include <cmath>
#include <numbers>

#include "numbers.h"

namespace vek1 {

namespace {

// A circle of model radius `radius` about a screen point.
void circle(Canvas& canvas, const Workspace& ws, int x, int y, double radius) {
  const int r = screenCoord(radius * ws.ViewZoom);
  canvas.ellipse(x - r, y - r, x + r, y + r);
}

template <size_t N>
void polyline(Canvas& canvas, const std::array<Pt, N>& points) {
  canvas.moveTo(points[0].x, points[0].y);
  for (size_t i = 1; i < N; ++i) canvas.lineTo(points[i].x, points[i].y);
}

void line(Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.moveTo(x1, y1);
  canvas.lineTo(x2, y2);
}

void rodLine(Canvas& canvas, const ScreenPoints& s, int from, int to, Rgb colour) {
  canvas.setPenColour(colour);
  line(canvas, s.X[from], s.Y[from], s.X[to], s.Y[to]);
}

// A cross of two strokes about (x, y) reaching `reach` pixels each way; the strokes stop one
// pixel short at their far end, which is the look the marks have always had.
void cross(Canvas& canvas, int x, int y, int reach) {
  line(canvas, x + reach, y + reach, x - reach - 1, y - reach - 1);
  line(canvas, x + reach, y - reach, x - reach - 1, y + reach + 1);
}

}  // namespace

void drawMechanism(Canvas& canvas, const Workspace& ws, const ScreenPoints& s,
                   const Outlines& o) {
  const double Dd = ws.Frame[dim::DriverDia];
  const double zoom = ws.ViewZoom;

  // Driver: wheel, counterweight, hub, crank pin, crosshead pin and pivot circles.
  canvas.setPenColour(colour::Black);
  circle(canvas, ws, s.X[1], s.Y[1], Dd / 2);
  {
    // The counterweight is the 140-degree arc opposite the crank pin, centred on the origin's
    // screen position; the radials are 110 degrees either side of the crank.
    const double r = 0.35 * Dd * zoom;
    const double cx = ws.ViewPanX, cy = ws.ViewPanY;
    const double a1 = (ws.DriverAngle - 110.0) * std::numbers::pi / 180.0;
    const double a2 = (ws.DriverAngle + 110.0) * std::numbers::pi / 180.0;
    const double reach = Dd * zoom;
    canvas.arc(screenCoord(cx - r), screenCoord(cy - r), screenCoord(cx + r), screenCoord(cy + r),
               screenCoord(cx + std::cos(a1) * reach), screenCoord(cy + std::sin(a1) * reach),
               screenCoord(cx + std::cos(a2) * reach), screenCoord(cy + std::sin(a2) * reach));
  }
  circle(canvas, ws, s.X[1], s.Y[1], 0.08 * Dd);
  circle(canvas, ws, s.X[2], s.Y[2], 0.05 * Dd);
  circle(canvas, ws, s.X[3], s.Y[3], 0.04 * Dd);
  for (int i = 4; i <= 13; ++i) circle(canvas, ws, s.X[i], s.Y[i], 0.02 * Dd);
  const int x18 = screenX(ws, ws.ReverseArmPos);
  circle(canvas, ws, x18, s.Y[18], 0.02 * Dd);

  // Cylinder and passages.
  canvas.setPenColour(rod::Cylinder);
  polyline(canvas, o.Cylinder);
  polyline(canvas, o.Passage);

  // Piston with its rod, valve with its stem.
  canvas.setPenColour(colour::Black);
  line(canvas, s.X[3], s.Y[3], o.PistonRodEnd.x, o.PistonRodEnd.y);
  polyline(canvas, o.Piston);
  line(canvas, s.X[4], s.Y[4], o.ValveStemEnd.x, o.ValveStemEnd.y);
  canvas.moveTo(o.Valve.back().x, o.Valve.back().y);
  for (const Pt& p : o.Valve) canvas.lineTo(p.x, p.y);

  // The link's centre of curvature gets a small cross, the fixed pivots a larger one.
  canvas.setPenColour(rod::Marks);
  cross(canvas, s.X[14], s.Y[14], 1);
  for (int i : {0, 6, 12}) cross(canvas, s.X[i], s.Y[i], 5);

  // The link: the short arc of its circle about point 14 on the link pivot's side.
  {
    const double LR = ws.Frame[dim::LinkRadius];
    const int r = screenCoord(LR * zoom);
    const double h = ws.Pivots.H[5] + 0.05 * LR;
    canvas.arc(s.X[14] - r, s.Y[14] - r, s.X[14] + r, s.Y[14] + r, screenX(ws, h),
               screenY(ws, ws.Pivots.V[5] + 0.25 * LR), screenX(ws, h),
               screenY(ws, ws.Pivots.V[5] - 0.25 * LR));
  }

  // Rods.
  rodLine(canvas, s, 3, 2, rod::MainRod);
  rodLine(canvas, s, 4, 7, rod::RadiusRod);
  rodLine(canvas, s, 7, 9, rod::ValveLever);
  rodLine(canvas, s, 10, 11, rod::Coupler);
  rodLine(canvas, s, 11, 12, rod::AnchorLink);
  rodLine(canvas, s, 5, 18, rod::ReverseArm);
  canvas.setPenColour(rod::ReachRod);
  line(canvas, s.X[18], s.Y[18], s.X[1], s.Y[18]);
}

}  // namespace vek1
