#pragma once
// The valve events table as text for scripts and spreadsheets: JSON (nested as the table is) and
// CSV (one line per notch and cylinder end, the column names those of the JSON keys joined by
// a dot). An event that does not happen is null in JSON and an empty field in CSV.

#include <string>

#include "valve_events.h"

namespace vek1 {

std::string valveEventsJson(const ValveEventsTable& table);
std::string valveEventsCsv(const ValveEventsTable& table);

// Decimals written: crank angles and stroke percentages are found to 0.001 degree, lengths carry
// the precision of the stored singles.
constexpr int kAngleDecimals = 4;
constexpr int kLengthDecimals = 6;

}  // namespace vek1
