#include "sensitivity_view.h"

#include <cmath>

#include "numbers.h"
#include "sensitivity_text.h"

namespace vek1 {

namespace {

std::string entryText(double x) {
  if (!std::isfinite(x)) return "-";
  if (x == 0.0) return "0";
  return fixedText(x, 0, std::fabs(x) >= 100.0 ? 1 : std::fabs(x) >= 1.0 ? 3 : 5);
}

}  // namespace

std::string notchText(double offset, const NotchEvents& events) {
  return (offset >= 0.0 ? "+" : "") + fixedText(offset, 0, 3) + " (" + events.Direction + ")";
}

StudyTable buildSensitivityView(const SensitivityNotch& notch, const std::string& setName,
                                const SensitivityChoice& choice) {
  StudyTable t;
  const char* per = choice.PerPercent ? "per 1 % of the dimension" : "per unit of the dimension";
  t.title.push_back("Sensitivity: " + setName + " at " + notchText(notch.Offset, notch.Events) +
                    ", ranked by " + std::string(eventFigureLabel(choice.Figure)) + ", " + per);
  t.title.push_back(
      "Change of each figure " + std::string(per) +
      ": events in % of stroke from their dead centre, admission in crank degrees, leads and "
      "travel in units, closure margin in degrees. Marked: at least half the column's largest.");
  t.header = {"Rank", "Id", "Dimension", "Value"};
  for (int k = 0; k < kEventFigureCount; ++k)
    t.header.emplace_back(std::string(k == choice.Figure ? "> " : "") +
                          std::string(eventFigureLabel(k)));

  auto entry = [&](const SensitivityRow& r, int k) {
    return choice.PerPercent ? r.PerPercent[k] : r.PerUnit[k];
  };
  std::array<double, kEventFigureCount> largest{};
  for (const SensitivityRow& r : notch.Rows)
    for (int k = 0; k < kEventFigureCount; ++k)
      if (std::isfinite(entry(r, k))) largest[k] = std::max(largest[k], std::fabs(entry(r, k)));

  int rank = 0;
  for (int i : rankForFigure(notch, choice.Figure, choice.PerPercent)) {
    const SensitivityRow& r = notch.Rows[static_cast<size_t>(i)];
    std::vector<StudyCell> row;
    row.push_back({r.DrawingOnly ? "-" : std::to_string(++rank), false, r.DrawingOnly});
    row.push_back({std::to_string(r.Id), false, r.DrawingOnly});
    row.push_back({dimensionName(r.Id), false, r.DrawingOnly});
    row.push_back({fixedText(r.Value, 0, 4), false, r.DrawingOnly});
    for (int k = 0; k < kEventFigureCount; ++k) {
      const double x = entry(r, k);
      const bool marked = std::isfinite(x) && largest[k] > 0.0 &&
                          std::fabs(x) >= kMarkedFraction * largest[k];
      row.push_back({entryText(x), marked, r.DrawingOnly});
    }
    t.rows.push_back(std::move(row));
  }
  return t;
}

}  // namespace vek1
