#include "valve.h"

#include <cmath>
#include <numbers>

#include "numbers.h"
#include "solver.h"

namespace vek1 {

namespace {

// The piston from the crank's cosine and sine, scaled so that the whole stroke is 640.
float pistonPos(const GearDimensions& gear, double cosTheta, double sinTheta, bool& closed) {
  const auto& f = gear.Frame;
  const double S = f[dim::Stroke];
  const float L = toSingle(static_cast<double>(f[dim::MainRodCrankEnd]) + f[dim::MainRodPistonEnd]);
  const double g = guardValue(f[dim::Stroke], closed);
  const double halfThrow = sinTheta * S / 2.0;
  const double w =
      nonNegativeValue(toSingle(static_cast<double>(L) * L - halfThrow * halfThrow), closed);
  return toSingle(320.0 - (cosTheta + 2.0 * std::sqrt(w) / g - 2.0 * L / g) * 320.0);
}

}  // namespace

float pistonPosAt(const GearDimensions& gear, float driverAngle, bool& closed) {
  const double theta = toSingle(static_cast<double>(driverAngle) * std::numbers::pi / 180.0);
  return pistonPos(gear, std::cos(theta), std::sin(theta), closed);
}

ValveState valveStateOf(const GearDimensions& gear, const GearPose& pose) {
  ValveState out;
  // The solver turned the crank already: its cosine and sine are the piston's too.
  out.PistonPos = pistonPos(gear, pose.CrankCos, pose.CrankSin, out.Closed);

  // The valve centre relative to the port-face centre, positive towards the front, and each
  // edge's opening measured with its own side's bridge, port, valve half and cavity half.
  const auto [P, BF, BR, SF, SR, LF, LR, CF, CR, VS, CC] = valveFace(gear.Cyl);
  const double x = toSingle(VS + pose.Pivots.H[4] - CC);
  out.FrontSteamOpen = toSingle((P + BF + SF) - (x + LF));
  out.FrontExhOpen = toSingle((x + CF) - (P + BF));
  out.RearSteamOpen = toSingle((x - LR) + (P + BR + SR));
  out.RearExhOpen = toSingle(CR - x - (P + BR));
  return out;
}

void ComputeValveState(Workspace& ws) {
  // The live set's valve follows whatever pose its pivot table holds, at its driver angle.
  const GearDimensions gear = gearOf(ws);
  GearPose pose;
  pose.Pivots.H[4] = ws.Pivots.H[4];
  const double theta = toSingle(static_cast<double>(ws.DriverAngle) * std::numbers::pi / 180.0);
  pose.CrankCos = std::cos(theta);
  pose.CrankSin = std::sin(theta);
  const ValveState v = valveStateOf(gear, pose);
  ws.PistonPos = v.PistonPos;
  ws.FrontSteamOpen = v.FrontSteamOpen;
  ws.FrontExhOpen = v.FrontExhOpen;
  ws.RearSteamOpen = v.RearSteamOpen;
  ws.RearExhOpen = v.RearExhOpen;
  if (!v.Closed) RaiseErrorLatch(ws);
}

namespace {

// One cylinder end: steam first, then exhaust, so an end open both ways shows exhaust.
Rgb advanceEnd(char& mark, float steamOpen, float exhOpen, Rgb colour) {
  if (steamOpen > 0.0f) {
    mark = 'E';
    colour = colour::Admission;
  } else if (mark == 'E') {
    colour = colour::Expansion;
  }
  if (exhOpen > 0.0f) {
    mark = 'C';
    colour = colour::Exhaust;
  } else if (mark == 'C') {
    colour = colour::Compression;
  }
  return colour;
}

std::string cutOffText(double percent) {
  std::string text = fixedText(percent, 4, 1);
  if (text.size() > kCutOffTextMax) text.resize(kCutOffTextMax);
  return text;
}

}  // namespace

std::pair<Rgb, Rgb> UpdateEvents(Workspace& ws) {
  const Rgb front =
      advanceEnd(ws.FrontEventMark, ws.FrontSteamOpen, ws.FrontExhOpen, colour::Black);
  // The rear end starts from the front's colour, so before its own first opening it shows it.
  const Rgb rear = advanceEnd(ws.RearEventMark, ws.RearSteamOpen, ws.RearExhOpen, front);
  return {front, rear};
}

CutOffDisplay DetectCutOff(Workspace& ws) {
  // Frames between which to hold a new value on screen: about 400 degrees of crank travel.
  auto holdFrames = [&ws] { return roundHalfEven(400.0 / (ws.StepAngle + 0.1)); };
  // Linear interpolation of the piston position to where the opening crossed zero.
  auto crossing = [&ws](float prevOpen, float open) {
    return toSingle(ws.PrevPistonPos - static_cast<double>(prevOpen) *
                                           (static_cast<double>(ws.PistonPos) - ws.PrevPistonPos) /
                                           (static_cast<double>(open) - prevOpen));
  };

  if (ws.PrevFrontSteam > 0.0f && ws.FrontSteamOpen < 0.0f) {
    ws.FrontCutOffHold = holdFrames();
    const float p = crossing(ws.PrevFrontSteam, ws.FrontSteamOpen);
    ws.PrevPistonPos = p;
    ws.FrontCutOffText = cutOffText(p / 6.4);
  }
  if (ws.PrevRearSteam > 0.0f && ws.RearSteamOpen < 0.0f) {
    ws.RearCutOffHold = holdFrames();
    const float p = crossing(ws.PrevRearSteam, ws.RearSteamOpen);
    ws.PrevPistonPos = p;
    // The rear stroke runs from 640 towards 0.
    ws.RearCutOffText = cutOffText((640.0 - p) / 6.4);
  }

  CutOffDisplay shown;
  if (ws.StepAngle != 0.0f && ws.StepAngle < kCutOffMaxStep) {
    shown.labels = true;
    if (ws.FrontCutOffHold > 0) {
      shown.front = true;
      --ws.FrontCutOffHold;
    }
    if (ws.RearCutOffHold > 0) {
      shown.rear = true;
      --ws.RearCutOffHold;
    }
  }

  ws.PrevPistonPos = ws.PistonPos;
  ws.PrevFrontSteam = ws.FrontSteamOpen;
  ws.PrevRearSteam = ws.RearSteamOpen;
  return shown;
}

void ClearCutOff(Workspace& ws) {
  ws.FrontCutOffText.clear();
  ws.RearCutOffText.clear();
}

}  // namespace vek1
