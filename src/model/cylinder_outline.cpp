#include "cylinder_outline.h"

namespace vek1 {

CylinderOutline cylinderOutlineOf(const std::array<float, cyl::kBlockSize>& c,
                                  const PivotTable& pivots) {
  auto at = [&c](int slot) { return static_cast<double>(c[static_cast<size_t>(slot)]); };
  using cyl::slot;
  const auto& H = pivots.H;
  const auto& V = pivots.V;
  const double CC = at(slot<dim::CylCtrToDriverCtr>);
  const double E = at(slot<dim::ExhaustPortWidth>);
  const double P = E / 2.0;
  const double BF = at(slot<dim::BridgeWidthFront>), BR = at(slot<dim::BridgeWidthRear>);
  const double SF = at(slot<dim::SteamPortWidthFront>), SR = at(slot<dim::SteamPortWidthRear>);
  const double V3 = V[3];
  const double F = V3 + at(slot<dim::ValveSurfaceToCylCl>);  // port face
  const double T = F + at(slot<dim::ValveChamberHeight>);    // chest top
  const double Lc = at(slot<dim::ValveChamberLength>);
  const double Lb = at(slot<dim::CylinderBoreLength>);
  const double Db = at(slot<dim::CylinderBoreDia>);
  const double Ps = at(slot<dim::CylSteamPortWidth>);
  const double LF = at(slot<dim::ValveLengthFrontHalf>), LR = at(slot<dim::ValveLengthRearHalf>);
  const double CF = at(slot<dim::ValveExhCavityFrontHalf>);
  const double CR = at(slot<dim::ValveExhCavityRearHalf>);

  CylinderOutline o;
  o.Cylinder = {{{CC - P, T},
                 {CC - Lc / 2, T},
                 {CC - Lc / 2, F},
                 {CC - P - BR - SR, F},
                 {CC - P - BR - SR, F - E / 3},
                 {CC - Lb / 2, V3 + Db / 2},
                 {CC - Lb / 2, V3 - Db / 2},
                 {CC + Lb / 2, V3 - Db / 2},
                 {CC + Lb / 2, V3 + Db / 2},
                 {CC + P + BF + SF, F - E / 3},
                 {CC + P + BF + SF, F},
                 {CC + Lc / 2, F},
                 {CC + Lc / 2, T},
                 {CC + P, T}}};
  o.Passage = {{{CC - P, F - SR},
                {CC - P, F},
                {CC - P - BR, F},
                {CC - P - BR, F - E / 1.5},
                {CC - Lb / 2 + Ps, V3 + Db / 2},
                {CC + Lb / 2 - Ps, V3 + Db / 2},
                {CC + P + BF, F - E / 1.5},
                {CC + P + BF, F},
                {CC + P, F},
                {CC + P, F - SR}}};
  o.FaceRear = {CC - P - BR - SR, F};
  o.FaceFront = {CC + P + BF + SF, F};

  const double pc = static_cast<double>(H[3]) + at(slot<dim::PistonCtrToCrosshead>);
  const double pw = at(slot<dim::PistonWidth>);
  o.Piston = {{{pc + pw / 2, V3 + Db / 2},
               {pc - pw / 2, V3 + Db / 2},
               {pc - pw / 2, V3 - Db / 2},
               {pc + pw / 2, V3 - Db / 2}}};
  o.PistonRodEnd = {pc + pw / 2, V3};

  const double m = static_cast<double>(H[4]) + at(slot<dim::ValveStem>);  // valve centre
  const double h = at(slot<dim::ValveHeight>);
  o.Valve = {{{m - LR, F + h},
              {m + LF, F + h},
              {m + LF, F},
              {m + CF, F},
              {m + CF, F + 2 * h / 3},
              {m - CR, F + 2 * h / 3},
              {m - CR, F},
              {m - LR, F}}};
  o.ValveStemEnd = {m - LR, V[4]};
  return o;
}

}  // namespace vek1
