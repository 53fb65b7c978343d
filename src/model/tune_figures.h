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
};

struct TuneNotchFigures {
  double Offset = 0.0;         // from the mid-gear centre
  bool Error = false;          // the linkage could not close somewhere in the turn
  double ClosureMargin = 0.0;  // degrees from tangency of the joint nearest to locking
  TuneEndFigures Front, Rear;
};

// The figures of `ws` at each offset from its mid-gear centre, in the order given.
std::vector<TuneNotchFigures> tuneNotchFigures(const Workspace& ws,
                                               std::span<const double> offsets);

// The forward notches of the valve events' default list (offsets above the centre).
std::vector<double> defaultTuneNotches(const Workspace& ws);

}  // namespace vek1
