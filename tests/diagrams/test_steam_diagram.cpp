// The steam diagram: its pressure model rule by rule, and the cards it draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>
#include <cmath>
#include <limits>
#include <string>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "numbers.h"
#include "solver.h"
#include "steam_diagram_drawing.h"
#include "steam_pressure.h"
#include "valve.h"
#include "untouched.h"

namespace vek1 {
namespace {

constexpr Rgb kDarkGreen{0, 128, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr float kMaxSingle = std::numeric_limits<float>::max();

Workspace factory(int count = 3) {
  Workspace ws;
  StartUp(ws);
  ws.RevArmPosCount = count;
  ws.DriverAngle = 123.5f;
  ws.ReverseArmPos = 0.7f;
  return ws;
}

// The text last written at a place: a later cut-off of a position writes over the earlier one.
const DrawCall* textAt(const RecordingCanvas& canvas, int x, int y) {
  const DrawCall* last = nullptr;
  for (const DrawCall& c : canvas.calls())
    if (c.kind == DrawKind::Text && c.x1 == x && c.y1 == y) last = &c;
  return last;
}

TEST(SteamPressure, RulesKeepTheirConstantsAndBounds) {
  EXPECT_EQ(exhaustDecay(10.0f, 300.0f), 5.0f);  // never below 5

  float open = 0.001f;  // barely open admits as 0.005, and the opening itself is raised
  EXPECT_FLOAT_EQ(admission(0.0f, open, 155.0), 100000.0 * 0.005 / 200.0);
  EXPECT_EQ(open, 0.005f);
  open = 0.02f;
  EXPECT_FLOAT_EQ(admission(10.0f, open, 355.0), 10.0 + 100000.0 * 0.02 / 400.0);
  EXPECT_EQ(admission(300.0f, open, 0.0), 303.0f);  // never above 303

  // Odd dimensions: a zero divisor saturates, 0/0 leaves the pressure alone, nothing is infinite.
  EXPECT_EQ(compression(10.0f, 5.0, -1.0), kMaxSingle);
  EXPECT_EQ(compression(10.0f, 0.0, -1.0), 10.0f);
  EXPECT_EQ(expansion(kMaxSingle, -100.0, -100.0), kMaxSingle);
}

TEST(SteamPressure, PhasesFollowTheEdgesAndTheVolume) {
  using enum SteamPhase;
  const double p = 50.0;  // every case starts at 50 with a release pressure of 150
  const struct {
    SteamPhase from;
    float steam, exh;
    double prevTravel, travel;
    SteamPhase to;
    double pressure;
  } cases[] = {
      {Exhaust, -0.1f, 0.1f, 100, 90, Exhaust, p - 150.0 / 15},
      {Exhaust, -0.1f, 0.0f, 90, 80, Compression, p + std::pow(90.0 / 81 + 0.3, 4)},  // 0 is shut
      {Compression, -0.1f, -0.1f, 90, 80, Compression, p + std::pow(90.0 / 81 + 0.3, 4)},
      {Compression, -0.1f, -0.1f, 80, 85, Admission, p + std::pow(80.0 / 86 + 0.3, 4)},
      {Compression, 0.1f, -0.1f, 90, 80, Admission, p + 100000 * 0.1f / 125.0},
      {Admission, 0.1f, 0.1f, 85, 95, Admission, p + 100000 * 0.1f / 140.0},
      {Admission, -0.1f, -0.1f, 95, 105, Expansion, 195.0 * p / 205 * 0.96},
      {Expansion, -0.1f, 0.2f, 105, 115, Exhaust, p - p / 15},  // released at the pressure now
      {Expansion, 0.1f, -0.1f, 105, 115, Admission, 205.0 * p / 215 * 0.96},
  };
  for (const auto& c : cases) {
    SteamEndState end{50.0f, 0.0f, 150.0f, c.from, false};
    float steam = c.steam;
    stepSteamEnd(end, steam, c.exh, c.prevTravel, c.travel);
    EXPECT_EQ(end.Phase, c.to) << static_cast<char>(c.from) << " " << c.travel;
    EXPECT_FLOAT_EQ(end.Pressure, c.pressure) << static_cast<char>(c.from) << " " << c.travel;
    EXPECT_EQ(end.LabelDue, c.from == Admission);  // each admission opens a new label cycle
  }
}

TEST(SteamDiagram, WithoutPositionsOnlyTheFrame) {
  for (int count : {0, -7}) {
    Workspace ws = factory(count);
    ws.UndoMode = true;
    RecordingCanvas canvas(640, 480);
    const DiagramOutcome out = drawSteamDiagram(canvas, ws);
    EXPECT_TRUE(canvas.lines(kDarkGreen).empty() && canvas.lines(kRed).empty());
    EXPECT_TRUE(!canvas.findText("%CutOff") && !canvas.findText("Cen"));
    EXPECT_TRUE(canvas.findText("Reverse Arm Positions") && textAt(canvas, 150, 55));
    EXPECT_TRUE(out.undoButtonShown);
    EXPECT_TRUE(canvas.hasLine(45, 343, 585, 343) && canvas.hasLine(44, 70, 44, 346) &&
                canvas.hasLine(584, 70, 584, 346) && canvas.hasLine(98, 82, 98, 92));
    // The arrow, CYLINDER downwards with its I centred, PRESSURE, the travel axis.
    for (auto [x, y, text] :
         {std::tuple(29, 77, "\\"), {22, 149, "I"}, {32, 201, "E"}, {45, 350, "100"}})
      EXPECT_EQ(textAt(canvas, x, y)->text, text);
    EXPECT_EQ(std::pair(ws.DriverAngle, ws.ReverseArmPos), std::pair(123.5f, 0.7f));
  }
}

TEST(SteamDiagram, SweepContinuesAndReversePositionsRunBackwards) {
  Workspace ws = factory();  // centre, forward, reverse
  // The running view's memory of its last frame: the drawing has its own, and leaves this alone.
  ws.PrevPistonPos = 17.0f;
  ws.PrevRearSteam = 0.125f;
  const Workspace before = ws;
  RecordingCanvas canvas(640, 480);
  drawSteamDiagram(canvas, ws);
  test::expectUntouched(before, ws);
  // 96 + 600 + 600 - 600 degrees: the last sample is at 336.
  Workspace last = factory();
  last.ReverseArmPos = ws.RevArmPositions[3];
  last.DriverAngle = 336.0f;
  SolveLinkage(last);
  ComputeValveState(last);
  const auto rear = canvas.lines(kRed);  // the last segment ends at the last sample
  EXPECT_EQ(rear.back().x2, roundHalfEven(584.0 - 0.84375 * last.PistonPos));
  // 90 drawn samples per position and end, plus a short flat line at each drawn cut-off.
  for (const auto& lines : {canvas.lines(kDarkGreen), rear})
    EXPECT_TRUE(lines.size() >= 270u && lines.size() <= 276u) << lines.size();
}

TEST(SteamDiagram, CutOffRowsAgreeWithTheMainView) {
  Workspace ws = factory();
  const float p0 = ws.RevArmPositions[0];
  ws.RevArmPositions[1] = p0 + dimensionValue(ws, dim::RevArmToCentMax);  // full forward
  RecordingCanvas canvas(640, 480);
  drawSteamDiagram(canvas, ws);
  EXPECT_EQ(textAt(canvas, 587, 231)->colour, kDarkGreen);
  EXPECT_EQ(textAt(canvas, 2, 231)->colour, kRed);

  // The main view's detection over the same 4-degree samples, the angle carried on as drawn.
  Workspace probe = factory();
  probe.PrevPistonPos = probe.PrevFrontSteam = probe.PrevRearSteam = 0.0f;
  float angle = 96.0f;
  for (int k = 1; k <= 3; ++k) {
    const float p = ws.RevArmPositions[k];
    ClearCutOff(probe);
    probe.ReverseArmPos = p;
    for (int i = 0; i < 150; ++i) {
      angle = std::fmod(angle + (p >= p0 ? 4.0f : 356.0f), 360.0f);
      probe.DriverAngle = angle;
      SolveLinkage(probe);
      ComputeValveState(probe);
      DetectCutOff(probe);
    }
    const int y = 13 * k + 233;  // 246, 259, 272
    for (auto [numberX, valueX, measured] :
         {std::tuple(588, 600, probe.FrontCutOffText), std::tuple(3, 15, probe.RearCutOffText)}) {
      ASSERT_TRUE(!measured.empty() && textAt(canvas, valueX, y)) << k;
      EXPECT_EQ(textAt(canvas, numberX, y)->text, std::to_string(k));
      EXPECT_NEAR(parseNumber(textAt(canvas, valueX, y)->text), parseNumber(measured), 0.15)
          << "position " << k << " at x " << valueX;
    }
  }
  const double fullGear = parseNumber(textAt(canvas, 600, 246)->text);
  EXPECT_TRUE(fullGear > 60.0 && fullGear < 95.0) << fullGear;

  // Each end writes the curve's number once per cycle, bold, on its own line.
  for (int y : {122, 135})
    EXPECT_TRUE(std::any_of(canvas.calls().begin(), canvas.calls().end(), [&](const DrawCall& c) {
      return c.kind == DrawKind::Text && c.y1 == y && c.text == "1" && c.fontStyle.bold;
    })) << y;
}

// Where a steam edge really closes at reverse-arm position p: the piston's travel (percent of
// the stroke, from the end's own dead centre) at each angle where the opening falls through 0
// in the direction the engine runs, found by bisection on the driver angle.
std::vector<double> closingPoints(Workspace probe, float p, bool rear, bool forward) {
  probe.ReverseArmPos = p;
  auto opening = [&](double angle) {
    probe.DriverAngle = static_cast<float>(angle);
    SolveLinkage(probe);
    ComputeValveState(probe);
    return rear ? probe.RearSteamOpen : probe.FrontSteamOpen;
  };
  const double direction = forward ? 1.0 : -1.0;
  std::vector<double> points;
  constexpr double kScanStep = 0.25;
  for (double a = 0.0; a < 360.0; a += kScanStep) {
    double lo = a, hi = a + direction * kScanStep;
    if (!(opening(lo) > 0.0f && opening(hi) <= 0.0f)) continue;
    for (int n = 0; n < 40; ++n) {
      const double mid = (lo + hi) / 2;
      (opening(mid) > 0.0f ? lo : hi) = mid;
    }
    opening(hi);
    points.push_back((rear ? 640.0 - probe.PistonPos : probe.PistonPos) / 6.4);
  }
  return points;
}

TEST(SteamDiagram, EveryCutOffIsWhereTheSteamEdgeCloses) {
  Workspace ws = factory(5);
  const float p0 = ws.RevArmPositions[0];
  const float max = dimensionValue(ws, dim::RevArmToCentMax);
  const std::array<float, 5> positions{p0, p0 + 0.4f, p0 + 0.9f, p0 - 0.9f, p0 + max};
  for (int k = 1; k <= 5; ++k) ws.RevArmPositions[k] = positions[k - 1];
  const Workspace probe = ws;
  RecordingCanvas canvas(640, 480);
  drawSteamDiagram(canvas, ws);

  // The text keeps one decimal; the cut-off itself must lie within 0.1 % of stroke.
  constexpr double kTolerance = 0.1 + 0.05;
  int checked = 0;
  for (int k = 1; k <= 5; ++k) {
    for (const bool rear : {false, true}) {
      const DrawCall* text = textAt(canvas, rear ? 15 : 600, 13 * k + 233);
      if (!text) continue;
      const double drawn = parseNumber(text->text);
      const auto exact = closingPoints(probe, positions[k - 1], rear, positions[k - 1] >= p0);
      ASSERT_FALSE(exact.empty()) << k;
      double nearest = exact.front();
      for (double x : exact)
        if (std::fabs(x - drawn) < std::fabs(nearest - drawn)) nearest = x;
      EXPECT_NEAR(drawn, nearest, kTolerance) << "position " << k << (rear ? " rear" : " front");
      ++checked;
    }
  }
  EXPECT_GE(checked, 8);
  // At mid gear the edge closes early in the stroke.
  const DrawCall* mid = textAt(canvas, 600, 246);
  ASSERT_TRUE(mid);
  EXPECT_NEAR(parseNumber(mid->text), 5.5, 0.15) << mid->text;
}

TEST(SteamDiagram, OddDimensionsStayFinite) {
  for (float stroke : {0.0f, 1e30f, -2.0f}) {
    Workspace ws = factory();
    setDimension(ws, dim::Stroke, stroke);
    RecordingCanvas canvas(640, 480);
    drawSteamDiagram(canvas, ws);
    EXPECT_TRUE(std::isfinite(ws.PrevPistonPos));
    for (const std::string& t : canvas.textStrings())
      EXPECT_TRUE(t.find("Inf") == std::string::npos && t.find("NaN") == std::string::npos) << t;
  }
}

}  // namespace
}  // namespace vek1
