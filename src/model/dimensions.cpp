#include "dimensions.h"

#include <cmath>

#include "dynvar.h"
#include "numbers.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {

struct DimInfo {
  int id;
  std::string_view label;
  float factory;
};

// Labels are spelled as the program has always shown them, inner runs of blanks included.
constexpr DimInfo kDims[] = {
    {dim::DriverDia, "Driver Dia", 7.0f},
    {dim::Stroke, "Stroke", 3.0f},
    {dim::MainRodCrankEnd, "Main Rod Crank End", 6.207f},
    {dim::MainRodPistonEnd, "Main Rod Piston End", 2.793f},
    {dim::RadiusRod, "Radius Rod", 5.0f},
    {dim::LinkRadius, "Link Radius", 5.0f},
    {dim::LinkPivotVert, "Link Pivot Vert", 1.642f},
    {dim::LinkPivotHorz, "Link Pivot Horz", 6.207f},
    {dim::ValveLeverUpper, "Valve Lever Upper", 0.459f},
    {dim::ValveLeverLower, "Valve Lever Lower", 2.466f},
    {dim::CouplerUpper, "Coupler Upper", 0.824f},
    {dim::CouplerLower, "Coupler Lower", 1.426f},
    {dim::AnchorLinkLength, "Anchor Link Length", 3.0f},
    {dim::AnchorLinkPivotVert, "Anchor Link Pivot Vert", -1.677f},
    {dim::AnchorLinkPivotHorz, "Anchor Link Pivot Horz", 9.207f},
    {dim::ReverseArmLength, "Reverse Arm Length", 3.0f},
    {dim::RevArmToCentNorm, "Rev Arm to Cent Norm", 1.6f},
    {dim::RevArmToCentMax, "Rev Arm to Cent Max", 1.8f},
    {dim::CylCtrToDriverCtr, "Cyl ctr to Driver ctr", 16.0f},
    {dim::CylClAboveDriverCtr, "Cyl CL above Driver ctr", 0.0f},
    {dim::CylinderBoreDia, "Cylinder Bore Dia", 2.125f},
    {dim::CylinderBoreLength, "Cylinder Bore Length", 4.0f},
    {dim::CylSteamPortWidth, "Cyl Steam Port Width", 0.312f},
    {dim::PistonCtrToCrosshead, "Piston ctr to Crosshead", 7.0f},
    {dim::PistonWidth, "Piston Width", 0.5f},
    {dim::ValveSurfaceToCylCl, "Valve Surface to Cyl CL", 1.75f},
    {dim::ValveStemClToCylCl, "Valve Stem CL to Cyl CL", 2.062f},
    {dim::ExhaustPortWidth, "Exhaust Port  Width", 0.375f},
    {dim::BridgeWidthRear, "Bridge Width   Rear", 0.187f},
    {dim::BridgeWidthFront, "Bridge Width   Front", 0.187f},
    {dim::SteamPortWidthRear, "Steam Port Width  Rear", 0.156f},
    {dim::SteamPortWidthFront, "Steam Port Width   Front", 0.156f},
    {dim::ValveChamberHeight, "Valve Chamber    Height", 0.625f},
    {dim::ValveChamberLength, "Valve Chamber Length", 2.187f},
    {dim::ValveHeight, "Valve Height", 0.5f},
    {dim::ValveLengthRearHalf, "Valve Length  Rear Half", 0.687f},
    {dim::ValveLengthFrontHalf, "Valve Length   Front Half", 0.687f},
    {dim::ValveExhCavityRearHalf, "Valve Exh CavityRearHalf", 0.375f},
    {dim::ValveExhCavityFrontHalf, "Valve ExhCavityFrontHalf", 0.375f},
    {dim::ValveStem, "Valve Stem", 4.793f},
};

const DimInfo* findDim(int id) {
  for (const DimInfo& d : kDims)
    if (d.id == id) return &d;
  return nullptr;
}

void setV4FromStem(GearSet& ws) {
  auto& V = ws.Pivots.V;
  V[4] = toSingle(static_cast<double>(V[3]) + ws.Cyl[cyl::slot<dim::ValveStemClToCylCl>]);
}

}  // namespace

bool isEditableDimensionId(int id) { return (id >= 1 && id <= 16) || (id >= 101 && id <= 122); }
bool isDimensionId(int id) { return (id >= 1 && id <= 18) || (id >= 101 && id <= 122); }

std::string_view dimensionLabel(int id) {
  const DimInfo* d = findDim(id);
  return d ? d->label : std::string_view();
}

float factoryDefault(int id) {
  const DimInfo* d = findDim(id);
  return d ? d->factory : 0.0f;
}

float dimensionValue(const GearSet& ws, int id) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  switch (id) {
    case dim::LinkPivotVert: return V[5];
    case dim::LinkPivotHorz: return H[5];
    case dim::AnchorLinkPivotVert: return V[12];
    case dim::AnchorLinkPivotHorz: return H[12];
    case dim::CylClAboveDriverCtr: return V[3];
    default: break;
  }
  if (id >= 1 && id <= 18) return ws.Frame[id];
  const int slot = cyl::slotOf(id);
  return slot >= 0 ? ws.Cyl[slot] : 0.0f;
}

bool setDimension(GearSet& ws, int id, float value) {
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  switch (id) {
    case dim::LinkPivotVert: V[5] = V[6] = value; return true;
    case dim::LinkPivotHorz: H[5] = H[6] = value; return true;
    case dim::AnchorLinkPivotVert: V[12] = V[13] = value; return true;
    case dim::AnchorLinkPivotHorz: H[12] = H[13] = value; return true;
    case dim::CylClAboveDriverCtr:
      V[3] = value;
      setV4FromStem(ws);
      return true;
    default: break;
  }
  if (id >= 1 && id <= 18) {
    ws.Frame[id] = value;
    return true;
  }
  const int slot = cyl::slotOf(id);
  if (slot < 0) return false;
  ws.Cyl[slot] = value;
  if (id == dim::ValveStemClToCylCl) setV4FromStem(ws);
  return true;
}

void InitGeneralState(Workspace& ws) {
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  ws.DriverAngle = 0.0f;
  ws.StepAngle = 10.0f;
  for (int i : {0, 1, 5, 12, 19, 20}) H[i] = V[i] = 0.0f;
  V[3] = 0.0f;
  ws.RevArmPositions.fill(0.0f);
  ws.DefaultView = ViewTriple{28.0f, 115.0f, 270.0f};
  ws.DimSetName = "Nominal";
  ws.DynVarStep = 0.001f;
  DynVarClear(ws);
  ws.SteamDisplayOn = false;
  ws.FrontDensity = ws.RearDensity = 20.0f;
  ws.Direction = "Fwd";
  ws.VerticalScale = 1.5f;
  ws.TextScaleX = ws.TextScaleY = 1.0f;
  InitViewPresets(ws);
  // Type, colour and reference of every overlay item mark it empty; the rest is left as it is.
  for (OverlayItem& item : ws.Overlay) item.ItemType = item.ItemColour = item.ItemRef = -1;
  ws.ErrorBeepOn = true;
}

void InitViewDefaults(Workspace& ws) {
  ws.ViewZoom = ws.DefaultView.Zoom;
  ws.ViewPanX = ws.DefaultView.PanX;
  ws.ViewPanY = ws.DefaultView.PanY;
  ws.NormalView = ws.DefaultView;
  ws.BaseView = ws.DefaultView;
  ws.SavedView = ws.DefaultView;
}

void LoadFrameFactoryDefaults(Workspace& ws) {
  for (int id = 1; id <= 18; ++id) ws.FrameDefaults[id] = factoryDefault(id);
  // Points 6 and 13 are the solver's copies of the entered pivots; keep them equal from the start.
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  H[6] = H[5];
  V[6] = V[5];
  H[13] = H[12];
  V[13] = V[12];
}

void LoadCylinderFactoryDefaults(Workspace& ws) {
  for (int slot = 0; slot < cyl::kBlockSize; ++slot)
    ws.CylDefaults[slot] = factoryDefault(cyl::kBlockIds[slot]);
  ws.CylClDefault = factoryDefault(dim::CylClAboveDriverCtr);
  auto& V = ws.Pivots.V;
  V[4] = toSingle(static_cast<double>(V[3]) +
                  ws.CylDefaults[cyl::slot<dim::ValveStemClToCylCl>]);
}

void ApplyFrameDefaults(Workspace& ws) {
  for (int id = 1; id <= 18; ++id) setDimension(ws, id, ws.FrameDefaults[id]);
}

void ApplyCylinderDefaults(Workspace& ws) {
  ws.Pivots.V[3] = ws.CylClDefault;
  ws.Cyl = ws.CylDefaults;
  setV4FromStem(ws);
}

void ComputeReverseArmCentre(Workspace& ws) {
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  // A link of zero radius would make the centre infinite; the smallest usable radius is stored
  // in its place so that the rest of the program sees the value it was computed with.
  constexpr float kSmallestLinkRadius = 0.00001f;
  if (ws.Frame[dim::LinkRadius] == 0.0f) ws.Frame[dim::LinkRadius] = kSmallestLinkRadius;
  // At mid gear the link's centre of curvature (point 14) sits level with the die block's lowest
  // travel, V[4] - "Valve Lever Upper"; 0.051 is a fixed horizontal correction found by trial.
  // Computed in single arithmetic throughout, as the stored centre always has been.
  constexpr float kCentreCorrection = 0.051f;
  const float singleCentre = H[6] - kCentreCorrection -
                       (V[4] - V[6] - ws.Frame[dim::ValveLeverUpper]) *
                           ws.Frame[dim::ReverseArmLength] / ws.Frame[dim::LinkRadius];
  // Extreme dimensions can overflow the single sum; the saturated wide result keeps it finite.
  const float centre = std::isfinite(singleCentre)
                           ? singleCentre
                           : toSingle(H[6] - static_cast<double>(kCentreCorrection) -
                                      (static_cast<double>(V[4]) - V[6] -
                                       ws.Frame[dim::ValveLeverUpper]) *
                                          ws.Frame[dim::ReverseArmLength] /
                                          ws.Frame[dim::LinkRadius]);
  const float norm = ws.Frame[dim::RevArmToCentNorm];
  H[18] = centre;
  ws.ReverseArmPos = centre;
  ws.RevArmPositions[0] = centre;
  ws.RevArmPositions[1] = centre;
  ws.RevArmPositions[2] = toSingle(static_cast<double>(centre) + norm);
  ws.RevArmPositions[3] = toSingle(static_cast<double>(centre) - norm);
}

void SetRevArmScrollRange(Workspace& ws) {
  const int limit = roundHalfEven(static_cast<double>(ws.Frame[dim::RevArmToCentMax]) * 1000.0);
  // A negative Max (only reachable by typing one) would give an inverted range; the bar is then
  // pinned at the centre instead.
  ws.RevArmScrollMax = limit > 0 ? limit : 0;
  ws.RevArmScrollMin = -ws.RevArmScrollMax;
}

void StartUp(Workspace& ws) {
  InitGeneralState(ws);
  InitViewDefaults(ws);
  LoadFrameFactoryDefaults(ws);
  LoadCylinderFactoryDefaults(ws);
  ApplyFrameDefaults(ws);
  ApplyCylinderDefaults(ws);
  ComputeReverseArmCentre(ws);
  SetRevArmScrollRange(ws);
}

namespace {
void reapplySlotsWithoutStep(Workspace& ws) {
  ws.DynVarStep = 0.0f;
  for (int slot = 1; slot <= 4; ++slot) {
    ws.DynVarSlot = slot;
    DynVarApply(ws);
  }
}
}  // namespace

void ResetFrameDimensions(Workspace& ws, bool clearUndo) {
  ApplyFrameDefaults(ws);
  SetRevArmScrollRange(ws);
  DynVarClear(ws);
  reapplySlotsWithoutStep(ws);
  if (clearUndo) UndoClear(ws);
}

void ResetCylinderDimensions(Workspace& ws, bool clearUndo) {
  ApplyCylinderDefaults(ws);
  DynVarClear(ws);
  reapplySlotsWithoutStep(ws);
  if (clearUndo) UndoClear(ws);
}

}  // namespace vek1
