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
TuneVariable defaultTuneVariable(const GearSet& ws, int id, double percent = kDefaultBoundsPercent);

// Weights of the goals; 0 turns a goal off.
struct TuneGoals {
  double EqualCutOff = 1.0;      // front and rear cut-off alike at each notch
  double EqualLead = 0.0;        // front and rear lead alike at each notch
  double ConstantLead = 0.0;     // each end's lead the same at every notch
  double TargetCutOff = 0.0;     // both ends cut off at TargetPercent at full forward gear
  double TargetPercent = 75.0;
  double Symmetric = 0.0;        // the cut-off at +x equals that at -x
  // Front and rear indicated work alike at each notch, at the set's engine settings (speed,
  // pressures, clearance: Workspace::Engine).
  double EqualWork = 0.0;
};

// What counts as met: the same tolerances the valve events table highlights by default.
constexpr double kCutOffTolerance = 1.0;   // % of stroke
constexpr double kLeadTolerance = 0.005;   // units
// Front and rear work differ by at most this percentage of their mean.
constexpr double kWorkTolerance = 1.0;
// Closure margin every notch must keep, in degrees from tangency.
constexpr double kDefaultClosureMargin = 2.0;
// Every candidate is solved at every notch: more than this would keep a search going for hours.
constexpr std::size_t kMaxTuneNotches = 100;

// Dimensions only the drawing uses (the driver, the cylinder casting around the piston, the
// valve chamber): no event of the valve depends on them, so a search could only wander in them.
inline constexpr std::array<int, 10> kDrawingOnlyDimensions = {
    dim::DriverDia,           dim::CylinderBoreDia, dim::CylinderBoreLength,
    dim::CylSteamPortWidth,   dim::PistonCtrToCrosshead, dim::PistonWidth,
    dim::ValveSurfaceToCylCl, dim::ValveChamberHeight,   dim::ValveChamberLength,
    dim::ValveHeight};
bool isDrawingOnlyDimension(int id);
// Whether a dimension is a length (a rod, a width, a half of the valve) rather than the position
// of a pivot or a centre line: a length at or below zero is no gear at all.
bool isLengthDimension(int id);
// The smallest value a varied length may take.
constexpr float kMinTunedLength = 0.001f;

// Limits a tuned design must keep besides closing, each measured against the start set so that
// equal cut-offs are not bought with a gear nobody would build.
constexpr double kDefaultCutOffRangePoints = 5.0;
constexpr double kDefaultMaxTravelPercent = 10.0;
struct TuneLimits {
  bool Enabled = true;  // off: only the closure margin and positive lengths are kept
  // Largest lead at any notch, units; none: the larger of the start's largest lead and a quarter
  // of the narrower steam port.
  std::optional<double> MaxLead;
  bool SteamBothEnds = true;  // both ends take steam at every notch
  // The full-gear cut-off at most this many points below the start's (unless a target cut-off
  // asks for another), the shortest notch's at most this many above; none: off.
  std::optional<double> CutOffRangePoints = kDefaultCutOffRangePoints;
  // The valve travel at most this percentage above the start's; none: off.
  std::optional<double> MaxTravelPercent = kDefaultMaxTravelPercent;
};

// The limits as numbers, found from the start set (runTuneSearch fills them in).
struct TuneLimitValues {
  std::optional<double> MaxLead;
  bool SteamBothEnds = false;
  std::optional<double> FullGearOffset, ShortestOffset;
  // The notch's cut-off, the mean of its two ends: once the ends are brought together that is
  // the cut-off the gear gives there, and it is what a designer means by the full-gear cut-off.
  std::optional<double> MinFullGearCutOff, MaxShortestCutOff;
  std::optional<double> MaxTravel;
};

struct TuneSettings {
  std::vector<TuneVariable> Vary;
  std::vector<double> Notches;  // offsets from the mid-gear centre, the forward ones by default
  TuneGoals Goals;
  double MinClosureMargin = kDefaultClosureMargin;
  TuneLimits Limits;
  TuneLimitValues LimitValues;  // resolved against the start
};

// The figures of each goal for one candidate; a goal that is off has no figure.
struct TuneGoalFigures {
  std::optional<double> MaxCutOffDiff;   // largest |front - rear| cut-off over the notches, %
  std::optional<double> MaxLeadDiff;     // largest |front - rear| lead, units
  std::optional<double> LeadRange;       // largest spread of one end's lead over the notches
  std::optional<double> TargetError;     // largest |cut-off - target| at full forward gear, %
  std::optional<double> MaxSymmetryDiff; // largest |cut-off(+x) - cut-off(-x)|, %
  // Largest |front - rear| indicated work over the notches, % of the mean of the two.
  std::optional<double> MaxWorkDiff;
  int MissingCutOffs = 0;  // ends of the notches that never cut off (counted apart, not as %)
};

struct TuneEvaluation {
  std::vector<TuneNotchFigures> Notches;  // the settings' notches, then their mirrors if needed
  TuneGoalFigures Goals;
  // What the search minimises and reports: the largest goal figure over its tolerance, times
  // its weight (with the equal cut-off goal alone, the largest front/rear difference in %).
  double Objective = 0.0;
  // The same residuals one by one (their largest magnitude is the objective), and what the
  // closure margin and the limits ask, each <= 0 where it holds, for a method that takes them
  // as constraints.
  std::vector<double> Residuals;
  std::vector<double> Constraints;
  double Cost = 0.0;        // a smooth stand-in: the weighted mean squares of the same residuals
  double Penalty = 0.0;     // what locking, a thin closure margin or a broken limit adds
  double WorstMargin = 0.0; // the smallest closure margin over every notch looked at
  bool Closes = false;      // closes everywhere with at least the required margin
  std::vector<std::string> BrokenLimits;  // what the set breaks, in words
  bool Feasible = false;    // closes and keeps every limit
  bool GoalsMet = false;    // feasible, and every goal that is on lies within its tolerance
};

// The limits as numbers for a search starting from `start`, whose figures at the evaluation
// notches are `startFigures`.
TuneLimitValues resolveTuneLimits(const TuneSettings& settings, const Workspace& start,
                                  const std::vector<TuneNotchFigures>& startFigures);
// What the objective measures, in words.
std::string tuneObjectiveText(const TuneGoals& goals);
// The limits in words, one line each, for printing.
std::vector<std::string> tuneLimitLines(const TuneSettings& settings);
// Cautions about settings that can be searched but change more than the valve gear.
std::vector<std::string> tuneWarnings(const TuneSettings& settings);

// Settings that a search can run on, or the reason they cannot: a dimension that is not
// editable, only drawn or listed twice, bounds that are not finite or not ordered, no notches,
// no goal, a target cut-off outside (0, 100). A length's lower bound is raised to
// kMinTunedLength; starting values outside their bounds are drawn into them.
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
bool sameDimensions(const GearSet& a, const GearSet& b);

using TuneFiguresFunction =
    std::function<std::vector<TuneNotchFigures>(const Workspace&, std::span<const double>)>;

// Applies the values to a copy of `base`, finds its figures (by `figures`, or the valve events
// when it is empty) and scores them.
TuneEvaluation evaluateTuneCandidate(const Workspace& base, const TuneSettings& settings,
                                     std::span<const float> values,
                                     const TuneFiguresFunction& figures = {});

}  // namespace vek1
