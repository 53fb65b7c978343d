#pragma once
// vek1-cli events: the valve events table of a working set, as JSON or CSV.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// The arguments after "events". Returns the exit code: 0, or 2 after a one-line message on err.
int runEventsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

extern const char* const kEventsUsage;

}  // namespace vek1
