#include "solver.h"

#include <cmath>
#include <numbers>

#include "numbers.h"
#include "solve_routes.h"

namespace vek1 {

void RaiseErrorLatch(Workspace& ws) {
  if (ws.ErrorBeepOn) ws.ErrorFlag = true;
}

float guardValue(float x, bool& closed) {
  if (x >= 0.0f && x < kGuardEpsilon) {
    closed = false;
    return static_cast<float>(kGuardEpsilon);
  }
  if (x < 0.0f && x > -kGuardEpsilon) {
    closed = false;
    return static_cast<float>(-kGuardEpsilon);
  }
  return x;
}

float clampValue(float k, bool& closed) {
  if (k > kClampLimit) {
    closed = false;
    return static_cast<float>(kClampLimit);
  }
  if (k < -kClampLimit) {
    closed = false;
    return static_cast<float>(-kClampLimit);
  }
  if (std::isnan(k)) {
    // 0/0: two coincident centres with radii that leave every point of the circle a solution.
    // Take the perpendicular root rather than let the NaN spread through the gear.
    closed = false;
    return 0.0f;
  }
  return k;
}

float nonNegativeValue(float w, bool& closed) {
  if (w < 0.0f) {
    closed = false;
    return -w;
  }
  return w;
}

namespace {

// The Workspace forms raise the latch for what the pure forms report.
template <class Safe>
float latched(Workspace& ws, float x, Safe safe) {
  bool closed = true;
  const float out = safe(x, closed);
  if (!closed) RaiseErrorLatch(ws);
  return out;
}

}  // namespace

float Guard(Workspace& ws, float x) {
  return latched(ws, x, guardValue);
}
float Clamp(Workspace& ws, float k) {
  return latched(ws, k, clampValue);
}
float NonNegative(Workspace& ws, float w) {
  return latched(ws, w, nonNegativeValue);
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

namespace {

template <class Route>
GearPose solveGearWith(const GearDimensions& gear, float driverAngle, float reverseArmPos,
                       Route& single) {
  GearPose pose(gear.Pivots);
  bool& closed = pose.Closed;
  auto& H = pose.Pivots.H;
  auto& V = pose.Pivots.V;
  const auto& f = gear.Frame;
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

  // Every intermediate is stored as a single, and later steps read the stored values. The steps
  // are numbered in the order of the construction; where two chains are independent, the longer
  // one is written first, because the processor runs a later chain beside an earlier one only
  // once it has read that far.
  const double theta = single(static_cast<double>(driverAngle) * kPi / 180.0);

  // 1. The reverse-arm end is where the reverse-arm controls put it.
  H[18] = reverseArmPos;

  // Steps 8 to 10 hang on the reverse arm alone, not on the crank: they are written first, so that
  // they run beside the crank's chain, which needs them only at step 11.

  // 8. Reverse-arm end: the arm points up from the link pivot.
  float w = single(sq(RA) - sq(static_cast<double>(H[18]) - H[6]));
  w = nonNegativeValue(w, closed);
  V[18] = single(V[6] + std::sqrt(static_cast<double>(w)));

  // 9. Reverse-arm angle from the vertical.
  const double r = guardValue(single(static_cast<double>(V[18]) - V[6]), closed);
  const double beta = single(std::atan((static_cast<double>(H[18]) - H[6]) / r));
  pose.ReverseArmAngle = beta;

  // 10. The link's centre of curvature turns with the reverse arm about the link pivot.
  H[14] = single(H[6] + std::cos(beta) * LRad);
  V[14] = single(V[6] - std::sin(beta) * LRad);

  // 2. Crank pin. Increasing angle turns the crank clockwise on screen (screen V points down).
  pose.CrankCos = std::cos(theta);
  pose.CrankSin = std::sin(theta);
  H[2] = single(H[1] + pose.CrankCos * S / 2.0);
  V[2] = single(V[1] - pose.CrankSin * S / 2.0);

  // 3. Crosshead: the main rod from the crank pin meets the cylinder centre line V = V[3];
  //    the crosshead is on the cylinder side of the pin (the + root).
  const float L = single(CE + PE);
  w = single(sq(L) - sq(static_cast<double>(V[2]) - V[3]));
  w = nonNegativeValue(w, closed);
  H[3] = single(H[2] + std::sqrt(static_cast<double>(w)));

  // 4. Hanger point on the main rod, CE along it from the crank pin.
  const double d = guardValue(L, closed);
  const double alongMainRod = CE / d;
  H[10] = single.along(H[2], static_cast<double>(H[3]) - H[2], CE, d, alongMainRod);
  V[10] = single.along(V[2], static_cast<double>(V[3]) - V[2], CE, d, alongMainRod);

  // 5. Distance from the hanger point to the anchor pivot (its direction comes after K, whose
  //    chain through the asin below is the longer).
  const float D = single(
      std::sqrt(sq(static_cast<double>(H[13]) - H[10]) + sq(static_cast<double>(V[10]) - V[13])));

  // 6. Lower end of the coupler: the anchor link's circle about 13 meets the whole coupler's
  //    circle about 10 (law of cosines); the + asin branch fixes the root.
  const double a = guardValue(single(AL), closed);
  const float K = clampValue(single.over((sq(D) + sq(AL) - sq(CU + CLo)) / 2.0, D, a), closed);
  const double e = guardValue(single(static_cast<double>(V[10]) - V[13]), closed);
  const double phi = single(direction(static_cast<double>(H[13]) - H[10], e));
  const double alpha = single(asinByAtan(K) + kPi / 2.0 - phi);
  H[11] = single(H[13] - std::sin(alpha) * AL);
  V[11] = single(V[13] - std::cos(alpha) * AL);

  // 7. Coupler point, CU along the coupler from the hanger point.
  const double c = guardValue(single(CU + CLo), closed);
  const double alongCoupler = CU / c;
  H[9] = single.along(H[10], static_cast<double>(H[11]) - H[10], CU, c, alongCoupler);
  V[9] = single.along(V[10], static_cast<double>(V[11]) - V[10], CU, c, alongCoupler);

  // 11. Distance from the coupler point to the link's centre of curvature (its direction comes
  //     after K2, as in step 5).
  const float D2 = single(
      std::sqrt(sq(static_cast<double>(H[14]) - H[9]) + sq(static_cast<double>(V[14]) - V[9])));

  // 12. Die block: the link's arc about 14 meets the lower valve lever's circle about 9.
  const double l = guardValue(single(LRad), closed);
  const float K2 = clampValue(single.over((sq(D2) + sq(LRad) - sq(VL)) / 2.0, D2, l), closed);
  const double g = guardValue(single(static_cast<double>(H[14]) - H[9]), closed);
  const double psi = single(direction(static_cast<double>(V[14]) - V[9], g));
  const double gamma = single(kPi / 2.0 - asinByAtan(K2) - psi);
  H[8] = single(H[14] - std::cos(gamma) * LRad);
  V[8] = single(V[14] + std::sin(gamma) * LRad);

  // 13. Valve-lever top: on the line from 9 through 8, VU beyond the die block.
  const double v = guardValue(single(VL), closed);
  const double beyondDieBlock = VU / v;
  H[7] = single.along(H[8], static_cast<double>(H[8]) - H[9], VU, v, beyondDieBlock);
  V[7] = single.along(V[8], static_cast<double>(V[8]) - V[9], VU, v, beyondDieBlock);

  // 14. Valve-stem joint: the radius rod from 7 meets the valve-stem line V = V[4], on the
  //     cylinder side of 7.
  w = single(sq(RR) - sq(static_cast<double>(V[7]) - V[4]));
  w = nonNegativeValue(w, closed);
  H[4] = single(H[7] + std::sqrt(static_cast<double>(w)));

  // 15. Valve-lever angle from the vertical.
  const double t = guardValue(single(static_cast<double>(V[7]) - V[9]), closed);
  pose.ValveLeverAngle = single(std::atan((static_cast<double>(H[7]) - H[9]) / t));

  // 16.
  pose.Ports = portConstantsOf(gear, H[4]);
  return pose;
}

}  // namespace

GearPose solveGear(const GearDimensions& gear, float driverAngle, float reverseArmPos) {
  solve_route::Quick quick;
  GearPose pose = solveGearWith(gear, driverAngle, reverseArmPos, quick);
  if (!quick.stands()) [[unlikely]] {
    solve_route::Exact exact;
    pose = solveGearWith(gear, driverAngle, reverseArmPos, exact);
  }
  return pose;
}

GearPose solveGearExact(const GearDimensions& gear, float driverAngle, float reverseArmPos) {
  solve_route::Exact exact;
  return solveGearWith(gear, driverAngle, reverseArmPos, exact);
}

GearDimensions gearOf(const GearSet& gear) {
  return {gear.Frame, gear.Cyl, gear.Pivots};
}

void applyPose(Workspace& ws, const GearPose& pose, const ValveState& valve) {
  ws.Pivots = pose.Pivots;
  ws.ReverseArmAngle = pose.ReverseArmAngle;
  ws.ValveLeverAngle = pose.ValveLeverAngle;
  ws.Ports = pose.Ports;
  ws.PistonPos = valve.PistonPos;
  ws.FrontSteamOpen = valve.FrontSteamOpen;
  ws.FrontExhOpen = valve.FrontExhOpen;
  ws.RearSteamOpen = valve.RearSteamOpen;
  ws.RearExhOpen = valve.RearExhOpen;
}

void SolveGearAndValve(Workspace& ws) {
  const GearDimensions gear = gearOf(ws);
  const GearPose pose = solveGear(gear, ws.DriverAngle, ws.ReverseArmPos);
  const ValveState valve = valveStateOf(gear, pose);
  applyPose(ws, pose, valve);
  if (!pose.Closed || !valve.Closed) RaiseErrorLatch(ws);
}

void SolveLinkage(Workspace& ws) {
  const GearPose pose = solveGear(gearOf(ws), ws.DriverAngle, ws.ReverseArmPos);
  ws.Pivots = pose.Pivots;
  ws.ReverseArmAngle = pose.ReverseArmAngle;
  ws.ValveLeverAngle = pose.ValveLeverAngle;
  ws.Ports = pose.Ports;
  if (!pose.Closed) RaiseErrorLatch(ws);
}

ValveFace valveFace(const std::array<float, cyl::kBlockSize>& c) {
  auto at = [&c](int slot) { return static_cast<double>(c[slot]); };
  using cyl::slot;
  return ValveFace{at(slot<dim::ExhaustPortWidth>) / 2.0, at(slot<dim::BridgeWidthFront>),
                   at(slot<dim::BridgeWidthRear>),        at(slot<dim::SteamPortWidthFront>),
                   at(slot<dim::SteamPortWidthRear>),     at(slot<dim::ValveLengthFrontHalf>),
                   at(slot<dim::ValveLengthRearHalf>),    at(slot<dim::ValveExhCavityFrontHalf>),
                   at(slot<dim::ValveExhCavityRearHalf>), at(slot<dim::ValveStem>),
                   at(slot<dim::CylCtrToDriverCtr>)};
}

ValveFace valveFace(const GearSet& ws) {
  return valveFace(ws.Cyl);
}

PortConstants portConstantsOf(const GearDimensions& gear, float valveStemJointH) {
  const auto [P, BF, BR, SF, SR, LF, LR, CF, CR, VS, CC] = valveFace(gear.Cyl);
  const double H4 = valveStemJointH;
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

PortConstants PortConstantsOf(const GearSet& ws) {
  return portConstantsOf(gearOf(ws), ws.Pivots.H[4]);
}

void ComputePortConstants(Workspace& ws) {
  ws.Ports = PortConstantsOf(ws);
}

}  // namespace vek1
