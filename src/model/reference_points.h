#pragma once
// The two reference points (PivotTable entries 19 and 20) and the pivot-data rows: what a mouse
// press on the drawing does to them, their fine-adjustment bars, zeroing, and panning the view
// so that a point comes to the centre of the drawing.

#include "workspace.h"

namespace vek1 {

constexpr int kRefPoint1 = 19;
constexpr int kRefPoint2 = 20;

// The reference bars, in the order of Workspace::RefBars.
enum RefBar { Ref1VertBar, Ref1HorzBar, Ref2VertBar, Ref2HorzBar, kRefBarCount };
constexpr int kRefBarPage = 25;

// Whether a press at client pixel (x, y) lands on the drawing rather than on the panels of bars
// and buttons above it.
bool InDrawingRegion(int x, int y);

// The pivot 1..18 nearest reference point 1 by |dV| + |dH| (a tie goes to the lower index). The
// result is kept in ws.NearestPivot, which is also what a search finding nothing returns.
int FindNearestPivot(Workspace& ws);

// Turning the reference points off takes the pivot data with it; turning the pivot data on
// needs the reference points. The caller shows and hides the controls to match.
void SetRefPointsMode(Workspace& ws, bool on);
void SetPivotDataMode(Workspace& ws, bool on);

// The zero buttons a press asks the window to enable.
struct PressEffects {
  bool ref1Zero = false, ref2Zero = false;
};

// A mouse press on the main window at client pixel (x, y): places the reference points, arms the
// two-pivot overlay on a left press, and runs the pivot-data row pick.
PressEffects MainMousePress(Workspace& ws, bool left, int x, int y);

// A reference bar (RefBar) reports position p: moves the point by the bar's step in thousandths
// (an arrow 0.001, a page 0.025). The caller enables the point's zero button and returns the bar
// to 0 afterwards.
void RefBarChange(Workspace& ws, int bar, int p);

// Sets reference point 1 or 2 back to (0, 0).
void ZeroRefPoint(Workspace& ws, int point);

// Positions for the pan bars, not yet limited to their ranges.
struct PanBarPositions {
  int horz = 0, vert = 0;
};

// Pans so that reference point 1 or 2 lies at screen (320, 240) and returns the pan-bar positions
// that carry the view from there toward the normal view's framing. The caller limits them to the
// bars' ranges and sets them, horizontal first; each bar's change applies its pan step.
PanBarPositions PanToRefPoint(Workspace& ws, int point);

}  // namespace vek1
