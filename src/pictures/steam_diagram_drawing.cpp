#include "steam_diagram_drawing.h"

#include <optional>
#include <string>
#include <utility>

#include "compare_legend.h"
#include "numbers.h"
#include "reference_pen.h"
#include "solver.h"
#include "steam_pressure.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {

constexpr Rgb kFrontPen{0, 128, 0};
constexpr Rgb kRearPen{255, 0, 0};

// Every drawing starts the engine from the same pose, so a card never depends on where the main
// view happened to stop.
constexpr float kStartAngle = 96.0f;
// 150 samples of 4 degrees per position: the first 60 (240 degrees) let the pressures settle from
// wherever the previous position left them, the other 90 draw one whole revolution.
constexpr float kAngleStep = 4.0f;
constexpr int kSamplesPerPosition = 150;
constexpr int kSettlingSamples = 60;
// Under the travel axis's texts, right of "Forward End".
constexpr int kLegendX = 330;
constexpr int kLegendY = 384;

// Piston travel across the card from the forward end (x 584) to the rear end (x 44); pressure up
// from the base line.
int cardX(double pistonPos) {
  return screenCoord(584.0 - 0.84375 * pistonPos);
}
int cardY(double pressure) {
  return screenCoord(343.0 - 0.9 * pressure);
}

void drawFrame(Canvas& canvas) {
  for (int r = 1; r <= 9; ++r) {
    for (int c = 2; c <= 20; ++c) {  // every 5 % of travel
      canvas.moveTo(27 * c + 17, 32 * r + 52);
      canvas.lineTo(27 * c + 17, 32 * r + 58);
    }
    for (int c = 2; c <= 10; ++c) {  // every 10 %
      canvas.moveTo(54 * c - 10, 32 * r + 50);
      canvas.lineTo(54 * c - 10, 32 * r + 60);
    }
  }
  for (int x : {44, 584}) {  // the two dead centres
    canvas.moveTo(x, 70);
    canvas.lineTo(x, 346);
  }

  // The pressure axis is named by an arrow built of characters over two words written downwards.
  canvas.textOut(24, 77, "/");
  canvas.textOut(29, 77, "\\");
  canvas.textOut(28, 81, "|");
  canvas.textOut(28, 94, "|");
  constexpr int kLetterY[8] = {108, 123, 136, 149, 162, 175, 188, 201};
  const std::string cylinder = "CYLINDER";
  const std::string pressure = "PRESSURE";
  for (int i = 0; i < 8; ++i) {
    const int x = cylinder[i] == 'I' ? 22 : 20;  // the narrow I centred under the others
    canvas.textOut(x, kLetterY[i], std::string(1, cylinder[i]));
    canvas.textOut(32, kLetterY[i], std::string(1, pressure[i]));
  }

  constexpr std::pair<int, const char*> kPercent[] = {
      {45, "100"}, {91, "90"},  {145, "80"}, {199, "70"}, {253, "60"},
      {307, "50"}, {361, "40"}, {415, "30"}, {469, "20"}, {523, "10"}};
  for (const auto& [x, text] : kPercent) canvas.textOut(x, 350, text);
  canvas.textOut(577, 348, "0");
  canvas.textOut(186, 364, "Percent Piston Travel");
  canvas.textOut(386, 364, "Forward End --->");
  canvas.moveTo(45, 343);
  canvas.lineTo(585, 343);
}

// Where one end writes its texts: the front's on the right, the rear's on the left.
struct EndLayout {
  bool rear;  // the rear end's stroke runs from 640 towards 0
  Rgb pen;
  int cutOffTitleX;
  int cutOffNumberX;
  int cutOffValueX;
  double labelX;  // the label stands at labelX - 0.84 x'
  int labelY;
};
constexpr EndLayout kFrontLayout{false, kFrontPen, 587, 588, 600, 568.0, 122};
constexpr EndLayout kRearLayout{true, kRearPen, 2, 3, 15, 600.0, 135};

struct Sample {
  int k;           // the position's row
  int i;           // the sample within the position, 1..150
  int curveCount;  // the number the curve labels carry
  double x;        // PistonPos
};

// The cut-off row of one end for position k, on that end's side.
void drawCutOffRow(Canvas& canvas, const EndLayout& layout, int k, double percent) {
  const int y = 13 * k + 233;
  canvas.setFontColour(layout.pen);
  canvas.textOut(layout.cutOffTitleX, 231, "%CutOff");
  canvas.setFontColour(colour::Black);
  canvas.textOut(layout.cutOffNumberX, y, std::to_string(k));
  canvas.textOut(layout.cutOffValueX, y, fixedText(percent, 4, 1));
}

// What the sweep carries from one sample to the next, beside each end's pressures: the piston's
// place and the steam openings of the sample before (the piston's moved to a cut-off point when
// an edge closed in the step, so that the other end's segment starts there too).
struct SweepState {
  float prevPistonPos = 0.0f;
  float prevFrontSteam = 0.0f, prevRearSteam = 0.0f;
};

// One end's share of a sample: the cut-off if its steam edge closed during the step, the
// segment, and the curve's number once per cycle while expanding through mid-card pressures.
// `prevSteam` and `steamOpen` are the end's previous and current steam openings.
void drawEndStep(Canvas& canvas, SweepState& sweep, SteamEndState& end, const EndLayout& layout,
                 const Sample& s, float prevSteam, float steamOpen,
                 std::optional<double>& cutOffPercent) {
  const bool drawn = s.i > kSettlingSamples;
  canvas.setPenColour(layout.pen);
  const double prevPressure = end.PrevPressure;

  // Unlike the main view, an opening that reaches exactly 0 counts: the edge is shut.
  if (prevSteam > 0.0f && steamOpen <= 0.0f) {
    const double t = prevSteam / (static_cast<double>(prevSteam) - steamOpen);  // (0, 1]
    const double xp = sweep.prevPistonPos;
    const double cut = xp + (s.x - xp) * t;
    if (drawn) {
      canvas.moveTo(cardX(xp), cardY(prevPressure));
      canvas.lineTo(cardX(cut), cardY(prevPressure));
    }
    sweep.prevPistonPos = toSingle(cut);
    // Only the part of the step after the cut-off counts as expansion.
    end.Pressure = storePressure(end.Pressure - t * (end.Pressure - prevPressure), end.Pressure);

    // A later cut-off of the same position replaces an earlier one in its row. Text is drawn
    // without a background here, so only the position's last value is written, after its sweep.
    const double cutPos = sweep.prevPistonPos;
    cutOffPercent = (layout.rear ? kStrokeScale - cutPos : cutPos) / 6.4;
  }

  if (drawn) {
    canvas.moveTo(cardX(sweep.prevPistonPos), cardY(prevPressure));
    canvas.lineTo(cardX(s.x), cardY(end.Pressure));
  }

  if (end.Phase == SteamPhase::Expansion && end.Pressure > 150.0f && end.Pressure < 250.0f &&
      end.LabelDue) {
    end.LabelDue = false;
    canvas.setFontStyle(FontStyle{.bold = true});
    canvas.textOut(screenCoord(layout.labelX - 0.84 * sweep.prevPistonPos), layout.labelY,
                   std::to_string(s.curveCount));
    canvas.setFontStyle(FontStyle{});
  }
}

// Every position's cards, the sweep running on from one position to the next. With a reference,
// its gear at the working set's notches (on a reference pen, which writes none of the texts).
void drawCards(Canvas& canvas, const Workspace& ws, const GearDimensions& gear,
               const Workspace* reference) {
  // The pressures live for this drawing only, carried from one position to the next. The
  // starting phases need not match the pose: the settling samples bring each end into step with
  // its valve before anything is drawn.
  SteamEndState front;
  SteamEndState rear;
  front.Phase = SteamPhase::Exhaust;
  rear.Phase = SteamPhase::Admission;
  SweepState sweep{0.0f, ws.PrevFrontSteam, ws.PrevRearSteam};
  float driverAngle = kStartAngle;
  int curveCount = 0;

  const double p0 = ws.RevArmPositions[0];
  const int count = diagramPositionCount(ws);
  for (int k = 1; k <= count; ++k) {
    const double p = ws.RevArmPositions[k];
    const float working = beginDiagramCurve(canvas, ws, k, p);
    const float arm = reference ? referenceArm(ws, *reference, p) : working;
    ++curveCount;
    front.LabelDue = rear.LabelDue = true;

    // A reverse position runs the engine backwards, as it would on the road. The angle goes on
    // from where the previous position stopped.
    const float step = p >= p0 ? kAngleStep : -kAngleStep;
    std::optional<double> frontCutOff, rearCutOff;
    for (int i = 1; i <= kSamplesPerPosition; ++i) {
      float angle = driverAngle + step;
      while (angle > 360.0f) angle -= 360.0f;
      while (angle < 0.0f) angle += 360.0f;
      driverAngle = angle;
      const ValveState valve = valveStateOf(gear, solveGear(gear, angle, arm));

      const double x = valve.PistonPos;
      const double xp = sweep.prevPistonPos;
      // The pressure rules raise a barely open edge to the least admitting opening; they get
      // copies, so the cut-off below is interpolated between the real openings and lands where
      // the edge really closes.
      float frontAdmitting = valve.FrontSteamOpen;
      float rearAdmitting = valve.RearSteamOpen;
      stepSteamEnd(front, frontAdmitting, valve.FrontExhOpen, frontTravel(xp), frontTravel(x));
      stepSteamEnd(rear, rearAdmitting, valve.RearExhOpen, rearTravel(xp), rearTravel(x));

      // Before the first sample there is no previous point to draw from.
      if (front.PrevPressure != 0.0f) {
        const Sample s{k, i, curveCount, x};
        drawEndStep(canvas, sweep, front, kFrontLayout, s, sweep.prevFrontSteam,
                    valve.FrontSteamOpen, frontCutOff);
        // The rear starts from the cut-off point if the front's edge closed in this same step.
        drawEndStep(canvas, sweep, rear, kRearLayout, s, sweep.prevRearSteam, valve.RearSteamOpen,
                    rearCutOff);
      }

      sweep.prevPistonPos = valve.PistonPos;
      front.PrevPressure = front.Pressure;
      rear.PrevPressure = rear.Pressure;
      sweep.prevFrontSteam = valve.FrontSteamOpen;
      sweep.prevRearSteam = valve.RearSteamOpen;
    }
    if (frontCutOff) drawCutOffRow(canvas, kFrontLayout, k, *frontCutOff);
    if (rearCutOff) drawCutOffRow(canvas, kRearLayout, k, *rearCutOff);
  }
}

}  // namespace

DiagramOutcome drawSteamDiagram(Canvas& canvas, const Workspace& ws, const Workspace* reference) {
  const GearDimensions gear = gearOf(ws);

  canvas.setPenWidth(1);
  canvas.setPenColour(colour::Black);
  useDiagramFont(canvas, ws);
  drawFrame(canvas);
  drawPositionTableHeader(canvas, ws);

  if (reference) {
    ReferencePen pen(canvas);
    drawCards(pen, ws, gearOf(*reference), reference);
    canvas.setPenColour(colour::Black);
  }
  drawCards(canvas, ws, gear, nullptr);
  if (reference) {
    useDiagramFont(canvas, ws);
    drawComparisonLegend(canvas, ws, kLegendX, kLegendY, ws.DimSetName, reference->DimSetName);
  }

  return drawDiagramFooter(canvas, ws);
}

}  // namespace vek1
