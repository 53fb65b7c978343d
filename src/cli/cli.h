#pragma once
// vek1-cli: the model from the command line, for users who script their own analysis.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// Runs the command line (without the program name); writes results to `out` and one-line
// messages to `err`. Returns one of the exit codes of exit_codes.h: a usage error, a file that
// cannot be read and output that cannot be written each have their own.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vek1
