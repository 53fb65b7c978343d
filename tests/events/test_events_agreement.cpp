// The table against the rest of the program: the cut-off the main view measures while the gear
// runs, and the marks of the port events diagram, at the same notches.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "canvas.h"
#include "recording_canvas.h"
#include "dimensions.h"
#include "motion.h"
#include "numbers.h"
#include "port_diagram_drawing.h"
#include "solver.h"
#include "valve.h"
#include "valve_events.h"

namespace vek1 {
namespace {

// Runs the gear as the main view does at a step of 0.01 degree for a little more than a turn and
// returns the last cut-off texts it shows (front, rear).
std::pair<std::string, std::string> measuredCutOffs(Workspace ws, const NotchEvents& n) {
  ws.ReverseArmPos = n.ReverseArmPos;
  ws.Direction = n.Direction;
  ws.StepAngle = 0.01f;
  ws.DriverAngle = 0.0f;
  ClearCutOff(ws);
  for (int frame = 0; frame < 37000; ++frame) {
    AdvanceDriverAngle(ws);
    SolveLinkage(ws);
    ComputeValveState(ws);
    DetectCutOff(ws);
  }
  return {ws.FrontCutOffText, ws.RearCutOffText};
}

// The main view writes one decimal, so the table's cut-off rounds to what it shows: within half
// the last digit, plus the view's own interpolation between two frames.
TEST(EventsAgreement, CutOffsAreWhatTheMainViewMeasuresWhileRunning) {
  Workspace ws;
  StartUp(ws);
  for (double offset : {1.8, 1.0, 0.2, -0.6, -1.6}) {
    const NotchEvents n = ValveEvents(ws, offset);
    ASSERT_TRUE(n.Front.CutOff && n.Rear.CutOff) << offset;
    const auto [front, rear] = measuredCutOffs(ws, n);
    EXPECT_NEAR(parseNumber(front), n.Front.CutOff->Stroke, 0.051) << offset << " " << front;
    EXPECT_NEAR(parseNumber(rear), n.Rear.CutOff->Stroke, 0.051) << offset << " " << rear;
  }
}

// Each default notch is a row of the port events diagram, and each of its events lies on a line
// of that row's colour, at the pixel of the same stroke percentage (the diagram samples every 4
// degrees, which the one-pixel slack covers).
TEST(EventsAgreement, PortDiagramMarksStandAtTheTablesPercentages) {
  Workspace ws;
  StartUp(ws);
  const ValveEventsTable table = ComputeValveEvents(ws);
  for (const char graph : {'F', 'R'}) {
    RecordingCanvas canvas;
    drawPortDiagram(canvas, ws, graph, false);
    const Rgb front = graph == 'F' ? Rgb{0, 128, 128} : Rgb{0, 128, 0};
    const Rgb rear = graph == 'F' ? Rgb{255, 0, 0} : Rgb{128, 0, 0};
    for (int k = 0; k < kDefaultNotchCount; ++k) {
      const NotchEvents& n = table.Notches[k];
      const int row = std::abs(18 - 2 * k);
      if ((n.Direction == "Fwd") != (graph == 'F') || row == 0) continue;  // no line into row 0
      const int y = roundHalfEven(343.0 - 16.0 * row);
      auto marked = [&](Rgb colour, int x) {
        for (const DrawCall& line : canvas.lines(colour))
          if (line.y2 == y && std::abs(line.x2 - x) <= 1) return true;
        return false;
      };
      // The diagram places an event by the piston's distance from the end's dead centre; the
      // table gives a percent of the stroke the event falls in.
      const auto fromEnd = [](const EventPoint& e) {
        return e.CrankAngle < 0.0 || e.CrankAngle >= 180.0 ? 100.0 - e.Stroke : e.Stroke;
      };
      for (const auto* e :
           {&n.Front.Admission, &n.Front.CutOff, &n.Front.Release, &n.Front.Compression}) {
        ASSERT_TRUE(e->has_value());
        EXPECT_TRUE(marked(front, roundHalfEven(0.84375 * 6.4 * fromEnd(**e) + 9)))
            << graph << " row " << row << " front " << (*e)->Stroke;
      }
      for (const auto* e :
           {&n.Rear.Admission, &n.Rear.CutOff, &n.Rear.Release, &n.Rear.Compression}) {
        ASSERT_TRUE(e->has_value());
        EXPECT_TRUE(marked(rear, roundHalfEven(549 - 0.84375 * (640 - 6.4 * fromEnd(**e)))))
            << graph << " row " << row << " rear " << (*e)->Stroke;
      }
    }
  }
}

}  // namespace
}  // namespace vek1
