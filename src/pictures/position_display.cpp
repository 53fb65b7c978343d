#include "position_display.h"

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <optional>

#include "dimensions.h"
#include "numbers.h"
#include "screen_data_drawing.h"

namespace vek1 {

namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlack = colour::Black;

constexpr int kHighlightPenWidth = 3;
constexpr int kLabelFontPoints = 14;
constexpr int kRestingFontPoints = 8;
// The blink counter runs 1..5 and starts again; the highlight is red while it is below 4, so
// each cycle is three red frames then two black ones.
constexpr int kBlinkCycle = 5;
constexpr int kBlinkRedBelow = 4;
// The zoom table was laid out for a graphic-zoom factor of 7.5 (a gauge of 7.5 units); other
// factors scale it inversely, so a model in smaller units is shown larger.
constexpr double kTableGraphicZoom = 7.5;
// Where the label goes before the text scaling.
constexpr int kLabelX = 30;
constexpr int kLabelY = 75;
// How far below the reverse-arm end the two offset lines (17, 18) run, and how far inside the
// chest's rear wall the valve-surface line (108) stands, so neither hides under the drawing.
constexpr int kOffsetLineDrop = 5;
constexpr int kChestWallInset = 5;

// Where the view goes for one identifier: pixels per unit before the graphic-zoom scaling, and
// the pans (none = keep the current pan).
struct Placement {
  double k;
  std::optional<float> panX, panY;
};

std::optional<Placement> placementOf(int id) {
  if (id == 1 || id == 2) return Placement{30, 290.0f, 212.0f};
  if (id >= 3 && id <= 6) return Placement{20, {}, {}};
  if (id >= 7 && id <= 15) return Placement{40, 100.0f, 212.0f};
  if ((id >= 16 && id <= 18) || id == 101) return Placement{28, {}, {}};
  if (id == 102) return Placement{55, -600.0f, 295.0f};
  if (id >= 103 && id <= 105) return Placement{55, -600.0f, 250.0f};
  if (id == 106) return Placement{40, -200.0f, 260.0f};
  if (id >= 107 && id <= 122) return Placement{55, -600.0f, 295.0f};
  return std::nullopt;
}

PositionAsker askerOf(int id) {
  return id > 99 ? PositionAsker::CylinderDialog : PositionAsker::FrameDialog;
}

// Screen arithmetic in 64 bits, held to the int range: a far-off pivot already sits at the int
// limit after rounding, and stepping past it must not wrap.
int saturate(std::int64_t v) {
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}
int shifted(int a, int by) {
  return saturate(static_cast<std::int64_t>(a) + by);
}
// Integer sum halved, truncated towards zero (C++ integer division), as the valve lines have
// always been split; rounding instead would move the split by a pixel for odd negative sums.
int midpoint(int a, int b) {
  return saturate((static_cast<std::int64_t>(a) + b) / 2);
}

void line(Canvas& canvas, Pt from, Pt to) {
  canvas.moveTo(from.x, from.y);
  canvas.lineTo(to.x, to.y);
}

// A busy sign at the top left while the view is taken over: an hourglass with end plates,
// two bulbs meeting at a waist, sand left in the top bulb, a falling stream and a heap below.
void drawHourglass(Canvas& canvas) {
  canvas.setPenColour(kBlack);
  canvas.setPenWidth(2);
  auto polyline = [&canvas](std::initializer_list<Pt> pts) {
    const Pt* p = pts.begin();
    canvas.moveTo(p->x, p->y);
    for (++p; p != pts.end(); ++p) canvas.lineTo(p->x, p->y);
  };
  polyline({{20, 100}, {44, 100}, {44, 104}, {20, 104}, {20, 100}});
  polyline({{20, 138}, {44, 138}, {44, 142}, {20, 142}, {20, 138}});
  polyline({{22, 104}, {22, 110}, {30, 120}, {30, 122}, {22, 132}, {22, 138}});
  polyline({{42, 104}, {42, 110}, {34, 120}, {34, 122}, {42, 132}, {42, 138}});
  canvas.setPenWidth(1);
  line(canvas, {26, 114}, {39, 114});
  line(canvas, {27, 116}, {38, 116});
  line(canvas, {29, 118}, {36, 118});
  line(canvas, {32, 118}, {32, 134});
  line(canvas, {27, 134}, {38, 134});
  line(canvas, {24, 136}, {41, 136});
}

struct Segment {
  Pt from, to;
};

// The highlight line of a dimension other than the two reverse-arm offsets. Pivots (S) and
// outline vertices come from this tick's projection; model coordinates (x, y) are mapped with the
// view the display has just set.
std::optional<Segment> highlightOf(const Workspace& ws, const ScreenPoints& pts, const Outlines& o,
                                   int id) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  auto S = [&pts](int i) { return Pt{pts.X[i], pts.Y[i]}; };
  auto x = [&ws](double h) { return screenX(ws, h); };
  auto y = [&ws](double v) { return screenY(ws, v); };
  auto value = [&ws](int dimId) { return static_cast<double>(dimensionValue(ws, dimId)); };
  // The outline tables keep their start points; the vertices named here count from 0 after
  // them. The piston's start point is its front-top corner, so Piston[n] is entry n + 1; the
  // valve's table has no start point of its own.
  auto Cyl = [&o](int n) { return o.Cylinder[n + 1]; };
  auto Pass = [&o](int n) { return o.Passage[n + 1]; };
  auto Piston = [&o](int n) { return o.Piston[n + 1]; };
  auto Valve = [&o](int n) { return o.Valve[n]; };
  const int valveTopMid = midpoint(Valve(0).x, Valve(1).x);
  const int cavityMid = midpoint(Valve(3).x, Valve(6).x);
  const int cylinderX = x(H[1] + value(dim::CylCtrToDriverCtr));
  const int chestWallX = shifted(Cyl(1).x, kChestWallInset);

  switch (id) {
    case dim::DriverDia: {
      const double r = value(dim::DriverDia) / 2;
      return Segment{{S(1).x, y(V[1] - r)}, {S(1).x, y(V[1] + r)}};
    }
    case dim::Stroke:  // the crank circle's diameter through the crank pin
      return Segment{S(2), {x(2.0 * H[1] - H[2]), y(2.0 * V[1] - V[2])}};
    case dim::MainRodCrankEnd:
      return Segment{S(2), S(10)};
    case dim::MainRodPistonEnd:
      return Segment{S(3), S(10)};
    case dim::RadiusRod:
      return Segment{S(4), S(7)};
    case dim::LinkRadius:
      return Segment{S(5), S(14)};
    case dim::LinkPivotVert:
      return Segment{S(5), {S(5).x, S(1).y}};
    case dim::LinkPivotHorz:
      return Segment{S(5), {S(1).x, S(5).y}};
    case dim::ValveLeverUpper:
      return Segment{S(7), S(8)};
    case dim::ValveLeverLower:
      return Segment{S(8), S(9)};
    case dim::CouplerUpper:
      return Segment{S(9), S(10)};
    case dim::CouplerLower:
      return Segment{S(9), S(11)};
    case dim::AnchorLinkLength:
      return Segment{S(11), S(12)};
    case dim::AnchorLinkPivotVert:
      return Segment{S(12), {S(12).x, S(0).y}};
    case dim::AnchorLinkPivotHorz:
      return Segment{S(12), {S(0).x, S(12).y}};
    case dim::ReverseArmLength:
      return Segment{S(5), S(18)};
    case dim::CylCtrToDriverCtr:
      return Segment{S(1), {cylinderX, S(1).y}};
    case dim::CylClAboveDriverCtr:
      return Segment{{cylinderX, S(1).y}, {cylinderX, S(3).y}};
    case dim::CylinderBoreDia:
      return Segment{Cyl(4), Cyl(5)};
    case dim::CylinderBoreLength:
      return Segment{Cyl(5), Cyl(6)};
    case dim::CylSteamPortWidth:
      return Segment{Cyl(4), Pass(3)};
    case dim::PistonCtrToCrosshead:
      return Segment{S(3), {x(H[3] + value(dim::PistonCtrToCrosshead)), S(3).y}};
    case dim::PistonWidth:
      return Segment{Piston(0), Piston(3)};
    case dim::ValveSurfaceToCylCl:
      return Segment{{chestWallX, Cyl(1).y}, {chestWallX, S(3).y}};
    case dim::ValveStemClToCylCl:
      return Segment{{Cyl(1).x, S(4).y}, {Cyl(1).x, S(3).y}};
    case dim::ExhaustPortWidth:
      return Segment{Pass(0), Pass(7)};
    case dim::BridgeWidthRear:
      return Segment{Pass(0), Pass(1)};
    case dim::BridgeWidthFront:
      return Segment{Pass(6), Pass(7)};
    case dim::SteamPortWidthRear:
      return Segment{Cyl(2), Pass(1)};
    case dim::SteamPortWidthFront:
      return Segment{Cyl(9), Pass(6)};
    case dim::ValveChamberHeight:
      return Segment{Cyl(0), Cyl(1)};
    case dim::ValveChamberLength:
      return Segment{Cyl(1), Cyl(10)};
    case dim::ValveHeight:
      return Segment{Valve(0), Valve(7)};
    case dim::ValveLengthRearHalf:
      return Segment{Valve(0), {valveTopMid, Valve(0).y}};
    case dim::ValveLengthFrontHalf:
      return Segment{Valve(1), {valveTopMid, Valve(1).y}};
    case dim::ValveExhCavityRearHalf:
      return Segment{Valve(6), {cavityMid, Valve(6).y}};
    case dim::ValveExhCavityFrontHalf:
      return Segment{Valve(3), {cavityMid, Valve(3).y}};
    case dim::ValveStem:
      return Segment{S(4), {cavityMid, S(4).y}};
    default:
      return std::nullopt;
  }
}

// The two reverse-arm offsets (17, 18): a level line just below the arm's end, from the
// mid-gear centre less the offset to the centre in the blink colour, then on to the centre plus
// the offset in the other colour, so the centre stays visible while the line blinks.
void drawOffsetLine(Canvas& canvas, const Workspace& ws, const ScreenPoints& pts, int id, Rgb blink,
                    Rgb other) {
  const double centre = ws.RevArmPositions[0];
  const double offset = dimensionValue(ws, id);
  const int level = shifted(pts.Y[18], kOffsetLineDrop);
  canvas.moveTo(screenX(ws, centre - offset), level);
  canvas.lineTo(screenX(ws, centre), level);
  canvas.setPenColour(other);
  canvas.lineTo(screenX(ws, centre + offset), level);
  canvas.setPenColour(blink);
}

// Ends the display: counters and identifier back to 0, and the view as it was before the display
// took it over (only if it did: before the first frame nothing was saved).
void finish(Workspace& ws, bool viewTaken) {
  if (viewTaken) SetCurrentView(ws, ws.SavedView);
  ws.ShowDimensionId = 0;
  ws.ShowFrames = 0;
  ws.ShowBlink = 0;
}

}  // namespace

PositionDisplayStep advancePositionDisplay(Workspace& ws) {
  PositionDisplayStep step;
  const int id = ws.ShowDimensionId;
  if (id == 0) return step;
  step.id = id;
  step.outcome.active = true;
  const bool firstFrame = ws.ShowFrames <= 0;
  const PositionAsker asker = askerOf(id);

  const std::optional<Placement> placement = placementOf(id);
  if (!placement) {
    // No button sets such an identifier. Showing nothing for 1000 frames would only hide the
    // dialog, so end now; a dialog already closed by earlier frames is given back.
    if (!firstFrame) step.outcome.closeDialog = step.outcome.reopenDialog = asker;
    step.ends = true;
    step.restoreView = !firstFrame;
    return step;
  }

  // The dialog is modal over the main window; the view is only usable once it is gone.
  step.outcome.closeDialog = asker;
  step.draws = true;
  if (firstFrame) {
    ws.SavedView = CurrentView(ws);
    ws.ShowFrames = 0;
    ws.ShowBlink = 0;
  }

  // A counter pushed past the end by a mouse press only needs to stay past it.
  ws.ShowFrames = (ws.ShowFrames < kPositionDisplayCut ? ws.ShowFrames : kPositionDisplayCut) + 1;
  if (ws.ShowBlink < 0 || ws.ShowBlink >= kBlinkCycle) ws.ShowBlink = 0;
  ++ws.ShowBlink;
  step.red = ws.ShowBlink < kBlinkRedBelow;

  // A damaged file may hold any graphic-zoom factor; 0 or NaN must not reach the division.
  const double g = ClampGraphicZoom(ws.GraphicZoomFactor);
  ws.ViewZoom = toSingle(placement->k / g * kTableGraphicZoom);
  if (placement->panX) ws.ViewPanX = *placement->panX;
  if (placement->panY) ws.ViewPanY = *placement->panY;

  if (ws.ShowFrames >= kPositionDisplayFrames) {
    step.ends = true;
    step.restoreView = true;
    step.outcome.reopenDialog = asker;
  }
  return step;
}

void drawPositionDisplay(Canvas& canvas, const Workspace& ws, const ScreenPoints& points,
                         const Outlines& outlines, const PositionDisplayStep& step) {
  if (step.draws) {
    drawHourglass(canvas);
    canvas.setPenWidth(kHighlightPenWidth);
    canvas.setFontSize(kLabelFontPoints);
    const Rgb blink = step.red ? kRed : kBlack;
    const Rgb other = step.red ? kBlack : kRed;
    canvas.setPenColour(blink);
    if (step.id == dim::RevArmToCentNorm || step.id == dim::RevArmToCentMax) {
      drawOffsetLine(canvas, ws, points, step.id, blink, other);
    } else if (const std::optional<Segment> s = highlightOf(ws, points, outlines, step.id)) {
      line(canvas, s->from, s->to);
    }
    canvas.setFontColour(kBlack);
    canvas.textOut(textX(ws, kLabelX), textY(ws, kLabelY), dimensionLabel(step.id));
  }
  if (step.ends) canvas.setFontSize(kRestingFontPoints);
}

void endPositionDisplayFrame(Workspace& ws, const PositionDisplayStep& step) {
  if (step.ends) finish(ws, step.restoreView);
}

PositionDisplayOutcome runPositionDisplayFrame(Canvas& canvas, Workspace& ws,
                                               const ScreenPoints& points,
                                               const Outlines& outlines) {
  const PositionDisplayStep step = advancePositionDisplay(ws);
  drawPositionDisplay(canvas, ws, points, outlines, step);
  endPositionDisplayFrame(ws, step);
  return step.outcome;
}

void EndPositionDisplaySoon(Workspace& ws) {
  if (ws.ShowDimensionId == 0) return;
  // Pressed before the display's first frame: the view is still the user's, so keep it now,
  // as that frame will not.
  if (ws.ShowFrames <= 0) ws.SavedView = CurrentView(ws);
  ws.ShowFrames = kPositionDisplayCut;
}

}  // namespace vek1
