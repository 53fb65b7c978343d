#pragma once
// vek1-cli wear: what the play in the gear's pin joints does to the valve events.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// The arguments after "wear". Returns an exit code of exit_codes.h, with a one-line message on
// err for a failure; the caller checks the output stream.
int runWearCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kWearUsage;

}  // namespace vek1
