#include "cli_common.h"

#include "cli_settings.h"

#include <cctype>
#include <cmath>
#include <ostream>

#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "valve_events.h"

namespace vek1::cli {

namespace {
constexpr double kLargestSingle = 3.4028234663852886e38;
// Identifiers are small whole numbers; anything outside this range is refused before it is
// turned into an int.
constexpr double kLargestIdText = 1000.0;
}  // namespace

double numberArg(const std::string& option, const std::string& text) {
  const std::optional<double> value = parseNumberStrict(text);
  if (!value || std::fabs(*value) > kLargestSingle)
    throw UsageError{"bad number for " + option + ": '" + text + "'"};
  return *value;
}

int idArg(const std::string& text) {
  const std::optional<double> id = parseNumberStrict(text);
  if (!id || !(std::fabs(*id) <= kLargestIdText) || *id != std::floor(*id) ||
      !isDimensionId(static_cast<int>(*id)) || text.find_first_of(".eE") != std::string::npos)
    throw UsageError{"unknown dimension id '" + text + "' (use 1..18 or 101..122)"};
  return static_cast<int>(*id);
}

std::pair<int, float> setArg(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) throw UsageError{"--set expects ID=VALUE, got '" + text + "'"};
  const std::string idText = text.substr(0, eq);
  const int id = idArg(idText);
  const double value = numberArg("--set " + idText, text.substr(eq + 1));
  return {id, static_cast<float>(value)};
}

std::optional<std::vector<double>> notchesArg(const std::string& option, const std::string& text,
                                              size_t most) {
  if (text == "default") return std::nullopt;
  return numberList(option, text, most);
}

void requireReachable(const GearSet& ws, const std::vector<double>& notches) {
  const OffsetRange reach = ReachableOffsets(ws);
  for (double x : notches)
    if (!reach.contains(x))
      throw UsageError{"notch " + fixedText(x, 0, 3) +
                       " is beyond the reverse arm's reach: it reaches offsets " +
                       fixedText(reach.Lowest, 0, 3) + " to " + fixedText(reach.Highest, 0, 3) +
                       " from the mid-gear centre"};
}

std::vector<double> numberList(const std::string& option, const std::string& text, size_t most) {
  std::vector<double> numbers;
  size_t start = 0;
  while (true) {
    const size_t comma = text.find(',', start);
    numbers.push_back(numberArg(option, text.substr(start, comma - start)));
    if (numbers.size() > most)
      throw UsageError{option + " takes at most " + std::to_string(most) + " values"};
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return numbers;
}

Workspace loadWorkspace(const std::string& file, const std::vector<std::pair<int, float>>& sets,
                        std::ostream& notes, Workspace* asRead) {
  Workspace ws;
  StartUp(ws);
  if (!file.empty()) {
    const DimensionFileResult loaded = ReadDimensionFile(file, ws);
    if (!loaded.ok) throw InputError{loaded.message};
  }
  if (asRead) *asRead = ws;
  applyCliSettings(ws, sets, notes);
  ComputeReverseArmCentre(ws);
  SetRevArmScrollRange(ws);
  return ws;
}

namespace {
bool endsWithOvk(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".ovk";
}
}  // namespace

Workspace loadReference(const std::string& path) {
  if (path.empty()) throw UsageError{"--compare needs the path of a saved set"};
  Workspace ws;
  StartUp(ws);
  const DimensionFileResult read =
      endsWithOvk(path) ? ReadDosDimensionFile(path, ws) : ReadDimensionFile(path, ws);
  if (!read.ok) throw InputError{"--compare: " + read.message};
  ws.DimSetName = DimSetNameFromPath(path);
  return ws;
}

Workspace prepareWorkspace(const SetOptions& o, std::ostream& notes, Workspace* asRead) {
  Workspace ws = loadWorkspace(o.file, o.sets, notes, asRead);
  if (o.revarm)
    ws.ReverseArmPos = static_cast<float>(*o.revarm);
  else
    ws.ReverseArmPos =
        toSingle(static_cast<double>(ws.RevArmPositions[0]) + o.revarmOffset.value_or(0.0));
  return ws;
}

int runReportingErrors(std::ostream& err, const std::function<int()>& body) {
  try {
    return body();
  } catch (const UsageError& e) {
    err << "vek1-cli: " << e.message << '\n';
    return kExitUsage;
  } catch (const InputError& e) {
    err << "vek1-cli: " << e.message << '\n';
    return kExitInput;
  }
}

}  // namespace vek1::cli
