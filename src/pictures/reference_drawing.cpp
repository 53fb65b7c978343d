#include "reference_drawing.h"

#include <cmath>
#include <string>

#include "numbers.h"
#include "reference_points.h"
#include "screen_data_drawing.h"

namespace vek1 {

namespace {

// Half the length of a cross stroke: each stroke covers 20 pixels, the end pixel being left out.
constexpr int kCrossHalf = 10;

void text(Canvas& canvas, const Workspace& ws, int x, int y, const std::string& s) {
  canvas.textOut(textX(ws, x), textY(ws, y), s);
}

double distance(double dv, double dh) {
  return std::sqrt(dv * dv + dh * dh);
}

// The PivotTable entry a row shows, or -1 when a loaded value names none.
int rowEntry(const PivotDataRow& row) {
  const int i = roundHalfEven(row.Index);
  return i >= 0 && i < kPivotCount ? i : -1;
}

}  // namespace

void drawReferencePoints(Canvas& canvas, const Workspace& ws) {
  if (!ws.RefPointsMode) return;
  useViewFont(canvas, ws);
  canvas.setPenColour(kRefPointColour);
  canvas.setPenWidth(1);
  canvas.setFontColour(kRefPointColour);
  for (int point = 1; point <= 2; ++point) {
    const int entry = point == 1 ? kRefPoint1 : kRefPoint2;
    const int x = screenX(ws, ws.Pivots.H[entry]);
    const int y = screenY(ws, ws.Pivots.V[entry]);
    canvas.moveTo(x - kCrossHalf, y);
    canvas.lineTo(x + kCrossHalf, y);
    canvas.moveTo(x, y - kCrossHalf);
    canvas.lineTo(x, y + kCrossHalf);
    // Beside the point, so not scaled with the fixed texts.
    canvas.textOut(x + 3, y - 17, std::to_string(point));
  }

  canvas.setFontColour(colour::Black);
  const double v1 = ws.Pivots.V[kRefPoint1], h1 = ws.Pivots.H[kRefPoint1];
  const double v2 = ws.Pivots.V[kRefPoint2], h2 = ws.Pivots.H[kRefPoint2];
  text(canvas, ws, 143, 71, "Pt1V " + fixedText(v1, 6, 3));
  text(canvas, ws, 143, 83, "Pt1H " + fixedText(h1, 6, 3));
  text(canvas, ws, 143, 95, "Pt2V " + fixedText(v2, 6, 3));
  text(canvas, ws, 143, 107, "Pt2H " + fixedText(h2, 6, 3));
  text(canvas, ws, 210, 71, fixedText(v1 - v2, 6, 3));
  text(canvas, ws, 210, 83, fixedText(h1 - h2, 6, 3));
  text(canvas, ws, 207, 95, "Pt1-Pt2");
  text(canvas, ws, 209, 107, fixedText(distance(v1 - v2, h1 - h2), 6, 3));
}

void drawPivotData(Canvas& canvas, const Workspace& ws, const ScreenPoints& points) {
  if (!ws.PivotDataMode) return;
  useViewFont(canvas, ws);
  text(canvas, ws, 1, 128, "    Pivot Data");
  text(canvas, ws, 1, 138, "No.  Vert     Horz");
  for (int k = 1; k <= 6; ++k) {
    const int y = 140 + 10 * k;
    const std::string number = std::to_string(k);
    canvas.setFontColour(kPivotNumberColour);
    text(canvas, ws, 3, y, number);
    const int entry = rowEntry(ws.PivotDataRows[k]);
    if (!ws.PivotDataRows[k].InUse || entry < 0) continue;
    if (entry < kScreenPointCount)
      canvas.textOut(points.X[entry] + 4, points.Y[entry] - 12, number);
    canvas.setFontColour(colour::Black);
    text(canvas, ws, 12, y, fixedText(ws.Pivots.V[entry], 7, 3));
    text(canvas, ws, 50, y, fixedText(ws.Pivots.H[entry], 7, 3));
  }

  canvas.setFontColour(colour::Black);
  for (int pair = 0; pair < 3; ++pair) {
    const PivotDataRow& a = ws.PivotDataRows[2 * pair + 1];
    const PivotDataRow& b = ws.PivotDataRows[2 * pair + 2];
    const int ea = rowEntry(a), eb = rowEntry(b);
    if (!a.InUse || !b.InUse || ea < 0 || eb < 0) continue;
    const double dv = static_cast<double>(ws.Pivots.V[ea]) - ws.Pivots.V[eb];
    const double dh = static_cast<double>(ws.Pivots.H[ea]) - ws.Pivots.H[eb];
    text(canvas, ws, 90, 155 + 20 * pair, fixedText(distance(dv, dh), 7, 3));
  }
}

}  // namespace vek1
