#include "cli_events.h"

#include <optional>
#include <ostream>

#include "cli_common.h"
#include "events_compare_text.h"
#include "exit_codes.h"
#include "valve_events.h"
#include "valve_events_text.h"

namespace vek1 {

const char* const kEventsUsage =
    R"(usage: vek1-cli events [--notches OFFSETS|default] [--file PATH] [--set ID=VALUE ...]
                      [--compare OTHER.dve|OTHER.ovk] [--format json|csv|text]

Prints the valve events at each notch of the reverse arm: for each cylinder end the lead, the
admission, cut-off, release and compression (crank angle from that end's dead centre in the
running direction: admission and compression negative before it, cut-off and release 0 to 360
after it; and percent of the stroke the event falls in, from that stroke's start, so
compression is a percent of the return stroke), each edge's state (cycles, never opens, always
open), whether steam is still admitted at the next dead centre, the blow-through ranges, the
laps, the largest and effective openings and whether each port opens fully; for each notch the
valve travel, the die block's slip along the link, the joint nearest to locking with its
transmission angle in degrees (90 best, 0 locked), the driver angles where the linkage cannot
close, and whether the notch lies beyond normal full gear. An event that does not happen, or
falls where the linkage cannot close, is null (JSON) or an empty field (CSV). A notch beyond
the reverse arm's reach is refused.

options:
  --notches OFFSETS      comma-separated offsets of the reverse arm from the mid-gear centre,
                         reported in the order given, e.g. 1.6,0.8,-0.8; "default" (the
                         default) is full forward to full reverse in ninths of
                         "Rev Arm to Cent Max", 19 notches
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --compare PATH         compare with the set saved in PATH (a .dve, or an older .ovk), the
                         reference, at the same notches: prints both sets' events and every
                         figure's difference, working minus reference; a figure one set lacks
                         (an edge that never opens, a notch beyond its arm's reach) is null or
                         empty with the reason. --set changes the working set only
  --format json|csv|text JSON (default) or CSV, one line per notch and end; with --compare,
                         CSV is one line per notch, end and figure, and text is a table to read
)";

namespace {

// More notches than anyone reads; refusing them keeps a mistyped script from running for hours.
constexpr size_t kMaxNotches = 10000;

}  // namespace

int runEventsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  using cli::UsageError;
  return cli::runReportingErrors(err, [&]() -> int {
    std::optional<std::vector<double>> offsets;
    std::string file, compare, format = "json";
    std::vector<std::pair<int, float>> sets;
    cli::ArgReader line(args, 0);
    while (line.more()) {
      const std::string& option = line.option();
      if (option == "--help" || option == "-h") {
        out << kEventsUsage;
        return 0;
      }
      if (option == "--notches") {
        offsets = cli::notchesArg(option, line.value(option), kMaxNotches);
      } else if (option == "--file") {
        file = line.value(option);
      } else if (option == "--set") {
        sets.push_back(cli::setArg(line.value(option)));
      } else if (option == "--compare") {
        compare = line.value(option);
        if (compare.empty()) throw UsageError{"--compare needs the path of a saved set"};
      } else if (option == "--format") {
        format = line.value(option);
        if (format != "json" && format != "csv" && format != "text")
          throw UsageError{"--format is json, csv or text, not '" + format + "'"};
      } else {
        throw UsageError{"unknown option '" + option + "' for events; try --help"};
      }
    }

    if (format == "text" && compare.empty())
      throw UsageError{"--format text is the comparison's table: it needs --compare"};
    const Workspace ws = cli::loadWorkspace(file, sets, err);
    if (offsets) cli::requireReachable(ws, *offsets);
    if (!compare.empty()) {
      const Workspace reference = cli::loadReference(compare);
      const ComparedEvents c = compareValveEvents(ws, reference, offsets ? &*offsets : nullptr);
      if (format == "csv")
        out << eventsComparisonCsv(c);
      else if (format == "text")
        out << eventsComparisonText(c, ws.DimSetName, reference.DimSetName);
      else
        out << eventsComparisonJson(c, ws.DimSetName, reference.DimSetName);
      return kExitOk;
    }
    const ValveEventsTable table =
        offsets ? ComputeValveEvents(ws, *offsets) : ComputeValveEvents(ws);
    out << (format == "csv" ? valveEventsCsv(table) : valveEventsJson(table));
    return kExitOk;
  });
}

}  // namespace vek1
