#pragma once
// The valve events table as a picture, for its export and its print: a ruled grid with the
// header in bold, and each cell where front and rear differ beyond the tolerance in red, as the
// window marks them.

#include <string>

#include "canvas.h"
#include "events_table.h"

namespace vek1 {

// The picture's size for a table: columns as wide as their longest text, one line a row.
CanvasSize eventsTablePictureSize(const EventsTableView& view);

// Draws the table with `title` (the set's name) above it, on a white picture of that size.
// The table under the set's name, the valve's laps and how the figures are counted, so that an
// exported table cannot be read another way.
void drawEventsTable(Canvas& canvas, const EventsTableView& view, const std::string& setName);

}  // namespace vek1
