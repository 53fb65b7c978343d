#pragma once
// vek1-cli sensitivity: how much each dimension moves each valve event at each notch.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// The arguments after "sensitivity". Returns an exit code of exit_codes.h, with a one-line
// message on err for a failure; the caller checks the output stream.
int runSensitivityCommand(const std::vector<std::string>& args, std::ostream& out,
                          std::ostream& err);

extern const char* const kSensitivityUsage;

}  // namespace vek1
