#include "diagram_frame_drawing.h"

#include <algorithm>
#include <string>

#include "dynvar.h"
#include "numbers.h"
#include "solver.h"
#include "view.h"

namespace vek1 {

namespace {

constexpr Rgb kFrontPortPen{0, 255, 0};
constexpr Rgb kRearPortPen{255, 0, 0};
constexpr Rgb kPromptColour{255, 0, 0};

// Above this scale the 0.02-unit ticks would sit under two pixels apart.
constexpr double kFineTickScaleLimit = 3.75;

int fx(const Workspace& ws, double x) {
  return roundHalfEven(x * static_cast<double>(ws.TextScaleX));
}
int fy(const Workspace& ws, double y) {
  return roundHalfEven(y * static_cast<double>(ws.TextScaleY));
}

std::string intText(int n, int width) {
  std::string s = std::to_string(n);
  if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
  return s;
}

void tick(Canvas& canvas, int x0, int x1, int y) {
  canvas.moveTo(x0, y);
  canvas.lineTo(x1, y);
}

// A port edge's label stands just above its line (17 pixels up) or just below it; its letters
// take this many rows of pixels from the top, and at most this many pixels a character.
constexpr int kEdgeLabelHeight = 13;
constexpr int kEdgeLabelCharWidth = 7;
constexpr int kEdgeLabelSwap = 17;

int overlap(int from0, int to0, int from1, int to1) {
  return std::max(0, std::min(to0, to1) - std::max(from0, from1));
}

// The multiples of `pitch` in [from, to), for from >= 1.
int multiples(int from, int to, int pitch) {
  return to <= from ? 0 : (to - 1) / pitch - (from - 1) / pitch;
}

// The pixels of tick marks a label at (x, top) would cover.
int ticksUnder(const PortEdgeLabelPlaces& places, int x, int top, std::size_t chars) {
  const int bottom = top + kEdgeLabelHeight;
  const int left = std::max(x, places.ticksFromX);
  const int right = std::min(x + kEdgeLabelCharWidth * static_cast<int>(chars), places.ticksToX + 1);
  const int fineTicks = multiples(left, right, places.finePitch);
  const int longTicks = multiples(left, right, places.coarsePitch);
  int covered = 0;
  for (int k = 0; k < places.rows; ++k) {
    const int c = places.firstRowY + k * places.rowPitch;
    const int fine = overlap(top, bottom, c - places.fineHalf, c + places.fineHalf + 1);
    const int coarse = overlap(top, bottom, c - places.coarseHalf, c + places.coarseHalf + 1);
    covered += fine * fineTicks + (coarse - fine) * longTicks;
  }
  return covered;
}

// The label's top: where it was asked for, unless the other side of the line crosses fewer
// ticks.
int edgeLabelTop(const PortEdgeLabelPlaces& places, int x, int top, bool above,
                 std::string_view text) {
  if (places.rows <= 0) return top;
  const int other = above ? top + kEdgeLabelSwap : top - kEdgeLabelSwap;
  return ticksUnder(places, x, other, text.size()) < ticksUnder(places, x, top, text.size())
             ? other
             : top;
}

}  // namespace

double diagramScale(const Session& ws) {
  const double vs = ws.VerticalScale;
  if (!(vs >= kMinVerticalScale)) return kMinVerticalScale;  // also NaN
  return std::min(vs, kMaxVerticalScale);
}

int travelY(const Session& ws, double v) {
  return screenCoord(kDiagramZeroY - v * kDiagramPixelsPerScale / diagramScale(ws));
}

int rearTravelY(const Session& ws, double v) {
  return screenCoord(kDiagramZeroY + v * kDiagramPixelsPerScale / diagramScale(ws));
}

int diagramPositionCount(const Session& ws) {
  return std::clamp(ws.RevArmPosCount, 0, 9);
}

bool isMidGear(const GearSet& ws, double p) {
  const double p0 = ws.RevArmPositions[0];
  return p0 - kMidGearBand < p && p < p0 + kMidGearBand;
}

void useDiagramFont(Canvas& canvas, const Workspace& ws) {
  canvas.setFontSize(fy(ws, kDiagramFontPoints));
  canvas.setFontStyle(FontStyle{});
  canvas.setFontColour(colour::Black);
}

void drawValveTravelAxis(Canvas& canvas, const Workspace& ws, int labelX) {
  const double vs = diagramScale(ws);
  canvas.textOut(9, 46, "Front");
  canvas.textOut(9, 374, "Rear");
  canvas.textOut(9, 32, "Units Travel");
  canvas.textOut(9, 18, "Scale =");
  // The value moves out with the large font's wider "Scale =".
  canvas.textOut(fx(ws, 50), 18, fixedText(vs, 3, 1));

  // g steps of 0.1 units each way: the axis always spans about 1.5 scales above and below zero.
  const int g = roundHalfEven(4.0 * vs);
  const bool coarse = vs > kFineTickScaleLimit;
  for (int h = -5 * g; h <= 5 * g; ++h) {  // 0.02 units
    if (coarse && h % 5 != 0) continue;
    tick(canvas, 39, 44, screenCoord(kDiagramZeroY + h * 7.5 / vs));
  }
  for (int l = -g; l <= g; ++l) {  // 0.1 units
    if (coarse && l % 5 != 0) continue;
    tick(canvas, 36, 44, screenCoord(kDiagramZeroY + l * 37.5 / vs));
    // The label stands at the height of the travel it names (the ticks are symmetric).
    canvas.textOut(labelX, screenCoord(210.0 - l * 37.5 / vs), fixedText(l * 0.1, 1, 1));
  }
}

void drawPositionTableHeader(Canvas& canvas, const Workspace& ws) {
  canvas.textOut(fx(ws, 500), 0, "Reverse Arm Positions");
  canvas.textOut(fx(ws, 520), 13, "Center");
  canvas.textOut(fx(ws, 580), 13, fixedText(ws.RevArmPositions[0], 6, 3));
}

void drawPortEdgeLines(Canvas& canvas, const Workspace& ws, const PortEdgeLabelPlaces& places) {
  const PortConstants pc = PortConstantsOf(ws);
  canvas.setPenColour(kFrontPortPen);
  for (float v : {pc.FrontSteamEdge, pc.FrontPortFull, pc.FrontExhEdge})
    tick(canvas, 15, places.lineEndX, travelY(ws, v));
  canvas.setPenColour(kRearPortPen);
  for (float v : {pc.RearSteamEdge, pc.RearPortFull, pc.RearExhEdge})
    tick(canvas, 15, places.lineEndX, rearTravelY(ws, v));

  // Each label sits just above (199) or just below (216) the line it names.
  const auto lift = [&](double v) { return v * kDiagramPixelsPerScale / diagramScale(ws); };
  const auto label = [&](int x, double top, bool above, const char* text) {
    canvas.textOut(x, edgeLabelTop(places, x, screenCoord(top), above, text), text);
  };
  label(places.frontSteamOpenX, 199 - lift(pc.FrontSteamEdge), true, "Front Steam Port Open");
  label(places.frontSteamMaxX, 216 - lift(pc.FrontPortFull), false, "Front Steam Port Max");
  label(places.frontExhOpenX, 216 - lift(pc.FrontExhEdge), false, "Front Exhaust Port Open");
  label(places.rearSteamOpenX, 216 + lift(pc.RearSteamEdge), false, "Rear Steam Port Open");
  label(places.rearSteamMaxX, 199 + lift(pc.RearPortFull), true, "Rear Steam Port Max");
  label(places.rearExhOpenX, 199 + lift(pc.RearExhEdge), true, "Rear Exhaust Port Open");
  canvas.setPenColour(colour::Black);
}

void drawPositionTableRow(Canvas& canvas, const Workspace& ws, int k, double p) {
  const int y = fy(ws, 12.0 * k) + 12;
  const double p0 = ws.RevArmPositions[0];
  canvas.textOut(fx(ws, 545), y, intText(k, 5));
  canvas.textOut(fx(ws, 580), y, fixedText(p, 6, 3));
  canvas.textOut(fx(ws, 533), y, p > p0 ? "Fwd" : p < p0 ? "Rev" : "Cen");
}

void drawMidGearTable(Canvas& canvas, const Workspace& ws, double leastH4, double greatestH4) {
  // The leads come from how far the valve-stem joint travels past the joints at which each port
  // starts to open. This reading holds for every workable valve, whose rear half is longer than
  // the rear steam port; for a valve that is not, the laps are shown plain as well, because
  // offsetting them by the joint's mean position would mix an absolute place into a lap.
  const PortConstants pc = PortConstantsOf(ws);
  canvas.textOut(595, 153, "Lead");
  canvas.textOut(595, 182, "Lap");
  canvas.textOut(595, 211, "ExCl");
  canvas.textOut(595, 253, "Lap");
  canvas.textOut(595, 282, "Lead");
  canvas.textOut(592, 166, fixedText(pc.RearOpenJoint + greatestH4, 6, 3));
  canvas.textOut(592, 195, fixedText(pc.FrontSteamLap, 6, 3));
  canvas.textOut(592, 224, fixedText(pc.FrontExhLap, 6, 3));
  canvas.textOut(592, 237, fixedText(pc.RearExhLap, 6, 3));
  canvas.textOut(592, 266, fixedText(pc.RearSteamLap, 6, 3));
  canvas.textOut(592, 295, fixedText(pc.FrontOpenJoint - leastH4, 6, 3));
}

DynVarPanelOutcome drawDiagramDynVarPanel(Canvas& canvas, const Workspace& ws) {
  DynVarPanelOutcome out;
  for (int slot = 1; slot <= 4; ++slot)
    out.enabled[slot - 1] = ws.DynVarList[slot].Name != kEmptySlotName;
  out.shown = ws.DynVarShown;
  if (!out.shown) return out;

  if (out.enabled[0]) {
    const int ys[4] = {2, fy(ws, 14), fy(ws, 26), fy(ws, 38)};
    for (int slot = 1; slot <= 4; ++slot) {
      canvas.textOut(fx(ws, 235), ys[slot - 1], ws.DynVarList[slot].Name);
      canvas.textOut(fx(ws, 363), ys[slot - 1], fixedText(ws.DynVarList[slot].Value, 6, 3));
    }
  } else {
    canvas.setFontColour(kPromptColour);
    canvas.textOut(fx(ws, 235), 2, "*******************************");
    canvas.textOut(fx(ws, 235), fy(ws, 12), "* First Select Dimensions *");
    canvas.textOut(fx(ws, 235), fy(ws, 26), "*******************************");
    canvas.setFontColour(colour::Black);
  }
  return out;
}

bool drawDiagramUndoLine(Canvas& canvas, const Workspace& ws, UndoLinePlace at) {
  if (!ws.UndoMode) return false;
  // Written once, newest entry: the canvas's text has no background, so writing an earlier line
  // and then blank-padding the new one over it, as an opaque text would allow, would only smear
  // the two together.
  canvas.textOut(fx(ws, at.x), fy(ws, at.y), UndoLineText(ws));
  return true;
}

DiagramOutcome drawDiagramFooter(Canvas& canvas, const Workspace& ws, UndoLinePlace undoAt) {
  DiagramOutcome out;
  out.panel = drawDiagramDynVarPanel(canvas, ws);
  out.undoButtonShown = drawDiagramUndoLine(canvas, ws, undoAt);
  return out;
}

float beginDiagramCurve(Canvas& canvas, const Workspace& ws, int k, double p) {
  drawPositionTableRow(canvas, ws, k, p);
  return toSingle(p);
}

float lastDiagramPosition(const Workspace& ws, float previous) {
  const int count = diagramPositionCount(ws);
  return count >= 1 ? toSingle(ws.RevArmPositions[count]) : previous;
}

}  // namespace vek1
