#include "oval_drawing.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "compare_legend.h"
#include "numbers.h"
#include "reference_pen.h"
#include "solver.h"
#include "view.h"

namespace vek1 {

namespace {

// The sweep: samples j = 7..52 at driver angle 88 - 8j, i.e. 32 degrees backwards 8 at a time
// through one whole turn to 32 again, so the last segment closes the loop on the first point.
constexpr int kFirstSample = 7;
constexpr int kLastSample = 52;
// The curve's number is written twice, on the loop's upper run (after the sample at 272 degrees)
// and on its lower run (after 80 degrees), so either run of a loop can be told by its number.
constexpr int kUpperLabelSample = 22;
constexpr int kLowerLabelSample = 46;
constexpr int kUpperLabelX = 300;
constexpr int kLowerLabelX = 334;
constexpr double kAboveCurve = 204.0;  // the number's top 11 pixels above the curve
constexpr double kOnCurve = 213.0;     // the number's top 2 pixels above the curve

// Piston travel across the diagram: 0 % at x = 584, 100 % at x = 44.
constexpr double kPistonCentreX = 314.0;
constexpr double kPistonHalfWidth = 270.5;
constexpr int kForwardEndX = 584;
constexpr int kBackEndX = 44;

constexpr int kAxisLabelX = 15;
// Under the travel axis's texts, right of "Forward End".
constexpr int kLegendX = 330;
constexpr int kLegendY = 384;
// The port-edge lines run to the forward dead-centre line.
constexpr PortEdgeLabelPlaces kOvalPortEdgePlaces{
    .lineEndX = kForwardEndX,
    .frontSteamOpenX = 430,
    .frontSteamMaxX = 430,
    .frontExhOpenX = 75,
    .rearSteamOpenX = 75,
    .rearSteamMaxX = 75,
    .rearExhOpenX = 430,
};

void drawGrid(Canvas& canvas) {
  for (int r = 1; r <= 9; ++r) {
    const int centre = 32 * r + 55;
    for (int c = 2; c <= 20; ++c) {  // every 5 % of the stroke
      canvas.moveTo(27 * c + 17, centre - 3);
      canvas.lineTo(27 * c + 17, centre + 3);
    }
    for (int c = 2; c <= 10; ++c) {  // every 10 %
      canvas.moveTo(54 * c - 10, centre - 5);
      canvas.lineTo(54 * c - 10, centre + 5);
    }
  }
  // The two dead centres.
  for (int x : {kBackEndX, kForwardEndX}) {
    canvas.moveTo(x, 84);
    canvas.lineTo(x, 346);
  }
}

void drawTravelAxisTexts(Canvas& canvas) {
  static constexpr struct {
    int x;
    const char* text;
  } kPercent[] = {{45, "100"}, {91, "90"},  {145, "80"}, {199, "70"}, {253, "60"},
                  {307, "50"}, {361, "40"}, {415, "30"}, {469, "20"}, {523, "10"}};
  for (const auto& p : kPercent) canvas.textOut(p.x, 353, p.text);
  canvas.textOut(577, 348, "0");
  canvas.textOut(186, 367, "Percent Piston Travel");
  canvas.textOut(386, 367, "Forward End --->");
}

double sampleAngle(int j) {
  double angle = 88.0 - 8.0 * j;
  while (angle < 0.0) angle += 360.0;
  return angle;
}

std::string curveNumber(int k) {
  std::string s = std::to_string(k);
  if (s.size() < 2) s.insert(0, 2 - s.size(), ' ');
  return s;
}

// Screen x of the piston at driver angle theta (degrees): 584 at the forward end (theta 0), 44 at
// the back end (theta 180), with the main rod's angularity. A stroke of 0 is held off zero as the
// solver holds it, instead of dividing by it.
int pistonX(const Workspace& ws, double thetaDegrees) {
  const auto& f = ws.Frame;
  const double theta = thetaDegrees * std::numbers::pi / 180.0;
  bool closed = true;
  const double S = guardValue(f[dim::Stroke], closed);
  const double L = static_cast<double>(f[dim::MainRodCrankEnd]) + f[dim::MainRodPistonEnd];
  // u runs from +1 at the forward dead centre to -1 at the back one: the crank's cosine plus the
  // main rod's angularity (how much shorter the rod's reach along the line of stroke is than L).
  const double halfThrow = std::sin(theta) * S / 2.0;
  // A rod shorter than the crank throw cannot reach; the root is kept real by taking the
  // magnitude, as the solver's nonNegativeValue does for the piston position of the valve
  // events. The sum stays double: rounded to a single, sqrt(L * L) would no longer be exactly L
  // and the forward dead centre (u = 1, x = 584.5) would round to the wrong side.
  const double w = std::fabs(L * L - halfThrow * halfThrow);
  const double reach = std::sqrt(w);
  const double u = std::cos(theta) + 2.0 * reach / S - 2.0 * L / S;
  return screenCoord(kPistonCentreX + kPistonHalfWidth * u);
}

void drawCurve(Canvas& canvas, const Workspace& ws, const GearDimensions& gear, int k, double p) {
  const float arm = beginDiagramCurve(canvas, ws, k, p);

  // At mid gear the valve-stem joint's extremes over the turn give the leads.
  MidGearTracker midGear(ws, p);

  // A valve no longer than its rear port turns the loop over, so the two numbers change places
  // relative to the curve to stay beside it.
  const bool longValve =
      ws.Cyl[cyl::slot<dim::ValveLengthRearHalf>] > ws.Cyl[cyl::slot<dim::SteamPortWidthRear>];
  const double upperOffset = longValve ? kAboveCurve : kOnCurve;
  const double lowerOffset = longValve ? kOnCurve : kAboveCurve;
  const double pixelsPerUnit = kDiagramPixelsPerScale / diagramScale(ws);

  double prevS = 0.0;
  int prevX = 0;
  for (int j = kFirstSample; j <= kLastSample; ++j) {
    const double angle = sampleAngle(j);
    const GearPose pose = solveGear(gear, toSingle(angle), arm);
    const double s = pose.Ports.ValveDisplacement;
    const int x = pistonX(ws, angle);
    midGear.sample(pose);
    if (j > kFirstSample) {
      if (j == kUpperLabelSample || j == kLowerLabelSample) {
        const bool upper = j == kUpperLabelSample;
        const double offset = upper ? upperOffset : lowerOffset;
        canvas.setFontStyle(FontStyle{.bold = true});
        canvas.textOut(upper ? kUpperLabelX : kLowerLabelX,
                       screenCoord(offset - prevS * pixelsPerUnit), curveNumber(k));
        canvas.setFontStyle(FontStyle{});
      }
      canvas.moveTo(prevX, travelY(ws, prevS));
      canvas.lineTo(x, travelY(ws, s));
    }
    prevS = s;
    prevX = x;
  }
  midGear.drawTable(canvas, ws);
}

// The reference's loop at the working set's position p: its valve travel on the working set's
// scale, against its own piston travel.
void drawReferenceCurve(Canvas& pen, const Workspace& ws, const Workspace& reference,
                        const GearDimensions& gear, double p) {
  const float arm = referenceArm(ws, reference, p);
  for (int j = kFirstSample; j <= kLastSample; ++j) {
    const double angle = sampleAngle(j);
    const GearPose pose = solveGear(gear, toSingle(angle), arm);
    const int x = pistonX(reference, angle);
    const int y = travelY(ws, pose.Ports.ValveDisplacement);
    if (j == kFirstSample)
      pen.moveTo(x, y);
    else
      pen.lineTo(x, y);
  }
}

}  // namespace

DiagramOutcome drawOvalDiagram(Canvas& canvas, const Workspace& ws, const Workspace* reference) {
  const GearDimensions gear = gearOf(ws);

  canvas.setPenWidth(1);
  canvas.setPenColour(colour::Black);
  useDiagramFont(canvas, ws);

  drawGrid(canvas);
  drawTravelAxisTexts(canvas);
  drawValveTravelAxis(canvas, ws, kAxisLabelX);
  drawPositionTableHeader(canvas, ws);
  drawPortEdgeLines(canvas, ws, kOvalPortEdgePlaces);

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
