#pragma once
// What the Valve Events window shows, as plain text: one row per notch, front and rear side by
// side, with the cells where the two ends differ by more than the user's tolerance marked, and
// the same table as tab-separated text for the clipboard. Pure C++, so it is tested without a
// window.

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "valve_events.h"
#include "workspace.h"

namespace vek1 {

// Front and rear differences beyond these are highlighted.
struct EventTolerance {
  double StrokePercent = 1.0;  // events, in percent of the stroke
  double Lead = 0.005;         // lead, in length units
};

struct EventsCell {
  std::string text;
  std::string tip;       // the fuller story: crank angle and stroke, or why there is no event
  bool differs = false;  // front and rear differ beyond the tolerance
  bool error = false;    // the linkage could not close somewhere in this notch's turn
  // When comparing with a reference set: a cell of the reference's row, and a difference from
  // the reference beyond the tolerance (or a figure only one of the two sets has).
  bool reference = false;
  bool beyondReference = false;
};

struct EventsTableView {
  std::string laps;  // lapsText of the table
  // Each column's name with its unit, and what it means.
  std::vector<std::string> header;
  std::vector<std::string> headerTips;
  std::vector<std::vector<EventsCell>> rows;
};

EventsTableView buildEventsTable(const ValveEventsTable& table, const EventTolerance& tolerance);

// The laps of the set's valve, fixed for every notch: "steam lap F 0.0795 R 0.1565, exhaust
// lap F 0.0005 R 0.0005"; "" when no notch of the table has a pose.
std::string lapsText(const ValveEventsTable& table);
// How the table's angles and percents are counted, in one line.
extern const char* const kEventsConventionText;

// A header line, then one line per row, cells separated by tabs.
std::string tabSeparated(const EventsTableView& view);

// Everything the table depends on, compared exactly: the dimensions, the fixed pivots they
// place, the mid-gear centre and the set's name. Cheap enough to take ten times a second.
struct WorkingSetFingerprint {
  std::array<float, 19> frame{};
  std::array<float, cyl::kBlockSize> cyl{};
  std::array<float, 12> pivots{};
  float centre = 0.0f;
  std::string name;
};
WorkingSetFingerprint fingerprintOf(const GearSet& ws);
// Bit for bit, so a NaN that arrives by some route does not force a recompute on every poll.
bool sameWorkingSet(const WorkingSetFingerprint& a, const WorkingSetFingerprint& b);

// The notches the user asks for: "default" (or blank) for the default ones, or a comma-separated
// list of offsets. Returns false, leaving `offsets` alone, for text that is neither.
bool parseNotchList(const std::string& text, std::vector<double>& offsets, bool& useDefault);
// The same for a study, which works only where the reverse arm reaches: every offset within
// `reach`, at most `most` of them, and at least one unless "default"; false for anything else.
bool parseReachableNotches(const std::string& text, const OffsetRange& reach, std::size_t most,
                           std::vector<double>& offsets, bool& useDefault);

}  // namespace vek1
