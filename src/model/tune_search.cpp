#include "tune_search.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <nlopt.hpp>

#include "dimensions.h"
#include "numbers.h"
#include "tune_figures.h"

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

// The multi-start search: a scan of the box by a Halton sequence (the same points for the same
// box, so a search is repeatable), then local searches from the start and the best points of
// the scan, each first on the smooth cost and then on the objective itself.
constexpr double kScanShare = 0.2;        // of the evaluations
constexpr int kScanPerDimension = 24;     // at most
constexpr int kScanSeeds = 3;             // scan points polished besides the start
constexpr double kSeedSeparation = 0.15;  // in the unit box, between two seeds

struct Cancelled {};
struct OutOfBudget {};  // evaluations or time used up: the search ends with its best set

// The k-th point (from 1) of the Halton sequence, coordinate `d` (0-based).
double halton(int k, std::size_t d) {
  static constexpr int kPrimes[] = {2,   3,   5,   7,   11,  13,  17,  19,  23,  29,  31,  37, 41,
                                    43,  47,  53,  59,  61,  67,  71,  73,  79,  83,  89,  97, 101,
                                    103, 107, 109, 113, 127, 131, 137, 139, 149, 151, 157, 163};
  const int base = kPrimes[d % std::size(kPrimes)];
  double f = 1.0, r = 0.0;
  for (int i = k; i > 0; i /= base) {
    f /= base;
    r += f * (i % base);
  }
  return r;
}

// Lower is better: the objective, then the smooth cost between sets alike in it.
bool better(const TuneEvaluation& a, const TuneEvaluation& b) {
  if (a.Objective != b.Objective) return a.Objective < b.Objective;
  return a.Cost < b.Cost;
}

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
      v[free_[k]] =
          std::clamp(toSingle(var.Lower + t * (static_cast<double>(var.Upper) - var.Lower)),
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
    if (limited_) {
      if (evaluations_ >= options_.MaxEvaluations) throw OutOfBudget{};
      if (options_.MaxSeconds > 0.0 &&
          std::chrono::duration<double>(Clock::now() - started_).count() > options_.MaxSeconds) {
        timedOut_ = true;
        throw OutOfBudget{};
      }
    }
    last_ = evaluateTuneCandidate(base_, s_, v, options_.Figures);
    lastValues_ = v;
    haveLast_ = true;
    ++evaluations_;
    if (last_.Feasible && (!best_ || better(last_, *best_))) {
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
      p.BestObjective = best_->Objective;
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
      tol =
          std::min(tol, std::max(step, kFinestStep) / (static_cast<double>(var.Upper) - var.Lower));
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

  enum class Aim { Penalised, Constrained };

  // The minimax form: the search point is the free dimensions and a bound t on every residual;
  // it minimises t with each residual within +-t and the margin and the limits as constraints.
  // t is scaled by the objective where the local search starts.
  struct Minimax {
    Search* self;
    double scale;
    std::size_t residuals, constraints;
  };
  static double minimaxObjective(unsigned n, const double* u, double*, void* data) {
    return u[n - 1] * static_cast<Minimax*>(data)->scale;
  }
  static void minimaxConstraints(unsigned m, double* result, unsigned n, const double* u, double*,
                                 void* data) {
    const Minimax& mm = *static_cast<Minimax*>(data);
    const TuneEvaluation& e =
        mm.self->evaluate(mm.self->valuesAt(std::vector<double>(u, u + n - 1)));
    const double t = u[n - 1] * mm.scale;
    for (unsigned i = 0; i < m; ++i) result[i] = 0.0;
    for (std::size_t k = 0; k < mm.residuals && k < e.Residuals.size(); ++k) {
      result[2 * k] = e.Residuals[k] - t;
      result[2 * k + 1] = -e.Residuals[k] - t;
    }
    for (std::size_t k = 0; k < mm.constraints && k < e.Constraints.size(); ++k)
      result[2 * mm.residuals + k] = e.Constraints[k];
  }

  void runMinimax(std::vector<double>& u, int evaluations, double step) {
    evaluations = std::min(evaluations, remaining());
    if (evaluations <= 0 || u.empty()) return;
    for (double& x : u) x = std::clamp(x, 0.0, 1.0);
    const TuneEvaluation at = evaluate(valuesAt(u));
    Minimax mm{this, std::max(at.Objective, 1.0e-3), at.Residuals.size(), at.Constraints.size()};
    const unsigned n = static_cast<unsigned>(u.size()) + 1;
    nlopt::opt opt(nlopt::LN_COBYLA, n);
    std::vector<double> lower(n, 0.0), upper(n, 1.0);
    upper[n - 1] = 4.0;
    opt.set_lower_bounds(lower);
    opt.set_upper_bounds(upper);
    opt.set_maxeval(evaluations);
    std::vector<double> tol(n, xtol());
    tol[n - 1] = 1.0e-6;
    opt.set_xtol_abs(tol);
    std::vector<double> steps(n, step);
    steps[n - 1] = 0.25;
    opt.set_initial_step(steps);
    opt.set_min_objective(&Search::minimaxObjective, &mm);
    opt.add_inequality_mconstraint(&Search::minimaxConstraints, &mm,
                                   std::vector<double>(2 * mm.residuals + mm.constraints, 0.0));
    std::vector<double> x = u;
    x.push_back(std::min(1.0, upper[n - 1]));
    double f = 0.0;
    try {
      opt.optimize(x, f);
    } catch (const OutOfBudget&) {
      throw;
    } catch (const std::exception&) {
      // As in runOne: the best set seen is kept by evaluate().
    }
    if (cancel_ && cancel_->load()) throw Cancelled{};
    u.assign(x.begin(), x.end() - 1);
  }

  void runOne(nlopt::algorithm algorithm, std::vector<double>& u, int evaluations, Aim aim,
              double initialStep = kInitialStep) {
    evaluations = std::min(evaluations, remaining());
    if (evaluations <= 0 || u.empty()) return;
    const unsigned n = static_cast<unsigned>(u.size());
    nlopt::opt opt(algorithm, n);
    opt.set_lower_bounds(std::vector<double>(n, 0.0));
    opt.set_upper_bounds(std::vector<double>(n, 1.0));
    opt.set_maxeval(evaluations);
    if (algorithm != nlopt::GN_DIRECT_L) {
      opt.set_xtol_abs(xtol());
      opt.set_initial_step(initialStep);
    }
    if (aim == Aim::Constrained) {
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
    } catch (const OutOfBudget&) {
      throw;
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

  std::vector<double> unitOfBest() const {
    return unitOf(bestValues_.empty() ? *bestPenalised_ : bestValues_);
  }

  // A local search from `u`: the smooth cost first, then the objective from where it ends.
  void polish(std::vector<double> u, int evaluations) {
    runOne(nlopt::LN_BOBYQA, u, evaluations / 3, Aim::Penalised);
    runMinimax(u, evaluations - evaluations / 3, kInitialStep / 4);
  }

  void multiStart() {
    const std::size_t n = free_.size();
    if (n == 0) return;
    const int budget = remaining();
    const int scan =
        std::min(static_cast<int>(kScanShare * budget), kScanPerDimension * static_cast<int>(n));
    struct Point {
      std::vector<double> u;
      double score;
    };
    std::vector<Point> points;
    for (int k = 1; k <= scan; ++k) {
      std::vector<double> u(n);
      for (std::size_t d = 0; d < n; ++d) u[d] = halton(k, d);
      const TuneEvaluation& e = evaluate(valuesAt(u));
      points.push_back({u, e.Objective + e.Penalty});
    }
    std::stable_sort(points.begin(), points.end(),
                     [](const Point& a, const Point& b) { return a.score < b.score; });
    std::vector<std::vector<double>> seeds = {unitOf(values_)};
    for (const Point& p : points) {
      if (static_cast<int>(seeds.size()) > kScanSeeds) break;
      bool apart = true;
      for (const std::vector<double>& q : seeds) {
        double d = 0.0;
        for (std::size_t i = 0; i < n; ++i) d = std::max(d, std::fabs(p.u[i] - q[i]));
        apart = apart && d >= kSeedSeparation;
      }
      if (apart) seeds.push_back(p.u);
    }
    // The start's own basin first, so that a search never does worse than a local one from it.
    const int each = remaining() / static_cast<int>(seeds.size() + 1);
    for (const std::vector<double>& seed : seeds) polish(seed, each);
    // What is left goes to the best set found, from a smaller step.
    std::vector<double> u = unitOfBest();
    runMinimax(u, remaining(), kInitialStep / 16);
  }

  void search() {
    evaluate(values_);  // the start itself
    std::vector<double> u = unitOf(values_);
    limited_ = true;
    try {
      switch (options_.Method) {
        case TuneMethod::MultiStart:
          multiStart();
          break;
        case TuneMethod::Bobyqa:
          runOne(nlopt::LN_BOBYQA, u, remaining(), Aim::Penalised);
          break;
        case TuneMethod::Cobyla:
          runOne(nlopt::LN_COBYLA, u, remaining(), Aim::Constrained);
          break;
        case TuneMethod::GlobalThenLocal: {
          runOne(nlopt::GN_DIRECT_L, u, remaining() / 2, Aim::Penalised);
          std::vector<double> local = unitOfBest();
          runOne(nlopt::LN_BOBYQA, local, remaining(), Aim::Penalised);
          break;
        }
      }
    } catch (const OutOfBudget&) {
      // The evaluations or the time are used up: the best set so far stands.
    }
    limited_ = false;
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
      const std::vector<double> raw = free_.size() <= kMaxCornerDimensions
                                          ? std::vector<double>{lo, hi}
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
      if (e.Feasible && (!rounded || better(e, *rounded))) {
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
  bool limited_ = false;
  bool timedOut_ = false;
  Clock::time_point started_ = Clock::now();
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
  result.Warnings = tuneWarnings(settings);
  for (const TuneVariable& v : settings.Vary) result.Start.push_back(dimensionValue(base, v.Id));
  result.Values = result.Start;
  {
    // The limits are measured on the start as it is (not as drawn into the bounds).
    Workspace start = base;
    applyTuneCandidate(start, settings.Vary, result.Start);
    const std::vector<double> notches = tuneEvaluationNotches(settings);
    settings.LimitValues = resolveTuneLimits(
        settings, base,
        options.Figures ? options.Figures(start, notches) : tuneNotchFigures(start, notches));
  }
  result.Settings = settings;
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
    if (search.best_ && (!startCloses || better(*search.best_, result.Before))) {
      result.Values = search.bestValues_;
      result.After = *search.best_;
    }
    result.StartKept = startCloses && !result.changed();
    if (!result.After.Feasible)
      result.Outcome = TuneOutcome::NoClosingSet;
    else
      result.Outcome = result.After.GoalsMet ? TuneOutcome::GoalsMet : TuneOutcome::GoalsNotMet;
  }
  search.report(true);
  result.TimedOut = search.timedOut_;
  result.Message = tuneOutcomeText(result.Outcome);
  if (result.StartKept)
    result.Message += " (no better set found within the bounds: the start is kept)";
  if (result.TimedOut) result.Message += " (stopped by the time limit)";
  result.Seconds = std::chrono::duration<double>(Clock::now() - started).count();
  return result;
}

bool TuneResult::improves() const {
  return (Outcome == TuneOutcome::GoalsMet || Outcome == TuneOutcome::GoalsNotMet) && changed() &&
         After.Feasible && (!Before.Feasible || better(After, Before));
}

std::vector<TuneDimensionChange> tuneDimensionChanges(const TuneResult& r, double resolution) {
  std::vector<TuneDimensionChange> out;
  const std::size_t n = std::min({r.Settings.Vary.size(), r.Start.size(), r.Values.size()});
  for (std::size_t i = 0; i < n; ++i) {
    const TuneVariable& v = r.Settings.Vary[i];
    TuneDimensionChange c;
    c.Id = v.Id;
    c.Start = r.Start[i];
    c.Tuned = r.Values[i];
    c.Change = static_cast<double>(c.Tuned) - c.Start;
    if (c.Start != 0.0f) c.ChangePercent = 100.0 * c.Change / std::fabs(c.Start);
    const double near = std::max(resolution, 1.0e-6);
    c.AtBound = v.Upper > v.Lower && (c.Tuned - static_cast<double>(v.Lower) < near ||
                                      static_cast<double>(v.Upper) - c.Tuned < near);
    out.push_back(c);
  }
  return out;
}

TuneEventsTables tuneEventsTables(const Workspace& searched, const TuneResult& result) {
  const std::vector<double> notches = tuneEvaluationNotches(result.Settings);
  Workspace before = searched;
  applyTuneCandidate(before, result.Settings.Vary, result.Start);
  Workspace after = searched;
  applyTuneCandidate(after, result.Settings.Vary, result.Values);
  return {ComputeValveEvents(before, notches), ComputeValveEvents(after, notches)};
}

std::string tuneOutcomeText(TuneOutcome outcome) {
  switch (outcome) {
    case TuneOutcome::GoalsMet:
      return "Goals met";
    case TuneOutcome::GoalsNotMet:
      return "Goals not met within the bounds: best set found";
    case TuneOutcome::NoClosingSet:
      return "No set within the bounds closes with the margin and keeps the limits: nothing "
             "changed";
    case TuneOutcome::Cancelled:
      return "Cancelled: nothing changed";
    case TuneOutcome::Invalid:
      return "Cannot tune";
  }
  return {};
}

const char* tuneMethodName(TuneMethod method) {
  switch (method) {
    case TuneMethod::MultiStart:
      return "multistart";
    case TuneMethod::Bobyqa:
      return "bobyqa";
    case TuneMethod::Cobyla:
      return "cobyla";
    case TuneMethod::GlobalThenLocal:
      return "global";
  }
  return "";
}

std::optional<TuneMethod> tuneMethodFromName(const std::string& name) {
  for (TuneMethod m : {TuneMethod::MultiStart, TuneMethod::Bobyqa, TuneMethod::Cobyla,
                       TuneMethod::GlobalThenLocal})
    if (name == tuneMethodName(m)) return m;
  return std::nullopt;
}

}  // namespace vek1
