#include "port_diagram_drawing.h"

#include <cmath>
#include <initializer_list>
#include <string>
#include <utility>

#include "compare_legend.h"
#include "numbers.h"
#include "reference_pen.h"
#include "solver.h"
#include "valve.h"
#include "valve_events.h"
#include "view.h"

namespace vek1 {

namespace {

// Rows 0..18 run from the centre (bottom, y = 343) to the maximum offset (y = 55), 16 pixels
// apart; each row is one full turn sampled every 4 degrees (91 samples, the last one back at the
// first angle so the turn closes).
constexpr int kRows = 19;
constexpr int kSamples = 91;
constexpr double kSampleStep = 4.0;
constexpr double kBaseY = 343.0;
constexpr double kRowPitch = 16.0;
constexpr double kOffsetSpan = 288.0;  // pixels from the centre row to the maximum row
// The stroke (0..640) spans 540 pixels from x = 9; the rear stroke runs the other way.
constexpr double kStrokeScale = 0.84375;
constexpr double kStrokeLeft = 9.0;
constexpr double kStrokeWidth = 540.0;
// The legend of the cycle is drawn at the row whose events are spread out enough to read.
constexpr int kLegendRow = 13;
// The key naming the two sets while comparing: below the stroke's title, clear of the undo line
// that starts at x 150 on the same height.
constexpr int kCompareLegendX = 380;
constexpr int kCompareLegendY = 384;

constexpr Rgb kMaximumRed{255, 0, 0};
constexpr Rgb kNormBlue{0, 0, 255};

struct GraphColours {
  Rgb front, rear;
};
constexpr GraphColours kForwardColours{{0, 128, 128}, {255, 0, 0}};
constexpr GraphColours kReverseColours{{0, 128, 0}, {128, 0, 0}};

bool isFrontEvent(int e) {
  return e == FrontSteamOpens || e == FrontExhOpens || e == FrontSteamCloses || e == FrontExhCloses;
}

int rowY(int i) {
  return screenCoord(kBaseY - kRowPitch * i);
}

int eventX(int e, double piston) {
  return isFrontEvent(e) ? screenCoord(kStrokeScale * piston + kStrokeLeft)
                         : screenCoord(kStrokeWidth - kStrokeScale * piston + kStrokeLeft);
}

void line(Canvas& canvas, int x0, int y0, int x1, int y1) {
  canvas.moveTo(x0, y0);
  canvas.lineTo(x1, y1);
}

void drawFrame(Canvas& canvas) {
  line(canvas, 9, 42, 9, 353);
  line(canvas, 549, 42, 549, 353);
  line(canvas, 9, 343, 549, 343);
  for (int n = 0; n <= 9; ++n) {
    const int centre = 32 * n + 55;
    for (int c = 2; c <= 20; ++c) line(canvas, 27 * c - 18, centre - 3, 27 * c - 18, centre + 3);
    for (int c = 2; c <= 10; ++c)  // every 10 % of the stroke
      line(canvas, 54 * c - 45, centre - 10, 54 * c - 45, centre + 10);
    for (int c = 2; c <= 22; ++c) line(canvas, 27 * c - 49, centre, 27 * c - 40, centre);
  }
}

void drawTexts(Canvas& canvas, const Workspace& ws, double max, bool reverse) {
  canvas.setFontColour(kMaximumRed);
  canvas.textOut(420, 47, "Maximum");

  const double norm = ws.Frame[dim::RevArmToCentNorm];
  const int normY = screenCoord(kBaseY - norm * kOffsetSpan / max);
  canvas.setPenColour(kNormBlue);
  line(canvas, 59, normY, 650, normY);
  canvas.setFontColour(kNormBlue);
  canvas.textOut(345, normY - 7, "Normal");
  canvas.setPenColour(colour::Black);
  canvas.setFontColour(colour::Black);

  static constexpr struct {
    int x;
    const char* text;
  } kPercents[] = {{10, "0"},   {56, "10"},  {110, "20"}, {164, "30"}, {218, "40"},
                   {272, "50"}, {326, "60"}, {380, "70"}, {434, "80"}, {488, "90"}};
  for (const auto& p : kPercents) canvas.textOut(p.x, 353, p.text);
  canvas.textOut(529, 350, "100");
  canvas.textOut(200, 367, "Percent Piston Travel");
  canvas.textOut(568, 350, "Center");

  // "REVERSE ARM POSITION" reads downwards beside the right axis; the narrow I is nudged right
  // to stand centred under the wider letters.
  static constexpr struct {
    const char* word;
    int top;
  } kWords[] = {{"REVERSE", 76}, {"ARM", 178}, {"POSITION", 224}};
  for (const auto& w : kWords) {
    int y = w.top;
    for (const char* c = w.word; *c != '\0'; ++c, y += 14)
      canvas.textOut(*c == 'I' ? 537 : 535, y, std::string(1, *c));
  }

  const GraphColours& colours = reverse ? kReverseColours : kForwardColours;
  const int top = reverse ? 315 : 284;  // the reverse key sits under the forward one
  canvas.textOut(415, top + 6, reverse ? "Rev." : "Fwd.");
  canvas.setFontColour(colours.front);
  canvas.textOut(446, top, "Front Port");
  canvas.setFontColour(colours.rear);
  canvas.textOut(446, top + 12, "Rear Port");
  canvas.setFontColour(colour::Black);
}

void polyline(Canvas& canvas, std::initializer_list<std::pair<int, int>> points) {
  bool first = true;
  for (auto [x, y] : points) {
    if (first)
      canvas.moveTo(x, y);
    else
      canvas.lineTo(x, y);
    first = false;
  }
}

// The steam cycle around the row-13 events: admission (s) to cut-off (p), expansion to release
// (q), exhaust round to compression (r), and back to admission, with an arrow head at each
// event. The pen keeps whatever colour the last event line left.
void drawCycleLegend(Canvas& canvas, int s, int p, int q, int r) {
  canvas.setFontStyle(FontStyle{.bold = true});
  polyline(canvas, {{p - 110, 101},
                    {p - 70, 101},
                    {p - 20, 135},
                    {p, 135},
                    {p - 12, 131},
                    {p - 12, 139},
                    {p, 135}});
  canvas.textOut(p + 10, 129, "Exp");
  polyline(canvas, {{p + 40, 135}, {q, 135}, {q - 12, 131}, {q - 12, 139}, {q, 135}});
  polyline(canvas, {{q + 8, 135}, {549, 135}, {529, 169}, {q - 160, 169}});
  canvas.textOut(q - 190, 163, "Exh");
  polyline(canvas, {{q - 200, 169},
                    {r + 100, 169},
                    {r + 50, 135},
                    {r, 135},
                    {r + 12, 131},
                    {r + 12, 139},
                    {r, 135}});
  canvas.textOut(r - 25, 129, "Com");
  polyline(canvas, {{r - 30, 135},
                    {s, 135},
                    {s + 12, 139},
                    {s + 12, 131},
                    {s, 135},
                    {9, 135},
                    {27, 101},
                    {p - 150, 101}});
  canvas.textOut(p - 140, 95, "Adm");
  canvas.setFontStyle(FontStyle{});
}

PortSample sampleOf(const ValveState& v) {
  return PortSample{v.PistonPos, v.FrontSteamOpen, v.FrontExhOpen, v.RearSteamOpen, v.RearExhOpen};
}

// Where the front end's four events fall on the legend's row.
struct LegendRow {
  int admissionX = 0, cutOffX = 0, releaseX = 0, compressionX = 0;
};

// Each row's arm position beside it and the lines joining each event from row to row.
LegendRow drawEventRows(Canvas& canvas, const GearDimensions& gear, double centre, double max,
                        bool reverse) {
  const GraphColours& colours = reverse ? kReverseColours : kForwardColours;
  const int columnX = reverse ? 596 : 556;
  // The detections carry over from row to row: a line joins an event's latest detection, however
  // many rows back, to the current one.
  std::array<std::optional<double>, kPortEventCount> last;
  LegendRow legend;  // row 13, for the cycle legend

  for (int i = 0; i < kRows; ++i) {
    const double offset = i * max / (kRows - 1);
    const float arm = toSingle(reverse ? centre - offset : centre + offset);
    canvas.textOut(columnX, screenCoord(336.0 - kRowPitch * i), fixedText(arm, 7, 3));

    double angle = 0.0;
    PortSample before;
    for (int j = 0; j < kSamples; ++j) {
      angle += reverse ? -kSampleStep : kSampleStep;
      while (angle > 360.0) angle -= 360.0;  // 360 itself stays 360
      while (angle < 0.0) angle += 360.0;
      const GearPose pose = solveGear(gear, toSingle(angle), arm);
      const PortSample now = sampleOf(valveStateOf(gear, pose));

      if (j >= 1) {
        const auto events = portEventsBetween(before, now);
        for (int e = 0; e < kPortEventCount; ++e) {
          if (!events[e]) continue;
          const int x = eventX(e, *events[e]);
          if (last[e]) {
            canvas.setPenColour(isFrontEvent(e) ? colours.front : colours.rear);
            line(canvas, eventX(e, *last[e]), rowY(i - 1), x, rowY(i));
          }
          last[e] = events[e];
          if (i == kLegendRow) {
            if (e == FrontSteamOpens) legend.admissionX = x;
            if (e == FrontSteamCloses) legend.cutOffX = x;
            if (e == FrontExhOpens) legend.releaseX = x;
            if (e == FrontExhCloses) legend.compressionX = x;
          }
        }
      }
      before = now;
    }
  }
  return legend;
}

}  // namespace

std::array<std::optional<double>, kPortEventCount> portEventsBetween(const PortSample& previous,
                                                                     const PortSample& current) {
  const double before[4] = {previous.frontSteam, previous.frontExh, previous.rearSteam,
                            previous.rearExh};
  const double now[4] = {current.frontSteam, current.frontExh, current.rearSteam, current.rearExh};
  // The zero crossing between the two samples. b and a have opposite signs or a is 0 while b is
  // not, so b - a is never 0.
  const auto crossing = [&](double b, double a) {
    return current.pistonPos - a / (b - a) * (previous.pistonPos - current.pistonPos);
  };
  std::array<std::optional<double>, kPortEventCount> out;
  for (int edge = 0; edge < 4; ++edge) {
    const double b = before[edge];
    const double a = now[edge];
    // An edge reaching exactly 0 has just opened, or just closed: the event is counted at the
    // sample where the edge touches, not one later. A NaN opening (a failed pose) is no event.
    if (b < 0.0 && a >= 0.0) out[edge] = crossing(b, a);
    if (b > 0.0 && a <= 0.0) out[edge + 4] = crossing(b, a);
  }
  return out;
}

DiagramOutcome drawPortDiagram(Canvas& canvas, const Workspace& ws, char graph, bool cycleLegend,
                               const Workspace* reference) {
  const GearDimensions gear = gearOf(ws);
  const bool reverse = graph == 'R';
  const double max = NotchRevArmMax(ws);
  const double centre = ws.RevArmPositions[0];

  canvas.setPenWidth(1);
  canvas.setPenColour(colour::Black);
  useDiagramFont(canvas, ws);
  drawFrame(canvas);
  drawTexts(canvas, ws, max, reverse);

  // The forward and reverse columns stand side by side, so both graphs can be read at once. The
  // heading is the same on every row, so it is written once.
  canvas.textOut(reverse ? 605 : 554, 32, reverse ? "Rev." : "Forward");

  // The reference's rows stand at the working set's offsets, from its own centre.
  if (reference) {
    ReferencePen pen(canvas);
    drawEventRows(pen, gearOf(*reference), reference->RevArmPositions[0], max, reverse);
    canvas.setPenColour(colour::Black);
  }
  const LegendRow row = drawEventRows(canvas, gear, centre, max, reverse);
  canvas.setFontColour(colour::Black);

  if (cycleLegend) drawCycleLegend(canvas, row.admissionX, row.cutOffX, row.releaseX, row.compressionX);
  if (reference) {
    useDiagramFont(canvas, ws);
    drawComparisonLegend(canvas, ws, kCompareLegendX, kCompareLegendY, ws.DimSetName,
                         reference->DimSetName);
  }

  return drawDiagramFooter(canvas, ws, kPortUndoLine);
}

}  // namespace vek1
