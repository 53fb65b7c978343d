#include "perf_curves_drawing.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"
#include "perf_chart.h"

namespace vek1 {

namespace {

constexpr int kMargin = 8;
constexpr int kTitle = 2 * kChartLine;
constexpr int kChartLeft = 56;
constexpr int kChartWidth = 440;
constexpr int kChartHeight = 240;
constexpr int kChartGap = 90;
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kPower{0, 70, 200};
constexpr Rgb kEffort{200, 0, 0};
constexpr int kCurveSpeeds = 8;

using Points = std::vector<std::pair<double, double>>;

void drawChart(Canvas& canvas, int left, int top, const std::vector<PerformanceRow>& rows,
               bool bySpeed, const std::string& heading) {
  ChartArea a;
  a.left = left;
  a.top = top;
  a.width = kChartWidth;
  a.height = kChartHeight;
  Points power, effort;
  double xLow = INFINITY, xHigh = -INFINITY, ihpMax = 0.0, teMax = 0.0;
  for (const PerformanceRow& r : rows) {
    const double x = bySpeed ? r.SpeedRpm : r.Offset;
    if (!std::isfinite(x) || !std::isfinite(r.IHP) || !std::isfinite(r.TractiveEffort)) continue;
    xLow = std::min(xLow, x);
    xHigh = std::max(xHigh, x);
    ihpMax = std::max(ihpMax, r.IHP);
    teMax = std::max(teMax, r.TractiveEffort);
  }
  const double ihpStep = niceStep(ihpMax > 0.0 ? ihpMax : 1.0, 5);
  const auto [yMin, yMax] = niceRange(0.0, ihpMax, ihpStep);
  const int lines = static_cast<int>(std::lround((yMax - yMin) / ihpStep));
  const double teStep = niceStep(teMax > 0.0 ? teMax : 1.0, std::max(1, lines));
  const double factor = teStep / ihpStep;
  for (const PerformanceRow& r : rows) {
    const double x = bySpeed ? r.SpeedRpm : r.Offset;
    power.emplace_back(x, r.IHP);
    effort.emplace_back(x, r.TractiveEffort / factor);
  }
  std::sort(power.begin(), power.end());
  std::sort(effort.begin(), effort.end());
  if (!(xHigh > xLow)) {
    xLow = std::isfinite(xLow) ? xLow - 1.0 : 0.0;
    xHigh = xLow + 2.0;
  }
  const double xStep = niceStep(xHigh - xLow, 8);
  std::tie(a.xMin, a.xMax) = niceRange(xLow, xHigh, xStep);
  a.yMin = yMin;
  a.yMax = yMax;
  canvas.setFontStyle({.bold = true});
  canvas.setFontColour(kBlack);
  canvas.textOut(a.left + a.width / 2 - static_cast<int>(heading.size()) * kChartCharWidth / 2,
                 a.top - 2 * kChartLine - 2, heading);
  canvas.setFontStyle({});
  const int xDecimals = xStep < 0.1 ? 2 : xStep < 1.0 ? 1 : 0;
  const int yDecimals = ihpStep < 0.1 ? 2 : ihpStep < 1.0 ? 1 : 0;
  drawChartFrame(canvas, a, xStep, ihpStep, xDecimals, yDecimals,
                 bySpeed ? "driver rev/min" : "notch (offset from mid gear)", "IHP");
  drawRightScale(canvas, a, ihpStep, factor, teStep < 1.0 ? 1 : 0, "TE lbf");
  // At one speed the effort is the power times a constant and the two curves may fall on one
  // another: the power's is drawn wider, so that it shows round the effort's.
  drawCurve(canvas, a, power, kPower, 5);
  drawMarkers(canvas, a, power, kPower);
  drawCurve(canvas, a, effort, kEffort, 2);
  drawMarkers(canvas, a, effort, kEffort);
}

std::string offsetText(double x) {
  return (x >= 0.0 ? "+" : "") + fixedText(x, 0, 3);
}

}  // namespace

std::vector<double> curveSpeeds(double speedRpm) {
  const double top = 2.0 * (std::isfinite(speedRpm) && speedRpm > 0.0 ? speedRpm : 180.0);
  std::vector<double> out;
  for (int i = 1; i <= kCurveSpeeds; ++i)
    out.push_back(std::clamp(top * i / kCurveSpeeds, kSpeedRange.Lowest, kSpeedRange.Highest));
  return out;
}

CanvasSize curvesPictureSize() {
  return {2 * kMargin + 2 * (kChartLeft + kChartWidth) + kChartGap + 40,
          kMargin + kTitle + 2 * kChartLine + kChartHeight + 3 * kChartLine + kMargin};
}

void drawPerformanceCurves(Canvas& canvas, const CurvesPicture& p) {
  canvas.clear(Rgb{255, 255, 255});
  canvas.setFontSize(kChartFontPoints);
  canvas.setFontColour(kBlack);
  canvas.setFontStyle({.bold = true});
  canvas.textOut(kMargin, kMargin, "Power and tractive effort: " + p.setName);
  canvas.setFontStyle({});
  canvas.setFontColour(kPower);
  canvas.textOut(kMargin, kMargin + kChartLine, "blue: indicated horsepower (left scale)");
  canvas.setFontColour(kEffort);
  canvas.textOut(kMargin + 40 * kChartCharWidth, kMargin + kChartLine,
                 "red: mean tractive effort at the rim, lbf (right scale)");
  const int top = kMargin + kTitle + 2 * kChartLine + 4;
  const std::string speed = p.byNotch.empty() ? "" : fixedText(p.byNotch[0].SpeedRpm, 0, 0);
  drawChart(canvas, kMargin + kChartLeft, top, p.byNotch, false,
            "Against the notch at " + speed + " rev/min");
  const std::string notch = p.bySpeed.empty() ? "" : offsetText(p.bySpeed[0].Offset);
  drawChart(canvas, kMargin + 2 * kChartLeft + kChartWidth + kChartGap + 40, top, p.bySpeed, true,
            "Against the speed at notch " + notch);
}

}  // namespace vek1
