#pragma once
// The tuning search: moves the varied dimensions within their bounds to lower the goals' cost,
// on its own copy of the working set, and returns the best set that closes with the margin and
// keeps the design limits.
// Runs on any thread; a caller on another thread stops it through the cancel flag.

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tune.h"
#include "valve_events.h"
#include "workspace.h"

namespace vek1 {

enum class TuneMethod {
  MultiStart,       // the start and the best points of a scan over the box, each polished
  Bobyqa,           // quadratic models within the bounds; closure by a penalty
  Cobyla,           // linear models with the closure margins as constraints
  GlobalThenLocal,  // a short pass over the whole box, then the quadratic models
};

struct TuneSearchOptions {
  TuneMethod Method = TuneMethod::MultiStart;
  int MaxEvaluations = 500;
  // The search ends with the best set found so far after this long; 0: no time limit.
  double MaxSeconds = 10.0;
  // The tuned values are rounded to this grid (the finest step the dimension fields show and
  // the dynamic-variable bars make); 0 keeps them as found.
  double Resolution = 0.001;
  // Where the figures of a candidate come from; empty means the valve events of the set. Tests
  // put figures with a known answer here.
  TuneFiguresFunction Figures;
};

struct TuneProgress {
  int Evaluations = 0;
  int MaxEvaluations = 0;
  bool Found = false;  // a set that closes with the margin has been seen
  double BestCost = 0.0;
  double BestObjective = 0.0;
  std::optional<double> BestMaxCutOffDiff;
};

enum class TuneOutcome {
  GoalsMet,      // every goal within its tolerance
  GoalsNotMet,   // the best set found, but some goal is beyond its tolerance (bounds too tight)
  NoClosingSet,  // nothing within the bounds closes and keeps the limits: the start comes back
  Cancelled,     // stopped by the caller: the start values come back
  Invalid,       // the settings cannot be searched (Message says why)
};

struct TuneResult {
  TuneOutcome Outcome = TuneOutcome::Invalid;
  std::string Message;
  TuneSettings Settings;      // as checked (starting values drawn into their bounds)
  std::vector<float> Start;   // the varied dimensions before
  std::vector<float> Values;  // and after; equal to Start unless a better closing set was found
  TuneEvaluation Before, After;
  int Evaluations = 0;
  double Seconds = 0.0;
  bool StartKept = false;  // nothing within the bounds did better than the start
  bool TimedOut = false;   // ended by the time limit
  std::vector<std::string> Warnings;
  bool changed() const { return Values != Start; }
  // A set that closes, keeps the limits and does better than the start: worth applying.
  bool improves() const;
};

// One varied dimension before and after, for the tables of the results.
struct TuneDimensionChange {
  int Id = 0;
  float Start = 0.0f, Tuned = 0.0f;
  double Change = 0.0;
  std::optional<double> ChangePercent;  // none when the start is 0
  bool AtBound = false;                 // ended on (within a grid step of) a bound
};
std::vector<TuneDimensionChange> tuneDimensionChanges(const TuneResult& result,
                                                      double resolution = 0.001);

using TuneProgressCallback = std::function<void(const TuneProgress&)>;

// Searches from the current values of the varied dimensions in `base`. `cancel` (optional) is
// read at every evaluation; `progress` (optional) is called from the searching thread at most
// about twenty times a second and once at the end.
TuneResult runTuneSearch(const Workspace& base, TuneSettings settings,
                         const TuneSearchOptions& options = {},
                         const std::atomic<bool>* cancel = nullptr,
                         const TuneProgressCallback& progress = {});

// The whole valve events table of the searched set before and after, at the notches the goals
// looked at: what the results show beside the figures.
struct TuneEventsTables {
  ValveEventsTable Before, After;
};
TuneEventsTables tuneEventsTables(const Workspace& searched, const TuneResult& result);

std::string tuneOutcomeText(TuneOutcome outcome);
const char* tuneMethodName(TuneMethod method);
std::optional<TuneMethod> tuneMethodFromName(const std::string& name);

}  // namespace vek1
