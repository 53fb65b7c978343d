#pragma once
// What every fuzz target asks of a working set that was accepted: it runs. The gear is solved at
// a handful of driver angles and reverse-arm positions, as the animation and the diagrams do, and
// every pose, every port constant and the valve state must be finite. A failure aborts, which
// libFuzzer reports with the input that caused it.

#include "workspace.h"

namespace vek1::fuzz {

// Aborts with a line on stderr naming what was not finite.
void checkGearRuns(Workspace ws);

// Aborts unless the two sets encode to the same file, byte for byte.
void checkSameFile(const Workspace& a, const Workspace& b, const char* what);

}  // namespace vek1::fuzz
