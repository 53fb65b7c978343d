#include "tune.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "dimension_edit.h"
#include "dimensions.h"
#include "numbers.h"
#include "workspace.h"
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

// Front less rear work in percent of their mean; an end without work counts as far apart.
constexpr double kMissingWorkResidual = 100.0;
double workDiff(const std::optional<double>& front, const std::optional<double>& rear) {
  if (!front || !rear || !std::isfinite(*front) || !std::isfinite(*rear))
    return kMissingWorkResidual;
  const double mean = 0.5 * (std::fabs(*front) + std::fabs(*rear));
  return mean > 0.0 ? 100.0 * (*front - *rear) / mean : 0.0;
}

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

// The notches the cut-off range limit looks at: the one farthest from the centre (full gear)
// and the one nearest to it off the centre (the shortest cut-off).
std::optional<double> fullGearNotch(const std::vector<double>& notches) {
  std::optional<double> best;
  for (double x : notches)
    if (!best || std::fabs(x) > std::fabs(*best)) best = x;
  return best;
}
std::optional<double> shortestNotch(const std::vector<double>& notches) {
  std::optional<double> best;
  for (double x : notches)
    if (x != 0.0 && (!best || std::fabs(x) < std::fabs(*best))) best = x;
  return best;
}

// An end that never cuts off takes steam over the whole stroke.
double cutOffOrFull(const TuneEndFigures& e) {
  return e.CutOff && std::isfinite(*e.CutOff) ? *e.CutOff : 100.0;
}

// A notch's cut-off: the mean of its two ends.
double notchCutOff(const TuneNotchFigures& f) {
  return 0.5 * (cutOffOrFull(f.Front) + cutOffOrFull(f.Rear));
}

std::string pointsText(double x) { return fixedText(x, 0, 2) + " %"; }

// Adds what a set's breaking of the limits costs, and says which it breaks. Each shortfall is
// counted in the tolerance of its kind and costs as a missing degree of margin does.
void scoreTuneLimits(const TuneLimitValues& v, const std::vector<TuneNotchFigures>& main,
                     TuneEvaluation& e) {
  auto broken = [&](double shortfall, const std::string& what) {
    e.Penalty += kMarginPenaltyWeight * shortfall * shortfall;
    if (std::find(e.BrokenLimits.begin(), e.BrokenLimits.end(), what) == e.BrokenLimits.end())
      e.BrokenLimits.push_back(what);
  };
  // Each limit adds one constraint value, <= 0 where it holds, in its tolerance.
  auto check = [&](double excess, const std::string& what) {
    e.Constraints.push_back(excess);
    if (excess > 0.0) broken(excess, what);
  };
  double travel = 0.0;
  for (const TuneNotchFigures& f : main) {
    for (const TuneEndFigures* end : {&f.Front, &f.Rear}) {
      const double lead = finiteOr(end->Lead, 1.0);
      if (v.MaxLead)
        check((lead - *v.MaxLead) / kLeadTolerance, "lead above " + fixedText(*v.MaxLead, 0, 4));
      if (v.SteamBothEnds) {
        // An end that takes no steam is short by how far its edge stays closed, and by at
        // least a hundredth of the tolerance.
        const double closed = -finiteOr(end->SteamOpening, -1.0) / kLeadTolerance;
        check(end->TakesSteam ? std::min(closed, 0.0) : std::max(closed, 0.01),
              "an end takes no steam");
      }
    }
    travel = std::max(travel, finiteOr(f.ValveTravel, 1.0e6));
  }
  if (v.MinFullGearCutOff && v.FullGearOffset)
    if (const TuneNotchFigures* f = findNotch(main, *v.FullGearOffset))
      check((*v.MinFullGearCutOff - notchCutOff(*f)) / kCutOffTolerance,
            "full-gear cut-off below " + pointsText(*v.MinFullGearCutOff));
  if (v.MaxShortestCutOff && v.ShortestOffset)
    if (const TuneNotchFigures* f = findNotch(main, *v.ShortestOffset))
      check((notchCutOff(*f) - *v.MaxShortestCutOff) / kCutOffTolerance,
            "shortest cut-off above " + pointsText(*v.MaxShortestCutOff));
  if (v.MaxTravel)
    check((travel - *v.MaxTravel) / (0.01 * std::max(*v.MaxTravel, 1.0e-3)),
           "valve travel above " + fixedText(*v.MaxTravel, 0, 4));
}

}  // namespace

bool isDrawingOnlyDimension(int id) {
  return std::find(kDrawingOnlyDimensions.begin(), kDrawingOnlyDimensions.end(), id) !=
         kDrawingOnlyDimensions.end();
}

bool isLengthDimension(int id) {
  switch (id) {
    // Positions of pivots and centre lines: any sign is a gear.
    case dim::LinkPivotVert:
    case dim::LinkPivotHorz:
    case dim::AnchorLinkPivotVert:
    case dim::AnchorLinkPivotHorz:
    case dim::CylClAboveDriverCtr:
    case dim::ValveSurfaceToCylCl:
    case dim::ValveStemClToCylCl:
      return false;
    default:
      return isEditableDimensionId(id);
  }
}

TuneLimitValues resolveTuneLimits(const TuneSettings& s, const Workspace& start,
                                  const std::vector<TuneNotchFigures>& figures) {
  TuneLimitValues v;
  if (!s.Limits.Enabled) return v;
  const std::size_t mainCount = std::min(s.Notches.size(), figures.size());
  const std::vector<TuneNotchFigures> main(figures.begin(),
                                           figures.begin() + static_cast<long>(mainCount));
  if (s.Limits.MaxLead) {
    v.MaxLead = *s.Limits.MaxLead;
  } else {
    const double port = std::min(dimensionValue(start, dim::SteamPortWidthRear),
                                 dimensionValue(start, dim::SteamPortWidthFront));
    double lead = port / 4.0;
    for (const TuneNotchFigures& f : main)
      for (double l : {f.Front.Lead, f.Rear.Lead})
        if (std::isfinite(l)) lead = std::max(lead, l);
    v.MaxLead = lead;
  }
  v.SteamBothEnds = s.Limits.SteamBothEnds;
  if (s.Limits.CutOffRangePoints) {
    const double points = *s.Limits.CutOffRangePoints;
    v.FullGearOffset = fullGearNotch(s.Notches);
    v.ShortestOffset = shortestNotch(s.Notches);
    const TuneNotchFigures* full = v.FullGearOffset ? findNotch(main, *v.FullGearOffset) : nullptr;
    const TuneNotchFigures* shortest =
        v.ShortestOffset ? findNotch(main, *v.ShortestOffset) : nullptr;
    // A target cut-off asks for another full-gear cut-off: the target rules there.
    if (full && s.Goals.TargetCutOff <= 0.0) v.MinFullGearCutOff = notchCutOff(*full) - points;
    if (shortest) v.MaxShortestCutOff = notchCutOff(*shortest) + points;
  }
  if (s.Limits.MaxTravelPercent) {
    double travel = 0.0;
    for (const TuneNotchFigures& f : main)
      if (std::isfinite(f.ValveTravel)) travel = std::max(travel, f.ValveTravel);
    v.MaxTravel = travel * (1.0 + *s.Limits.MaxTravelPercent / 100.0);
  }
  return v;
}

std::string tuneObjectiveText(const TuneGoals& g) {
  const bool onlyEqualCutOff = g.EqualCutOff > 0.0 && g.EqualLead <= 0.0 && g.ConstantLead <= 0.0 &&
                               g.TargetCutOff <= 0.0 && g.Symmetric <= 0.0 && g.EqualWork <= 0.0;
  if (onlyEqualCutOff && g.EqualCutOff == 1.0)
    return "largest front/rear cut-off difference, % of stroke";
  if (g.EqualWork > 0.0)
    return "largest goal figure over its tolerance (1 % of stroke, 0.005 of lead, 1 % of work), "
           "times its weight";
  return "largest goal figure over its tolerance (1 % of stroke, 0.005 of lead), times its weight";
}

std::vector<std::string> tuneLimitLines(const TuneSettings& s) {
  std::vector<std::string> out;
  const TuneLimitValues& v = s.LimitValues;
  out.push_back("every varied length stays above " + fixedText(kMinTunedLength, 0, 3));
  if (!s.Limits.Enabled) {
    out.push_back("no design limits (--no-limits)");
    return out;
  }
  if (v.MaxLead) out.push_back("lead at most " + fixedText(*v.MaxLead, 0, 4) + " at every notch");
  if (v.SteamBothEnds) out.push_back("both ends take steam at every notch");
  if (v.MinFullGearCutOff && v.FullGearOffset)
    out.push_back("cut-off at " + fixedText(*v.FullGearOffset, 0, 3) +
                  " (mean of both ends) at least " + pointsText(*v.MinFullGearCutOff));
  if (v.MaxShortestCutOff && v.ShortestOffset)
    out.push_back("cut-off at " + fixedText(*v.ShortestOffset, 0, 3) +
                  " (mean of both ends) at most " + pointsText(*v.MaxShortestCutOff));
  if (v.MaxTravel) out.push_back("valve travel at most " + fixedText(*v.MaxTravel, 0, 4));
  return out;
}

std::vector<std::string> tuneWarnings(const TuneSettings& s) {
  std::vector<std::string> out;
  for (const TuneVariable& v : s.Vary)
    if (v.Id == dim::Stroke)
      out.push_back("dimension 2 (Stroke) changes the engine, not only its valve gear: the "
                    "cut-offs become percentages of another stroke");
  return out;
}

TuneVariable defaultTuneVariable(const GearSet& ws, int id, double percent) {
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
    if (isDrawingOnlyDimension(v.Id))
      return "dimension " + name + " (" + std::string(dimensionLabel(v.Id)) +
             ") does not move the valve: only the drawing uses it";
    if (!seen.insert(v.Id).second) return "dimension " + name + " is listed twice";
    if (!std::isfinite(v.Lower) || !std::isfinite(v.Upper) || !std::isfinite(v.Start))
      return "the bounds of dimension " + name + " are not finite";
    if (v.Lower > v.Upper) return "the bounds of dimension " + name + " are reversed";
    if (isLengthDimension(v.Id)) {
      if (v.Upper < kMinTunedLength)
        return "dimension " + name + " is a length: its bounds must reach above " +
               fixedText(kMinTunedLength, 0, 3);
      v.Lower = std::max(v.Lower, kMinTunedLength);
    }
    v.Start = std::clamp(v.Start, v.Lower, v.Upper);
  }
  if (s.Notches.empty()) return "no notch to tune at";
  if (s.Notches.size() > kMaxTuneNotches) return "more than 100 notches to tune at";
  for (double x : s.Notches)
    if (!std::isfinite(x)) return "a notch offset is not finite";
  const TuneGoals& g = s.Goals;
  const double weights[] = {g.EqualCutOff, g.EqualLead, g.ConstantLead, g.TargetCutOff,
                            g.Symmetric, g.EqualWork};
  bool anyGoal = false;
  for (double w : weights) {
    if (!std::isfinite(w) || w < 0.0) return "a goal weight must be 0 or more";
    anyGoal = anyGoal || w > 0.0;
  }
  if (!anyGoal) return "no goal chosen";
  if (g.TargetCutOff > 0.0) {
    if (!std::isfinite(g.TargetPercent) || !(g.TargetPercent > 0.0 && g.TargetPercent < 100.0))
      return "the target cut-off must lie between 0 and 100 % of the stroke";
    if (!fullForwardNotch(s.Notches)) return "a target cut-off needs a forward notch";
  }
  if (g.ConstantLead > 0.0 && s.Notches.size() < 2) return "a constant lead needs two notches";
  if (g.Symmetric > 0.0 && symmetricNotches(s.Notches).empty())
    return "forward and reverse alike needs a notch off the centre";
  if (!std::isfinite(s.MinClosureMargin) || s.MinClosureMargin < 0.0)
    return "the closure margin must be 0 or more";
  const TuneLimits& l = s.Limits;
  // Beyond these a limit keeps nothing, and its shortfalls would no longer be finite.
  if (l.MaxLead && !(std::fabs(*l.MaxLead) <= 1000.0))
    return "the largest lead must be a number from -1000 to 1000";
  if (l.CutOffRangePoints && !(*l.CutOffRangePoints >= 0.0 && *l.CutOffRangePoints <= 1000.0))
    return "the cut-off range must be from 0 to 1000 points";
  if (l.MaxTravelPercent && !(*l.MaxTravelPercent >= 0.0 && *l.MaxTravelPercent <= 1.0e6))
    return "the valve travel limit must be from 0 to 1000000 %";
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

bool sameDimensions(const GearSet& a, const GearSet& b) {
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
  e.Closes = !e.Notches.empty();
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
    e.Constraints.push_back(f.Error ? shortfall : s.MinClosureMargin - margin);
    if (f.Error || shortfall > 0.0) e.Closes = false;
  }
  scoreTuneLimits(s.LimitValues, main, e);
  e.Feasible = e.Closes && e.BrokenLimits.empty();

  bool met = e.Feasible;
  // `residuals` feed the objective and the cost (a missing event counts as a large one);
  // `shown` is the figure reported, and met when within the tolerance.
  auto addGoal = [&](double weight, const std::vector<double>& residuals, double tolerance,
                     std::optional<double>& figure, std::optional<double> shown) {
    if (weight <= 0.0 || residuals.empty()) return;
    std::vector<double> scaled;
    scaled.reserve(residuals.size());
    for (double r : residuals) scaled.push_back(r / tolerance);
    for (double r : scaled) e.Residuals.push_back(weight * r);
    e.Cost += weight * meanSquare(scaled);
    e.Objective = std::max(e.Objective, weight * maxAbs(scaled));
    figure = shown;
    met = met && shown && *shown <= tolerance;
  };
  // The largest of the residuals whose events both happen.
  auto shownMax = [](const std::vector<double>& r, const std::vector<bool>& present) {
    std::optional<double> m;
    for (std::size_t i = 0; i < r.size(); ++i)
      if (present[i]) m = std::max(m.value_or(0.0), std::fabs(r[i]));
    return m;
  };
  auto both = [](const std::optional<double>& a, const std::optional<double>& b) {
    return a && b && std::isfinite(*a) && std::isfinite(*b);
  };

  if (g.EqualCutOff > 0.0 || g.TargetCutOff > 0.0)
    for (const TuneNotchFigures& f : main)
      e.Goals.MissingCutOffs += !f.Front.CutOff + !f.Rear.CutOff;
  if (e.Goals.MissingCutOffs > 0) met = false;
  {
    std::vector<double> r;
    std::vector<bool> present;
    for (const TuneNotchFigures& f : main) {
      r.push_back(cutOffDiff(f.Front.CutOff, f.Rear.CutOff));
      present.push_back(both(f.Front.CutOff, f.Rear.CutOff));
    }
    addGoal(g.EqualCutOff, r, kCutOffTolerance, e.Goals.MaxCutOffDiff, shownMax(r, present));
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
    std::vector<bool> present;
    if (const TuneNotchFigures* f = findNotch(main, *full)) {
      const std::optional<double> target = g.TargetPercent;
      for (const auto* end : {&f->Front, &f->Rear}) {
        r.push_back(cutOffDiff(end->CutOff, target));
        present.push_back(both(end->CutOff, target));
      }
    }
    addGoal(g.TargetCutOff, r, kCutOffTolerance, e.Goals.TargetError, shownMax(r, present));
  }
  {
    std::vector<double> r;
    std::vector<bool> present;
    for (double x : symmetricNotches(s.Notches)) {
      const TuneNotchFigures* a = findNotch(e.Notches, x);
      const TuneNotchFigures* b = findNotch(e.Notches, -x);
      if (!a || !b) continue;
      r.push_back(cutOffDiff(a->Front.CutOff, b->Front.CutOff));
      present.push_back(both(a->Front.CutOff, b->Front.CutOff));
      r.push_back(cutOffDiff(a->Rear.CutOff, b->Rear.CutOff));
      present.push_back(both(a->Rear.CutOff, b->Rear.CutOff));
    }
    addGoal(g.Symmetric, r, kCutOffTolerance, e.Goals.MaxSymmetryDiff, shownMax(r, present));
  }
  {
    std::vector<double> r;
    std::vector<bool> present;
    for (const TuneNotchFigures& f : main) {
      r.push_back(workDiff(f.Front.Work, f.Rear.Work));
      present.push_back(both(f.Front.Work, f.Rear.Work));
      // An end without work is not equal work, whatever the other notches show.
      if (g.EqualWork > 0.0 && !present.back()) met = false;
    }
    addGoal(g.EqualWork, r, kWorkTolerance, e.Goals.MaxWorkDiff, shownMax(r, present));
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
  std::vector<TuneNotchFigures> found = figures ? figures(ws, notches) : tuneNotchFigures(ws, notches);
  if (s.Goals.EqualWork > 0.0) addIndicatedWork(ws, found);
  return scoreTuneFigures(s, std::move(found));
}

}  // namespace vek1
