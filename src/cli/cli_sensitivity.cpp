#include "cli_sensitivity.h"

#include <optional>
#include <ostream>

#include "cli_common.h"
#include "exit_codes.h"
#include "numbers.h"
#include "sensitivity.h"
#include "sensitivity_text.h"
#include "tune_figures.h"
#include "valve_events.h"

namespace vek1 {

const char* const kSensitivityUsage =
    R"(usage: vek1-cli sensitivity [--notches OFFSETS|default] [--events LIST] [--file PATH]
                           [--set ID=VALUE ...] [--format json|csv]

Prints, for each notch and each editable dimension, how fast each valve event moves as the
dimension changes: per unit of the dimension (PerUnit) and for a change of 1 % of its value
(PerPercent). Events are in percent of stroke counted through their own end's dead centre, the
admission in degrees of crank angle (near dead centre the piston hardly moves), the leads and
the valve travel in units, the closure margin in degrees. The centre is recomputed after each
change, as the dimension dialogs do, so a notch stays the same offset from it. Central
differences, the step halved from 0.004 units until the result changes by under 1 %.
Dimensions only the drawing uses are 0 exactly. A derivative of an event that does not happen
is null (JSON) or empty (CSV).

options:
  --notches OFFSETS      comma-separated offsets from the mid-gear centre; "default" (the
                         default) is the forward notches of the valve events table, 9 of them
  --events LIST          comma-separated figures to print, of Front.Lead, Front.Admission,
                         Front.CutOff, Front.Release, Front.Compression, the same for Rear,
                         ValveTravel and ClosureMargin; all of them by default
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --format json|csv      JSON (default) or CSV, one line per notch and dimension
)";

namespace {

// Each notch costs a few hundred event tables; more than this would run for minutes.
constexpr size_t kMaxNotches = 200;

std::vector<int> figureList(const std::string& text) {
  std::vector<int> out;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string key = text.substr(start, comma - start);
    const int k = eventFigureByKey(key);
    if (k < 0)
      throw cli::UsageError{"--events: unknown figure '" + key +
                            "' (Front.CutOff, Rear.Lead, ValveTravel, ClosureMargin, ...)"};
    out.push_back(k);
    start = comma + 1;
  }
  return out;
}

}  // namespace

int runSensitivityCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err) {
  using cli::UsageError;
  return cli::runReportingErrors(err, [&]() -> int {
    std::optional<std::vector<double>> offsets;
    std::vector<int> figures;
    std::string file, format = "json";
    std::vector<std::pair<int, float>> sets;
    cli::ArgReader line(args, 0);
    while (line.more()) {
      const std::string& option = line.option();
      if (option == "--help" || option == "-h") {
        out << kSensitivityUsage;
        return 0;
      }
      if (option == "--notches") {
        offsets = cli::notchesArg(option, line.value(option), kMaxNotches);
      } else if (option == "--events") {
        figures = figureList(line.value(option));
      } else if (option == "--file") {
        file = line.value(option);
      } else if (option == "--set") {
        sets.push_back(cli::setArg(line.value(option)));
      } else if (option == "--format") {
        format = line.value(option);
        if (format != "json" && format != "csv")
          throw UsageError{"--format is json or csv, not '" + format + "'"};
      } else {
        throw UsageError{"unknown option '" + option + "' for sensitivity; try --help"};
      }
    }

    const Workspace ws = cli::loadWorkspace(file, sets, err);
    const std::vector<double> notches = offsets ? *offsets : defaultTuneNotches(ws);
    cli::requireReachable(ws, notches);
    const SensitivityTable table = ComputeSensitivity(ws, notches);
    out << (format == "csv" ? sensitivityCsv(table, figures) : sensitivityJson(table, figures));
    return kExitOk;
  });
}

}  // namespace vek1
