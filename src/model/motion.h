#pragma once
// Motion of the driver and the reverse arm: the tick's advance, the step-angle bar's table, the
// reverse-arm bar, and the limits of the typed entries.

#include "workspace.h"

namespace vek1 {

// Advances DriverAngle by StepAngle in the current direction and wraps it: above 360.1 it loses
// 360, below 0 it gains 360 (so 360 itself stays 360).
void AdvanceDriverAngle(Workspace& ws);

// The step-angle bar: its position picks one of sixteen steps, and with it the driver-angle bar's
// small and large change (hundredths of a degree).
struct StepSetting {
  float Step;
  int Small;
  int Large;
};
StepSetting StepForBarPosition(int position);
// The bar position of a step: round(4000 * log10(100 * step)), for steps of at least 0.01.
int StepBarPosition(float step);
constexpr int kStepBarMax = 14613;

// Typed entries, held to their ranges.
float ClampTypedStep(double typed);          // [0.01, 45]
float ClampTypedDriverAngle(double typed);   // [0, 360]
float ClampTypedReverseArm(const GearSet& ws, double typed);  // centre +- Max

// The reverse-arm bar counts thousandths from the centre. Setting a position places the arm,
// turns the driver the way that side of centre runs ("Fwd" at the centre itself) and clears the
// cut-off values, which belonged to the old setting.
void SetReverseArmFromBar(Workspace& ws, int position);
// Bar positions of the normal forward and reverse settings, +-round(Norm * limit / Max).
int ForwardBarPosition(const Workspace& ws);
int ReverseBarPosition(const Workspace& ws);
// Bar position of a typed absolute reverse-arm position.
int ReverseArmBarPosition(const GearSet& ws, float position);

inline float ReverseArmCentre(const GearSet& ws) { return ws.RevArmPositions[0]; }

}  // namespace vek1
