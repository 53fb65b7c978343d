#pragma once
// Everything the Engine Performance window shows, computed from a copy of the set: the table at
// the settings' speed, the cards of the chosen notches, and the curves; and the one picture of
// all three, cards over table over curves, that the window shows, exports and prints.

#include <string>
#include <vector>

#include "engine_performance_text.h"
#include "perf_cards_drawing.h"
#include "perf_curves_drawing.h"
#include "study_table.h"

namespace vek1 {

struct PerformanceInput {
  Workspace ws;                     // a copy: the computation may run off the window's thread
  std::vector<double> notches;      // the table's and the notch curve's
  std::vector<double> cardNotches;  // the cards'; the first is also the speed curve's notch
};

struct PerformancePage {
  PerformanceReport report;  // the table at the settings' speed
  CardsPicture cards;
  StudyTable table;
  CurvesPicture curves;
};

PerformancePage computePerformancePage(const PerformanceInput& in);

// The table as a picture's cells: a row a notch, the units in the header.
StudyTable performanceTableView(const PerformanceReport& r, const std::string& setName);

CanvasSize performancePageSize(const PerformancePage& p);
void drawPerformancePage(Canvas& canvas, const PerformancePage& p);

// The card notches by default: full gear, a middle notch and the shortest of the table's.
std::vector<double> defaultCardNotches(const std::vector<double>& tableNotches);

// The rail speed for a driver speed: miles per hour for a driver diameter in inches.
double railSpeedMph(double speedRpm, double driverDiaInches);

}  // namespace vek1
