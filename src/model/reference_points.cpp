#include "reference_points.h"

#include <cmath>

#include "numbers.h"
#include "scrollstep.h"

namespace vek1 {

namespace {

// A zoom that cannot be divided by leaves the points where they are: a press then means nothing.
bool usableZoom(const Workspace& ws) {
  return std::isfinite(ws.ViewZoom) && ws.ViewZoom != 0.0f;
}

// The inverse of the view mapping, into PivotTable entry `entry`.
void placeAt(Workspace& ws, int entry, int x, int y) {
  if (!usableZoom(ws)) return;
  ws.Pivots.H[entry] = toSingle((x - static_cast<double>(ws.ViewPanX)) / ws.ViewZoom);
  ws.Pivots.V[entry] = toSingle(-(y - static_cast<double>(ws.ViewPanY)) / ws.ViewZoom);
}

// The row 1..6 of the pivot-data list under (x, y), or 0. The rows follow the text scale.
int pivotRowAt(const Workspace& ws, int x, int y) {
  const double h = ws.TextScaleX, v = ws.TextScaleY;
  if (x < 1 || x >= roundHalfEven(20 * h)) return 0;
  for (int k = 1; k <= 6; ++k)
    if (roundHalfEven((142 + 10 * k) * v) < y && y < roundHalfEven((151 + 10 * k) * v)) return k;
  return 0;
}

double quotient(double a, double b) {
  return b != 0.0 && std::isfinite(b) ? a / b : 0.0;
}

}  // namespace

bool InDrawingRegion(int x, int y) {
  return y > 120 || (y >= 68 && x > 247);
}

int FindNearestPivot(Workspace& ws) {
  const double h1 = ws.Pivots.H[kRefPoint1], v1 = ws.Pivots.V[kRefPoint1];
  double best = 10000.0;
  // Entries 19 and 20 are the reference points themselves.
  for (int i = 1; i <= 18; ++i) {
    const double d = std::fabs(v1 - ws.Pivots.V[i]) + std::fabs(h1 - ws.Pivots.H[i]);
    if (d < best) {
      best = d;
      ws.NearestPivot = i;
    }
  }
  return ws.NearestPivot;
}

void SetRefPointsMode(Workspace& ws, bool on) {
  ws.RefPointsMode = on;
  if (!on) ws.PivotDataMode = false;
}

void SetPivotDataMode(Workspace& ws, bool on) {
  ws.PivotDataMode = on;
  if (on) ws.RefPointsMode = true;
}

PressEffects MainMousePress(Workspace& ws, bool left, int x, int y) {
  PressEffects effects;
  if (ws.RefPointsMode && InDrawingRegion(x, y)) {
    placeAt(ws, left ? kRefPoint1 : kRefPoint2, x, y);
    (left ? effects.ref1Zero : effects.ref2Zero) = true;
  }
  // Hook: a left press with the reference points on reopens the lines-and-circles dialog when it
  // has a type and colour chosen and refers to the reference points (choices 0..2).
  if (left) ws.OverlayTwoPointArmed = true;
  // Hook: a right press with the reference points on completes a two-pivot overlay item
  // ("Referenced to" 3) when the left press armed it: disarm, then reopen the dialog.
  if (left && ws.PivotDataMode && ws.RefPointsMode && ws.PivotPickWaiting) {
    placeAt(ws, kRefPoint1, x, y);
    if (ws.PivotPickRow >= 1 && ws.PivotPickRow <= 6)
      ws.PivotDataRows[ws.PivotPickRow].Index = static_cast<float>(FindNearestPivot(ws));
    ws.PivotPickWaiting = false;
  }
  // A row's number clicked: the next left press picks its pivot. The same press has moved
  // reference point 1, which is harmless as the pick moves it again.
  if (left && ws.PivotDataMode && ws.RefPointsMode && !ws.PivotPickWaiting) {
    if (const int k = pivotRowAt(ws, x, y)) {
      ws.PivotDataRows[k].InUse = true;
      ws.PivotPickRow = k;
      ws.PivotPickWaiting = true;
    }
  }
  return effects;
}

void RefBarChange(Workspace& ws, int bar, int p) {
  if (bar < 0 || bar >= kRefBarCount) return;
  AutoCentreMemory& memory = ws.RefBars[bar];
  const double step = autoCentreCount(p, memory.Last, memory.Prev, kRefBarPage) / 1000.0;
  const int entry = bar < Ref2VertBar ? kRefPoint1 : kRefPoint2;
  float& coordinate =
      (bar == Ref1VertBar || bar == Ref2VertBar) ? ws.Pivots.V[entry] : ws.Pivots.H[entry];
  coordinate = toSingle(coordinate + step);
  remember(memory, p);
}

void ZeroRefPoint(Workspace& ws, int point) {
  if (point != 1 && point != 2) return;
  const int entry = point == 1 ? kRefPoint1 : kRefPoint2;
  ws.Pivots.H[entry] = 0.0f;
  ws.Pivots.V[entry] = 0.0f;
}

PanBarPositions PanToRefPoint(Workspace& ws, int point) {
  if (point != 1 && point != 2) return {};
  const int entry = point == 1 ? kRefPoint1 : kRefPoint2;
  const double zoom = ws.ViewZoom;
  ws.ViewPanX = toSingle(320.0 - ws.Pivots.H[entry] * zoom);
  ws.ViewPanY = toSingle(ws.Pivots.V[entry] * zoom + 240.0);
  if (!usableZoom(ws)) return {};
  // The bars then nudge the view by the share of the normal view's pan that the recentring took,
  // in the pans' bar units.
  const ViewTriple& n = ws.NormalView;
  const double horz = -((ws.ViewPanX - 320.0) * n.Zoom / zoom + 320.0 - n.PanX) * 100.0;
  const double vert = ((ws.ViewPanY - 240.0) * n.Zoom / zoom + 240.0 - n.PanY) * 200.0;
  return {roundHalfEven(quotient(horz, n.PanX)), roundHalfEven(quotient(vert, n.PanY))};
}

}  // namespace vek1
