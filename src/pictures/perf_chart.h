#pragma once
// The plotting the performance pictures share: a framed chart with a ruled grid and numbered
// axes, and curves drawn into it in the chart's own units.

#include <string>
#include <utility>
#include <vector>

#include "canvas.h"

namespace vek1 {

struct ChartArea {
  int left = 0, top = 0, width = 0, height = 0;  // the plotting area, pixels
  double xMin = 0.0, xMax = 1.0, yMin = 0.0, yMax = 1.0;
  int x(double v) const;
  int y(double v) const;
};

// A step of 1, 2 or 5 times a power of ten that cuts `span` into about `parts` intervals.
double niceStep(double span, int parts);
// The range rounded out to whole steps, never empty: [low, high] of the finite values given.
std::pair<double, double> niceRange(double low, double high, double step);

// The frame, the grid every xStep and yStep, the numbers along the bottom and the left (with
// `decimals` after the point) and the axis titles.
void drawChartFrame(Canvas& canvas, const ChartArea& a, double xStep, double yStep, int xDecimals,
                    int yDecimals, const std::string& xTitle, const std::string& yTitle);
// Numbers of a second scale along the right edge for the same grid lines: value v of the left
// scale is shown as v * factor.
void drawRightScale(Canvas& canvas, const ChartArea& a, double yStep, double factor, int decimals,
                    const std::string& title);

// A polyline through the points (skipping any that are not finite), clipped to the area.
void drawCurve(Canvas& canvas, const ChartArea& a,
               const std::vector<std::pair<double, double>>& pts, Rgb colour, int width = 1);
// A small square marker at each point.
void drawMarkers(Canvas& canvas, const ChartArea& a,
                 const std::vector<std::pair<double, double>>& pts, Rgb colour);

constexpr int kChartFontPoints = 8;
constexpr int kChartCharWidth = 7;
constexpr int kChartLine = 16;

}  // namespace vek1
