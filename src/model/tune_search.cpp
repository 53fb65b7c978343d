#include "tune_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlopt.hpp>

#include "dimensions.h"
#include "numbers.h"

namespace vek1 {

namespace {

using Clock = std::chrono::steady_clock;

// The search works on each dimension's bounds scaled to [0, 1], so one step size and one
// tolerance serve a 16-unit cylinder distance and a 0.156-unit port alike.
constexpr double kInitialStep = 0.25;
// A finer search step than this (in dimension units) cannot change a single-precision
// dimension of a few units, let alone the events.
constexpr double kFinestStep = 1.0e-6;
// Rounding to the grid looks at every corner of the cell around the point for up to this many
// varied dimensions, and only at the nearest grid point beyond.
constexpr std::size_t kMaxCornerDimensions = 6;
constexpr auto kProgressInterval = std::chrono::milliseconds(50);

struct Cancelled {};

class Search {
 public:
  Search(const Workspace& base, const TuneSettings& settings, const TuneSearchOptions& options,
         const std::atomic<bool>* cancel, const TuneProgressCallback& progress)
      : base_(base), s_(settings), options_(options), cancel_(cancel), progress_(progress) {
    for (std::size_t i = 0; i < s_.Vary.size(); ++i)
      if (s_.Vary[i].Upper > s_.Vary[i].Lower) free_.push_back(i);
    values_.resize(s_.Vary.size());
    for (std::size_t i = 0; i < s_.Vary.size(); ++i) values_[i] = s_.Vary[i].Start;
  }

  // The values of a point of the unit box (free dimensions only; fixed ones keep their start).
  std::vector<float> valuesAt(const std::vector<double>& u) const {
    std::vector<float> v = values_;
    for (std::size_t k = 0; k < free_.size(); ++k) {
      const TuneVariable& var = s_.Vary[free_[k]];
      const double t = std::clamp(u[k], 0.0, 1.0);
      v[free_[k]] = std::clamp(toSingle(var.Lower + t * (static_cast<double>(var.Upper) - var.Lower)),
                               var.Lower, var.Upper);
    }
    return v;
  }

  std::vector<double> unitOf(const std::vector<float>& v) const {
    std::vector<double> u(free_.size());
    for (std::size_t k = 0; k < free_.size(); ++k) {
      const TuneVariable& var = s_.Vary[free_[k]];
      u[k] = (static_cast<double>(v[free_[k]]) - var.Lower) /
             (static_cast<double>(var.Upper) - var.Lower);
    }
    return u;
  }

  // Every evaluation goes through here: it checks the cancel flag, keeps the best closing set
  // and reports progress.
  const TuneEvaluation& evaluate(const std::vector<float>& v) {
    if (cancel_ && cancel_->load(std::memory_order_relaxed)) throw Cancelled{};
    if (haveLast_ && v == lastValues_) return last_;
    last_ = evaluateTuneCandidate(base_, s_, v, options_.Figures);
    lastValues_ = v;
    haveLast_ = true;
    ++evaluations_;
    if (last_.Feasible && (!best_ || last_.Cost < best_->Cost)) {
      best_ = last_;
      bestValues_ = v;
    }
    const double total = last_.Cost + last_.Penalty;
    if (!bestPenalised_ || total < bestPenalisedTotal_) {
      bestPenalised_ = v;
      bestPenalisedTotal_ = total;
    }
    report(false);
    return last_;
  }

  void report(bool final) {
    if (!progress_) return;
    const auto now = Clock::now();
    if (!final && now - lastReport_ < kProgressInterval) return;
    lastReport_ = now;
    TuneProgress p;
    p.Evaluations = evaluations_;
    p.MaxEvaluations = options_.MaxEvaluations;
    p.Found = best_.has_value();
    if (best_) {
      p.BestCost = best_->Cost;
      p.BestMaxCutOffDiff = best_->Goals.MaxCutOffDiff;
    }
    progress_(p);
  }

  int remaining() const { return std::max(0, options_.MaxEvaluations - evaluations_); }

  double xtol() const {
    double tol = 1.0;
    for (std::size_t i : free_) {
      const TuneVariable& var = s_.Vary[i];
      const double step = options_.Resolution > 0.0 ? options_.Resolution / 4.0 : kFinestStep;
      tol = std::min(tol, std::max(step, kFinestStep) / (static_cast<double>(var.Upper) - var.Lower));
    }
    return tol;
  }

  // Penalised cost: the goals plus what locking or a thin margin costs.
  static double penalised(unsigned n, const double* u, double*, void* data) {
    Search& self = *static_cast<Search*>(data);
    const TuneEvaluation& e = self.evaluate(self.valuesAt(std::vector<double>(u, u + n)));
    return e.Cost + e.Penalty;
  }
  static double goalsOnly(unsigned n, const double* u, double*, void* data) {
    Search& self = *static_cast<Search*>(data);
    return self.evaluate(self.valuesAt(std::vector<double>(u, u + n))).Cost;
  }
  // One constraint per notch: the margin it lacks (a lock lacks the whole margin and more).
  static void margins(unsigned m, double* result, unsigned n, const double* u, double*,
                      void* data) {
    Search& self = *static_cast<Search*>(data);
    const TuneEvaluation& e = self.evaluate(self.valuesAt(std::vector<double>(u, u + n)));
    for (unsigned i = 0; i < m; ++i) {
      if (i >= e.Notches.size()) {
        result[i] = 0.0;
        continue;
      }
      const TuneNotchFigures& f = e.Notches[i];
      const double margin = std::isfinite(f.ClosureMargin) ? f.ClosureMargin : 0.0;
      result[i] = self.s_.MinClosureMargin - (f.Error ? -self.s_.MinClosureMargin : margin);
    }
  }

  void runOne(nlopt::algorithm algorithm, std::vector<double>& u, int evaluations,
              bool constrained) {
    if (evaluations <= 0 || u.empty()) return;
    const unsigned n = static_cast<unsigned>(u.size());
    nlopt::opt opt(algorithm, n);
    opt.set_lower_bounds(std::vector<double>(n, 0.0));
    opt.set_upper_bounds(std::vector<double>(n, 1.0));
    opt.set_maxeval(evaluations);
    if (algorithm != nlopt::GN_DIRECT_L) {
      opt.set_xtol_abs(xtol());
      opt.set_initial_step(kInitialStep);
    }
    if (constrained) {
      opt.set_min_objective(&Search::goalsOnly, this);
      const std::size_t m = tuneEvaluationNotches(s_).size();
      opt.add_inequality_mconstraint(&Search::margins, this, std::vector<double>(m, 0.0));
    } else {
      opt.set_min_objective(&Search::penalised, this);
    }
    for (double& x : u) x = std::clamp(x, 0.0, 1.0);
    double f = 0.0;
    try {
      opt.optimize(u, f);
    } catch (const nlopt::forced_stop&) {
      // Our own cancel arrives as a forced stop: the flag says so and the caller checks it.
    } catch (const nlopt::roundoff_limited&) {
      // As close as single-precision dimensions allow; the best set is kept by evaluate().
    } catch (const std::exception&) {
      // Any other stop of the method (out of memory, a failure of its own) ends this pass with
      // the best set seen so far, which evaluate() has kept.
    }
    if (cancel_ && cancel_->load()) throw Cancelled{};
  }

  void search() {
    evaluate(values_);  // the start itself
    std::vector<double> u = unitOf(values_);
    switch (options_.Method) {
      case TuneMethod::Bobyqa:
        runOne(nlopt::LN_BOBYQA, u, remaining(), false);
        break;
      case TuneMethod::Cobyla:
        runOne(nlopt::LN_COBYLA, u, remaining(), true);
        break;
      case TuneMethod::GlobalThenLocal: {
        runOne(nlopt::GN_DIRECT_L, u, remaining() / 2, false);
        std::vector<double> local = unitOf(bestValues_.empty() ? *bestPenalised_ : bestValues_);
        runOne(nlopt::LN_BOBYQA, local, remaining(), false);
        break;
      }
    }
    roundToGrid();
  }

  // The dimension fields show thousandths: the best set is moved to the grid, to whichever
  // corner of its cell closes and scores best. A grid point beyond the bounds is not taken.
  void roundToGrid() {
    const double step = options_.Resolution;
    if (!(step > 0.0) || !best_) return;
    const std::vector<float> found = bestValues_;
    std::vector<std::vector<float>> choices(free_.size());
    for (std::size_t k = 0; k < free_.size(); ++k) {
      const TuneVariable& var = s_.Vary[free_[k]];
      const double x = found[free_[k]];
      const double lo = std::floor(x / step) * step;
      const double hi = std::ceil(x / step) * step;
      const double nearest = std::nearbyint(x / step) * step;
      const std::vector<double> raw =
          free_.size() <= kMaxCornerDimensions ? std::vector<double>{lo, hi}
                                               : std::vector<double>{nearest};
      for (double r : raw) {
        const float g = toSingle(r);
        if (g >= var.Lower && g <= var.Upper) choices[k].push_back(g);
      }
      // Bounds closer than one grid step: the value stays as found.
      if (choices[k].empty()) choices[k].push_back(found[free_[k]]);
      std::sort(choices[k].begin(), choices[k].end());
      choices[k].erase(std::unique(choices[k].begin(), choices[k].end()), choices[k].end());
    }
    // Only rounded sets compete from here on, so the unrounded best is set aside first.
    std::optional<TuneEvaluation> rounded;
    std::vector<float> roundedValues;
    std::vector<std::size_t> index(free_.size(), 0);
    while (true) {
      std::vector<float> v = found;
      for (std::size_t k = 0; k < free_.size(); ++k) v[free_[k]] = choices[k][index[k]];
      const TuneEvaluation& e = evaluate(v);
      if (e.Feasible && (!rounded || e.Cost < rounded->Cost)) {
        rounded = e;
        roundedValues = v;
      }
      std::size_t k = 0;
      while (k < index.size() && ++index[k] == choices[k].size()) index[k++] = 0;
      if (k == index.size()) break;
    }
    if (rounded) {
      best_ = rounded;
      bestValues_ = roundedValues;
    }
  }

  const Workspace& base_;
  const TuneSettings& s_;
  const TuneSearchOptions& options_;
  const std::atomic<bool>* cancel_;
  const TuneProgressCallback& progress_;
  std::vector<std::size_t> free_;
  std::vector<float> values_;
  int evaluations_ = 0;
  TuneEvaluation last_;
  std::vector<float> lastValues_;
  bool haveLast_ = false;
  std::optional<TuneEvaluation> best_;
  std::vector<float> bestValues_;
  std::optional<std::vector<float>> bestPenalised_;
  double bestPenalisedTotal_ = 0.0;
  Clock::time_point lastReport_{};
};

}  // namespace

TuneResult runTuneSearch(const Workspace& base, TuneSettings settings,
                         const TuneSearchOptions& options, const std::atomic<bool>* cancel,
                         const TuneProgressCallback& progress) {
  const auto started = Clock::now();
  TuneResult result;
  if (const std::optional<std::string> problem = checkTuneSettings(settings)) {
    result.Message = *problem;
    result.Settings = std::move(settings);
    return result;
  }
  result.Settings = settings;
  for (const TuneVariable& v : settings.Vary) result.Start.push_back(dimensionValue(base, v.Id));
  result.Values = result.Start;
  Search search(base, settings, options, cancel, progress);
  try {
    result.Before = search.evaluate(result.Start);
    result.After = result.Before;
    search.search();
  } catch (const Cancelled&) {
    result.Outcome = TuneOutcome::Cancelled;
  }
  result.Evaluations = search.evaluations_;
  if (result.Outcome != TuneOutcome::Cancelled) {
    const bool startCloses = result.Before.Feasible;
    if (search.best_ && (!startCloses || search.best_->Cost < result.Before.Cost)) {
      result.Values = search.bestValues_;
      result.After = *search.best_;
    }
    if (!result.After.Feasible)
      result.Outcome = TuneOutcome::NoClosingSet;
    else
      result.Outcome = result.After.GoalsMet ? TuneOutcome::GoalsMet : TuneOutcome::GoalsNotMet;
  }
  search.report(true);
  result.Message = tuneOutcomeText(result.Outcome);
  result.Seconds = std::chrono::duration<double>(Clock::now() - started).count();
  return result;
}

std::string tuneOutcomeText(TuneOutcome outcome) {
  switch (outcome) {
    case TuneOutcome::GoalsMet: return "Goals met";
    case TuneOutcome::GoalsNotMet: return "Goals not met within the bounds: best set found";
    case TuneOutcome::NoClosingSet:
      return "No set within the bounds closes with the margin: nothing changed";
    case TuneOutcome::Cancelled: return "Cancelled: nothing changed";
    case TuneOutcome::Invalid: return "Cannot tune";
  }
  return {};
}

const char* tuneMethodName(TuneMethod method) {
  switch (method) {
    case TuneMethod::Bobyqa: return "bobyqa";
    case TuneMethod::Cobyla: return "cobyla";
    case TuneMethod::GlobalThenLocal: return "global";
  }
  return "";
}

std::optional<TuneMethod> tuneMethodFromName(const std::string& name) {
  for (TuneMethod m : {TuneMethod::Bobyqa, TuneMethod::Cobyla, TuneMethod::GlobalThenLocal})
    if (name == tuneMethodName(m)) return m;
  return std::nullopt;
}

}  // namespace vek1
