#include "tune.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "dimension_edit.h"
#include "dimensions.h"
#include "numbers.h"
#include "valve.h"

namespace vek1 {

namespace {

// A cut-off that does not happen scores as if it were this far (% of stroke) from its partner:
// far worse than any real difference, but finite, so the search can still rank such sets.
constexpr double kMissingCutOffResidual = 100.0;
// Penalties for sets the search must not end with. A degree of missing margin costs as much as
// a cut-off difference of about 30 % of stroke; a lock costs more than any margin shortfall.
constexpr double kMarginPenaltyWeight = 1000.0;
constexpr double kLockPenalty = 1.0e5;
// How far short of the margin a notch that locks counts, on top of the required margin.
constexpr double kLockShortfall = 10.0;

double meanSquare(const std::vector<double>& r) {
  if (r.empty()) return 0.0;
  double sum = 0.0;
  for (double x : r) sum += x * x;
  return sum / static_cast<double>(r.size());
}

double maxAbs(const std::vector<double>& r) {
  double m = 0.0;
  for (double x : r) m = std::max(m, std::fabs(x));
  return m;
}

// Difference of two cut-offs, or the missing-cut-off residual when either does not happen.
double cutOffDiff(const std::optional<double>& a, const std::optional<double>& b) {
  if (!a || !b || !std::isfinite(*a) || !std::isfinite(*b)) return kMissingCutOffResidual;
  return *a - *b;
}

double finiteOr(double x, double fallback) { return std::isfinite(x) ? x : fallback; }

const TuneNotchFigures* findNotch(const std::vector<TuneNotchFigures>& figures, double offset) {
  for (const TuneNotchFigures& f : figures)
    if (f.Offset == offset) return &f;
  return nullptr;
}

// The main notches whose cut-offs the symmetric goal compares with their mirrors: every notch
// off the centre, except a reverse one whose forward twin is listed too (that pair is counted
// once, from the forward side).
std::vector<double> symmetricNotches(const std::vector<double>& notches) {
  std::vector<double> out;
  for (double x : notches) {
    if (x == 0.0) continue;
    const bool twinListed = std::find(notches.begin(), notches.end(), -x) != notches.end();
    if (x > 0.0 || !twinListed) out.push_back(x);
  }
  return out;
}

std::optional<double> fullForwardNotch(const std::vector<double>& notches) {
  std::optional<double> best;
  for (double x : notches)
    if (x > 0.0 && (!best || x > *best)) best = x;
  return best;
}

}  // namespace

TuneVariable defaultTuneVariable(const Workspace& ws, int id, double percent) {
  const float value = dimensionValue(ws, id);
  const double half =
      percent / 100.0 * std::max(std::fabs(static_cast<double>(value)), kNearZeroUnits);
  return TuneVariable{id, value, toSingle(value - half), toSingle(value + half)};
}

std::optional<std::string> checkTuneSettings(TuneSettings& s) {
  if (s.Vary.empty()) return "no dimension to vary";
  std::set<int> seen;
  for (TuneVariable& v : s.Vary) {
    const std::string name = std::to_string(v.Id);
    if (!isEditableDimensionId(v.Id)) return "dimension " + name + " cannot be varied";
    if (!seen.insert(v.Id).second) return "dimension " + name + " is listed twice";
    if (!std::isfinite(v.Lower) || !std::isfinite(v.Upper) || !std::isfinite(v.Start))
      return "the bounds of dimension " + name + " are not finite";
    if (v.Lower > v.Upper) return "the bounds of dimension " + name + " are reversed";
    v.Start = std::clamp(v.Start, v.Lower, v.Upper);
  }
  if (s.Notches.empty()) return "no notch to tune at";
  if (s.Notches.size() > kMaxTuneNotches) return "more than 100 notches to tune at";
  for (double x : s.Notches)
    if (!std::isfinite(x)) return "a notch offset is not finite";
  const TuneGoals& g = s.Goals;
  const double weights[] = {g.EqualCutOff, g.EqualLead, g.ConstantLead, g.TargetCutOff,
                            g.Symmetric};
  bool anyGoal = false;
  for (double w : weights) {
    if (!std::isfinite(w) || w < 0.0) return "a goal weight must be 0 or more";
    anyGoal = anyGoal || w > 0.0;
  }
  if (!anyGoal) return "no goal chosen";
  if (g.TargetCutOff > 0.0) {
    if (!std::isfinite(g.TargetPercent)) return "the target cut-off is not finite";
    if (!fullForwardNotch(s.Notches)) return "a target cut-off needs a forward notch";
  }
  if (g.ConstantLead > 0.0 && s.Notches.size() < 2) return "a constant lead needs two notches";
  if (g.Symmetric > 0.0 && symmetricNotches(s.Notches).empty())
    return "forward and reverse alike needs a notch off the centre";
  if (!std::isfinite(s.MinClosureMargin) || s.MinClosureMargin < 0.0)
    return "the closure margin must be 0 or more";
  return std::nullopt;
}

void applyTuneCandidate(Workspace& ws, std::span<const TuneVariable> vary,
                        std::span<const float> values) {
  const std::size_t n = std::min(vary.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    ws.UndoPending = 0;  // a candidate is no change of the user's: nothing to undo on the copy
    CommitDimensionValue(ws, vary[i].Id, values[i]);
  }
  ComputeReverseArmCentre(ws);
}

int applyTunedValues(Workspace& ws, std::span<const TuneVariable> vary,
                     std::span<const float> values) {
  int changed = 0;
  const std::size_t n = std::min(vary.size(), values.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (!isEditableDimensionId(vary[i].Id) || !std::isfinite(values[i])) continue;
    if (dimensionValue(ws, vary[i].Id) == values[i]) continue;
    ws.UndoPending = 1;
    CommitDimensionValue(ws, vary[i].Id, values[i]);
    ++changed;
  }
  if (changed > 0) {
    ComputeReverseArmCentre(ws);
    ClearCutOff(ws);
  }
  return changed;
}

bool sameDimensions(const Workspace& a, const Workspace& b) {
  for (int id = 1; id <= 122; ++id)
    if (isDimensionId(id) && dimensionValue(a, id) != dimensionValue(b, id)) return false;
  return true;
}

std::vector<double> tuneEvaluationNotches(const TuneSettings& s) {
  std::vector<double> out = s.Notches;
  if (s.Goals.Symmetric > 0.0) {
    for (double x : symmetricNotches(s.Notches))
      if (std::find(out.begin(), out.end(), -x) == out.end()) out.push_back(-x);
  }
  return out;
}

TuneEvaluation scoreTuneFigures(const TuneSettings& s, std::vector<TuneNotchFigures> figures) {
  TuneEvaluation e;
  e.Notches = std::move(figures);
  const TuneGoals& g = s.Goals;
  const std::size_t mainCount = std::min(s.Notches.size(), e.Notches.size());
  const auto mainBegin = e.Notches.begin();
  const std::vector<TuneNotchFigures> main(mainBegin, mainBegin + static_cast<long>(mainCount));

  // Closure: every notch looked at, mirrors included, must close with the margin to spare.
  e.Feasible = !e.Notches.empty();
  e.WorstMargin = e.Notches.empty() ? 0.0 : e.Notches.front().ClosureMargin;
  for (const TuneNotchFigures& f : e.Notches) {
    const double margin = finiteOr(f.ClosureMargin, -kLockShortfall);
    e.WorstMargin = std::min(e.WorstMargin, margin);
    double shortfall = std::max(0.0, s.MinClosureMargin - margin);
    if (f.Error) {
      shortfall += s.MinClosureMargin + kLockShortfall;
      e.Penalty += kLockPenalty;
    }
    e.Penalty += kMarginPenaltyWeight * shortfall * shortfall;
    if (f.Error || shortfall > 0.0) e.Feasible = false;
  }

  bool met = true;
  auto addGoal = [&](double weight, const std::vector<double>& residuals, double tolerance,
                     std::optional<double>& figure, double shown) {
    if (weight <= 0.0 || residuals.empty()) return;
    std::vector<double> scaled;
    scaled.reserve(residuals.size());
    for (double r : residuals) scaled.push_back(r / tolerance);
    e.Cost += weight * meanSquare(scaled);
    figure = shown;
    met = met && shown <= tolerance;
  };

  {
    std::vector<double> r;
    for (const TuneNotchFigures& f : main) r.push_back(cutOffDiff(f.Front.CutOff, f.Rear.CutOff));
    addGoal(g.EqualCutOff, r, kCutOffTolerance, e.Goals.MaxCutOffDiff, maxAbs(r));
  }
  {
    std::vector<double> r;
    for (const TuneNotchFigures& f : main) r.push_back(finiteOr(f.Front.Lead - f.Rear.Lead, 1.0));
    addGoal(g.EqualLead, r, kLeadTolerance, e.Goals.MaxLeadDiff, maxAbs(r));
  }
  if (!main.empty()) {
    std::vector<double> r;
    double range = 0.0;
    for (auto end : {&TuneNotchFigures::Front, &TuneNotchFigures::Rear}) {
      double sum = 0.0, lo = 0.0, hi = 0.0;
      bool first = true;
      for (const TuneNotchFigures& f : main) {
        const double lead = finiteOr((f.*end).Lead, 1.0);
        sum += lead;
        lo = first ? lead : std::min(lo, lead);
        hi = first ? lead : std::max(hi, lead);
        first = false;
      }
      const double mean = sum / static_cast<double>(main.size());
      for (const TuneNotchFigures& f : main) r.push_back(finiteOr((f.*end).Lead, 1.0) - mean);
      range = std::max(range, hi - lo);
    }
    addGoal(g.ConstantLead, r, kLeadTolerance, e.Goals.LeadRange, range);
  }
  if (const std::optional<double> full = fullForwardNotch(s.Notches)) {
    std::vector<double> r;
    if (const TuneNotchFigures* f = findNotch(main, *full)) {
      const std::optional<double> target = g.TargetPercent;
      r.push_back(cutOffDiff(f->Front.CutOff, target));
      r.push_back(cutOffDiff(f->Rear.CutOff, target));
    }
    addGoal(g.TargetCutOff, r, kCutOffTolerance, e.Goals.TargetError, maxAbs(r));
  }
  {
    std::vector<double> r;
    for (double x : symmetricNotches(s.Notches)) {
      const TuneNotchFigures* a = findNotch(e.Notches, x);
      const TuneNotchFigures* b = findNotch(e.Notches, -x);
      if (!a || !b) continue;
      r.push_back(cutOffDiff(a->Front.CutOff, b->Front.CutOff));
      r.push_back(cutOffDiff(a->Rear.CutOff, b->Rear.CutOff));
    }
    addGoal(g.Symmetric, r, kCutOffTolerance, e.Goals.MaxSymmetryDiff, maxAbs(r));
  }
  e.GoalsMet = met;
  return e;
}

TuneEvaluation evaluateTuneCandidate(const Workspace& base, const TuneSettings& s,
                                     std::span<const float> values,
                                     const TuneFiguresFunction& figures) {
  Workspace ws = base;
  applyTuneCandidate(ws, s.Vary, values);
  const std::vector<double> notches = tuneEvaluationNotches(s);
  return scoreTuneFigures(s, figures ? figures(ws, notches) : tuneNotchFigures(ws, notches));
}

}  // namespace vek1
