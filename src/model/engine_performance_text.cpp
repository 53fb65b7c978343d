#include "engine_performance_text.h"

#include <cmath>
#include <cstdio>

#include "sensitivity_text.h"

namespace vek1 {

namespace {

// One figure of a row: its key ("Front.MEP"), its JSON value and its CSV field.
struct Cell {
  std::string key;
  std::string json;
  std::string csv;
};

Cell number(std::string key, double v) {
  const std::string t = significantText(v);
  return {std::move(key), t, t == "null" ? "" : t};
}
Cell maybe(std::string key, const std::optional<double>& v) {
  return v ? number(std::move(key), *v) : Cell{std::move(key), "null", ""};
}

std::vector<Cell> endCells(const std::string& end, const EndPerformance& e) {
  auto fig = [&](const char* k, double v) {
    return e.runs() ? number(end + "." + k, v) : Cell{end + "." + k, "null", ""};
  };
  const std::string status(endStatusText(e.Status));
  const std::string above = e.CompressionAboveChest ? "true" : "false";
  return {fig("MEP", e.MEP),
          fig("Work", e.Work),
          fig("PeakPressure", e.PeakPressure),
          maybe(end + ".ReleasePressure", e.runs() ? e.ReleasePressure : std::nullopt),
          maybe(end + ".CompressionPeak", e.runs() ? e.CompressionPeak : std::nullopt),
          {end + ".CompressionAboveChest", above, above},
          {end + ".Status", "\"" + status + "\"", status}};
}

std::vector<Cell> rowCells(const PerformanceRow& r) {
  std::vector<Cell> c = {number("Offset", r.Offset), number("SpeedRpm", r.SpeedRpm)};
  for (auto& x : endCells("Front", r.Front)) c.push_back(x);
  for (auto& x : endCells("Rear", r.Rear)) c.push_back(x);
  c.push_back(number("IHP", r.IHP));
  c.push_back(number("TractiveEffort", r.TractiveEffort));
  c.push_back(number("SteamPerHour", r.SteamPerHour));
  c.push_back(maybe("WaterRate", r.WaterRate));
  c.push_back(maybe("WorkRatio", r.WorkRatio));
  return c;
}

std::string settingsJson(const PerformanceReport& r) {
  const EngineSettings& s = r.Settings;
  return "{\"ChestPressure\": " + significantText(s.ChestPressure) +
         ", \"BackPressure\": " + significantText(s.BackPressure) +
         ", \"PressureUnit\": \"psi gauge\", \"Superheat\": " + significantText(s.Superheat) +
         ", \"FrontClearance\": " + significantText(s.ClearancePct[0]) +
         ", \"RearClearance\": " + significantText(s.ClearancePct[1]) +
         ", \"PortLength\": " + significantText(r.PortLength) +
         ", \"SpeedRpm\": " + significantText(s.SpeedRpm) +
         ", \"Cylinders\": " + std::to_string(s.Cylinders) +
         ", \"DischargeCoefficient\": " + significantText(s.DischargeCoefficient) + "}";
}

}  // namespace

PerformanceReport performanceReport(const Workspace& ws, const EngineSettings& s,
                                    const std::vector<double>& offsets,
                                    const std::vector<double>& speeds) {
  PerformanceReport r;
  r.Settings = heldSettings(s);
  const GearDimensions gear = gearOf(ws);
  r.PortLength = portLengthFor(r.Settings, gear.Cyl[cyl::slot<dim::CylinderBoreDia>]);
  r.Rows = performanceTable(ws, r.Settings, offsets, speeds);
  return r;
}

std::vector<std::string> performanceColumns() {
  std::vector<std::string> names;
  for (const Cell& c : rowCells(PerformanceRow{})) names.push_back(c.key);
  return names;
}

std::string performanceJson(const PerformanceReport& r) {
  std::string out = "{\"Settings\": " + settingsJson(r) + ", \"Rows\": [";
  for (std::size_t i = 0; i < r.Rows.size(); ++i) {
    out += i ? ",\n  {" : "\n  {";
    std::string open;  // the end whose object is open
    bool first = true;
    for (const Cell& c : rowCells(r.Rows[i])) {
      const auto dot = c.key.find('.');
      const std::string group = dot == std::string::npos ? "" : c.key.substr(0, dot);
      if (group != open) {
        if (!open.empty()) out += "}";
        if (!group.empty()) out += std::string(first ? "" : ", ") + "\"" + group + "\": {";
        open = group;
        if (!group.empty()) first = true;
      }
      if (!first) out += ", ";
      out += "\"" + c.key.substr(dot == std::string::npos ? 0 : dot + 1) + "\": " + c.json;
      first = false;
    }
    out += "}";
  }
  return out + "\n]}\n";
}

std::string performanceCsv(const PerformanceReport& r) {
  std::string out;
  const std::vector<std::string> names = performanceColumns();
  for (std::size_t i = 0; i < names.size(); ++i) out += (i ? "," : "") + names[i];
  out += "\n";
  for (const PerformanceRow& row : r.Rows) {
    const std::vector<Cell> cells = rowCells(row);
    for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + cells[i].csv;
    out += "\n";
  }
  return out;
}

namespace {

std::string fixed(const std::optional<double>& v, int width, int decimals) {
  char b[64];
  if (!v || !std::isfinite(*v))
    std::snprintf(b, sizeof b, "%*s", width, "none");
  else
    std::snprintf(b, sizeof b, "%*.*f", width, decimals, *v);
  return b;
}

std::optional<double> figure(const EndPerformance& e, double v) {
  return e.runs() ? std::optional<double>(v) : std::nullopt;
}

}  // namespace

std::string performanceText(const PerformanceReport& r) {
  const EngineSettings& s = r.Settings;
  char head[400];
  std::snprintf(head, sizeof head,
                "Chest %.1f psi gauge, back pressure %.1f psi gauge, %s, clearance %.1f %% front "
                "and %.1f %% rear,\nport length %.3f in, %d cylinders, discharge coefficient "
                "%.2f\n\n",
                s.ChestPressure, s.BackPressure,
                s.Superheat > 0.0
                    ? ("superheat " + std::to_string(int(std::lround(s.Superheat))) + " F").c_str()
                    : "saturated",
                s.ClearancePct[0], s.ClearancePct[1], r.PortLength, s.Cylinders,
                s.DischargeCoefficient);
  std::string out = head;
  out +=
      "  Notch   rev/min |  F MEP  R MEP  F work  R work  F peak  R peak  F rel  R rel  F comp"
      "  R comp |   IHP  TE lbf  Steam lb/h  lb/IHP-h  F/R work\n";
  out +=
      "                 |    psi    psi  ft lbf  ft lbf    psig    psig   psig   psig    psig"
      "    psig |\n";
  for (const PerformanceRow& row : r.Rows) {
    const EndPerformance& f = row.Front;
    const EndPerformance& b = row.Rear;
    auto comp = [](const EndPerformance& e) {
      std::string t = fixed(e.runs() ? e.CompressionPeak : std::nullopt, 7, 1);
      return t + (e.runs() && e.CompressionAboveChest ? "!" : " ");
    };
    out += fixed(row.Offset, 7, 3) + fixed(row.SpeedRpm, 10, 0) + " |" +
           fixed(figure(f, f.MEP), 7, 1) + fixed(figure(b, b.MEP), 7, 1) +
           fixed(figure(f, f.Work), 8, 2) + fixed(figure(b, b.Work), 8, 2) +
           fixed(figure(f, f.PeakPressure), 8, 1) + fixed(figure(b, b.PeakPressure), 8, 1) +
           fixed(f.runs() ? f.ReleasePressure : std::nullopt, 7, 1) +
           fixed(b.runs() ? b.ReleasePressure : std::nullopt, 7, 1) + comp(f) + comp(b) + "|" +
           fixed(row.IHP, 6, 3) + fixed(row.TractiveEffort, 8, 1) + fixed(row.SteamPerHour, 12, 2) +
           fixed(row.WaterRate, 10, 2) + fixed(row.WorkRatio, 10, 3);
    for (const auto& [name, e] : {std::pair{"front", &f}, std::pair{"rear", &b}})
      if (!e->runs()) out += std::string("  ") + name + " " + std::string(endStatusText(e->Status));
    out += "\n";
  }
  out +=
      "\n! compression above chest pressure.  none: no such figure (the end does not run, or\n"
      "the exhaust opens with the steam edge still open).\n";
  return out;
}

}  // namespace vek1
