#include "outlines.h"

#include "cylinder_outline.h"

namespace vek1 {

Outlines UpdateOutlines(const Workspace& ws) {
  const CylinderOutline m = cylinderOutlineOf(ws.Cyl, ws.Pivots);
  auto pt = [&ws](const ModelPoint& p) { return Pt{screenX(ws, p.h), screenY(ws, p.v)}; };
  Outlines o;
  for (size_t i = 0; i < o.Cylinder.size(); ++i) o.Cylinder[i] = pt(m.Cylinder[i]);
  for (size_t i = 0; i < o.Passage.size(); ++i) o.Passage[i] = pt(m.Passage[i]);
  // The piston is drawn closed: its start point again at the end.
  for (size_t i = 0; i < m.Piston.size(); ++i) o.Piston[i] = pt(m.Piston[i]);
  o.Piston[4] = o.Piston[0];
  o.PistonRodEnd = pt(m.PistonRodEnd);
  for (size_t i = 0; i < o.Valve.size(); ++i) o.Valve[i] = pt(m.Valve[i]);
  o.ValveStemEnd = pt(m.ValveStemEnd);
  return o;
}

}  // namespace vek1
