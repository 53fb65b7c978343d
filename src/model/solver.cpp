#include "solver.h"

#include <cmath>
#include <numbers>

#include "numbers.h"

namespace vek1 {

void RaiseErrorLatch(Workspace& ws) {
  if (ws.ErrorBeepOn) ws.ErrorFlag = true;
}

float Guard(Workspace& ws, float x) {
  if (x >= 0.0f && x < kGuardEpsilon) {
    RaiseErrorLatch(ws);
    return static_cast<float>(kGuardEpsilon);
  }
  if (x < 0.0f && x > -kGuardEpsilon) {
    RaiseErrorLatch(ws);
    return static_cast<float>(-kGuardEpsilon);
  }
  return x;
}

float Clamp(Workspace& ws, float k) {
  if (k > kClampLimit) {
    RaiseErrorLatch(ws);
    return static_cast<float>(kClampLimit);
  }
  if (k < -kClampLimit) {
    RaiseErrorLatch(ws);
    return static_cast<float>(-kClampLimit);
  }
  if (std::isnan(k)) {
    // 0/0: two coincident centres with radii that leave every point of the circle a solution.
    // Take the perpendicular root rather than let the NaN spread through the gear.
    RaiseErrorLatch(ws);
    return 0.0f;
  }
  return k;
}

float NonNegative(Workspace& ws, float w) {
  if (w < 0.0f) {
    RaiseErrorLatch(ws);
    return -w;
  }
  return w;
}

namespace {

constexpr double kPi = std::numbers::pi;

double sq(double x) {
  return x * x;
}

// The one-argument atan gives a direction only up to a half turn: it is right while the
// divisor (the component along which the direction is measured) is positive. When the gear is
// built the other way round, the half turn is added, so that the circle meeting is taken from
// the real direction between the centres and the rods keep their lengths; the root keeps its
// side of the line of centres. Gears built the usual way see exactly the atan value.
double direction(double numerator, double divisor) {
  const double angle = std::atan(numerator / divisor);
  return divisor < 0.0 ? angle + kPi : angle;
}

// asin(K) written as atan(K / sqrt(1 - K^2)); K has been clamped inside (-1, 1).
double asinByAtan(double k) {
  return std::atan(k / std::sqrt(1.0 - k * k));
}

}  // namespace

void SolveLinkage(Workspace& ws) {
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  const auto& f = ws.Frame;
  const double S = f[dim::Stroke];
  const double CE = f[dim::MainRodCrankEnd];
  const double PE = f[dim::MainRodPistonEnd];
  const double RR = f[dim::RadiusRod];
  const double LRad = f[dim::LinkRadius];
  const double VU = f[dim::ValveLeverUpper];
  const double VL = f[dim::ValveLeverLower];
  const double CU = f[dim::CouplerUpper];
  const double CLo = f[dim::CouplerLower];
  const double AL = f[dim::AnchorLinkLength];
  const double RA = f[dim::ReverseArmLength];

  // Every intermediate is stored as a single, and later steps read the stored values.
  const double theta = toSingle(static_cast<double>(ws.DriverAngle) * kPi / 180.0);

  // 1. The reverse-arm end is where the reverse-arm controls put it.
  H[18] = ws.ReverseArmPos;

  // 2. Crank pin. Increasing angle turns the crank clockwise on screen (screen V points down).
  H[2] = toSingle(H[1] + std::cos(theta) * S / 2.0);
  V[2] = toSingle(V[1] - std::sin(theta) * S / 2.0);

  // 3. Crosshead: the main rod from the crank pin meets the cylinder centre line V = V[3];
  //    the crosshead is on the cylinder side of the pin (the + root).
  const float L = toSingle(CE + PE);
  float w = toSingle(sq(L) - sq(static_cast<double>(V[2]) - V[3]));
  w = NonNegative(ws, w);
  H[3] = toSingle(H[2] + std::sqrt(static_cast<double>(w)));

  // 4. Hanger point on the main rod, CE along it from the crank pin.
  const double d = Guard(ws, L);
  H[10] = toSingle(H[2] + (static_cast<double>(H[3]) - H[2]) * CE / d);
  V[10] = toSingle(V[2] + CE * (static_cast<double>(V[3]) - V[2]) / d);

  // 5. Direction and distance from the hanger point to the anchor pivot.
  const double e = Guard(ws, toSingle(static_cast<double>(V[10]) - V[13]));
  const double phi = toSingle(direction(static_cast<double>(H[13]) - H[10], e));
  const float D = toSingle(
      std::sqrt(sq(static_cast<double>(H[13]) - H[10]) + sq(static_cast<double>(V[10]) - V[13])));

  // 6. Lower end of the coupler: the anchor link's circle about 13 meets the whole coupler's
  //    circle about 10 (law of cosines); the + asin branch fixes the root.
  const double a = Guard(ws, toSingle(AL));
  const float K = Clamp(ws, toSingle((sq(D) + sq(AL) - sq(CU + CLo)) / 2.0 / D / a));
  const double alpha = toSingle(asinByAtan(K) + kPi / 2.0 - phi);
  H[11] = toSingle(H[13] - std::sin(alpha) * AL);
  V[11] = toSingle(V[13] - std::cos(alpha) * AL);

  // 7. Coupler point, CU along the coupler from the hanger point.
  const double c = Guard(ws, toSingle(CU + CLo));
  H[9] = toSingle(H[10] + (static_cast<double>(H[11]) - H[10]) * CU / c);
  V[9] = toSingle(V[10] + CU * (static_cast<double>(V[11]) - V[10]) / c);

  // 8. Reverse-arm end: the arm points up from the link pivot.
  w = toSingle(sq(RA) - sq(static_cast<double>(H[18]) - H[6]));
  w = NonNegative(ws, w);
  V[18] = toSingle(V[6] + std::sqrt(static_cast<double>(w)));

  // 9. Reverse-arm angle from the vertical.
  const double r = Guard(ws, toSingle(static_cast<double>(V[18]) - V[6]));
  const double beta = toSingle(std::atan((static_cast<double>(H[18]) - H[6]) / r));
  ws.ReverseArmAngle = beta;

  // 10. The link's centre of curvature turns with the reverse arm about the link pivot.
  H[14] = toSingle(H[6] + std::cos(beta) * LRad);
  V[14] = toSingle(V[6] - std::sin(beta) * LRad);

  // 11. Direction and distance from the coupler point to the link's centre of curvature.
  const double g = Guard(ws, toSingle(static_cast<double>(H[14]) - H[9]));
  const double psi = toSingle(direction(static_cast<double>(V[14]) - V[9], g));
  const float D2 = toSingle(
      std::sqrt(sq(static_cast<double>(H[14]) - H[9]) + sq(static_cast<double>(V[14]) - V[9])));

  // 12. Die block: the link's arc about 14 meets the lower valve lever's circle about 9.
  const double l = Guard(ws, toSingle(LRad));
  const float K2 = Clamp(ws, toSingle((sq(D2) + sq(LRad) - sq(VL)) / 2.0 / D2 / l));
  const double gamma = toSingle(kPi / 2.0 - asinByAtan(K2) - psi);
  H[8] = toSingle(H[14] - std::cos(gamma) * LRad);
  V[8] = toSingle(V[14] + std::sin(gamma) * LRad);

  // 13. Valve-lever top: on the line from 9 through 8, VU beyond the die block.
  const double v = Guard(ws, toSingle(VL));
  H[7] = toSingle(H[8] + (static_cast<double>(H[8]) - H[9]) * VU / v);
  V[7] = toSingle(V[8] + VU * (static_cast<double>(V[8]) - V[9]) / v);

  // 14. Valve-stem joint: the radius rod from 7 meets the valve-stem line V = V[4], on the
  //     cylinder side of 7.
  w = toSingle(sq(RR) - sq(static_cast<double>(V[7]) - V[4]));
  w = NonNegative(ws, w);
  H[4] = toSingle(H[7] + std::sqrt(static_cast<double>(w)));

  // 15. Valve-lever angle from the vertical.
  const double t = Guard(ws, toSingle(static_cast<double>(V[7]) - V[9]));
  ws.ValveLeverAngle = toSingle(std::atan((static_cast<double>(H[7]) - H[9]) / t));

  // 16.
  ComputePortConstants(ws);
}

ValveFace valveFace(const Workspace& ws) {
  const auto& c = ws.Cyl;
  auto at = [&c](int slot) { return static_cast<double>(c[slot]); };
  using cyl::slot;
  return ValveFace{at(slot<dim::ExhaustPortWidth>) / 2.0, at(slot<dim::BridgeWidthFront>),
                   at(slot<dim::BridgeWidthRear>),        at(slot<dim::SteamPortWidthFront>),
                   at(slot<dim::SteamPortWidthRear>),     at(slot<dim::ValveLengthFrontHalf>),
                   at(slot<dim::ValveLengthRearHalf>),    at(slot<dim::ValveExhCavityFrontHalf>),
                   at(slot<dim::ValveExhCavityRearHalf>), at(slot<dim::ValveStem>),
                   at(slot<dim::CylCtrToDriverCtr>)};
}

PortConstants PortConstantsOf(const Workspace& ws) {
  const auto [P, BF, BR, SF, SR, LF, LR, CF, CR, VS, CC] = valveFace(ws);
  const double H4 = ws.Pivots.H[4];
  PortConstants p;
  p.FrontSteamEdge = toSingle(P + BF + SF - LF);
  p.FrontPortFull = toSingle(P + BF - LF);
  p.FrontExhEdge = toSingle(P + BF - CF);
  p.RearSteamEdge = toSingle(P + BR + SR - LR);
  p.RearPortFull = toSingle(P + BR - LR);
  p.RearExhEdge = toSingle(P + BR - CR);
  p.ValveDisplacement = toSingle(VS + H4 - CC);
  p.RearOpenJoint = toSingle(VS - LR - CC + P + BR + SR);
  p.FrontOpenJoint = toSingle(P + CC + BF + SF - VS - LF);
  p.FrontSteamLap = toSingle(LF - P - BF - SF);
  p.RearSteamLap = toSingle(LR - P - BR - SR);
  p.FrontExhLap = toSingle(CF - P - BF);
  p.RearExhLap = toSingle(CR - P - BR);
  return p;
}

void ComputePortConstants(Workspace& ws) {
  ws.Ports = PortConstantsOf(ws);
}

}  // namespace vek1
