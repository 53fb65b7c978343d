// report in a build without Qt: the report is painted on Qt's PDF writer, so it is refused.
#include <ostream>

#include "cli_report.h"
#include "exit_codes.h"

namespace vek1 {

const char* const kReportUsage = "usage: vek1-cli report (not part of this build: it needs Qt)\n";

int runReportCommand(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
  err << "vek1-cli: report is not part of this build (it needs Qt)\n";
  return kExitUsage;
}

}  // namespace vek1
