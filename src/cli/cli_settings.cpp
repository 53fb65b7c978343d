#include "cli_settings.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#include "dimension_edit.h"
#include "dimensions.h"
#include "exit_codes.h"

namespace vek1 {

void applyCliSettings(Workspace& ws, const std::vector<std::pair<int, float>>& sets,
                      std::ostream& notes) {
  for (const auto& [id, value] : sets) {
    if (id == dim::RevArmToCentNorm) {
      if (SetRevArmNorm(ws, value))
        notes << "vek1-cli: --set 17: held at the largest offset (18) "
              << DimensionFieldText(ws.Frame[dim::RevArmToCentMax]) << '\n';
    } else if (id == dim::RevArmToCentMax) {
      if (SetRevArmMax(ws, value))
        notes << "vek1-cli: --set 18: raised to the normal offset (17) "
              << DimensionFieldText(ws.Frame[dim::RevArmToCentNorm]) << '\n';
    } else {
      setDimension(ws, id, value);
    }
  }
}

int finishCliOutput(std::ostream& out, std::ostream& err) {
  out.flush();
  if (out) return kExitOk;
  // errno still holds the cause the failed write or flush left, when the stream sits on a file.
  const int cause = errno;
  err << "vek1-cli: cannot write the output"
      << (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string()) << '\n';
  return kExitWrite;
}

}  // namespace vek1
