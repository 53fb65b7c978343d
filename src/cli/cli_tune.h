#pragma once
// vek1-cli tune: the tuning search from the command line.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// Runs `tune` with its options (the command word already taken off); returns the exit code.
int runTuneCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vek1
