#pragma once
// Two sets' valve events side by side: the working set's and a reference set's (the last good
// design, the engine as measured, another builder's gear), and every figure's difference,
// working minus reference.
//
// The two tables are taken at the same reverse-arm offsets, each from its own set's mid-gear
// centre: "the notch 0.8 above mid gear" means the same setting of the reverse arm in both, even
// where the two centres or the two largest offsets differ. A notch the reference's arm cannot
// reach is simply a notch where every reference figure is missing.
//
// A figure can be missing in a set: an edge that never opens has no admission, a notch beyond the
// arm's reach has no figures at all. Such a figure is not a number, so its difference is not one
// either: the comparison says which set lacks it and why, and the window, the command line and
// the report show that in words.

#include <optional>
#include <string>
#include <vector>

#include "valve_events.h"
#include "workspace.h"

namespace vek1 {

// What a figure is measured in.
enum class FigureUnit { Length, Degrees, StrokePercent };

struct FigureDifference {
  // The figure's name as the JSON and CSV of the events name it, e.g. "Lead", "CutOff.Stroke",
  // "ValveTravel", "ClosureMargin.Degrees".
  std::string Name;
  FigureUnit Unit = FigureUnit::Length;
  // The figure in each set; nothing where the set has no such figure, and then why not:
  // "never opens", "always open", "falls where the linkage cannot close", "out of reach".
  std::optional<double> Working, Reference;
  std::string WorkingMissing, ReferenceMissing;
  // Working minus reference, where both sets have the figure.
  std::optional<double> Difference;
  // For the crank angle and the stroke of an event: how far the event moved through the turn,
  // in percent of the stroke (percentFromDeadCentre, working minus reference). Its place, not
  // its figure: an admission 2 degrees earlier is a tiny change of the percent of the return
  // stroke, but the same move as the other events are judged by.
  std::optional<double> Shift;

  // In one set and not the other: always a difference worth showing.
  bool inOnlyOne() const { return Working.has_value() != Reference.has_value(); }
  // Beyond the tolerances (percent of the stroke for events and stroke percentages, length units
  // for lengths): a figure in one set only always is; crank angles are judged by their event's
  // Shift; the closure margin's degrees by no tolerance at all (only by being in one set only).
  bool exceeds(double strokePercentTolerance, double lengthTolerance) const;
};

// The figures of one notch that belong to neither end, then those of each end, always in this
// order and with these names, so a reader can find a figure by position as well as by name:
//   notch: ValveTravel, DieSlip, ClosureMargin.Degrees
//   end:   Lead, Admission.CrankAngle, Admission.Stroke, CutOff.CrankAngle, CutOff.Stroke,
//          Release.CrankAngle, Release.Stroke, Compression.CrankAngle, Compression.Stroke,
//          SteamLap, ExhaustLap, MaxSteamOpening, MaxExhaustOpening, EffectiveSteamOpening,
//          EffectiveExhaustOpening
struct NotchComparison {
  double Offset = 0.0;
  std::vector<FigureDifference> Notch, Front, Rear;
};

struct EventsComparison {
  std::vector<NotchComparison> Notches;
};

// Notch i of `working` against notch i of `reference`, for i up to the shorter table's length:
// the tables are meant to be taken at the same offsets (compareValveEvents does so); each notch
// is named by the working table's offset.
EventsComparison compareEventsTables(const ValveEventsTable& working,
                                     const ValveEventsTable& reference);

// One figure of a comparison by end ("Notch", "Front" or "Rear") and name; null when there is
// no such figure.
const FigureDifference* findFigure(const NotchComparison& notch, const std::string& end,
                                   const std::string& name);

struct ComparedEvents {
  ValveEventsTable Working, Reference;
  EventsComparison Differences;
};

// Both sets' events at the offsets given, or at the working set's default notches when
// `offsets` is null, and their differences. Neither set is changed.
ComparedEvents compareValveEvents(const GearSet& working, const GearSet& reference,
                                  const std::vector<double>* offsets = nullptr);

}  // namespace vek1
