#pragma once
// A comparison of two sets' valve events as text for scripts and spreadsheets.
//
// JSON: {"Working": {"Name": NAME, "Events": TABLE}, "Reference": {"Name": NAME, "Events": TABLE},
// "Differences": [NOTCH, ...]}, where TABLE is the events table exactly as `vek1-cli events`
// writes it (valveEventsJson) and each NOTCH is {"Offset": X, "Notch": FIGURES, "Front": FIGURES,
// "Rear": FIGURES}; FIGURES maps each figure's name (events_compare.h) to {"Working": X|null,
// "Reference": X|null, "Difference": X|null}, with "WorkingMissing" or "ReferenceMissing" saying
// why a null figure is missing, and "Shift" (percent of the stroke the event moved) for events.
//
// CSV: one line per notch, end and figure:
//   Offset,End,Figure,Working,Reference,Difference,Shift,Note
// End is Notch, Front or Rear; a missing figure is an empty field and the note says which set
// lacks it and why ("reference: never opens").

#include <string>

#include "events_compare.h"

namespace vek1 {

std::string eventsComparisonJson(const ComparedEvents& compared, const std::string& workingName,
                                 const std::string& referenceName);
std::string eventsComparisonCsv(const ComparedEvents& compared);
// For a reader at a terminal: the two names, then for each notch a line per end and figure in
// aligned columns (working, reference, difference with its sign), a missing figure as "-" with
// the note after it.
std::string eventsComparisonText(const ComparedEvents& compared, const std::string& workingName,
                                 const std::string& referenceName);

// The note of a figure for a reader: "" when both sets have it, else which lacks it and why.
std::string missingNote(const FigureDifference& figure);

}  // namespace vek1
