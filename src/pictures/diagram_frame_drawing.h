#pragma once
// The parts the four diagram windows share: the valve-travel axis, the table of reverse-arm
// positions, the port-edge lines, the mid-gear table of leads and laps, the dynamic-variable panel
// and the undo line. Each is a free function over the Canvas, so a diagram is just their sequence
// around its own curves.

#include <array>

#include "canvas.h"
#include "gear.h"
#include "workspace.h"

namespace vek1 {

// Font size (points) of the diagram texts before the large-font scaling, as in the main view.
constexpr int kDiagramFontPoints = 7;

// Valve travel maps to the diagram's height about the zero line y = 215: 375 pixels per
// VerticalScale units, front (positive) upwards.
constexpr double kDiagramZeroY = 215.0;
constexpr double kDiagramPixelsPerScale = 375.0;
// The scale a drawing uses: VerticalScale held to [0.1, 100]. The dialog never stores less than
// 0.1, but a damaged file can hold anything; above 100 a whole unit of travel is under four
// pixels, and the bound keeps the axis's tick count (which grows with the scale) small.
constexpr double kMinVerticalScale = 0.1;
constexpr double kMaxVerticalScale = 100.0;
double diagramScale(const Session& ws);
// Screen y of valve travel v (front mapping) and of a rear-port value (mirrored mapping).
int travelY(const Session& ws, double v);
int rearTravelY(const Session& ws, double v);

// The number of positions a diagram draws, RevArmPosCount held to 0..9.
int diagramPositionCount(const Session& ws);
// Mid gear: within 0.05 units of the centre position P0 (exclusive).
constexpr double kMidGearBand = 0.05;
bool isMidGear(const GearSet& ws, double p);

// The diagram font (7 points scaled with the text positions), normal style, black.
void useDiagramFont(Canvas& canvas, const Workspace& ws);

// The vertical axis: its titles, the scale, minor ticks every 0.02 units and labelled major ticks
// every 0.1 units (every 0.1 and 0.5 units above a scale of 3.75, where the finer ones crowd).
// The value labels stand at labelX: 14 on the sine diagram, 15 on the oval.
constexpr int kSineAxisLabelX = 14;
void drawValveTravelAxis(Canvas& canvas, const Workspace& ws, int labelX = kSineAxisLabelX);
// "Reverse Arm Positions" and the centre position P0 above the table.
void drawPositionTableHeader(Canvas& canvas, const Workspace& ws);
// Where the port-edge lines end and where each of their labels starts. The labels' heights follow
// their lines; only these places differ between the diagrams, which put the labels clear of
// their own curves. The defaults are the sine diagram's.
struct PortEdgeLabelPlaces {
  int lineEndX = 583;
  int frontSteamOpenX = 60;
  int frontSteamMaxX = 60;
  int frontExhOpenX = 230;
  int rearSteamOpenX = 230;
  int rearSteamMaxX = 230;
  int rearExhOpenX = 60;
  // Rows of tick marks the labels keep off (the sine diagram's grid): `rows` rows centred at
  // firstRowY + k * rowPitch, with ticks at every multiple of finePitch from ticksFromX to
  // ticksToX reaching fineHalf above and below the centre, those at multiples of coarsePitch
  // coarseHalf. A label that would cross more of them than it would on the other side of its
  // line goes there.
  int rows = 0;
  int firstRowY = 0;
  int rowPitch = 0;
  int ticksFromX = 1;
  int ticksToX = 0;
  int finePitch = 1;
  int fineHalf = 0;
  int coarsePitch = 1;
  int coarseHalf = 0;
};
// The six port edges as horizontal lines from x = 15, front green and rear red, each with its
// label.
void drawPortEdgeLines(Canvas& canvas, const Workspace& ws,
                       const PortEdgeLabelPlaces& places = PortEdgeLabelPlaces{});
// Row k (1..9) of the position table: number, position p and its direction from the centre.
void drawPositionTableRow(Canvas& canvas, const Workspace& ws, int k, double p);
// Leads, laps and exhaust laps of a mid-gear position, from the least and greatest H[4] its
// sweep met.
void drawMidGearTable(Canvas& canvas, const Workspace& ws, double leastH4, double greatestH4);

// The diagram's four dynamic-variable bars: whether they are shown and which of them are enabled
// (bars 1..4 at index 0..3; a bar is enabled when its slot holds a dimension).
struct DynVarPanelOutcome {
  bool shown = false;
  std::array<bool, 4> enabled{};
};
// The dynamic-variable list, or the boxed prompt while it is empty, when the display is on.
DynVarPanelOutcome drawDiagramDynVarPanel(Canvas& canvas, const Workspace& ws);
// Where a diagram writes its undo line, at factors 1: beside the window's UnDo button, which
// stands 40 pixels to its left and one above. Most diagrams have room below the bars; the port
// diagram's grid starts there, so it writes below its axis texts instead.
struct UndoLinePlace {
  int x = 150;
  int y = 55;
};
constexpr UndoLinePlace kPortUndoLine{150, 384};
// The newest undo entry while undo mode is on. Returns whether the UnDo button is shown.
bool drawDiagramUndoLine(Canvas& canvas, const Workspace& ws, UndoLinePlace at = {});

// The start of one position's curve in the sine, oval and steam diagrams: its table row is
// written, and the reverse-arm position the curve is drawn at is returned.
float beginDiagramCurve(Canvas& canvas, const Workspace& ws, int k, double p);
// The position the sine, oval and steam diagrams draw last, which a dimension file keeps: the
// last of the positions they draw, or `previous` when they draw none.
float lastDiagramPosition(const Workspace& ws, float previous);

// At mid gear a curve's sweep tracks the valve-stem joint's extremes, which give the leads of the
// mid-gear table written after the sweep; at other positions it does nothing.
class MidGearTracker {
 public:
  MidGearTracker(const GearSet& ws, double p) : midGear_(isMidGear(ws, p)) {}
  void sample(const GearPose& pose) {
    if (!midGear_) return;
    const double h4 = pose.Pivots.H[4];
    if (h4 < least_) least_ = h4;
    if (h4 > greatest_) greatest_ = h4;
  }
  void drawTable(Canvas& canvas, const Workspace& ws) const {
    if (midGear_) drawMidGearTable(canvas, ws, least_, greatest_);
  }

 private:
  bool midGear_;
  double least_ = 1000.0;
  double greatest_ = 0.0;
};

// What a diagram drawing asks of its window: the dynamic-variable bars and the undo button.
struct DiagramOutcome {
  DynVarPanelOutcome panel;
  bool undoButtonShown = false;
};

// The dynamic-variable panel and the undo line that end every diagram.
DiagramOutcome drawDiagramFooter(Canvas& canvas, const Workspace& ws, UndoLinePlace undoAt = {});

}  // namespace vek1
