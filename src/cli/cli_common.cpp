#include "cli_common.h"

#include "cli_settings.h"

#include <cmath>
#include <ostream>

#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "numbers.h"

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

std::pair<int, float> setArg(const std::string& text) {
  const size_t eq = text.find('=');
  if (eq == std::string::npos) throw UsageError{"--set expects ID=VALUE, got '" + text + "'"};
  const std::string idText = text.substr(0, eq);
  const std::optional<double> id = parseNumberStrict(idText);
  if (!id || !(std::fabs(*id) <= kLargestIdText) || *id != std::floor(*id) ||
      !isDimensionId(static_cast<int>(*id)) || idText.find_first_of(".eE") != std::string::npos)
    throw UsageError{"unknown dimension id '" + idText + "' (use 1..18 or 101..122)"};
  const double value = numberArg("--set " + idText, text.substr(eq + 1));
  return {static_cast<int>(*id), static_cast<float>(value)};
}

Workspace prepareWorkspace(const SetOptions& o, std::ostream& notes) {
  Workspace ws;
  StartUp(ws);
  if (!o.file.empty()) {
    const DimensionFileResult loaded = ReadDimensionFile(o.file, ws);
    if (!loaded.ok) throw InputError{loaded.message};
  }
  applyCliSettings(ws, o.sets, notes);
  ComputeReverseArmCentre(ws);
  SetRevArmScrollRange(ws);
  if (o.revarm)
    ws.ReverseArmPos = static_cast<float>(*o.revarm);
  else
    ws.ReverseArmPos =
        toSingle(static_cast<double>(ws.RevArmPositions[0]) + o.revarmOffset.value_or(0.0));
  return ws;
}

}  // namespace vek1::cli
