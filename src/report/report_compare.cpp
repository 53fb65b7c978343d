#include "report_compare.h"

#include <utility>

#include "events_compare_text.h"
#include "events_table.h"
#include "numbers.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

const char* unitOf(FigureUnit unit) {
  switch (unit) {
    case FigureUnit::Length: return kReportLengthUnit;
    case FigureUnit::Degrees: return "deg";
    case FigureUnit::StrokePercent: return "% of stroke";
  }
  return "";
}

std::string valueText(const std::optional<double>& x, int decimals, bool sign = false) {
  if (!x) return "none";
  std::string t = fixedText(*x, 0, decimals);
  if (sign && *x >= 0.0) t.insert(0, "+");
  return t;
}

}  // namespace

std::vector<ReportPage> differencePages(const EventsComparison& comparison,
                                        const std::string& referenceName,
                                        const ReportBodies& bodies, const ReportMetrics& metrics) {
  const EventTolerance tolerance;
  ReportTable t;
  t.header = {"Notch (units)", "Part", "Figure", "Unit", "Set", "Reference", "Difference",
              "Moved (% of stroke)", "Why none"};
  t.keyColumns = 2;
  t.lead = {"Working set minus reference set " + referenceName +
                ", at the same notches (offsets from each set's own mid-gear centre).",
            "Only the figures that differ are listed. Marked: beyond the Valve Events window's "
            "tolerances (events by " +
                fixedText(tolerance.StrokePercent, 0, 1) + " % of the stroke, lengths by " +
                fixedText(tolerance.Lead, 0, 3) + " units), or in one set only.",
            "Moved: how far an event moved through the turn, in % of the stroke; an event that "
            "crossed a dead centre changes its stroke % by nearly 100 but moves little.",
            "\"none\": the set has no such figure (the reason stands in the last column)."};
  for (const NotchComparison& n : comparison.Notches) {
    const std::string notch = (n.Offset >= 0.0 ? "+" : "") + fixedText(n.Offset, 0, 3);
    for (const auto& [part, figures] :
         {std::pair<const char*, const std::vector<FigureDifference>*>{"notch", &n.Notch},
          {"front", &n.Front},
          {"rear", &n.Rear}}) {
      for (const FigureDifference& f : *figures) {
        if (!f.inOnlyOne() && (!f.Difference || *f.Difference == 0.0)) continue;
        const int d = f.Unit == FigureUnit::Length ? kLengthDecimals : kAngleDecimals;
        const bool marked = f.exceeds(tolerance.StrokePercent, tolerance.Lead);
        std::vector<ReportCell> row{{notch},
                                    {part},
                                    {f.Name},
                                    {unitOf(f.Unit)},
                                    {valueText(f.Working, d)},
                                    {valueText(f.Reference, d)},
                                    {f.Difference ? valueText(f.Difference, d, true) : "-"},
                                    {f.Shift ? valueText(f.Shift, kAngleDecimals, true) : "-"},
                                    {missingNote(f)}};
        for (ReportCell& c : row) c.differs = marked;
        t.rows.push_back(std::move(row));
      }
    }
  }
  if (t.rows.empty()) t.rows.push_back({{"-"}, {"-"}, {"no figure differs"}});
  return tablePages(t, "Differences from the reference set", QPageLayout::Landscape,
                    bodies.landscape, metrics);
}

}  // namespace vek1
