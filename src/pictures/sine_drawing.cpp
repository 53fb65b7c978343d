#include "sine_drawing.h"

#include <algorithm>
#include <string>

#include "compare_legend.h"
#include "numbers.h"
#include "reference_pen.h"
#include "solver.h"

namespace vek1 {

namespace {

// The sweep: samples j = 7..73 at driver angle 8j + 272, drawn at x = 8j + 2, i.e. x = angle - 270
// in unwrapped degrees: a little over one turn from 328 round to 136, so both dead centres and
// the start of the next admission are seen whole.
constexpr int kFirstSample = 7;
constexpr int kLastSample = 73;
constexpr int kLabelSample = 8;  // the curve's number stands at its left end
// Under the angle axis's texts, right of its title.
constexpr int kLegendX = 330;
constexpr int kLegendY = 380;

void drawGrid(Canvas& canvas) {
  for (int r = 1; r <= 9; ++r) {
    const int centre = 32 * r + 55;
    for (int c = 6; c <= 58; ++c) {  // every 10 degrees
      canvas.moveTo(10 * c, centre - 2);
      canvas.lineTo(10 * c, centre + 2);
    }
    for (int c = 1; c <= 6; ++c) {  // every 90 degrees
      canvas.moveTo(90 * c, centre - 5);
      canvas.lineTo(90 * c, centre + 5);
    }
  }
}

void drawAngleAxisTexts(Canvas& canvas) {
  canvas.textOut(86, 353, "0");
  canvas.textOut(173, 353, "90");
  canvas.textOut(260, 353, "180");
  canvas.textOut(350, 353, "270");
  canvas.textOut(446, 353, "0");
  canvas.textOut(533, 353, "90");
  canvas.textOut(86, 367, "Driver Clockwise Rotation --->");
}

double sampleAngle(int j) {
  double angle = 8.0 * j + 272.0;
  while (angle > 360.0) angle -= 360.0;  // 360 itself stays 360
  return angle;
}

std::string curveNumber(int k) {
  std::string s = std::to_string(k);
  if (s.size() < 2) s.insert(0, 2 - s.size(), ' ');
  return s;
}

void drawCurve(Canvas& canvas, const Workspace& ws, const GearDimensions& gear, int k, double p) {
  const float arm = beginDiagramCurve(canvas, ws, k, p);

  // At mid gear the valve-stem joint's extremes over the turn give the leads.
  MidGearTracker midGear(ws, p);

  int prevY = 0;
  for (int j = kFirstSample; j <= kLastSample; ++j) {
    const GearPose pose = solveGear(gear, toSingle(sampleAngle(j)), arm);
    const int y = travelY(ws, pose.Ports.ValveDisplacement);
    midGear.sample(pose);
    if (j > kFirstSample) {
      if (j == kLabelSample) {
        canvas.setFontStyle(FontStyle{.bold = true});
        canvas.textOut(45, prevY, curveNumber(k));
        canvas.setFontStyle(FontStyle{});
      }
      canvas.moveTo(8 * (j - 1) + 2, prevY);
      canvas.lineTo(8 * j + 2, y);
    }
    prevY = y;
  }
  midGear.drawTable(canvas, ws);
}

// The reference's curve at the working set's position p, on the working set's scale.
void drawReferenceCurve(Canvas& pen, const Workspace& ws, const Workspace& reference,
                        const GearDimensions& gear, double p) {
  const float arm = referenceArm(ws, reference, p);
  for (int j = kFirstSample; j <= kLastSample; ++j) {
    const GearPose pose = solveGear(gear, toSingle(sampleAngle(j)), arm);
    const int y = travelY(ws, pose.Ports.ValveDisplacement);
    if (j == kFirstSample)
      pen.moveTo(8 * j + 2, y);
    else
      pen.lineTo(8 * j + 2, y);
  }
}

}  // namespace

SineDiagramOutcome drawSineDiagram(Canvas& canvas, const Workspace& ws,
                                   const Workspace* reference) {
  const GearDimensions gear = gearOf(ws);

  canvas.setPenWidth(1);
  canvas.setPenColour(colour::Black);
  useDiagramFont(canvas, ws);

  drawGrid(canvas);
  drawValveTravelAxis(canvas, ws);
  drawAngleAxisTexts(canvas);
  drawPositionTableHeader(canvas, ws);
  // The labels keep off the grid's rows of ticks (drawGrid: centres 32 r + 55, every 10 degrees
  // 2 pixels either side, every 90 degrees 5).
  drawPortEdgeLines(canvas, ws,
                    PortEdgeLabelPlaces{.rows = 9, .firstRowY = 87, .rowPitch = 32,
                                        .ticksFromX = 60, .ticksToX = 580, .finePitch = 10,
                                        .fineHalf = 2, .coarsePitch = 90, .coarseHalf = 5});

  const int count = diagramPositionCount(ws);
  if (reference) {
    const GearDimensions referenceGear = gearOf(*reference);
    ReferencePen pen(canvas);
    pen.setPenColour(colour::Black);
    for (int k = 1; k <= count; ++k)
      drawReferenceCurve(pen, ws, *reference, referenceGear, ws.RevArmPositions[k]);
    canvas.setPenColour(colour::Black);
  }
  for (int k = 1; k <= count; ++k) drawCurve(canvas, ws, gear, k, ws.RevArmPositions[k]);
  if (reference) {
    useDiagramFont(canvas, ws);
    drawComparisonLegend(canvas, ws, kLegendX, kLegendY, ws.DimSetName, reference->DimSetName);
  }

  return drawDiagramFooter(canvas, ws);
}

}  // namespace vek1
