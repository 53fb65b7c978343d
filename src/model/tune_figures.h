#pragma once
// The few valve-event figures a tuning search scores, per notch. Kept apart from the full valve
// events so that the scoring can be tested on figures with a known answer.

#include <optional>
#include <span>
#include <vector>

#include "workspace.h"

namespace vek1 {

struct TuneEndFigures {
  std::optional<double> CutOff;  // % of stroke from that end's dead centre; none: never cuts off
  double Lead = 0.0;             // steam opening at that end's dead centre, units
  bool TakesSteam = true;        // the steam edge opens at some point of the turn
  double SteamOpening = 1.0;     // its largest opening over the turn, units
  // Indicated work per cycle of this end, ft lbf; only found when a goal asks for it, and none
  // for an end that does not run (engine_performance.h).
  std::optional<double> Work;
};

struct TuneNotchFigures {
  double Offset = 0.0;         // from the mid-gear centre
  bool Error = false;          // the linkage could not close somewhere in the turn
  double ClosureMargin = 0.0;  // degrees from tangency of the joint nearest to locking
  double ValveTravel = 0.0;    // largest minus smallest valve displacement over the turn
  TuneEndFigures Front, Rear;
};

struct NotchEvents;
// The figures of one notch of the valve events: the only place that reads the events.
TuneNotchFigures tuneFiguresFromEvents(const NotchEvents& events, double offset);

// The figures of `ws` at each offset from its mid-gear centre, in the order given.
std::vector<TuneNotchFigures> tuneNotchFigures(const GearSet& ws, std::span<const double> offsets);

// Adds each end's indicated work to figures that lack it, at the engine settings of `ws`. The
// model runs at half its usual crank step count: the work differences a search compares move
// by well under the goal's tolerance between the two.
void addIndicatedWork(const Workspace& ws, std::vector<TuneNotchFigures>& figures);

// The forward notches of the valve events' default list (offsets above the centre).
std::vector<double> defaultTuneNotches(const GearSet& ws);

}  // namespace vek1
