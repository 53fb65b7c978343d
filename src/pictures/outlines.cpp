#include "outlines.h"

namespace vek1 {

Outlines UpdateOutlines(const Workspace& ws) {
  const auto& c = ws.Cyl;
  auto at = [&c](int slot) { return static_cast<double>(c[slot]); };
  using cyl::slot;
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
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

  auto pt = [&ws](double h, double v) { return Pt{screenX(ws, h), screenY(ws, v)}; };

  Outlines o;
  o.Cylinder = {pt(CC - P, T),
                pt(CC - Lc / 2, T),
                pt(CC - Lc / 2, F),
                pt(CC - P - BR - SR, F),
                pt(CC - P - BR - SR, F - E / 3),
                pt(CC - Lb / 2, V3 + Db / 2),
                pt(CC - Lb / 2, V3 - Db / 2),
                pt(CC + Lb / 2, V3 - Db / 2),
                pt(CC + Lb / 2, V3 + Db / 2),
                pt(CC + P + BF + SF, F - E / 3),
                pt(CC + P + BF + SF, F),
                pt(CC + Lc / 2, F),
                pt(CC + Lc / 2, T),
                pt(CC + P, T)};
  o.Passage = {pt(CC - P, F - SR),
               pt(CC - P, F),
               pt(CC - P - BR, F),
               pt(CC - P - BR, F - E / 1.5),
               pt(CC - Lb / 2 + Ps, V3 + Db / 2),
               pt(CC + Lb / 2 - Ps, V3 + Db / 2),
               pt(CC + P + BF, F - E / 1.5),
               pt(CC + P + BF, F),
               pt(CC + P, F),
               pt(CC + P, F - SR)};

  const double pc = static_cast<double>(H[3]) + at(slot<dim::PistonCtrToCrosshead>);
  const double pw = at(slot<dim::PistonWidth>);
  const Pt frontTop = pt(pc + pw / 2, V3 + Db / 2);
  o.Piston = {frontTop, pt(pc - pw / 2, V3 + Db / 2), pt(pc - pw / 2, V3 - Db / 2),
              pt(pc + pw / 2, V3 - Db / 2), frontTop};
  o.PistonRodEnd = pt(pc + pw / 2, V3);

  const double m = static_cast<double>(H[4]) + at(slot<dim::ValveStem>);  // valve centre
  const double h = at(slot<dim::ValveHeight>);
  o.Valve = {pt(m - LR, F + h), pt(m + LF, F + h),         pt(m + LF, F),
             pt(m + CF, F),     pt(m + CF, F + 2 * h / 3), pt(m - CR, F + 2 * h / 3),
             pt(m - CR, F),     pt(m - LR, F)};
  o.ValveStemEnd = pt(m - LR, V[4]);
  return o;
}

}  // namespace vek1
