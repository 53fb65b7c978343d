#pragma once
// The valve events table as text for scripts and spreadsheets: JSON (nested as the table is) and
// CSV (one line per notch and cylinder end, the column names those of the JSON keys joined by
// a dot). An event that does not happen is null in JSON and an empty field in CSV. Each notch
// carries the driver-angle ranges where the gear locks: LockRanges, pairs [FROM, TO] in JSON and
// the window's text "FROM-TO FROM-TO" in CSV.

#include <string>
#include <vector>

#include "valve_events.h"

namespace vek1 {

std::string valveEventsJson(const ValveEventsTable& table);
std::string valveEventsCsv(const ValveEventsTable& table);

// The ranges of driver angle where the linkage cannot close, as the Valve Events window shows
// them after "locks": "18.2-126.5 200.0-210.0" (one decimal, blank-separated), "" for none. A
// range through 0 has the larger angle first.
std::string lockRangesText(const std::vector<AngleRange>& ranges);

// Decimals written: crank angles and stroke percentages are found to 0.001 degree, lengths carry
// the precision of the stored singles.
constexpr int kAngleDecimals = 4;
constexpr int kLengthDecimals = 6;

}  // namespace vek1
