#include "report_engine.h"

#include <string>

#include "engine_performance.h"
#include "engine_performance_text.h"
#include "numbers.h"

namespace vek1 {

namespace {

std::string figure(const std::optional<double>& v, int decimals) {
  return v ? fixedText(*v, 0, decimals) : std::string("none");
}

std::string endFigure(const EndPerformance& e, double v, int decimals) {
  return e.runs() ? fixedText(v, 0, decimals) : std::string(endStatusText(e.Status));
}

}  // namespace

std::vector<ReportPage> enginePages(const Workspace& set,
                                    const std::optional<std::vector<double>>& notches,
                                    const ReportBodies& bodies, const ReportMetrics& metrics) {
  const PerformanceReport r = performanceReport(
      set, set.Engine, notches ? *notches : performanceNotches(set), {set.Engine.SpeedRpm});
  const EngineSettings& s = r.Settings;
  ReportTable t;
  t.header = {"Notch (units)", "Front MEP (psi)", "Rear MEP (psi)", "Front work (ft lbf)",
              "Rear work (ft lbf)", "Front peak (psig)", "Rear peak (psig)",
              "Front compression peak (psig)", "Rear compression peak (psig)", "IHP",
              "Tractive effort (lbf)", "Steam (lb/h)", "Water rate (lb/IHP-h)",
              "Front/rear work"};
  t.keyColumns = 1;
  t.lead = {
      "At " + fixedText(s.SpeedRpm, 0, 0) + " driver rev/min, chest " +
          fixedText(s.ChestPressure, 0, 1) + " psi gauge, back pressure " +
          fixedText(s.BackPressure, 0, 1) + " psi gauge, " +
          (s.Superheat > 0.0 ? "superheat " + fixedText(s.Superheat, 0, 0) + " F"
                             : std::string("saturated steam")) +
          ", clearance " + fixedText(s.ClearancePct[0], 0, 1) + " % front and " +
          fixedText(s.ClearancePct[1], 0, 1) + " % rear, port length " +
          fixedText(r.PortLength, 0, 3) + " units, " + std::to_string(s.Cylinders) +
          " cylinders, discharge coefficient " + fixedText(s.DischargeCoefficient, 0, 2) + ".",
      "MEP and work per cycle of each end; IHP, tractive effort at the rim and steam for the "
      "engine; peaks in psi gauge.",
      "An end that does not run is named instead of its figures; \"none\": no such figure; "
      "\"!\": compression above chest pressure."};
  for (const PerformanceRow& row : r.Rows) {
    const EndPerformance& f = row.Front;
    const EndPerformance& b = row.Rear;
    auto compression = [](const EndPerformance& e) {
      if (!e.runs()) return std::string(endStatusText(e.Status));
      return figure(e.CompressionPeak, 1) + (e.CompressionAboveChest ? " !" : "");
    };
    t.rows.push_back({{(row.Offset >= 0.0 ? "+" : "") + fixedText(row.Offset, 0, 3)},
                      {endFigure(f, f.MEP, 1)},
                      {endFigure(b, b.MEP, 1)},
                      {endFigure(f, f.Work, 2)},
                      {endFigure(b, b.Work, 2)},
                      {endFigure(f, f.PeakPressure, 1)},
                      {endFigure(b, b.PeakPressure, 1)},
                      {compression(f)},
                      {compression(b)},
                      {fixedText(row.IHP, 0, 3)},
                      {fixedText(row.TractiveEffort, 0, 1)},
                      {fixedText(row.SteamPerHour, 0, 2)},
                      {figure(row.WaterRate, 2)},
                      {figure(row.WorkRatio, 3)}});
  }
  return tablePages(t, "Engine performance", QPageLayout::Landscape, bodies.landscape, metrics);
}

}  // namespace vek1
