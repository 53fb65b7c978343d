#include "motion.h"

#include <cmath>

#include "numbers.h"
#include "valve.h"

namespace vek1 {

void AdvanceDriverAngle(Workspace& ws) {
  const double step = ws.Direction == "Fwd" ? ws.StepAngle : -static_cast<double>(ws.StepAngle);
  float angle = toSingle(ws.DriverAngle + step);
  // The wrap sits just above 360 so that a turn in whole steps shows 360 before 0.
  constexpr float kWrapAbove = 360.1f;
  if (angle > kWrapAbove) angle = toSingle(angle - 360.0);
  if (angle < 0.0f) angle = toSingle(angle + 360.0);
  ws.DriverAngle = angle;
}

StepSetting StepForBarPosition(int position) {
  // Each step's mark is round(4000 * log10(100 * step)); the ranges lie around the marks.
  static constexpr struct {
    int upTo;
    StepSetting setting;
  } kTable[] = {
      {704, {0.01f, 1, 5}},         {1591, {0.02f, 2, 10}},     {2408, {0.03f, 3, 15}},
      {3612, {0.05f, 5, 25}},       {4704, {0.1f, 10, 50}},     {5591, {0.2f, 20, 100}},
      {6408, {0.3f, 30, 150}},      {7612, {0.5f, 50, 250}},    {8704, {1.0f, 100, 500}},
      {9591, {2.0f, 200, 1000}},    {10408, {3.0f, 300, 1500}}, {11612, {5.0f, 500, 2500}},
      {12704, {10.0f, 1000, 4500}}, {13591, {20.0f, 2000, 4500}}, {14408, {30.0f, 3000, 4500}},
  };
  for (const auto& row : kTable)
    if (position <= row.upTo) return row.setting;
  return {45.0f, 4500, 4500};
}

int StepBarPosition(float step) {
  if (!(step >= 0.01f)) return 0;
  return roundHalfEven(4000.0 * std::log10(100.0 * step));
}

float ClampTypedStep(double typed) {
  if (typed > 45.0) return 45.0f;
  if (!(typed >= 0.01)) return 0.01f;
  return toSingle(typed);
}

float ClampTypedDriverAngle(double typed) {
  if (!(typed >= 0.0)) return 0.0f;
  if (typed > 360.0) return 360.0f;
  return toSingle(typed);
}

float ClampTypedReverseArm(const GearSet& ws, double typed) {
  const double centre = ReverseArmCentre(ws);
  const double max = ws.Frame[dim::RevArmToCentMax];
  if (typed > centre + max) typed = centre + max;
  if (typed < centre - max) typed = centre - max;
  return toSingle(typed);
}

void SetReverseArmFromBar(Workspace& ws, int position) {
  const float centre = ReverseArmCentre(ws);
  ws.ReverseArmPos = toSingle(centre + position / 1000.0);
  ws.Direction = centre <= ws.ReverseArmPos ? "Fwd" : "Rev";
  ClearCutOff(ws);
}

int ForwardBarPosition(const Workspace& ws) {
  return roundHalfEven(static_cast<double>(ws.Frame[dim::RevArmToCentNorm]) * ws.RevArmScrollMax /
                       ws.Frame[dim::RevArmToCentMax]);
}

int ReverseBarPosition(const Workspace& ws) {
  return roundHalfEven(static_cast<double>(ws.Frame[dim::RevArmToCentNorm]) * ws.RevArmScrollMin /
                       ws.Frame[dim::RevArmToCentMax]);
}

int ReverseArmBarPosition(const GearSet& ws, float position) {
  return roundHalfEven((static_cast<double>(position) - ReverseArmCentre(ws)) * 1000.0);
}

}  // namespace vek1
