#include "cli_perf.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "cli_common.h"
#include "engine_performance_text.h"
#include "exit_codes.h"
#include "sensitivity_text.h"

namespace vek1 {

const char* const kPerfUsage =
    R"(usage: vek1-cli perf [--notches OFFSETS|default] [--speed RPM[,RPM...]] [--pressure PSI]
                    [--back-pressure PSI] [--clearance PCT[,PCT]] [--port-length L]
                    [--superheat F] [--cylinders N] [--discharge CD] [--file PATH]
                    [--set ID=VALUE ...] [--format json|csv|text]

Prints the engine's indicated performance at each notch and speed, from a filling-and-emptying
model of each cylinder end run on the gear's own piston travel and port openings until its
indicator card repeats. For each end: MEP (mean effective pressure, psi), Work (ft lbf per
cycle of that end), PeakPressure, ReleasePressure (as the exhaust opens) and CompressionPeak
(psi gauge), CompressionAboveChest, and Status (runs, never opens, never exhausts, locks,
unsettled); for the row: IHP (indicated horsepower of all cylinders), TractiveEffort (lbf at
the driver's rim: the work per revolution over the driver's circumference), SteamPerHour
(lb/h), WaterRate (lb per IHP-hour) and WorkRatio (front work over rear work). A figure that
does not exist is null (JSON), an empty field (CSV) or "none" (text). The settings start from
the set's own (the factory defaults for a set without them); the options replace them.

options:
  --notches OFFSETS      comma-separated offsets from the mid-gear centre; "default" (the
                         default) is the forward notches of the valve events table, 9 of them
  --speed RPM[,RPM...]   driver revolutions per minute, one row per notch and speed, at most
                         500 rows (default: the settings' speed, 180 for the factory set)
  --pressure PSI         steam-chest pressure, psi gauge (1 to 300; default 100)
  --back-pressure PSI    exhaust back pressure, psi gauge (-10 to 100, under the chest
                         pressure; default 2)
  --clearance PCT[,PCT]  clearance volume of the front end and the rear end in percent of
                         the swept volume (0.5 to 100; one value sets both; default 10)
  --port-length L        the ports' length across the valve face, in the set's units; 0 (the
                         default) is 0.8 x Cylinder Bore Dia
  --superheat F          degrees F of superheat at the chest; 0 (the default) is saturated
  --cylinders N          number of cylinders (1 to 16; default 2)
  --discharge CD         the ports' discharge coefficient (0.05 to 1; default 0.7)
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --format json|csv|text JSON (default), CSV (one line per notch and speed) or a table
)";

namespace {

constexpr size_t kMaxNotches = 200;
constexpr size_t kMaxSpeeds = 50;
// Each row runs the cylinder model a few revolutions for each end (a few milliseconds).
constexpr size_t kMaxRows = 500;

double ranged(const std::string& option, const std::string& text, const SettingRange& r) {
  const double v = cli::numberArg(option, text);
  if (v < r.Lowest || v > r.Highest)
    throw cli::UsageError{option + ": the " + r.Name + " is " + significantText(r.Lowest) + " to " +
                          significantText(r.Highest) + ", not " + text};
  return v;
}

}  // namespace

int runPerfCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  using cli::UsageError;
  return cli::runReportingErrors(err, [&]() -> int {
    std::optional<std::vector<double>> offsets, speeds, clearance;
    std::optional<double> pressure, back, portLength, superheat, discharge;
    std::optional<int> cylinders;
    std::string file, format = "json";
    std::vector<std::pair<int, float>> sets;
    cli::ArgReader line(args, 0);
    while (line.more()) {
      const std::string& option = line.option();
      if (option == "--help" || option == "-h") {
        out << kPerfUsage;
        return 0;
      }
      if (option == "--notches") {
        offsets = cli::notchesArg(option, line.value(option), kMaxNotches);
      } else if (option == "--speed") {
        speeds = cli::numberList(option, line.value(option), kMaxSpeeds);
        for (double v : *speeds) ranged(option, significantText(v), kSpeedRange);
      } else if (option == "--pressure") {
        pressure = ranged(option, line.value(option), kChestPressureRange);
      } else if (option == "--back-pressure") {
        back = ranged(option, line.value(option), kBackPressureRange);
      } else if (option == "--clearance") {
        clearance = cli::numberList(option, line.value(option), 2);
        for (double v : *clearance) ranged(option, significantText(v), kClearanceRange);
      } else if (option == "--port-length") {
        portLength = ranged(option, line.value(option), kPortLengthRange);
      } else if (option == "--superheat") {
        superheat = ranged(option, line.value(option), kSuperheatRange);
      } else if (option == "--discharge") {
        discharge = ranged(option, line.value(option), kDischargeRange);
      } else if (option == "--cylinders") {
        const std::string& text = line.value(option);
        const double n = ranged(option, text, kCylinderRange);
        if (n != std::floor(n)) throw UsageError{option + " is a whole number, not " + text};
        cylinders = static_cast<int>(n);
      } else if (option == "--file") {
        file = line.value(option);
      } else if (option == "--set") {
        sets.push_back(cli::setArg(line.value(option)));
      } else if (option == "--format") {
        format = line.value(option);
        if (format != "json" && format != "csv" && format != "text")
          throw UsageError{"--format is json, csv or text, not '" + format + "'"};
      } else {
        throw UsageError{"unknown option '" + option + "' for perf; try --help"};
      }
    }

    const Workspace ws = cli::loadWorkspace(file, sets, err);
    EngineSettings s = ws.Engine;
    if (pressure) s.ChestPressure = *pressure;
    if (back) s.BackPressure = *back;
    if (clearance) s.ClearancePct = {clearance->front(), clearance->back()};
    if (portLength) s.PortLength = *portLength;
    if (superheat) s.Superheat = *superheat;
    if (discharge) s.DischargeCoefficient = *discharge;
    if (cylinders) s.Cylinders = *cylinders;
    if (!settingsValid(s))
      throw UsageError{"the back pressure (" + significantText(s.BackPressure) +
                       " psi gauge) must be at least 0.5 psi under the chest pressure (" +
                       significantText(s.ChestPressure) + ")"};
    const std::vector<double> notches = offsets ? *offsets : performanceNotches(ws);
    const size_t rows = notches.size() * (speeds ? speeds->size() : 1);
    if (rows > kMaxRows)
      throw UsageError{"perf: " + std::to_string(rows) +
                       " rows of notches and speeds asked for; "
                       "at most " +
                       std::to_string(kMaxRows)};
    cli::requireReachable(ws, notches);
    const PerformanceReport report =
        performanceReport(ws, s, notches, speeds ? *speeds : std::vector<double>{s.SpeedRpm});
    if (format == "csv")
      out << performanceCsv(report);
    else if (format == "text")
      out << performanceText(report);
    else
      out << performanceJson(report);
    return kExitOk;
  });
}

}  // namespace vek1
