#include "events_compare_table.h"

#include <cmath>

#include "events_compare_text.h"
#include "numbers.h"

namespace vek1 {

namespace {

// The table's columns that hold a figure the comparison has, with the figure's end and name
// and the decimals the column shows; the other columns stay blank on the differences' row.
struct ColumnFigure {
  size_t column;
  const char* end;
  const char* name;
  int decimals;
};
constexpr ColumnFigure kColumns[] = {
    {3, "Front", "Lead", 4},
    {4, "Rear", "Lead", 4},
    {5, "Front", "Admission.CrankAngle", 2},
    {6, "Rear", "Admission.CrankAngle", 2},
    {7, "Front", "CutOff.Stroke", 2},
    {8, "Rear", "CutOff.Stroke", 2},
    {9, "Front", "Release.Stroke", 2},
    {10, "Rear", "Release.Stroke", 2},
    {11, "Front", "Compression.Stroke", 2},
    {12, "Rear", "Compression.Stroke", 2},
    {13, "Front", "MaxSteamOpening", 4},
    {14, "Rear", "MaxSteamOpening", 4},
    {15, "Front", "MaxExhaustOpening", 4},
    {16, "Rear", "MaxExhaustOpening", 4},
    {17, "Notch", "ValveTravel", 4},
    {18, "Notch", "DieSlip", 4},
    {20, "Notch", "ClosureMargin.Degrees", 1},
};
constexpr size_t kNotesColumn = 22;

std::string signedText(double x, int decimals) {
  std::string text = fixedText(x, 0, decimals);
  // A difference that rounds to nothing reads as 0, not as -0.00.
  if (text.find_first_not_of("-0.") == std::string::npos) return fixedText(0.0, 0, decimals);
  return (x > 0.0 ? "+" : "") + text;
}

EventsCell differenceCell(const FigureDifference& f, int decimals, const EventTolerance& tol) {
  EventsCell cell;
  if (f.Difference) {
    cell.text = signedText(*f.Difference, decimals);
    cell.tip = f.Name + ": working " + fixedText(*f.Working, 0, decimals + 2) + ", reference " +
               fixedText(*f.Reference, 0, decimals + 2);
    if (f.Shift) cell.tip += "; the event moved " + signedText(*f.Shift, 2) + " % of the stroke";
  } else if (f.inOnlyOne()) {
    cell.text = f.Working ? "no ref" : "ref only";
    cell.tip = f.Name + ": " + missingNote(f);
  }
  cell.beyondReference = f.exceeds(tol.StrokePercent, tol.Lead);
  return cell;
}

// What the differences' notes say: the figures only one set has, by end.
std::string onlyInOneNotes(const NotchComparison& n) {
  std::string text;
  for (const auto& [end, figures] :
       {std::pair<const char*, const std::vector<FigureDifference>&>{"", n.Notch},
        std::pair<const char*, const std::vector<FigureDifference>&>{"front ", n.Front},
        std::pair<const char*, const std::vector<FigureDifference>&>{"rear ", n.Rear}}) {
    for (const FigureDifference& f : figures) {
      if (!f.inOnlyOne()) continue;
      // An event's crank angle and stroke go together: one note for both.
      if (f.Name.ends_with(".Stroke")) continue;
      std::string name = f.Name.substr(0, f.Name.find('.'));
      text += (text.empty() ? "" : "; ") + std::string(end) + name + " " + missingNote(f);
    }
  }
  return text;
}

}  // namespace

EventsTableView buildComparedEventsTable(const ComparedEvents& c, const EventTolerance& tolerance) {
  EventsTableView view = buildEventsTable(c.Working, tolerance);
  const EventsTableView reference = buildEventsTable(c.Reference, tolerance);
  std::vector<std::vector<EventsCell>> rows;
  const size_t columns = view.header.size();
  for (size_t i = 0; i < view.rows.size(); ++i) {
    rows.push_back(std::move(view.rows[i]));
    if (i >= reference.rows.size() || i >= c.Differences.Notches.size()) continue;
    std::vector<EventsCell> ref = reference.rows[i];
    for (EventsCell& cell : ref) {
      cell.reference = true;
      // Front against rear is the working set's story; the reference's row only stands beside
      // it.
      cell.differs = false;
    }
    ref[0] = {kReferenceRowLabel, "The reference set at the same notch", false, ref[0].error, true};
    rows.push_back(std::move(ref));

    const NotchComparison& n = c.Differences.Notches[i];
    std::vector<EventsCell> diff(columns);
    diff[0] = {kDifferenceRowLabel, "Working set minus reference"};
    for (const ColumnFigure& col : kColumns)
      if (const FigureDifference* f = findFigure(n, col.end, col.name))
        diff[col.column] = differenceCell(*f, col.decimals, tolerance);
    diff[kNotesColumn] = {onlyInOneNotes(n), "Figures only one of the two sets has, and why"};
    rows.push_back(std::move(diff));
  }
  view.rows = std::move(rows);
  return view;
}

}  // namespace vek1
