#include "perf_page.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "numbers.h"
#include "page_canvas.h"

namespace vek1 {

namespace {

constexpr int kGap = 12;

std::string cell(const std::optional<double>& v, int decimals) {
  return v && std::isfinite(*v) ? fixedText(*v, 0, decimals) : "none";
}

std::optional<double> ran(const EndPerformance& e, double v) {
  return e.runs() ? std::optional<double>(v) : std::nullopt;
}

std::string compression(const EndPerformance& e) {
  if (!e.runs()) return "none";
  return cell(e.CompressionPeak, 1) + (e.CompressionAboveChest ? " !" : "");
}

}  // namespace

std::vector<double> defaultCardNotches(const std::vector<double>& t) {
  if (t.size() < 3) return t;
  return {t.front(), t[t.size() / 2], t.back()};
}

double railSpeedMph(double speedRpm, double driverDiaInches) {
  return speedRpm * std::numbers::pi * std::fabs(driverDiaInches) / 12.0 * 60.0 / 5280.0;
}

PerformancePage computePerformancePage(const PerformanceInput& in) {
  PerformancePage p;
  const EngineSettings s = heldSettings(in.ws.Engine);
  p.report = performanceReport(in.ws, s, in.notches, {s.SpeedRpm});
  p.table = performanceTableView(p.report, in.ws.DimSetName);
  p.cards.setName = p.curves.setName = in.ws.DimSetName;
  p.cards.settings = p.report.Settings;
  for (double o : in.cardNotches) {
    // A card notch that is in the table is not run twice.
    auto same = std::find_if(p.report.Rows.begin(), p.report.Rows.end(),
                             [&](const PerformanceRow& r) { return r.Offset == o; });
    p.cards.rows.push_back(same != p.report.Rows.end() ? *same
                                                       : performanceAt(in.ws, s, o, s.SpeedRpm));
  }
  p.curves.byNotch = p.report.Rows;
  if (!in.cardNotches.empty())
    for (double v : curveSpeeds(s.SpeedRpm))
      p.curves.bySpeed.push_back(performanceAt(in.ws, s, in.cardNotches.front(), v));
  // The curves do not need the cards' samples.
  for (auto* rows : {&p.curves.byNotch, &p.curves.bySpeed})
    for (PerformanceRow& r : *rows) r.Front.Card.clear(), r.Rear.Card.clear();
  return p;
}

StudyTable performanceTableView(const PerformanceReport& r, const std::string& setName) {
  const EngineSettings& s = r.Settings;
  StudyTable t;
  t.title = {"Engine performance: " + setName + ", " + fixedText(s.SpeedRpm, 0, 0) +
                 " rev/min, chest " + fixedText(s.ChestPressure, 0, 1) + " psi gauge, back " +
                 fixedText(s.BackPressure, 0, 1) + " psi gauge, " +
                 (s.Superheat > 0.0 ? "superheat " + fixedText(s.Superheat, 0, 0) + " F"
                                    : std::string("saturated")),
             "Clearance " + fixedText(s.ClearancePct[0], 0, 1) + " % front, " +
                 fixedText(s.ClearancePct[1], 0, 1) + " % rear; port length " +
                 fixedText(r.PortLength, 0, 3) + "; " + std::to_string(s.Cylinders) +
                 " cylinders; discharge coefficient " + fixedText(s.DischargeCoefficient, 0, 2) +
                 ".  Pressures psi gauge, work ft lbf per cycle of one end, ! compression above "
                 "chest, none: no such figure."};
  t.header = {"Notch",  "F MEP psi",  "R MEP psi", "F work",   "R work",  "F peak",
              "R peak", "F release",  "R release", "F compr",  "R compr", "IHP",
              "TE lbf", "Steam lb/h", "lb/IHP-h",  "F/R work", "Status"};
  for (const PerformanceRow& row : r.Rows) {
    const EndPerformance& f = row.Front;
    const EndPerformance& b = row.Rear;
    std::string status;
    for (const auto& [name, e] : {std::pair{"F ", &f}, std::pair{"R ", &b}})
      if (!e->runs())
        status += (status.empty() ? "" : ", ") + (name + std::string(endStatusText(e->Status)));
    std::vector<StudyCell> cells = {
        {(row.Offset >= 0 ? "+" : "") + fixedText(row.Offset, 0, 3)},
        {cell(ran(f, f.MEP), 1)},
        {cell(ran(b, b.MEP), 1)},
        {cell(ran(f, f.Work), 2)},
        {cell(ran(b, b.Work), 2)},
        {cell(ran(f, f.PeakPressure), 1)},
        {cell(ran(b, b.PeakPressure), 1)},
        {cell(f.runs() ? f.ReleasePressure : std::nullopt, 1)},
        {cell(b.runs() ? b.ReleasePressure : std::nullopt, 1)},
        {compression(f), f.CompressionAboveChest},
        {compression(b), b.CompressionAboveChest},
        {cell(row.IHP, 3)},
        {cell(row.TractiveEffort, 1)},
        {cell(row.SteamPerHour, 2)},
        {cell(row.WaterRate, 2)},
        {cell(row.WorkRatio, 3), row.WorkRatio && std::fabs(*row.WorkRatio - 1.0) > 0.05},
        {status.empty() ? "runs" : status}};
    t.rows.push_back(std::move(cells));
  }
  return t;
}

namespace {

struct Layout {
  PagePart cards, table, curves;
  CanvasSize whole;
};

Layout layoutOf(const PerformancePage& p) {
  Layout l;
  l.cards.size = cardsPictureSize(p.cards);
  l.table.size = studyTablePictureSize(p.table);
  l.curves.size = curvesPictureSize();
  l.table.top = l.cards.size.height + kGap;
  l.curves.top = l.table.top + l.table.size.height + kGap;
  l.whole = {std::max({l.cards.size.width, l.table.size.width, l.curves.size.width}),
             l.curves.top + l.curves.size.height};
  return l;
}

// A part drawn at its place on the page: PageCanvas shifts by minus the part's corner.
PagePart placed(const PagePart& part) {
  return {-part.left, -part.top, part.size};
}

}  // namespace

CanvasSize performancePageSize(const PerformancePage& p) {
  return layoutOf(p).whole;
}

void drawPerformancePage(Canvas& canvas, const PerformancePage& p) {
  const Layout l = layoutOf(p);
  canvas.clear(Rgb{255, 255, 255});
  {
    PageCanvas part(canvas, placed(l.cards), false);
    drawIndicatorCards(part, p.cards);
  }
  {
    PageCanvas part(canvas, placed(l.table), false);
    drawStudyTable(part, p.table);
  }
  {
    PageCanvas part(canvas, placed(l.curves), false);
    drawPerformanceCurves(part, p.curves);
  }
}

}  // namespace vek1
