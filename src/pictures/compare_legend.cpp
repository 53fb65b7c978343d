#include "compare_legend.h"

#include <cmath>

#include "reference_pen.h"

namespace vek1 {

namespace {
constexpr int kLineLength = 22;
constexpr int kLinePitch = 12;
constexpr int kTextGap = 5;
constexpr int kLineDrop = 6;  // the key's line runs through the middle of its text

int scaled(double v, float by) {
  const double s = std::isfinite(by) && by > 0.0f ? by : 1.0;
  return static_cast<int>(std::lround(v * s));
}
}  // namespace

void drawComparisonLegend(Canvas& canvas, const Workspace& ws, int x, int y,
                          const std::string& workingName, const std::string& referenceName) {
  const int left = scaled(x, ws.TextScaleX);
  const int length = scaled(kLineLength, ws.TextScaleX);
  const int textX = left + length + scaled(kTextGap, ws.TextScaleX);
  const int top = scaled(y, ws.TextScaleY);
  const int second = scaled(y + kLinePitch, ws.TextScaleY);
  const int drop = scaled(kLineDrop, ws.TextScaleY);

  canvas.setPenWidth(1);
  canvas.setPenColour(colour::Black);
  canvas.moveTo(left, top + drop);
  canvas.lineTo(left + length, top + drop);
  canvas.setFontColour(colour::Black);
  canvas.textOut(textX, top, workingName + " (working set)");
  {
    ReferencePen pen(canvas);
    pen.setPenColour(colour::Black);
    pen.moveTo(left, second + drop);
    pen.lineTo(left + length, second + drop);
  }
  canvas.textOut(textX, second, referenceName + " (reference)");
  canvas.setPenColour(colour::Black);
}

}  // namespace vek1
