#include "cli.h"

#include <cerrno>
#include <cmath>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "cli_common.h"
#include "cli_events.h"
#include "cli_perf.h"
#include "cli_report.h"
#include "cli_sensitivity.h"
#include "cli_wear.h"
#include "cli_settings.h"
#include "cli_sweep_text.h"
#include "cli_tune.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "render.h"
#include "solver.h"
#include "valve.h"
#include "workspace.h"

namespace vek1 {

namespace {

constexpr const char* kUsage =
    R"(usage: vek1-cli pose   --angle DEG [options]
       vek1-cli sweep  --from A --to B --step S [--format csv|json] [options]
       vek1-cli sweep  --angle DEG --revarm-sweep FROM:TO:STEP [--format csv|json] [options]
       vek1-cli events [--notches OFFSETS] [--format json|csv] [options]  (events --help)
       vek1-cli tune   [options]                                    (tune --help)
       vek1-cli sensitivity [--notches OFFSETS] [--events LIST] [--format json|csv] [options]
                                                                    (sensitivity --help)
       vek1-cli wear   [--clearance C] [--joint NAME=C ...] [--notches OFFSETS]
                       [--format json|csv] [options]                (wear --help)
       vek1-cli perf   [--notches OFFSETS] [--speed RPM,...] [--pressure PSI]
                       [--format json|csv|text] [options]           (perf --help)
       vek1-cli render main|sine|oval|steam|port --out FILE.png|svg|pdf [options]
                                                                    (render --help)
       vek1-cli render main --out FILE.dxf [options]                (render --help)
       vek1-cli report --out FILE.pdf [--notches ...] [--paper a4|letter] [--dxf FILE]
                       [options]                                    (report --help)
       vek1-cli help | --help

Solves the valve gear from the command line, starting from the factory dimensions or from
a saved dimension set. The commands:

pose   prints one JSON object for one driver angle: H and V (the 27 pivot points),
       ReverseArmAngle, ValveLeverAngle (radians), PistonPos (0..640), FrontSteamOpen,
       FrontExhOpen, RearSteamOpen, RearExhOpen, every port constant, Centre (the mid-gear
       reverse-arm position) and Error (true when the linkage could not close and the
       solver substituted a nearby value).
sweep  prints a table: one row per driver angle A, A+S, A+2S, ... while the angle is <= B;
       with --revarm-sweep, one row per reverse-arm offset FROM, FROM+STEP, ... <= TO from
       the centre, all at the driver angle --angle. Each row has the quantities of pose, in
       named fields: DriverAngle, ReverseArmPos, then H and V of CrankPin (point 2),
       Crosshead (3), ValveStemJoint (4), LinkPivot (6), ValveLeverTop (7), DieBlock (8),
       CouplerPoint (9), MainRodHanger (10), CouplerLowerEnd (11), AnchorLinkPivot (13),
       LinkCentre (14) and ReverseArmEnd (18), then ReverseArmAngle, ValveLeverAngle,
       PistonPos, the four openings, every port constant, Centre and Error (true or false).
       CSV (the default): a header line, then one line per row, the pivots as NAME_H and
       NAME_V columns. JSON: {"Rows": [{"DriverAngle": .., "CrankPin": {"H": .., "V": ..},
       ..., "Error": false}, ...]}, a value that is not a number as null. Point 1 is the
       fixed origin and points 5 and 12 are copies of 6 and 13; pose lists every point.
events prints the valve events of each notch of the reverse arm (events --help).
tune   searches for the dimensions that bring the valve events nearest to the goals
       (tune --help).
sensitivity prints how much each dimension moves each valve event at each notch
       (sensitivity --help).
wear   prints what the play in the pin joints does to the valve events at each notch
       (wear --help).
perf   prints the engine's indicator-card figures, power, tractive effort and steam at
       each notch and speed (perf --help).
report writes the design report as a PDF, and the gear as DXF with --dxf (report --help).
render draws one picture without a window or display: main (the mechanism view at
       --angle, default 0), sine, oval, steam (the diagrams over the diagram positions) or
       port (the port events diagram, --graph F, R or B for forward, reverse or both,
       default F). The format follows the extension of --out: .png, .svg or .pdf.

options:
  --angle DEG            driver angle in degrees (pose, render main, --revarm-sweep)
  --from A --to B        first and last driver angle in degrees (sweep)
  --step S               driver-angle step in degrees, > 0 (sweep)
  --revarm-sweep FROM:TO:STEP
                         sweep the reverse arm over offsets from the centre (sweep)
  --format csv|json      the sweep's table as CSV (default) or JSON (sweep)
  --revarm-offset X      reverse-arm position as an offset from the mid-gear centre
                         (default 0, i.e. mid gear)
  --revarm H             reverse-arm position as an absolute H (not with --revarm-offset)
  --file PATH            start from the dimension set saved in PATH (a .dve file written
                         by vek1) instead of the factory set
  --set ID=VALUE         set a dimension before solving; may be repeated. ID is 1..18
                         (frame, 17 and 18 the normal and largest reverse-arm offsets)
                         or 101..122 (cylinder). Points 5/6, 12/13 and V[4] follow as in
                         the dimension dialogs; the centre is recomputed afterwards.
  --out FILE             the picture file to write (render)
  --positions OFFSETS    the diagram positions as up to nine offsets from the centre,
                         comma-separated, e.g. 0,1.6,-1.6 (render sine, oval, steam;
                         default: the saved set's positions, or centre, +Norm, -Norm)
  --graph F|R|B          the port events graph (render port)
  --help                 show this text

Angles may be any size: they are reduced to 0 <= angle < 360 before the gear is solved
(1e9 is the pose at 280), and the reduced angle is what DriverAngle shows. --set 17 and
--set 18 follow the rule of the frame dialog, in the order given: a normal offset (17)
above the largest (18) is held at the largest, a largest below the normal is raised to
it, with a one-line note on stderr.

Numbers are printed with 9 significant digits, so that each single-precision value reads
back exactly.

exit codes:
  0  the command ran and all of its output was written
  1  tune only: no set within the bounds closes with the margin and keeps the limits
     (nothing is saved)
  2  usage error: the command line is wrong (one line on stderr; with no command at
     all, this text)
  3  the file given with --file cannot be read or is not a dimension file
  4  the output could not be written (a full disk, a closed pipe or stdout, or the
     picture of render)
)";

struct Options {
  std::string command;
  std::optional<double> angle, from, to, step, revarmOffset, revarm;
  // --revarm-sweep FROM:TO:STEP, offsets from the centre
  std::optional<double> sweepFrom, sweepTo, sweepStep;
  std::vector<std::pair<int, float>> sets;
  std::string file;
  cli::TableFormat format = cli::TableFormat::Csv;  // sweep
};

using cli::numberArg;
using cli::setArg;
using cli::UsageError;

void checkRowCount(double from, double to, double step, const std::string& what) {
  if (!(step > 0)) throw UsageError{what + " must be greater than 0"};
  // A sweep is meant to be read; refuse one that would print without end.
  constexpr double kMaxRows = 10'000'000;
  if ((to - from) / step > kMaxRows) throw UsageError{"sweep would print more than 10000000 rows"};
}

// FROM:TO:STEP
void revarmSweepArg(Options& o, const std::string& text) {
  const size_t first = text.find(':');
  const size_t second = first == std::string::npos ? first : text.find(':', first + 1);
  if (second == std::string::npos || text.find(':', second + 1) != std::string::npos)
    throw UsageError{"--revarm-sweep expects FROM:TO:STEP, got '" + text + "'"};
  o.sweepFrom = numberArg("--revarm-sweep FROM", text.substr(0, first));
  o.sweepTo = numberArg("--revarm-sweep TO", text.substr(first + 1, second - first - 1));
  o.sweepStep = numberArg("--revarm-sweep STEP", text.substr(second + 1));
}

Options parse(const std::vector<std::string>& args) {
  Options o;
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    o.command = "help";
    return o;
  }
  o.command = args[0];
  if (o.command != "pose" && o.command != "sweep")
    throw UsageError{"unknown command '" + o.command +
                     "' (use pose, sweep, events, sensitivity, wear, perf, tune, render or report); try --help"};
  cli::ArgReader line(args, 1);
  while (line.more()) {
    const std::string option = line.option();
    if (option == "--help" || option == "-h") {
      o.command = "help";
      return o;
    } else if (option == "--angle") {
      o.angle = numberArg(option, line.value(option));
    } else if (option == "--from" && o.command == "sweep") {
      o.from = numberArg(option, line.value(option));
    } else if (option == "--to" && o.command == "sweep") {
      o.to = numberArg(option, line.value(option));
    } else if (option == "--step" && o.command == "sweep") {
      o.step = numberArg(option, line.value(option));
    } else if (option == "--revarm-sweep" && o.command == "sweep") {
      revarmSweepArg(o, line.value(option));
    } else if (option == "--format" && o.command == "sweep") {
      const std::string& format = line.value(option);
      if (format != "csv" && format != "json")
        throw UsageError{"--format is csv or json, not '" + format + "'"};
      o.format = format == "json" ? cli::TableFormat::Json : cli::TableFormat::Csv;
    } else if (option == "--revarm-offset") {
      o.revarmOffset = numberArg(option, line.value(option));
    } else if (option == "--revarm") {
      o.revarm = numberArg(option, line.value(option));
    } else if (option == "--file") {
      o.file = line.value(option);
    } else if (option == "--set") {
      o.sets.push_back(setArg(line.value(option)));
    } else {
      throw UsageError{"unknown option '" + option + "' for " + o.command + "; try --help"};
    }
  }
  if (o.revarm && o.revarmOffset) throw UsageError{"give --revarm or --revarm-offset, not both"};
  if (o.command == "pose" && !o.angle) throw UsageError{"pose needs --angle"};
  if (o.command == "sweep" && o.sweepStep) {
    if (o.revarm || o.revarmOffset)
      throw UsageError{
          "--revarm-sweep places the reverse arm itself: leave out --revarm and --revarm-offset"};
    if (o.from || o.to || o.step)
      throw UsageError{"--revarm-sweep is at one angle: give --angle, not --from, --to or --step"};
    if (!o.angle) throw UsageError{"--revarm-sweep needs --angle"};
    checkRowCount(*o.sweepFrom, *o.sweepTo, *o.sweepStep, "--revarm-sweep STEP");
  } else if (o.command == "sweep") {
    if (o.angle)
      throw UsageError{
          "--angle is for pose and --revarm-sweep; a sweep over angles takes --from, --to and "
          "--step"};
    if (!o.from || !o.to || !o.step) throw UsageError{"sweep needs --from, --to and --step"};
    checkRowCount(*o.from, *o.to, *o.step, "--step");
  }
  return o;
}

// The dimension set the options describe, with the reverse arm placed.
Workspace prepare(const Options& o, std::ostream& notes) {
  return cli::prepareWorkspace({o.file, o.sets, o.revarm, o.revarmOffset}, notes);
}

// A driver angle of any size as the model takes it, 0 <= angle < 360. The reduction is done in
// double: a single holds 1e9 only to 64 degrees, so the model's own wrap-around cannot recover it.
float reducedAngle(double degrees) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0) r += 360.0;
  const float single = toSingle(r);
  return single >= 360.0f ? 0.0f : single;
}

// Solves the pose at `angle` into `ws`; true when the linkage or the valve model could not close.
bool solveAt(Workspace& ws, double angle) {
  ws.DriverAngle = reducedAngle(angle);
  const GearDimensions gear = gearOf(ws);
  const GearPose pose = solveGear(gear, ws.DriverAngle, ws.ReverseArmPos);
  const ValveState valve = valveStateOf(gear, pose);
  applyPose(ws, pose, valve);
  return !pose.Closed || !valve.Closed;
}

void jsonNumber(std::ostream& out, float x) {
  if (std::isfinite(x))
    out << singleText(x);
  else
    out << "null";
}

void jsonArray(std::ostream& out, const std::array<float, kPivotCount>& a) {
  out << '[';
  for (int i = 0; i < kPivotCount; ++i) {
    if (i) out << ", ";
    jsonNumber(out, a[i]);
  }
  out << ']';
}

void pose(const Options& o, std::ostream& out, std::ostream& notes) {
  Workspace ws = prepare(o, notes);
  const bool error = solveAt(ws, *o.angle);
  out << "{\n  \"H\": ";
  jsonArray(out, ws.Pivots.H);
  out << ",\n  \"V\": ";
  jsonArray(out, ws.Pivots.V);
  for (const auto& [name, value] : cli::poseFields(ws)) {
    out << ",\n  \"" << name << "\": ";
    jsonNumber(out, value);
  }
  out << ",\n  \"Error\": " << (error ? "true" : "false") << "\n}\n";
}

void sweep(const Options& o, std::ostream& out, std::ostream& notes) {
  Workspace ws = prepare(o, notes);
  cli::SweepWriter table(out, o.format, ws);
  // Steps are FROM + k*STEP rather than a running sum, so long sweeps do not drift. A reader
  // that has gone away will not come back: stop instead of solving on for nothing.
  if (o.sweepStep) {
    const double centre = ws.RevArmPositions[0];
    for (long long k = 0;; ++k) {
      const double offset = *o.sweepFrom + static_cast<double>(k) * *o.sweepStep;
      if (!(offset <= *o.sweepTo) || !out) break;
      ws.ReverseArmPos = toSingle(centre + offset);
      const bool error = solveAt(ws, *o.angle);
      table.row(ws, error);
    }
    table.finish();
    return;
  }
  for (long long k = 0;; ++k) {
    const double angle = *o.from + static_cast<double>(k) * *o.step;
    if (!(angle <= *o.to) || !out) break;
    const bool error = solveAt(ws, angle);
    table.row(ws, error);
  }
  table.finish();
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  errno = 0;
  // No command at all is a usage error, but one that the whole usage answers best: it is what
  // someone types to find out what the tool does.
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  if (args[0] == "render") {
    const int code = runRender(args, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "events") {
    const int code = runEventsCommand({args.begin() + 1, args.end()}, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "report") {
    const int code = runReportCommand({args.begin() + 1, args.end()}, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "sensitivity") {
    const int code = runSensitivityCommand({args.begin() + 1, args.end()}, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "perf") {
    const int code = runPerfCommand({args.begin() + 1, args.end()}, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "wear") {
    const int code = runWearCommand({args.begin() + 1, args.end()}, out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  if (args[0] == "tune") {
    const int code = runTuneCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
    return code == kExitOk ? finishCliOutput(out, err) : code;
  }
  return cli::runReportingErrors(err, [&]() -> int {
    const Options o = parse(args);
    if (o.command == "help")
      out << kUsage;
    else if (o.command == "pose")
      pose(o, out, err);
    else
      sweep(o, out, err);
    return finishCliOutput(out, err);
  });
}

}  // namespace vek1
