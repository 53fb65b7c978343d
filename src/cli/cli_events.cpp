#include "cli_events.h"

#include <cmath>
#include <optional>
#include <ostream>

#include "dimension_file.h"
#include "dimensions.h"
#include "numbers.h"
#include "valve_events.h"
#include "valve_events_text.h"

namespace vek1 {

const char* const kEventsUsage =
    R"(usage: vek1-cli events [--notches OFFSETS|default] [--file PATH] [--set ID=VALUE ...]
                      [--format json|csv]

Prints the valve events at each notch of the reverse arm: for each cylinder end the lead, the
admission, cut-off, release and compression (crank angle after that end's dead centre in the
running direction, and percent of the stroke from that end), the largest steam and exhaust
openings and whether the steam port opens fully; for each notch the valve travel, the die
block's slip along the link, the joint nearest to locking with its margin in degrees, and
whether the linkage could not close somewhere in the turn. An event that does not happen is
null (JSON) or an empty field (CSV).

options:
  --notches OFFSETS      comma-separated offsets of the reverse arm from the mid-gear centre,
                         reported in the order given, e.g. 1.6,0.8,-0.8; "default" (the
                         default) is full forward to full reverse in ninths of
                         "Rev Arm to Cent Max", 19 notches
  --file PATH            start from the dimension set saved in PATH instead of the factory set
  --set ID=VALUE         set a dimension first; may be repeated (ids 1..18, 101..122)
  --format json|csv      JSON (default) or CSV, one line per notch and end
)";

namespace {

// More notches than anyone reads; refusing them keeps a mistyped script from running for hours.
constexpr size_t kMaxNotches = 10000;

struct EventsError {
  std::string message;
};

double strictNumber(const std::string& what, const std::string& text) {
  const std::optional<double> value = parseNumberStrict(text);
  if (!value || std::fabs(*value) > 3.4028234663852886e38)
    throw EventsError{"bad number for " + what + ": '" + text + "'"};
  return *value;
}

std::vector<double> notchList(const std::string& text) {
  std::vector<double> offsets;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    offsets.push_back(strictNumber("--notches", text.substr(start, comma - start)));
    if (offsets.size() > kMaxNotches) throw EventsError{"--notches: more than 10000 notches"};
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return offsets;
}

std::pair<int, float> dimensionSetting(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) throw EventsError{"--set expects ID=VALUE, got '" + text + "'"};
  const std::string idText = text.substr(0, eq);
  const std::optional<double> id = parseNumberStrict(idText);
  if (!id || *id != std::floor(*id) || idText.find_first_of(".eE") != std::string::npos ||
      !isDimensionId(static_cast<int>(*id)))
    throw EventsError{"unknown dimension id '" + idText + "' (use 1..18 or 101..122)"};
  return {static_cast<int>(*id), toSingle(strictNumber("--set " + idText, text.substr(eq + 1)))};
}

}  // namespace

int runEventsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    std::optional<std::vector<double>> offsets;
    std::string file, format = "json";
    std::vector<std::pair<int, float>> sets;
    for (size_t i = 0; i < args.size(); ++i) {
      const std::string& option = args[i];
      if (option == "--help" || option == "-h") {
        out << kEventsUsage;
        return 0;
      }
      if (i + 1 >= args.size()) {
        if (option == "--notches" || option == "--file" || option == "--set" ||
            option == "--format")
          throw EventsError{option + " needs a value"};
        throw EventsError{"unknown option '" + option + "' for events; try --help"};
      }
      const std::string& value = args[++i];
      if (option == "--notches")
        offsets = value == "default" ? std::nullopt : std::optional(notchList(value));
      else if (option == "--file")
        file = value;
      else if (option == "--set")
        sets.push_back(dimensionSetting(value));
      else if (option == "--format" && (value == "json" || value == "csv"))
        format = value;
      else if (option == "--format")
        throw EventsError{"--format is json or csv, not '" + value + "'"};
      else
        throw EventsError{"unknown option '" + option + "' for events; try --help"};
    }

    Workspace ws;
    StartUp(ws);
    if (!file.empty()) {
      const DimensionFileResult loaded = ReadDimensionFile(file, ws);
      if (!loaded.ok) throw EventsError{loaded.message};
    }
    for (const auto& [id, value] : sets) setDimension(ws, id, value);
    ComputeReverseArmCentre(ws);

    const ValveEventsTable table =
        offsets ? ComputeValveEvents(ws, *offsets) : ComputeValveEvents(ws);
    out << (format == "csv" ? valveEventsCsv(table) : valveEventsJson(table));
    return 0;
  } catch (const EventsError& e) {
    err << "vek1-cli: " << e.message << '\n';
    return 2;
  }
}

}  // namespace vek1
