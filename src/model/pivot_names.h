#pragma once
// The names of the pivot table's entries in the tables the program writes: `vek1-cli sweep`'s
// columns and the pivot data CSV's. One list, so a pivot has the same column name in both.

#include <array>
#include <string_view>

#include "workspace.h"

namespace vek1 {

// The name of PivotTable entry `index` (0..kPivotCount-1), e.g. "CrankPin" for 2; a reader's
// columns are NAME_H and NAME_V. Entries the gear does not use are "Point15" and the like. An
// index outside the table has no name: "".
std::string_view pivotName(int index);

// The pivots a sweep lists, in its column order: the moving ones and the fixed ones the solver
// reads. Point 1 (the driver centre, the origin) never moves and 5 and 12 are the entered
// copies of 6 and 13, so a sweep leaves them out.
constexpr std::array<int, 12> kSweepPivots = {2, 3, 4, 6, 7, 8, 9, 10, 11, 13, 14, 18};

}  // namespace vek1
