#pragma once
// The valve events table as text for scripts and spreadsheets: JSON (nested as the table is) and
// CSV (one line per notch and cylinder end, the column names those of the JSON keys joined by
// a dot). An event that does not happen is null in JSON and an empty field in CSV; the edge's
// state (cycles, never opens, always open) says why. Ranges (the driver angles where the gear
// locks, LockRanges; an end's blow-through) are pairs [FROM, TO] in JSON and the window's text
// "FROM-TO FROM-TO" in CSV.

#include <string>
#include <vector>

#include "valve_events.h"

namespace vek1 {

std::string valveEventsJson(const ValveEventsTable& table);
std::string valveEventsCsv(const ValveEventsTable& table);

// Ranges of angle as the Valve Events window shows them (the lock ranges after "locks", the
// blow-through of an end): "18.2-126.5 200.0-210.0" (one decimal, blank-separated), "" for none.
// A range through 0 has the larger angle first.
std::string rangesText(const std::vector<AngleRange>& ranges);

// Decimals written: crank angles and stroke percentages are found to 0.001 degree, lengths carry
// the precision of the stored singles.
constexpr int kAngleDecimals = 4;
constexpr int kLengthDecimals = 6;

}  // namespace vek1
