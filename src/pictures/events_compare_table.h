#pragma once
// The events table with a reference set: under each notch's row of the working set, the
// reference's row at the same notch and a row of differences (working minus reference), each
// difference marked where it goes beyond the window's tolerances or where only one set has the
// figure. Pure C++, as the table itself.

#include "events_compare.h"
#include "events_table.h"

namespace vek1 {

// What the first column says on the reference's row and on the differences' row.
inline constexpr const char* kReferenceRowLabel = "ref";
inline constexpr const char* kDifferenceRowLabel = "diff";

EventsTableView buildComparedEventsTable(const ComparedEvents& compared,
                                         const EventTolerance& tolerance);

}  // namespace vek1
