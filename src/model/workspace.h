#pragma once
// The Workspace holds every piece of process-wide state of the program, in three parts: the gear
// as designed (GearSet), the live pose of the main view (LivePose) and the session (view,
// switches, frame-to-frame states, dynamic variables, undo). Field names are the names the rest
// of the program and its users know them by.

#include <array>
#include <cstdint>
#include <string>

#include "engine_settings.h"

namespace vek1 {

constexpr int kPivotCount = 27;
constexpr int kScreenPointCount = 21;  // points 0..20 have screen coordinates

// Dimension identifiers. Frame dimensions are 1..16; 17 and 18 are the two reverse-arm offsets,
// which have no identifier of their own in the dynamic variables but are shown by the position
// display. Cylinder dimensions are 101..122. 0 means none.
namespace dim {
constexpr int None = 0;
constexpr int DriverDia = 1;
constexpr int Stroke = 2;
constexpr int MainRodCrankEnd = 3;
constexpr int MainRodPistonEnd = 4;
constexpr int RadiusRod = 5;
constexpr int LinkRadius = 6;
constexpr int LinkPivotVert = 7;
constexpr int LinkPivotHorz = 8;
constexpr int ValveLeverUpper = 9;
constexpr int ValveLeverLower = 10;
constexpr int CouplerUpper = 11;
constexpr int CouplerLower = 12;
constexpr int AnchorLinkLength = 13;
constexpr int AnchorLinkPivotVert = 14;
constexpr int AnchorLinkPivotHorz = 15;
constexpr int ReverseArmLength = 16;
constexpr int RevArmToCentNorm = 17;
constexpr int RevArmToCentMax = 18;

constexpr int CylCtrToDriverCtr = 101;
constexpr int CylClAboveDriverCtr = 102;
constexpr int CylinderBoreDia = 103;
constexpr int CylinderBoreLength = 104;
constexpr int CylSteamPortWidth = 105;
constexpr int PistonCtrToCrosshead = 106;
constexpr int PistonWidth = 107;
constexpr int ValveSurfaceToCylCl = 108;
constexpr int ValveStemClToCylCl = 109;
constexpr int ExhaustPortWidth = 110;
constexpr int BridgeWidthRear = 111;
constexpr int BridgeWidthFront = 112;
constexpr int SteamPortWidthRear = 113;
constexpr int SteamPortWidthFront = 114;
constexpr int ValveChamberHeight = 115;
constexpr int ValveChamberLength = 116;
constexpr int ValveHeight = 117;
constexpr int ValveLengthRearHalf = 118;
constexpr int ValveLengthFrontHalf = 119;
constexpr int ValveExhCavityRearHalf = 120;
constexpr int ValveExhCavityFrontHalf = 121;
constexpr int ValveStem = 122;
}  // namespace dim

// The cylinder dimensions other than 102 live in one block of 22 singles that is copied whole.
// Its order is fixed (dimension files store it in this order): the front-side port and valve
// values follow all the others, and slot 3 is a spare that is always 0.
namespace cyl {
constexpr int kBlockSize = 22;
constexpr int kSpareSlot = 3;
constexpr std::array<int, kBlockSize> kBlockIds = {
    dim::CylCtrToDriverCtr,    dim::CylinderBoreDia,        dim::CylinderBoreLength,
    0,                         dim::CylSteamPortWidth,      dim::PistonCtrToCrosshead,
    dim::PistonWidth,          dim::ValveSurfaceToCylCl,    dim::ValveStemClToCylCl,
    dim::ExhaustPortWidth,     dim::BridgeWidthRear,        dim::SteamPortWidthRear,
    dim::ValveChamberHeight,   dim::ValveChamberLength,     dim::ValveHeight,
    dim::ValveLengthRearHalf,  dim::ValveExhCavityRearHalf, dim::ValveStem,
    dim::BridgeWidthFront,     dim::SteamPortWidthFront,    dim::ValveLengthFrontHalf,
    dim::ValveExhCavityFrontHalf};
// Block slot of a cylinder id (101..122, not 102), or -1.
constexpr int slotOf(int id) {
  for (int i = 0; i < kBlockSize; ++i)
    if (id != 0 && kBlockIds[i] == id) return i;
  return -1;
}
// Block slot of a cylinder id known at compile time.
template <int Id>
inline constexpr int slot = [] {
  static_assert(slotOf(Id) >= 0, "not a cylinder block dimension");
  return slotOf(Id);
}();
}  // namespace cyl

struct PivotTable {
  std::array<float, kPivotCount> H{};
  std::array<float, kPivotCount> V{};
};

// Fixed port geometry derived from the cylinder dimensions, plus the valve's place, written by
// every solve and read by the valve model and the diagrams.
struct PortConstants {
  float FrontSteamEdge = 0, FrontPortFull = 0, FrontExhEdge = 0;
  float RearSteamEdge = 0, RearPortFull = 0, RearExhEdge = 0;
  float ValveDisplacement = 0;
  float RearOpenJoint = 0, FrontOpenJoint = 0;
  float FrontSteamLap = 0, RearSteamLap = 0, FrontExhLap = 0, RearExhLap = 0;
};

struct Rgb {
  int r = 0, g = 0, b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};
namespace colour {
constexpr Rgb Black{0, 0, 0};
constexpr Rgb Admission{255, 0, 0};
constexpr Rgb Expansion{255, 0, 255};
constexpr Rgb Exhaust{0, 0, 255};
constexpr Rgb Compression{0, 128, 0};
}  // namespace colour

constexpr int kDynVarSlots = 5;  // slot 0 is the incoming slot, 1..4 the list
constexpr int kDynVarNameMax = 25;
inline const std::string kEmptySlotName = "             ??";

struct DynVarEntry {
  int Id = 0;
  float Value = 0.0f;
  std::string Name = kEmptySlotName;
};

constexpr int kUndoEntries = 21;  // entry 0 is the work slot, 1 newest .. 20 oldest
constexpr int kUndoDepth = 20;

struct UndoEntry {
  int Id = 0;
  float OldValue = 0.0f;
  float NewValue = 0.0f;
  std::string Name;
};

// The five undo buttons share one enabled state per button: the main window's and the four
// diagrams'. Windows read these; the model sets them.
enum UndoButton { UnDoDn, UnDoDnS, UnDoDnO, UnDoDnSt, UnDoDnP, kUndoButtonCount };

struct ViewTriple {
  float Zoom = 28.0f, PanX = 115.0f, PanY = 270.0f;
};

// An auto-centring scroll bar's memory of the positions seen at its last two change
// notifications; the dynamic-variable bars and the pan and zoom bars derive their step from it.
struct AutoCentreMemory {
  int Last = 0;
  int Prev = 0;
};

constexpr int kViewPresets = 7;  // slot 0 captures, slots 1..6 are the presets
enum ViewBar { PanVertBar, PanHorzBar, ZoomBar, kViewBarCount };

// One line or circle drawn over the mechanism. Every field is a single, integer-valued ones
// too, as the dimension file stores them. For a circle, Line1Horz/Line1Vert are the centre and
// Line2Horz the radius.
constexpr int kOverlayItems = 20;
struct OverlayItem {
  float Line1Horz = 0, Line1Vert = 0, Line2Horz = 0, Line2Vert = 0;
  float Piv1SnapH = 0, Piv1SnapV = 0, Piv2SnapH = 0, Piv2SnapV = 0;
  float ItemType = -1, ItemColour = -1, ItemRef = -1;  // -1: empty item
  float Piv1Index = 0, Piv2Index = 0;
};

// One row of the pivot-data display: the PivotTable index of its pivot (a single, as files keep
// such values; 0 until picked) and whether the row has been taken into use.
struct PivotDataRow {
  float Index = 0.0f;
  bool InUse = false;
};

// The radial clearance of each pin joint, in the set's units, as the worn-gear study takes
// them (crank pin, crosshead, main-rod hanger, the coupler at the valve lever and at the anchor
// link, the anchor link's pivot, the die in the link, the valve lever's top, the valve-stem
// joint, the reverse arm's end): a gear is kept with the play of its pins.
constexpr int kJointClearanceCount = 10;
constexpr float kDefaultJointClearance = 0.002f;

// The gear as designed: the dimensions and their defaults, the fixed pivots, the joints' play,
// the name of the set and its reverse-arm positions; what a dimension file keeps of the design.
// The pivot table is one table for the whole gear: its fixed points belong to the design, and
// the live solve writes the moving points into it (the pure solver, gear.h, returns its own).
struct GearSet {
  // Frame dimensions by id (1..18); ids 7, 8, 14 and 15 live in the pivot table
  // (points 5 and 12) and their slots here stay unused, so there is exactly one copy of each.
  std::array<float, 19> Frame{};
  std::array<float, 19> FrameDefaults{};
  std::array<float, cyl::kBlockSize> Cyl{};
  std::array<float, cyl::kBlockSize> CylDefaults{};
  float CylClDefault = 0.0f;  // default of dimension 102 (stored live as V[3])
  std::array<float, kJointClearanceCount> JointClearances = [] {
    std::array<float, kJointClearanceCount> c{};
    c.fill(kDefaultJointClearance);
    return c;
  }();
  // The engine's steam, clearance, ports and speed, for the performance figures.
  EngineSettings Engine;

  PivotTable Pivots;
  std::string DimSetName = "Nominal";

  // The reverse-arm positions: [0] the mid-gear centre found from the dimensions, [1..9] the
  // diagrams' positions.
  std::array<float, 10> RevArmPositions{};
};

// The live pose of the main view: the crank angle and reverse-arm place it is solved for, and
// what the solve and the valve model made of them.
struct LivePose {
  // The crank angle (degrees) and the reverse arm's place the live pose is solved for.
  float DriverAngle = 0.0f;
  float ReverseArmPos = 0.0f;

  // Solver outputs.
  float ReverseArmAngle = 0.0f;
  float ValveLeverAngle = 0.0f;
  PortConstants Ports;

  // Valve state.
  float PistonPos = 0.0f;
  float FrontSteamOpen = 0.0f, FrontExhOpen = 0.0f, RearSteamOpen = 0.0f, RearExhOpen = 0.0f;
};

// Everything else the program carries from moment to moment: motion, the frame-to-frame states
// of the main view (event marks, cut-off values, error latch, steam display), the view, the
// switches, the overlay, reference points, dynamic variables and undo.
struct Session {
  // Motion: the step per tick while running, the step chosen, the running direction, and the
  // main reverse-arm bar, which counts thousandths from the centre; its range follows "Rev Arm
  // to Cent Max".
  float StepAngle = 10.0f;
  float SelectedStep = 10.0f;
  std::string Direction = "Fwd";
  int RevArmScrollMin = 0, RevArmScrollMax = 0;

  // Events and cut-off.
  char FrontEventMark = ' ', RearEventMark = ' ';
  float PrevPistonPos = 0.0f, PrevFrontSteam = 0.0f, PrevRearSteam = 0.0f;
  std::string FrontCutOffText, RearCutOffText;
  int FrontCutOffHold = 0, RearCutOffHold = 0;

  // Error latch: raised by the solver only while the error-beep switch is on.
  bool ErrorBeepOn = true;
  bool ErrorFlag = false;
  int ErrorFrames = 0;

  // View.
  ViewTriple DefaultView, NormalView, BaseView, SavedView;
  float ViewZoom = 28.0f, ViewPanX = 115.0f, ViewPanY = 270.0f;
  std::array<ViewTriple, kViewPresets> ViewPresets{};
  std::array<AutoCentreMemory, kViewBarCount> ViewBars{};
  float GraphicZoomFactor = 7.5f;
  float TextScaleX = 1.0f, TextScaleY = 1.0f;
  int LineWidth = 1;
  bool ScreenDataOn = true;

  // Switches and display state owned by other windows but reset at start-up.
  bool SteamDisplayOn = false;
  float FrontDensity = 20.0f, RearDensity = 20.0f;
  int FrontSpeckCount = 0, RearSpeckCount = 0;
  bool FrontBeatArmed = false, RearBeatArmed = false;
  float FrontBeatDensity = 0.0f, RearBeatDensity = 0.0f;
  float VerticalScale = 1.5f;
  // The port events diagram's graph ('F' forward, 'R' reverse, 'B' both) and its cycle legend.
  char PortGraphMode = 'F';
  bool PortCycleLegend = true;
  // How many of the diagram positions 1..9 the diagrams draw; recounted by the positions dialog.
  int RevArmPosCount = 0;
  // Set when a dialog over a diagram closes: the diagram below redraws at the next chance.
  bool RepaintPending = false;
  std::array<OverlayItem, kOverlayItems + 1> Overlay{};  // items 1..20
  int CurrentOverlayItem = 1;
  // Set while the overlay dialog waits for the user to press on a pivot in the main view.
  bool PivotSelectPending = false;
  // The overlay dialog's type, colour and "Referenced to" choices (-1: none), kept here because
  // the main view's mouse handler and prompt decide on them while the dialog is closed.
  int OverlayTypeChoice = -1, OverlayColourChoice = -1, OverlayRefChoice = -1;
  // The reverse-arm position the sine, oval or steam diagram drew last (kept in dimension files).
  float LastDiagramRevArmPos = 0.0f;

  // Reference points (PivotTable entries 19 and 20) and the pivot-data display.
  bool RefPointsMode = false;
  bool PivotDataMode = false;
  std::array<PivotDataRow, 7> PivotDataRows{};  // rows 1..6
  int PivotPickRow = 0;           // the row waiting for its pivot, when PivotPickWaiting
  bool PivotPickWaiting = false;
  bool OverlayTwoPointArmed = false;  // set by every left press, for the two-pivot overlay items
  int NearestPivot = 0;           // the last search's result, kept when a search finds nothing
  std::array<AutoCentreMemory, 4> RefBars{};  // Ref1Vert, Ref1Horz, Ref2Vert, Ref2Horz

  // Dimension position display: the dimension being shown (0 = inactive) and its frame and blink
  // counters. The view it replaced is SavedView, which "Norm" also writes.
  int ShowDimensionId = 0;
  int ShowFrames = 0;
  int ShowBlink = 0;

  // Dynamic variables.
  std::array<DynVarEntry, kDynVarSlots> DynVarList{};
  float DynVarStep = 0.001f;
  int DynVarSlot = 1;
  std::array<AutoCentreMemory, kDynVarSlots> DynVarBars{};  // bars 1..4, shared by all windows
  float SlotValueAtEnter = 0.0f;
  bool DynVarShown = false;

  // Undo.
  std::array<UndoEntry, kUndoEntries> UndoList{};
  int UndoCount = 0;
  std::uint8_t UndoPending = 0;
  bool UndoMode = false;
  std::array<bool, kUndoButtonCount> UndoButtonEnabled{};
};

// The whole working state, one of it in the program: main() creates it and hands it by reference
// to every window; tests make their own. A function that reads only the design takes the
// GearSet part.
struct Workspace : GearSet, LivePose, Session {};

}  // namespace vek1
