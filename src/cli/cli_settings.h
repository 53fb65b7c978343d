#pragma once
// What every vek1-cli command does with its --set options and with its output stream.

#include <iosfwd>
#include <utility>
#include <vector>

#include "workspace.h"

namespace vek1 {

// Applies the --set options in the order given, as the dimension dialogs would store them: the
// two reverse-arm limits keep Norm within Max (a Norm above Max is held at Max, a Max below Norm
// is raised to it), with a one-line note on `notes` for each value held.
void applyCliSettings(Workspace& ws, const std::vector<std::pair<int, float>>& sets,
                      std::ostream& notes);

// Flushes `out` and tells whether everything written reached it; when not, one line on `err`
// and the write-failure exit code, else the success code.
int finishCliOutput(std::ostream& out, std::ostream& err);

}  // namespace vek1
