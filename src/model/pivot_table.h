#pragma once
// The pivot data table: the vertical and horizontal coordinates of the six pivots picked in the
// pivot-data display, for one full turn of the driver at the current reverse-arm position.

#include <string>
#include <vector>

#include "workspace.h"

namespace vek1 {

// The step is held to [kMinTableStep, kMaxTableStep] for the build (NaN counts as too small), so
// a bad step can neither loop forever nor make a table of one line per float ulp.
constexpr float kMinTableStep = 0.01f;
constexpr float kMaxTableStep = 45.0f;

// Appends exactly fixedText(x, width, decimals) to `out`, without a string of its own per number
// and quickly for the usual 0..3 decimals: the smallest step's table formats nearly half a
// million numbers.
void appendFixedText(std::string& out, float x, int width, int decimals);

// Builds the whole table: four header lines, then one line per driver angle 0, step, 2 x step,
// ... while the angle <= 360, each solved by the pure solver at the set's reverse-arm position, so
// the running gear's pose, angles and error latch are left as they were. Lines are joined with
// "\n" (no trailing newline). The header shows the step actually used.
std::string BuildPivotDataTable(const Workspace& ws, const std::string& date,
                                const std::string& time);

// The pivots chosen in the pivot-data rows, in row order: each row in use whose pivot has been
// picked (a row clicked but not yet completed still holds entry 0, the origin entry, and a value
// no entry has counts as none, as in the live display). A pivot chosen in two rows is listed
// once, at its first row: both columns would hold the same numbers under the same name.
std::vector<int> ChosenPivots(const Workspace& ws);

// The same turn as CSV for a spreadsheet: a header DriverAngle,NAME_H,NAME_V,... with each
// chosen pivot's name (pivot_names.h) in the order of ChosenPivots, then one line per angle with
// every value at full single precision (it reads back exactly). Rows not chosen have no columns.
// Lines end in "\n". The working set is left as it was, as for the table.
std::string BuildPivotDataCsv(const Workspace& ws);

}  // namespace vek1
