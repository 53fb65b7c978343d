#pragma once
// vek1-cli render: one picture of the program (the mechanism view or a diagram) drawn by the same
// drawing functions the windows use, written as PNG, SVG or PDF without any window or display.

#include <iosfwd>
#include <string>
#include <vector>

namespace vek1 {

// `args` starts with "render". Writes only the usage to `out`, for --help (after "render" or after
// the picture); one line on `err` for a failure. Returns
// kExitOk, kExitUsage for a bad command line, kExitInput for a set file that cannot be read
// and kExitWrite when the picture cannot be written.
int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vek1
