#include "perf_cards_drawing.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "numbers.h"
#include "perf_chart.h"

namespace vek1 {

namespace {

constexpr int kMargin = 8;
constexpr int kTitle = 3 * kChartLine;
constexpr int kChartLeft = 56;
constexpr int kChartWidth = 440;
constexpr int kChartHeight = 300;
constexpr int kChartGap = 90;
constexpr int kLegendTop = kMargin + kTitle + kChartLine + kChartHeight + 2 * kChartLine + 8;
constexpr std::size_t kLegendLines = 6;  // as many cards as the window draws
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kReference{150, 150, 150};

constexpr std::array<Rgb, 6> kPalette = {Rgb{200, 0, 0},   Rgb{0, 90, 200},  Rgb{0, 140, 0},
                                         Rgb{170, 0, 170}, Rgb{210, 120, 0}, Rgb{0, 150, 150}};

std::string offsetText(double x) {
  return (x >= 0.0 ? "+" : "") + fixedText(x, 0, 3);
}

std::string figureText(const EndPerformance& e) {
  if (!e.runs()) return std::string(endStatusText(e.Status));
  return "MEP " + fixedText(e.MEP, 0, 1) + " psi, " + fixedText(e.Work, 0, 1) + " ft lbf";
}

}  // namespace

Rgb cardColour(std::size_t i) {
  return kPalette[i % kPalette.size()];
}

CanvasSize cardsPictureSize(const CardsPicture& p) {
  const int lines = static_cast<int>(std::clamp<std::size_t>(p.rows.size(), 1, kLegendLines));
  return {2 * kMargin + 2 * (kChartLeft + kChartWidth) + kChartGap,
          kLegendTop + lines * kChartLine + kMargin};
}

void drawIndicatorCards(Canvas& canvas, const CardsPicture& p) {
  canvas.clear(Rgb{255, 255, 255});
  canvas.setFontSize(kChartFontPoints);
  canvas.setFontColour(kBlack);
  canvas.setFontStyle({.bold = true});
  const std::string speed =
      p.rows.empty() ? fixedText(p.settings.SpeedRpm, 0, 0) : fixedText(p.rows[0].SpeedRpm, 0, 0);
  canvas.textOut(kMargin, kMargin, "Indicator cards: " + p.setName + ", " + speed + " rev/min");
  canvas.setFontStyle({});
  canvas.textOut(kMargin, kMargin + kChartLine,
                 "Pressure in psi gauge against the piston's place in percent of the stroke from "
                 "the end's own dead centre (0: the end's cover).");
  canvas.textOut(kMargin, kMargin + 2 * kChartLine,
                 "Grey lines: chest " + fixedText(p.settings.ChestPressure, 0, 1) +
                     " psi and back pressure " + fixedText(p.settings.BackPressure, 0, 1) +
                     " psi gauge.");

  // One pressure scale for both ends, so that their cards compare by eye.
  double low = std::min(0.0, p.settings.BackPressure), high = p.settings.ChestPressure;
  for (const PerformanceRow& r : p.rows)
    for (const EndPerformance* e : {&r.Front, &r.Rear})
      for (const CardPoint& c : e->Card)
        if (std::isfinite(c.Pressure)) {
          low = std::min(low, c.Pressure);
          high = std::max(high, c.Pressure);
        }
  high = std::min(high, 10.0 * std::max(1.0, p.settings.ChestPressure));
  const double yStep = niceStep(high - low, 6);
  const auto [yMin, yMax] = niceRange(low, high, yStep);

  for (int end = 0; end < 2; ++end) {
    ChartArea a;
    a.left = kMargin + kChartLeft + end * (kChartLeft + kChartWidth + kChartGap);
    a.top = kMargin + kTitle + kChartLine;
    a.width = kChartWidth;
    a.height = kChartHeight;
    a.xMin = 0.0;
    a.xMax = 100.0;
    a.yMin = yMin;
    a.yMax = yMax;
    canvas.setFontStyle({.bold = true});
    canvas.textOut(a.left + a.width / 2 - 40, a.top - kChartLine - 2,
                   end == 0 ? "Front end" : "Rear end");
    canvas.setFontStyle({});
    drawChartFrame(canvas, a, 10.0, yStep, 0, yStep < 1.0 ? 1 : 0, "stroke %", "psi gauge");
    for (double ref : {p.settings.ChestPressure, p.settings.BackPressure})
      drawCurve(canvas, a, {{0.0, ref}, {100.0, ref}}, kReference);
    for (std::size_t i = 0; i < p.rows.size(); ++i) {
      const EndPerformance& e = end == 0 ? p.rows[i].Front : p.rows[i].Rear;
      if (!e.runs()) continue;
      std::vector<std::pair<double, double>> pts;
      pts.reserve(e.Card.size() + 1);
      for (const CardPoint& c : e.Card) pts.emplace_back(c.Stroke, c.Pressure);
      if (!e.Card.empty()) pts.emplace_back(e.Card.front().Stroke, e.Card.front().Pressure);
      drawCurve(canvas, a, pts, cardColour(i), 2);
    }
  }

  // The legend: a notch a line, with both ends' figures.
  int y = kLegendTop;
  for (std::size_t i = 0; i < p.rows.size() && i < kLegendLines; ++i) {
    const PerformanceRow& r = p.rows[i];
    canvas.setPenColour(cardColour(i));
    canvas.setPenWidth(3);
    canvas.moveTo(kMargin, y + 7);
    canvas.lineTo(kMargin + 24, y + 7);
    canvas.setPenWidth(1);
    canvas.setFontColour(kBlack);
    canvas.textOut(kMargin + 32, y,
                   "Notch " + offsetText(r.Offset) + ":  front " + figureText(r.Front) +
                       ";  rear " + figureText(r.Rear) + ";  " + fixedText(r.IHP, 0, 2) + " IHP");
    y += kChartLine;
  }
}

}  // namespace vek1
