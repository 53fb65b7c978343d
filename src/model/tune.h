#pragma once
// Tuning a design: which dimensions a search may vary and within what bounds, which notches it
// looks at, what it aims for, and how a candidate set is scored. The search itself (tune_search.h)
// only moves numbers; everything it knows about the gear comes through here, always on a copy
// of the working set.

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tune_figures.h"
#include "workspace.h"

namespace vek1 {

// One dimension the search may change, and the range it may change it in.
struct TuneVariable {
  int Id = 0;
  float Start = 0.0f;
  float Lower = 0.0f;
  float Upper = 0.0f;
};

// The four dimensions the search varies when the dynamic-variable list is empty: on the factory
// gear they bring the front and rear cut-offs together over the forward notches while keeping
// the linkage far from locking, and all four belong to the valve gear, not to the cylinder
// casting (the README has the comparison).
inline constexpr std::array<int, 4> kSuggestedTuneDimensions = {
    dim::ValveLeverLower, dim::CouplerLower, dim::AnchorLinkPivotHorz, dim::ValveLengthRearHalf};

// Half-width of the default bounds: the percentage of the value, but never less than that
// percentage of one unit, so a dimension at or near 0 can still move (+-0.05 at 5 %).
constexpr double kDefaultBoundsPercent = 5.0;
constexpr double kNearZeroUnits = 1.0;
TuneVariable defaultTuneVariable(const Workspace& ws, int id,
                                 double percent = kDefaultBoundsPercent);

// Weights of the goals; 0 turns a goal off.
struct TuneGoals {
  double EqualCutOff = 1.0;      // front and rear cut-off alike at each notch
  double EqualLead = 0.0;        // front and rear lead alike at each notch
  double ConstantLead = 0.0;     // each end's lead the same at every notch
  double TargetCutOff = 0.0;     // both ends cut off at TargetPercent at full forward gear
  double TargetPercent = 75.0;
  double Symmetric = 0.0;        // the cut-off at +x equals that at -x
};

// What counts as met: the same tolerances the valve events table highlights by default.
constexpr double kCutOffTolerance = 1.0;   // % of stroke
constexpr double kLeadTolerance = 0.005;   // units
// Closure margin every notch must keep, in degrees from tangency.
constexpr double kDefaultClosureMargin = 2.0;
// Every candidate is solved at every notch: more than this would keep a search going for hours.
constexpr std::size_t kMaxTuneNotches = 100;

struct TuneSettings {
  std::vector<TuneVariable> Vary;
  std::vector<double> Notches;  // offsets from the mid-gear centre, the forward ones by default
  TuneGoals Goals;
  double MinClosureMargin = kDefaultClosureMargin;
};

// The figures of each goal for one candidate; a goal that is off has no figure.
struct TuneGoalFigures {
  std::optional<double> MaxCutOffDiff;   // largest |front - rear| cut-off over the notches, %
  std::optional<double> MaxLeadDiff;     // largest |front - rear| lead, units
  std::optional<double> LeadRange;       // largest spread of one end's lead over the notches
  std::optional<double> TargetError;     // largest |cut-off - target| at full forward gear, %
  std::optional<double> MaxSymmetryDiff; // largest |cut-off(+x) - cut-off(-x)|, %
};

struct TuneEvaluation {
  std::vector<TuneNotchFigures> Notches;  // the settings' notches, then their mirrors if needed
  TuneGoalFigures Goals;
  double Cost = 0.0;        // weighted goal residuals, lower is better
  double Penalty = 0.0;     // what locking or a thin closure margin adds to it
  double WorstMargin = 0.0; // the smallest closure margin over every notch looked at
  bool Feasible = false;    // closes everywhere with at least the required margin
  bool GoalsMet = false;    // every goal that is on lies within its tolerance
};

// Settings that a search can run on, or the reason they cannot: a dimension that is not
// editable or is listed twice, bounds that are not finite or not ordered, no notches, no goal.
// Starting values outside their bounds are drawn into them.
std::optional<std::string> checkTuneSettings(TuneSettings& settings);

// The set a candidate describes: the base copy with each varied dimension committed as a
// dimension field commits it, then the mid-gear centre recomputed as closing the dimension
// dialog does, so that the notches stay offsets from the new centre.
void applyTuneCandidate(Workspace& ws, std::span<const TuneVariable> vary,
                        std::span<const float> values);

// The notches the goals need: the settings' notches, followed by the mirror of each of them
// that is not already listed when the symmetric goal is on.
std::vector<double> tuneEvaluationNotches(const TuneSettings& settings);

// Scores figures already found at tuneEvaluationNotches(settings).
TuneEvaluation scoreTuneFigures(const TuneSettings& settings,
                                std::vector<TuneNotchFigures> figures);

// Writes tuned values into the live set as ordinary changes: each value that differs becomes one
// dimension commit with its own undo entry (as typing it into its field and leaving does), then
// the centre is recomputed and the cut-off texts cleared, as closing a dimension dialog does.
// Returns the number of dimensions changed.
int applyTunedValues(Workspace& ws, std::span<const TuneVariable> vary,
                     std::span<const float> values);

// Whether two sets have every dimension alike; a result found on an older copy of the set may
// only be applied to a set that still matches it.
bool sameDimensions(const Workspace& a, const Workspace& b);

using TuneFiguresFunction =
    std::function<std::vector<TuneNotchFigures>(const Workspace&, std::span<const double>)>;

// Applies the values to a copy of `base`, finds its figures (by `figures`, or the valve events
// when it is empty) and scores them.
TuneEvaluation evaluateTuneCandidate(const Workspace& base, const TuneSettings& settings,
                                     std::span<const float> values,
                                     const TuneFiguresFunction& figures = {});

}  // namespace vek1
