#include "perf_chart.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"

namespace vek1 {

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrid{220, 220, 220};
constexpr Rgb kFrame{110, 110, 110};

int toPixel(double v) {
  // Far-off values (a damaged set's figures) stay on the int range.
  if (!std::isfinite(v)) return 0;
  return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

}  // namespace

int ChartArea::x(double v) const {
  const double span = xMax - xMin;
  return toPixel(left + (span > 0.0 ? (v - xMin) / span : 0.5) * width);
}

int ChartArea::y(double v) const {
  const double span = yMax - yMin;
  return toPixel(top + height - (span > 0.0 ? (v - yMin) / span : 0.5) * height);
}

double niceStep(double span, int parts) {
  if (!(std::isfinite(span) && span > 0.0) || parts < 1) return 1.0;
  const double raw = span / parts;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  for (double m : {1.0, 2.0, 5.0})
    if (m * power >= raw) return m * power;
  return 10.0 * power;
}

std::pair<double, double> niceRange(double low, double high, double step) {
  if (!std::isfinite(low) || !std::isfinite(high) || !(step > 0.0)) return {0.0, 1.0};
  double a = std::floor(low / step) * step, b = std::ceil(high / step) * step;
  if (b <= a) b = a + step;
  return {a, b};
}

void drawChartFrame(Canvas& canvas, const ChartArea& a, double xStep, double yStep, int xDecimals,
                    int yDecimals, const std::string& xTitle, const std::string& yTitle) {
  canvas.setPenWidth(1);
  canvas.setFontSize(kChartFontPoints);
  canvas.setFontStyle({});
  canvas.setFontColour(kBlack);
  const int right = a.left + a.width, bottom = a.top + a.height;
  // At most a few dozen lines, whatever the steps.
  const int xs = static_cast<int>(std::min(60.0, std::floor((a.xMax - a.xMin) / xStep + 1e-9)));
  for (int i = 0; i <= xs; ++i) {
    const double v = a.xMin + i * xStep;
    canvas.setPenColour(kGrid);
    canvas.moveTo(a.x(v), a.top);
    canvas.lineTo(a.x(v), bottom);
    const std::string t = fixedText(v, 0, xDecimals);
    canvas.textOut(a.x(v) - static_cast<int>(t.size()) * kChartCharWidth / 2, bottom + 3, t);
  }
  const int ys = static_cast<int>(std::min(60.0, std::floor((a.yMax - a.yMin) / yStep + 1e-9)));
  for (int i = 0; i <= ys; ++i) {
    const double v = a.yMin + i * yStep;
    canvas.setPenColour(std::fabs(v) < 1e-9 * yStep ? kFrame : kGrid);
    canvas.moveTo(a.left, a.y(v));
    canvas.lineTo(right, a.y(v));
    const std::string t = fixedText(v, 0, yDecimals);
    canvas.textOut(a.left - 4 - static_cast<int>(t.size()) * kChartCharWidth, a.y(v) - 7, t);
  }
  canvas.setPenColour(kFrame);
  canvas.moveTo(a.left, a.top);
  canvas.lineTo(right, a.top);
  canvas.lineTo(right, bottom);
  canvas.lineTo(a.left, bottom);
  canvas.lineTo(a.left, a.top);
  canvas.textOut(a.left + a.width / 2 - static_cast<int>(xTitle.size()) * kChartCharWidth / 2,
                 bottom + 3 + kChartLine, xTitle);
  canvas.textOut(a.left, a.top - kChartLine - 2, yTitle);
}

void drawRightScale(Canvas& canvas, const ChartArea& a, double yStep, double factor, int decimals,
                    const std::string& title) {
  canvas.setFontColour(kBlack);
  const int ys = static_cast<int>(std::min(60.0, std::floor((a.yMax - a.yMin) / yStep + 1e-9)));
  for (int i = 0; i <= ys; ++i) {
    const double v = a.yMin + i * yStep;
    canvas.textOut(a.left + a.width + 4, a.y(v) - 7, fixedText(v * factor, 0, decimals));
  }
  canvas.textOut(a.left + a.width - static_cast<int>(title.size()) * kChartCharWidth,
                 a.top - kChartLine - 2, title);
}

void drawCurve(Canvas& canvas, const ChartArea& a,
               const std::vector<std::pair<double, double>>& pts, Rgb colour, int width) {
  canvas.setClip({a.left, a.top, a.left + a.width + 1, a.top + a.height + 1});
  canvas.setPenColour(colour);
  canvas.setPenWidth(width);
  bool drawing = false;
  for (const auto& [x, y] : pts) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
      drawing = false;
      continue;
    }
    if (drawing)
      canvas.lineTo(a.x(x), a.y(y));
    else
      canvas.moveTo(a.x(x), a.y(y));
    drawing = true;
  }
  canvas.setPenWidth(1);
  canvas.clearClip();
}

void drawMarkers(Canvas& canvas, const ChartArea& a,
                 const std::vector<std::pair<double, double>>& pts, Rgb colour) {
  canvas.setPenColour(colour);
  for (const auto& [x, y] : pts) {
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    const int px = a.x(x), py = a.y(y);
    for (int r = -2; r <= 2; ++r) {
      canvas.moveTo(px - 2, py + r);
      canvas.lineTo(px + 3, py + r);
    }
  }
}

}  // namespace vek1
