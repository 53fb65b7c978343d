#pragma once
// The valve events table in a QTableWidget, as the Valve Events and Tune Design windows show it:
// the header on two lines (the name, then its unit) with each column's meaning as its tip, the
// cells with their tips and marks, and columns that grow to their texts.

#include "events_table.h"

class QTableWidget;

namespace vek1 {

// Sets the columns' count, names and tips when they differ from the table's.
void setEventsHeader(QTableWidget* table, const EventsTableView& view);
// Fills the rows and cells (creating items as needed), and the header.
void fillEventsTable(QTableWidget* table, const EventsTableView& view);
// Widens each column whose header or any of whose cells would be cut; never narrows one, so
// that columns do not jump about while a dimension is nudged.
void growEventsColumns(QTableWidget* table);

}  // namespace vek1
