#pragma once
// vek1-cli perf: the engine's indicated performance at each notch and speed.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// The arguments after "perf". Returns an exit code of exit_codes.h, with a one-line message on
// err for a failure; the caller checks the output stream.
int runPerfCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kPerfUsage;

}  // namespace vek1
