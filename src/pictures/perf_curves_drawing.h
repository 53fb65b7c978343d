#pragma once
// Power and tractive effort as curves: against the notch at the settings' speed (left), and
// against the speed at one notch (right). Indicated horsepower reads on the left scale of each
// chart, tractive effort (lbf at the rim) on the right.

#include <string>
#include <vector>

#include "canvas.h"
#include "engine_performance.h"

namespace vek1 {

struct CurvesPicture {
  std::string setName;
  std::vector<PerformanceRow> byNotch;  // one speed, notch by notch
  std::vector<PerformanceRow> bySpeed;  // one notch, speed by speed
};

CanvasSize curvesPictureSize();
void drawPerformanceCurves(Canvas& canvas, const CurvesPicture& p);

// The speeds the speed curve is run at for a settings speed: from a sixth of it to twice it.
std::vector<double> curveSpeeds(double speedRpm);

}  // namespace vek1
