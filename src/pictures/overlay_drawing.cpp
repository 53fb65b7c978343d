#include "overlay_drawing.h"

#include "numbers.h"
#include "view.h"

namespace vek1 {

namespace {

constexpr int kLine = 0;
constexpr int kCircle = 1;

// The current position of the pivot an item is carried by. Indices are stored as singles, so
// they are rounded, and held to the table for a damaged file's sake.
struct Offset {
  double h = 0.0, v = 0.0;
};
Offset pivotAt(const Workspace& ws, float index) {
  int i = roundHalfEven(index);
  if (i < 0) i = 0;
  if (i >= kPivotCount) i = kPivotCount - 1;
  return {ws.Pivots.H[i], ws.Pivots.V[i]};
}

}  // namespace

Rgb overlayColour(float value) {
  const int c = roundHalfEven(value);
  if (c < 0) return colour::Black;
  return Rgb{c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff};
}

void drawOverlay(Canvas& canvas, const Workspace& ws) {
  const double zoom = ws.ViewZoom, panX = ws.ViewPanX, panY = ws.ViewPanY;
  canvas.setPenWidth(ws.LineWidth);
  for (int k = 1; k <= kOverlayItems; ++k) {
    const OverlayItem& item = ws.Overlay[k];
    const int type = roundHalfEven(item.ItemType);
    const int ref = roundHalfEven(item.ItemRef);
    canvas.setPenColour(overlayColour(item.ItemColour));
    if (type == kLine && ref >= 0 && ref <= 3) {
      const Offset p1 = ref >= 1 ? pivotAt(ws, item.Piv1Index) : Offset{};
      const Offset p2 = ref == 1 ? p1 : ref == 3 ? pivotAt(ws, item.Piv2Index) : Offset{};
      canvas.moveTo(screenX(ws, item.Line1Horz + p1.h), screenY(ws, item.Line1Vert + p1.v));
      canvas.lineTo(screenX(ws, item.Line2Horz + p2.h), screenY(ws, item.Line2Vert + p2.v));
    } else if (type == kCircle && (ref == 0 || ref == 1)) {
      const Offset p = ref == 1 ? pivotAt(ws, item.Piv1Index) : Offset{};
      const double h = item.Line1Horz + p.h;  // the centre
      const double v = item.Line1Vert + p.v;
      const double r = item.Line2Horz;  // the radius
      // The box's right and bottom edges are one pixel outside the circle.
      const int left = screenCoord((h - r) * zoom + panX);
      const int bottom = screenCoord(-(v - r) * zoom + panY + 1);
      const int right = screenCoord((h + r) * zoom + panX + 1);
      const int top = screenCoord(-(v + r) * zoom + panY);
      canvas.ellipse(left, top, right, bottom);
    }
  }
}

}  // namespace vek1
