#include "cli_wear.h"

#include <optional>
#include <ostream>

#include "cli_common.h"
#include "exit_codes.h"
#include "numbers.h"
#include "tune_figures.h"
#include "valve_events.h"
#include "worn_gear.h"
#include "worn_gear_text.h"

namespace vek1 {

const char* const kWearUsage =
    R"(usage: vek1-cli wear [--clearance C] [--joint NAME=C ...] [--notches OFFSETS|default]
                    [--file PATH] [--set ID=VALUE ...] [--format json|csv]

Prints, for each notch, the envelope of each end's lead, cut-off, release and compression over
the play that the pin joints' radial clearances allow (Min, Max, Spread; events in percent of
stroke counted through their own end's dead centre, leads in units), the lost motion at the
valve (valve travel without play less the least it keeps with play) and each joint's share of
the spread. A joint's play changes the centre distance of the member it joins by up to its
clearance; the worst case of each event is found by a search over the corners of the play.

joints (NAME):  crank-pin, crosshead, hanger (main-rod hanger), coupler-lever (coupler at the
                valve lever), coupler-anchor (coupler at the anchor link), anchor-pivot,
                die (die in the link), lever-top (valve lever to radius rod), valve-stem
                (radius rod to valve stem), reverse-arm (reach rod at the reverse arm's end)

options:
  --clearance C          every joint's radial clearance, 0 to 0.1 units (default 0.002)
  --joint NAME=C         one joint's clearance, after --clearance; may be repeated
  --notches OFFSETS      comma-separated offsets from the mid-gear centre; "default" (the
                         default) is the forward notches of the valve events table, 9 of them
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --format json|csv      JSON (default) or CSV, one line per notch
)";

namespace {

constexpr size_t kMaxNotches = 200;

double clearanceArg(const std::string& option, const std::string& text) {
  const double c = cli::numberArg(option, text);
  if (c < 0.0 || c > kMaxClearance)
    throw cli::UsageError{option + ": a clearance is from 0 to 0.1, not " + text};
  return c;
}

}  // namespace

int runWearCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  using cli::UsageError;
  return cli::runReportingErrors(err, [&]() -> int {
    std::optional<std::vector<double>> offsets;
    std::optional<double> every;
    std::vector<std::pair<int, double>> joints;
    std::string file, format = "json";
    std::vector<std::pair<int, float>> sets;
    cli::ArgReader line(args, 0);
    while (line.more()) {
      const std::string& option = line.option();
      if (option == "--help" || option == "-h") {
        out << kWearUsage;
        return 0;
      }
      if (option == "--notches") {
        offsets = cli::notchesArg(option, line.value(option), kMaxNotches);
      } else if (option == "--clearance") {
        every = clearanceArg(option, line.value(option));
      } else if (option == "--joint") {
        const std::string& value = line.value(option);
        const size_t eq = value.find('=');
        const int joint = eq == std::string::npos ? -1 : wearJointByKey(value.substr(0, eq));
        if (joint < 0)
          throw UsageError{"--joint is NAME=C with NAME one of crank-pin, crosshead, hanger, "
                           "coupler-lever, coupler-anchor, anchor-pivot, die, lever-top, "
                           "valve-stem, reverse-arm; not '" + value + "'"};
        joints.emplace_back(joint, clearanceArg("--joint", value.substr(eq + 1)));
      } else if (option == "--file") {
        file = line.value(option);
      } else if (option == "--set") {
        sets.push_back(cli::setArg(line.value(option)));
      } else if (option == "--format") {
        format = line.value(option);
        if (format != "json" && format != "csv")
          throw UsageError{"--format is json or csv, not '" + format + "'"};
      } else {
        throw UsageError{"unknown option '" + option + "' for wear; try --help"};
      }
    }

    const Workspace ws = cli::loadWorkspace(file, sets, err);
    // The set's own clearances (the defaults for the factory set), changed as asked.
    Clearances clearances = clearancesOf(ws);
    if (every) clearances.fill(*every);
    for (const auto& [joint, c] : joints) clearances[static_cast<size_t>(joint)] = c;
    const std::vector<double> notches = offsets ? *offsets : defaultTuneNotches(ws);
    cli::requireReachable(ws, notches);
    const WearStudy study = ComputeWornGear(ws, notches, clearances);
    out << (format == "csv" ? wornGearCsv(study) : wornGearJson(study));
    return kExitOk;
  });
}

}  // namespace vek1
