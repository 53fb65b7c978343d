#include "cli.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "cli_events.h"
#include "cli_tune.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "solver.h"
#include "valve.h"
#include "workspace.h"

namespace vek1 {

namespace {

constexpr const char* kUsage =
    R"(usage: vek1-cli pose  --angle DEG [options]
       vek1-cli sweep --from A --to B --step S [options]
       vek1-cli events [--notches OFFSETS] [--format json|csv] [options]  (events --help)
       vek1-cli tune [options]         (vek1-cli tune --help for its options)
       vek1-cli --help

Solves the valve gear from the command line, starting from the factory dimensions or from
a saved dimension set.

pose   prints one JSON object for one driver angle: H and V (the 27 pivot points),
       ReverseArmAngle, ValveLeverAngle (radians), PistonPos (0..640), FrontSteamOpen,
       FrontExhOpen, RearSteamOpen, RearExhOpen, every port constant, Centre (the mid-gear
       reverse-arm position) and Error (true when the linkage could not close and the
       solver substituted a nearby value).
sweep  prints CSV: one header line, then one line per driver angle A, A+S, A+2S, ... while
       the angle is <= B. Columns: DriverAngle, ReverseArmPos, H[0]..H[26], V[0]..V[26],
       ReverseArmAngle, ValveLeverAngle, PistonPos, FrontSteamOpen, FrontExhOpen,
       RearSteamOpen, RearExhOpen, ValveDisplacement, Error (0 or 1).

options:
  --angle DEG            driver angle in degrees (pose)
  --from A --to B        first and last driver angle in degrees (sweep)
  --step S               driver-angle step in degrees, > 0 (sweep)
  --revarm-offset X      reverse-arm position as an offset from the mid-gear centre
                         (default 0, i.e. mid gear)
  --revarm H             reverse-arm position as an absolute H (not with --revarm-offset)
  --file PATH            start from the dimension set saved in PATH (a .dve file written
                         by vek1) instead of the factory set
  --set ID=VALUE         set a dimension before solving; may be repeated. ID is 1..18
                         (frame, 17 and 18 the normal and largest reverse-arm offsets)
                         or 101..122 (cylinder). Points 5/6, 12/13 and V[4] follow as in
                         the dimension dialogs; the centre is recomputed afterwards.
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
  2  usage error: the command line is wrong (one line on stderr)
  3  the file given with --file cannot be read or is not a dimension file
  4  the output could not be written (a full disk, a closed pipe or stdout)
)";

struct Options {
  std::string command;
  std::optional<double> angle, from, to, step, revarmOffset, revarm;
  std::vector<std::pair<int, float>> sets;
  std::string file;
};

struct UsageError {
  std::string message;
};
struct InputError {
  std::string message;
};

double numberArg(const std::string& option, const std::string& text) {
  const std::optional<double> value = parseNumberStrict(text);
  if (!value || std::fabs(*value) > 3.4028234663852886e38)
    throw UsageError{"bad number for " + option + ": '" + text + "'"};
  return *value;
}

std::pair<int, float> setArg(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) throw UsageError{"--set expects ID=VALUE, got '" + text + "'"};
  const std::string idText = text.substr(0, eq);
  const std::optional<double> id = parseNumberStrict(idText);
  // The range is checked before the conversion to int, which is undefined beyond it.
  constexpr double kLargestId = 1000;
  if (!id || *id != std::floor(*id) || std::fabs(*id) > kLargestId ||
      !isDimensionId(static_cast<int>(*id)) || idText.find_first_of(".eE") != std::string::npos)
    throw UsageError{"unknown dimension id '" + idText + "' (use 1..18 or 101..122)"};
  const double value = numberArg("--set " + idText, text.substr(eq + 1));
  return {static_cast<int>(*id), static_cast<float>(value)};
}

Options parse(const std::vector<std::string>& args) {
  Options o;
  if (args.empty()) throw UsageError{"missing command (pose or sweep); try --help"};
  size_t i = 0;
  if (args[0] == "--help" || args[0] == "-h") {
    o.command = "help";
    return o;
  }
  o.command = args[i++];
  if (o.command != "pose" && o.command != "sweep")
    throw UsageError{"unknown command '" + o.command + "' (use pose or sweep); try --help"};
  auto value = [&](const std::string& option) -> const std::string& {
    if (i >= args.size()) throw UsageError{option + " needs a value"};
    return args[i++];
  };
  while (i < args.size()) {
    const std::string option = args[i++];
    if (option == "--help" || option == "-h") {
      o.command = "help";
      return o;
    } else if (option == "--angle" && o.command == "pose") {
      o.angle = numberArg(option, value(option));
    } else if (option == "--from" && o.command == "sweep") {
      o.from = numberArg(option, value(option));
    } else if (option == "--to" && o.command == "sweep") {
      o.to = numberArg(option, value(option));
    } else if (option == "--step" && o.command == "sweep") {
      o.step = numberArg(option, value(option));
    } else if (option == "--revarm-offset") {
      o.revarmOffset = numberArg(option, value(option));
    } else if (option == "--revarm") {
      o.revarm = numberArg(option, value(option));
    } else if (option == "--file") {
      o.file = value(option);
    } else if (option == "--set") {
      o.sets.push_back(setArg(value(option)));
    } else {
      throw UsageError{"unknown option '" + option + "' for " + o.command + "; try --help"};
    }
  }
  if (o.revarm && o.revarmOffset) throw UsageError{"give --revarm or --revarm-offset, not both"};
  if (o.command == "pose" && !o.angle) throw UsageError{"pose needs --angle"};
  if (o.command == "sweep") {
    if (!o.from || !o.to || !o.step) throw UsageError{"sweep needs --from, --to and --step"};
    if (!(*o.step > 0)) throw UsageError{"--step must be greater than 0"};
    // A sweep is meant to be read; refuse one that would print without end.
    constexpr double kMaxRows = 10'000'000;
    if ((*o.to - *o.from) / *o.step > kMaxRows)
      throw UsageError{"sweep would print more than 10000000 rows"};
  }
  return o;
}

// The dimension set the options describe, with the reverse arm placed.
Workspace prepare(const Options& o, std::ostream& notes) {
  Workspace ws;
  StartUp(ws);
  if (!o.file.empty()) {
    const DimensionFileResult loaded = ReadDimensionFile(o.file, ws);
    if (!loaded.ok) throw InputError{loaded.message};
  }
  for (const auto& [id, value] : o.sets) {
    // The two reverse-arm limits keep Norm <= Max as the frame dialog does.
    if (id == dim::RevArmToCentNorm && SetRevArmNorm(ws, value)) {
      notes << "vek1-cli: --set 17: held at the largest offset (18) "
            << DimensionFieldText(ws.Frame[dim::RevArmToCentMax]) << '\n';
    } else if (id == dim::RevArmToCentMax && SetRevArmMax(ws, value)) {
      notes << "vek1-cli: --set 18: raised to the normal offset (17) "
            << DimensionFieldText(ws.Frame[dim::RevArmToCentNorm]) << '\n';
    } else if (id != dim::RevArmToCentNorm && id != dim::RevArmToCentMax) {
      setDimension(ws, id, value);
    }
  }
  ComputeReverseArmCentre(ws);
  SetRevArmScrollRange(ws);
  if (o.revarm)
    ws.ReverseArmPos = static_cast<float>(*o.revarm);
  else
    ws.ReverseArmPos = toSingle(static_cast<double>(ws.RevArmPositions[0]) + o.revarmOffset.value_or(0.0));
  return ws;
}

// A driver angle of any size as the model takes it, 0 <= angle < 360. The reduction is done in
// double: a single holds 1e9 only to 64 degrees, so the model's own wrap-around cannot recover it.
float reducedAngle(double degrees) {
  double r = std::fmod(degrees, 360.0);
  if (r < 0) r += 360.0;
  const float single = toSingle(r);
  return single >= 360.0f ? 0.0f : single;
}

// Solves the pose at `angle`; true when the solver or the valve model raised the error latch.
bool solveAt(Workspace& ws, double angle) {
  ws.DriverAngle = reducedAngle(angle);
  ws.ErrorFlag = false;
  SolveLinkage(ws);
  ComputeValveState(ws);
  return ws.ErrorFlag;
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

std::vector<std::pair<const char*, float>> portFields(const Workspace& ws) {
  const PortConstants& p = ws.Ports;
  return {{"FrontSteamEdge", p.FrontSteamEdge}, {"FrontPortFull", p.FrontPortFull},
          {"FrontExhEdge", p.FrontExhEdge},     {"RearSteamEdge", p.RearSteamEdge},
          {"RearPortFull", p.RearPortFull},     {"RearExhEdge", p.RearExhEdge},
          {"ValveDisplacement", p.ValveDisplacement},
          {"RearOpenJoint", p.RearOpenJoint},   {"FrontOpenJoint", p.FrontOpenJoint},
          {"FrontSteamLap", p.FrontSteamLap},   {"RearSteamLap", p.RearSteamLap},
          {"FrontExhLap", p.FrontExhLap},       {"RearExhLap", p.RearExhLap}};
}

void pose(const Options& o, std::ostream& out, std::ostream& notes) {
  Workspace ws = prepare(o, notes);
  const bool error = solveAt(ws, *o.angle);
  out << "{\n  \"H\": ";
  jsonArray(out, ws.Pivots.H);
  out << ",\n  \"V\": ";
  jsonArray(out, ws.Pivots.V);
  const std::pair<const char*, float> state[] = {
      {"DriverAngle", ws.DriverAngle},       {"ReverseArmPos", ws.ReverseArmPos},
      {"ReverseArmAngle", ws.ReverseArmAngle}, {"ValveLeverAngle", ws.ValveLeverAngle},
      {"PistonPos", ws.PistonPos},           {"FrontSteamOpen", ws.FrontSteamOpen},
      {"FrontExhOpen", ws.FrontExhOpen},     {"RearSteamOpen", ws.RearSteamOpen},
      {"RearExhOpen", ws.RearExhOpen}};
  for (const auto& [name, value] : state) {
    out << ",\n  \"" << name << "\": ";
    jsonNumber(out, value);
  }
  for (const auto& [name, value] : portFields(ws)) {
    out << ",\n  \"" << name << "\": ";
    jsonNumber(out, value);
  }
  out << ",\n  \"Centre\": ";
  jsonNumber(out, ws.RevArmPositions[0]);
  out << ",\n  \"Error\": " << (error ? "true" : "false") << "\n}\n";
}

void csvNumber(std::ostream& out, float x) { out << ',' << singleText(x); }

void sweep(const Options& o, std::ostream& out, std::ostream& notes) {
  Workspace ws = prepare(o, notes);
  out << "DriverAngle,ReverseArmPos";
  for (int i = 0; i < kPivotCount; ++i) out << ",H[" << i << ']';
  for (int i = 0; i < kPivotCount; ++i) out << ",V[" << i << ']';
  out << ",ReverseArmAngle,ValveLeverAngle,PistonPos,FrontSteamOpen,FrontExhOpen,RearSteamOpen,"
         "RearExhOpen,ValveDisplacement,Error\n";
  // Angles are A + k*S rather than a running sum, so long sweeps do not drift.
  for (long long k = 0;; ++k) {
    const double angle = *o.from + static_cast<double>(k) * *o.step;
    if (!(angle <= *o.to)) break;
    // A reader that has gone away will not come back: stop instead of solving on for nothing.
    if (!out) break;
    const bool error = solveAt(ws, angle);
    out << singleText(ws.DriverAngle);
    csvNumber(out, ws.ReverseArmPos);
    for (float h : ws.Pivots.H) csvNumber(out, h);
    for (float v : ws.Pivots.V) csvNumber(out, v);
    for (float x : {ws.ReverseArmAngle, ws.ValveLeverAngle, ws.PistonPos, ws.FrontSteamOpen,
                    ws.FrontExhOpen, ws.RearSteamOpen, ws.RearExhOpen,
                    ws.Ports.ValveDisplacement})
      csvNumber(out, x);
    out << ',' << (error ? 1 : 0) << '\n';
  }
}

}  // namespace

int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (!args.empty() && args[0] == "events")
    return runEventsCommand({args.begin() + 1, args.end()}, out, err);
  if (!args.empty() && args[0] == "tune")
    return runTuneCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err);
  try {
    const Options o = parse(args);
    errno = 0;
    if (o.command == "help")
      out << kUsage;
    else if (o.command == "pose")
      pose(o, out, err);
    else
      sweep(o, out, err);
    out.flush();
    if (!out) {
      const int cause = errno;
      err << "vek1-cli: cannot write the output"
          << (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string()) << '\n';
      return kExitWrite;
    }
    return kExitOk;
  } catch (const UsageError& e) {
    err << "vek1-cli: " << e.message << '\n';
    return kExitUsage;
  } catch (const InputError& e) {
    err << "vek1-cli: " << e.message << '\n';
    return kExitInput;
  }
}

}  // namespace vek1
