#pragma once
// vek1-cli report: the design report of a working set as a PDF, and with --dxf the gear as a
// CAD drawing beside it.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// The arguments after "report". Returns an exit code of exit_codes.h, with a one-line message on
// err for a failure.
int runReportCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kReportUsage;

}  // namespace vek1
