#include "valve_events.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "bracket_search.h"
#include "numbers.h"
#include "solver.h"
#include "valve.h"

namespace vek1 {

namespace {

// The coarse grid: a sample every 3 degrees of the turn. It has to be fine enough that no
// opening or closing of an edge hides between two samples unnoticed; the refined extremes of the
// valve's travel, added to the grid, catch an edge that just opens and closes again between two
// samples.
constexpr int kGridSteps = 120;
constexpr double kGridStep = 360.0 / kGridSteps;
static_assert(kGridSteps % 2 == 0, "the rear dead centre (180 degrees) must be a grid sample");
// Events are refined to this (degrees of driver angle); the sign change they mark is then known
// within a fifth of the 0.001 degree the table promises.
constexpr double kEventTolerance = 2e-4;
// Extremes (valve travel, die slip, closure margins) are located to this. Near an extreme the
// value changes with the square of the distance, so this is ample for the value.
constexpr double kExtremeTolerance = 5e-4;
// Ends of the ranges where the linkage cannot close are found to this.
constexpr double kErrorTolerance = 1e-3;
// A grid with more turning points of the valve than this is rough (a gear that locks, or one
// shaking at the rounding of the stored values): only the largest and the smallest are refined.
constexpr int kMaxRefinedTurns = 8;
// A joint that cannot close at all counts as this far past tangency.
constexpr double kCannotClose = 2.0;

constexpr double kPi = 3.14159265358979323846;

// The four edges, in the order of the valve model's openings.
enum Edge { FrontSteam, FrontExh, RearSteam, RearExh, kEdgeCount };

// Everything the table needs from the gear at one driver angle.
struct Sample {
  double angle = 0.0;  // driver angle, [0, 360)
  float x = 0.0f;      // valve displacement from the port-face centre
  std::array<float, kEdgeCount> open{};
  double die = 0.0;  // die block's place along the link, from the link pivot
  std::array<double, kJointCount> nearLock{};  // 1 at tangency, beyond 1: cannot close
  bool error = false;
};

double wrap360(double a) {
  a = std::fmod(a, 360.0);
  if (a < 0.0) a += 360.0;
  return a;
}

// Into (-180, 180].
double wrap180(double a) {
  a = wrap360(a);
  return a > 180.0 ? a - 360.0 : a;
}

// How near a joint is to locking: the offset a rod spans over the rod's length (the cosine of
// its transmission angle), or the cosine of the angle between two members, by magnitude. 1 is
// tangency.
double lockRatio(double offset, double length) {
  const double r = std::fabs(offset) / std::fabs(length);
  return std::isfinite(r) ? std::min(r, kCannotClose) : kCannotClose;
}

// Cosine of the angle between two members of lengths a and b whose far ends are d apart, at the
// joint where they meet: the angle at which their circles cross there, 0 or 180 at tangency.
double crossingCosine(double d, double a, double b) {
  return lockRatio(a * a + b * b - d * d, 2.0 * a * b);
}

double marginDegrees(double ratio) {
  return std::acos(std::min(ratio, 1.0)) * 180.0 / kPi;
}

// Solves the set's gear at any driver angle, through the pure solver: whether the linkage
// closed comes with each pose, whatever the user's error-beep switch says.
class Probe {
 public:
  explicit Probe(const GearSet& ws) : gear_(gearOf(ws)) {
    const auto& f = gear_.Frame;
    length_[static_cast<int>(GearJoint::Crosshead)] = static_cast<double>(
        toSingle(static_cast<double>(f[dim::MainRodCrankEnd]) + f[dim::MainRodPistonEnd]));
    length_[static_cast<int>(GearJoint::ReverseArm)] = f[dim::ReverseArmLength];
    length_[static_cast<int>(GearJoint::ValveStem)] = f[dim::RadiusRod];
    ports_ = portConstantsOf(gear_, gear_.Pivots.H[4]);
  }

  void setArm(float reverseArmPos) {
    arm_ = reverseArmPos;
    error_ = false;
  }

  Sample at(double angle) {
    Sample s;
    s.angle = wrap360(angle);
    const GearPose pose = solveGear(gear_, toSingle(s.angle), arm_);
    const ValveState valve = valveStateOf(gear_, pose);
    s.error = !pose.Closed || !valve.Closed;
    error_ = error_ || s.error;
    ports_ = pose.Ports;
    s.x = pose.Ports.ValveDisplacement;
    s.open = {valve.FrontSteamOpen, valve.FrontExhOpen, valve.RearSteamOpen, valve.RearExhOpen};

    const auto& H = pose.Pivots.H;
    const auto& V = pose.Pivots.V;
    const auto& f = gear_.Frame;
    auto hv = [&](int i, int j) { return std::hypot(double(H[i]) - H[j], double(V[i]) - V[j]); };
    // The die block's travel along the link: the arc about the centre of curvature (14) from
    // the link pivot (6) to the die block (8).
    const double toDie = std::atan2(double(V[8]) - V[14], double(H[8]) - H[14]);
    const double toPivot = std::atan2(double(V[6]) - V[14], double(H[6]) - H[14]);
    s.die = std::remainder(toDie - toPivot, 2.0 * kPi) * std::fabs(f[dim::LinkRadius]);

    auto& n = s.nearLock;
    n[static_cast<int>(GearJoint::Crosshead)] =
        lockRatio(double(V[2]) - V[3], length_[static_cast<int>(GearJoint::Crosshead)]);
    n[static_cast<int>(GearJoint::AnchorLink)] = crossingCosine(
        hv(10, 13), f[dim::AnchorLinkLength], double(f[dim::CouplerUpper]) + f[dim::CouplerLower]);
    n[static_cast<int>(GearJoint::ReverseArm)] =
        lockRatio(double(H[18]) - H[6], length_[static_cast<int>(GearJoint::ReverseArm)]);
    n[static_cast<int>(GearJoint::DieBlock)] =
        crossingCosine(hv(9, 14), f[dim::LinkRadius], f[dim::ValveLeverLower]);
    n[static_cast<int>(GearJoint::ValveStem)] =
        lockRatio(double(V[7]) - V[4], length_[static_cast<int>(GearJoint::ValveStem)]);
    return s;
  }

  // Piston position at a driver angle; it depends on the crank alone, not on the valve gear.
  double pistonAt(double angle) {
    bool closed = true;
    return pistonPosAt(gear_, toSingle(wrap360(angle)), closed);
  }

  bool anyError() const { return error_; }
  const PortConstants& ports() const { return ports_; }
  ValveFace face() const { return valveFace(gear_.Cyl); }
  double rodLength(GearJoint j) const { return length_[static_cast<int>(j)]; }

 private:
  GearDimensions gear_;
  float arm_ = 0.0f;
  PortConstants ports_;
  std::array<double, kJointCount> length_{};
  bool error_ = false;
};

bool isOpen(const Sample& s, int edge) {
  return s.open[edge] > 0.0f;
}

// A sign change of an edge's opening between two driver angles. Rising: the edge opens as the
// driver angle grows.
struct Crossing {
  double angle;
  bool rising;
};

// Turning points of a grid quantity, by index. A plateau counts once, at its first sample.
template <class Value>
std::vector<int> turningPoints(const std::vector<Sample>& grid, Value value, bool largest) {
  std::vector<int> out;
  const int n = static_cast<int>(grid.size());
  for (int k = 0; k < n; ++k) {
    const double before = value(grid[(k + n - 1) % n]);
    const double here = value(grid[k]);
    const double after = value(grid[(k + 1) % n]);
    if (largest ? (before < here && here >= after) : (before > here && here <= after))
      out.push_back(k);
  }
  return out;
}

template <class Value>
int extremeIndex(const std::vector<Sample>& grid, Value value, bool largest) {
  int best = 0;
  for (int k = 1; k < static_cast<int>(grid.size()); ++k)
    if (largest ? value(grid[k]) > value(grid[best]) : value(grid[k]) < value(grid[best])) best = k;
  return best;
}

class NotchSolver {
 public:
  explicit NotchSolver(Probe& probe) : probe_(probe) {}

  NotchEvents solve(double offset, float arm, float centre, const OffsetRange& reach,
                    double normalGear) {
    NotchEvents out;
    out.Offset = offset;
    out.ReverseArmPos = arm;
    forward_ = arm >= centre;
    out.Direction = forward_ ? "Fwd" : "Rev";
    out.OutOfReach = !std::isfinite(arm) || !reach.contains(offset);
    if (out.OutOfReach) {
      out.Error = true;
      out.ErrorRanges.push_back({0.0, 360.0});
      return out;
    }
    out.BeyondFullGear = std::fabs(offset) > normalGear;
    probe_.setArm(arm);

    grid_.clear();
    for (int k = 0; k < kGridSteps; ++k) grid_.push_back(probe_.at(k * kGridStep));
    extra_.clear();

    refineValveTurns();
    const auto die = [](const Sample& s) { return s.die; };
    const double dieHigh = refineExtreme(die, true);
    const double dieLow = refineExtreme(die, false);
    out.DieSlip = dieHigh - dieLow;
    out.ClosureMargin = closureMargin();

    merged_ = grid_;
    merged_.insert(merged_.end(), extra_.begin(), extra_.end());
    std::sort(merged_.begin(), merged_.end(),
              [](const Sample& a, const Sample& b) { return a.angle < b.angle; });

    float low = merged_[0].x, high = merged_[0].x;
    std::array<float, kEdgeCount> widest = merged_[0].open;
    for (const Sample& s : merged_) {
      low = std::min(low, s.x);
      high = std::max(high, s.x);
      for (int e = 0; e < kEdgeCount; ++e) widest[e] = std::max(widest[e], s.open[e]);
    }
    out.ValveTravel = static_cast<double>(high) - low;
    out.ErrorRanges = errorRanges();
    out.Error = probe_.anyError();
    locks_ = &out.ErrorRanges;

    for (int e = 0; e < kEdgeCount; ++e) edges_[e] = edgeSpells(e);
    out.Front = endEvents(FrontSteam, FrontExh, 0.0);
    out.Rear = endEvents(RearSteam, RearExh, 180.0);

    const ValveFace face = probe_.face();
    const PortConstants& ports = probe_.ports();
    auto openings = [&](EndEvents& end, int steam, int exhaust, double portWidth) {
      end.MaxSteamOpening = widest[steam];
      end.MaxExhaustOpening = widest[exhaust];
      end.EffectiveSteamOpening = std::clamp(end.MaxSteamOpening, 0.0, std::fabs(portWidth));
      end.EffectiveExhaustOpening = std::clamp(end.MaxExhaustOpening, 0.0, std::fabs(portWidth));
      end.ExhaustOpensFully = end.MaxExhaustOpening >= portWidth;
    };
    openings(out.Front, FrontSteam, FrontExh, face.SF);
    openings(out.Rear, RearSteam, RearExh, face.SR);
    // Fully open to steam: the valve's outer edge passes the port's far edge.
    out.Front.OpensFully = low <= ports.FrontPortFull;
    out.Rear.OpensFully = high >= -ports.RearPortFull;
    out.Front.SteamLap = ports.FrontSteamLap;
    out.Front.ExhaustLap = ports.FrontExhLap;
    out.Rear.SteamLap = ports.RearSteamLap;
    out.Rear.ExhaustLap = ports.RearExhLap;
    locks_ = nullptr;
    return out;
  }

 private:
  // Refines a grid extreme of `value` on the two cells beside it; returns the refined value and
  // keeps the refined sample for the crossing search.
  template <class Value>
  double refineAt(int k, Value value, bool largest) {
    const int n = static_cast<int>(grid_.size());
    const Sample& here = grid_[k];
    const Sample& before = grid_[(k + n - 1) % n];
    const Sample& after = grid_[(k + 1) % n];
    const double sign = largest ? 1.0 : -1.0;
    Sample best = here;
    auto f = [&](double angle) {
      const Sample s = probe_.at(angle);
      if (sign * value(s) > sign * value(best)) best = s;
      return sign * value(s);
    };
    const double centre = k * kGridStep;
    brentMax(f, centre - kGridStep, sign * value(before), centre, sign * value(here),
             centre + kGridStep, sign * value(after), kExtremeTolerance);
    if (best.angle != here.angle) extra_.push_back(best);
    return value(best);
  }

  template <class Value>
  double refineExtreme(Value value, bool largest) {
    return refineAt(extremeIndex(grid_, value, largest), value, largest);
  }

  // Every turning point of the valve: an edge that opens and closes again between two samples
  // shows at the refined turning point between them.
  void refineValveTurns() {
    const auto x = [](const Sample& s) { return static_cast<double>(s.x); };
    const std::vector<int> highs = turningPoints(grid_, x, true);
    const std::vector<int> lows = turningPoints(grid_, x, false);
    if (highs.size() + lows.size() > kMaxRefinedTurns) {
      refineExtreme(x, true);
      refineExtreme(x, false);
      return;
    }
    for (int k : highs) refineAt(k, x, true);
    for (int k : lows) refineAt(k, x, false);
  }

  JointMargin closureMargin() {
    std::array<double, kJointCount> worst{};
    for (int j = 0; j < kJointCount; ++j) {
      const auto ratio = [j](const Sample& s) { return s.nearLock[j]; };
      // The reverse arm does not move during a turn: any sample tells its margin.
      worst[j] = j == static_cast<int>(GearJoint::ReverseArm) ? grid_[0].nearLock[j]
                                                              : refineExtreme(ratio, true);
    }
    JointMargin m;
    int nearest = 0;
    for (int j = 1; j < kJointCount; ++j)
      if (worst[j] > worst[nearest]) nearest = j;
    m.Joint = static_cast<GearJoint>(nearest);
    m.Degrees = marginDegrees(worst[nearest]);
    bool first = true;
    for (GearJoint j : {GearJoint::Crosshead, GearJoint::ReverseArm, GearJoint::ValveStem}) {
      const double rod = std::fabs(probe_.rodLength(j));
      const double spare = rod - worst[static_cast<int>(j)] * rod;
      if (first || spare < m.SpareLength) {
        m.SpareJoint = j;
        m.SpareLength = spare;
      }
      first = false;
    }
    return m;
  }

  // One edge over the turn: which samples count as open once spells of noise are dropped, and
  // the refined sign changes that bound the real spells, in increasing driver angle.
  struct EdgeSpells {
    std::vector<char> open;  // per merged sample
    std::vector<Crossing> crossings;
    bool alwaysOpen = false;
  };

  EdgeSpells edgeSpells(int edge) {
    EdgeSpells out;
    const int n = static_cast<int>(merged_.size());
    out.open.resize(n);
    for (int k = 0; k < n; ++k) out.open[k] = isOpen(merged_[k], edge);
    int start = -1;
    for (int k = 0; k < n && start < 0; ++k)
      if (!out.open[k]) start = k;
    auto peakOf = [&](int from, int to) {  // over samples start+from .. start+to-1
      double peak = 0.0;
      for (int i = from; i < to; ++i) peak = std::max(peak, double(merged_[(start + i) % n].open[edge]));
      return peak;
    };
    if (start < 0) {
      start = 0;
      out.alwaysOpen = peakOf(0, n) > kOpenThreshold;
      if (!out.alwaysOpen) std::fill(out.open.begin(), out.open.end(), 0);
      return out;
    }
    // Each run of open samples is one spell; a spell that never opens past the threshold is
    // rounding, not steam, and is closed again. Its peak is a sample: the valve's turning points
    // are refined into the grid, and an opening follows the valve.
    for (int i = 1; i < n;) {
      if (!out.open[(start + i) % n]) {
        ++i;
        continue;
      }
      int j = i;
      while (out.open[(start + j) % n]) ++j;  // sample `start` is closed, so this ends
      if (peakOf(i, j) <= kOpenThreshold)
        for (int m = i; m < j; ++m) out.open[(start + m) % n] = 0;
      i = j;
    }
    for (int k = 0; k < n; ++k) {
      const int next = (k + 1) % n;
      if (out.open[k] == out.open[next]) continue;
      const Sample& a = merged_[k];
      const Sample& b = merged_[next];
      const double to = next > k ? b.angle : b.angle + 360.0;
      const auto f = [&](double angle) { return static_cast<double>(probe_.at(angle).open[edge]); };
      const double root = brentRoot(f, a.angle, a.open[edge], to, b.open[edge], kEventTolerance);
      out.crossings.push_back({wrap360(root), !out.open[k]});
    }
    return out;
  }

  // The open spells of an edge as driver-angle intervals [from, to], to - from in (0, 360].
  static std::vector<std::pair<double, double>> openIntervals(const EdgeSpells& e) {
    std::vector<std::pair<double, double>> out;
    if (e.alwaysOpen) out.push_back({0.0, 360.0});
    const int m = static_cast<int>(e.crossings.size());
    for (int k = 0; k < m; ++k) {
      if (!e.crossings[k].rising) continue;
      const double from = e.crossings[k].angle;
      double to = e.crossings[(k + 1) % m].angle;
      if (to <= from) to += 360.0;
      out.push_back({from, to});
    }
    return out;
  }

  int sampleIndexAt(double angle) const {
    for (int k = 0; k < static_cast<int>(merged_.size()); ++k)
      if (merged_[k].angle == angle) return k;
    return 0;
  }

  bool insideLock(double angle) const {
    for (const AngleRange& r : *locks_) {
      const bool wraps = r.From > r.To;
      if (wraps ? (angle >= r.From || angle <= r.To) : (angle >= r.From && angle <= r.To))
        return true;
    }
    return false;
  }

  // Crank travel after the front dead centre in the running direction.
  double travel(double angle) const { return forward_ ? angle : wrap360(-angle); }

  // An event at a driver angle, counted from its end's dead centre. Admission and compression
  // (aboutDeadCentre) may come before it and read negative there; cut-off and release follow
  // admission and read from 0 to 360.
  EventPoint eventAt(double angle, double deadCentre, bool front, bool aboutDeadCentre) {
    const double piston = probe_.pistonAt(angle);
    const double after = wrap360(travel(angle) - deadCentre);
    // Past half a turn the piston is on its way back: the percent is of the return stroke.
    const bool returnStroke = after >= 180.0;
    const bool fromFront = front != returnStroke;
    return {aboutDeadCentre ? wrap180(after) : after,
            fromFront ? frontStrokePercent(piston) : rearStrokePercent(piston)};
  }

  // One edge's opening and closing in the running direction: the open spell under way at the
  // reference (the end's dead centre for steam, the other dead centre for exhaust), or else the
  // first one to begin after it. An event where the gear cannot close is not reported.
  EdgeCycle edgeEvents(const EdgeSpells& spells, double reference, double deadCentre, bool front,
                       bool opensAboutDeadCentre, std::optional<EventPoint>& opens,
                       std::optional<EventPoint>& closes) {
    const std::vector<Crossing>& found = spells.crossings;
    if (found.empty()) return spells.alwaysOpen ? EdgeCycle::AlwaysOpen : EdgeCycle::NeverOpens;
    const bool openAtReference = spells.open[sampleIndexAt(reference)];
    // In the running direction an edge opens where it rises with the driver angle going
    // forwards, and where it falls with the driver angle going backwards.
    const Crossing* opening = nullptr;
    const Crossing* closing = nullptr;
    double bestOpen = 0.0, bestClose = 0.0;
    for (const Crossing& c : found) {
      const double u = travel(c.angle);
      if (c.rising == forward_) {
        const double d = openAtReference ? wrap360(reference - u) : wrap360(u - reference);
        if (!opening || d < bestOpen) opening = &c, bestOpen = d;
      }
    }
    const double from = openAtReference ? reference : travel(opening->angle);
    for (const Crossing& c : found) {
      if (c.rising == forward_) continue;
      const double d = wrap360(travel(c.angle) - from);
      if (!closing || d < bestClose) closing = &c, bestClose = d;
    }
    if (!insideLock(opening->angle))
      opens = eventAt(opening->angle, deadCentre, front, opensAboutDeadCentre);
    if (!insideLock(closing->angle))
      closes = eventAt(closing->angle, deadCentre, front, !opensAboutDeadCentre);
    return EdgeCycle::Cycles;
  }

  // Where both of an end's edges are open, as crank angles after its dead centre.
  std::vector<AngleRange> blowThrough(const EdgeSpells& steam, const EdgeSpells& exhaust,
                                      double deadCentre) const {
    std::vector<AngleRange> out;
    for (const auto& [s0, s1] : openIntervals(steam))
      for (const auto& [e0, e1] : openIntervals(exhaust))
        for (double shift : {-360.0, 0.0, 360.0}) {
          const double from = std::max(s0, e0 + shift), to = std::min(s1, e1 + shift);
          if (to <= from) continue;
          if (to - from >= 360.0) {
            out.push_back({0.0, 360.0});
            continue;
          }
          // Running backwards the spell is met from its larger driver angle.
          const double a = forward_ ? from : to, b = forward_ ? to : from;
          out.push_back({wrap360(travel(wrap360(a)) - deadCentre),
                         wrap360(travel(wrap360(b)) - deadCentre)});
        }
    std::sort(out.begin(), out.end(),
              [](const AngleRange& x, const AngleRange& y) { return x.From < y.From; });
    return out;
  }

  EndEvents endEvents(int steam, int exhaust, double deadCentre) {
    EndEvents end;
    const bool front = steam == FrontSteam;
    const double otherDead = wrap360(deadCentre + 180.0);
    end.Lead = merged_[sampleIndexAt(deadCentre)].open[steam];
    end.SteamEdge =
        edgeEvents(edges_[steam], deadCentre, deadCentre, front, true, end.Admission, end.CutOff);
    end.ExhaustEdge = edgeEvents(edges_[exhaust], otherDead, deadCentre, front, false,
                                 end.Release, end.Compression);
    end.IntoReturnStroke = edges_[steam].open[sampleIndexAt(otherDead)];
    end.BlowThrough = blowThrough(edges_[steam], edges_[exhaust], deadCentre);
    return end;
  }

  // Where the error flag changes between neighbouring samples, bisected; a range that runs
  // through 0 degrees has From > To.
  std::vector<AngleRange> errorRanges() {
    std::vector<AngleRange> out;
    const int n = static_cast<int>(merged_.size());
    std::vector<std::pair<double, bool>> edges;  // angle, error starts there
    for (int k = 0; k < n; ++k) {
      const Sample& a = merged_[k];
      const Sample& b = merged_[(k + 1) % n];
      if (a.error == b.error) continue;
      double lo = a.angle, hi = k + 1 < n ? b.angle : b.angle + 360.0;
      for (int step = 0; step < kMaxSearchSteps && hi - lo > kErrorTolerance; ++step) {
        const double mid = 0.5 * (lo + hi);
        (probe_.at(mid).error == a.error ? lo : hi) = mid;
      }
      edges.push_back({wrap360(0.5 * (lo + hi)), b.error});
    }
    if (edges.empty()) {
      if (merged_[0].error) out.push_back({0.0, 360.0});
      return out;
    }
    const int m = static_cast<int>(edges.size());
    for (int k = 0; k < m; ++k)
      if (edges[k].second) out.push_back({edges[k].first, edges[(k + 1) % m].first});
    return out;
  }

  Probe& probe_;
  bool forward_ = true;
  std::vector<Sample> grid_, extra_, merged_;
  std::array<EdgeSpells, kEdgeCount> edges_;
  const std::vector<AngleRange>* locks_ = nullptr;  // the notch's, while it is being solved
};

}  // namespace

double NotchRevArmMax(const GearSet& ws) {
  const double max = ws.Frame[dim::RevArmToCentMax];
  if (std::isnan(max)) return kMinRevArmMax;
  const double held = toSingle(max);
  if (std::fabs(held) < kMinRevArmMax) return std::copysign(kMinRevArmMax, held);
  return held;
}

std::string_view edgeCycleText(EdgeCycle cycle) {
  switch (cycle) {
    case EdgeCycle::NeverOpens:
      return "never opens";
    case EdgeCycle::AlwaysOpen:
      return "always open";
    case EdgeCycle::Cycles:
      break;
  }
  return "cycles";
}

std::string_view jointName(GearJoint joint) {
  switch (joint) {
    case GearJoint::Crosshead:
      return "Crosshead";
    case GearJoint::AnchorLink:
      return "Anchor link";
    case GearJoint::ReverseArm:
      return "Reverse arm";
    case GearJoint::DieBlock:
      return "Die block";
    case GearJoint::ValveStem:
      return "Valve stem";
  }
  return "";
}

double percentFromDeadCentre(const EventPoint& e) {
  if (e.CrankAngle < 0.0) return e.Stroke - 100.0;
  if (e.CrankAngle >= 180.0) return 100.0 + e.Stroke;
  return e.Stroke;
}

double frontStrokePercent(double pistonPos) {
  return pistonPos / 6.4;
}
double rearStrokePercent(double pistonPos) {
  return (640.0 - pistonPos) / 6.4;
}

OffsetRange ReachableOffsets(const GearSet& ws) {
  // The reverse-arm end sits at H = ReverseArmPos, the arm's pivot is the link pivot.
  const double pivot = ws.Pivots.H[6];
  const double arm = std::fabs(static_cast<double>(ws.Frame[dim::ReverseArmLength]));
  const double centre = ws.RevArmPositions[0];
  return {pivot - arm - centre, pivot + arm - centre};
}

namespace {

// The one place a notch is solved: the probe and solver for a set, with what every notch needs.
class TableSolver {
 public:
  explicit TableSolver(const GearSet& ws)
      : probe_(ws),
        solver_(probe_),
        centre_(ws.RevArmPositions[0]),
        reach_(ReachableOffsets(ws)),
        normalGear_(std::fabs(static_cast<double>(ws.Frame[dim::RevArmToCentNorm]))) {}

  NotchEvents at(double offset, float arm) {
    return solver_.solve(offset, arm, centre_, reach_, normalGear_);
  }
  NotchEvents at(double offset) { return at(offset, toSingle(centre_ + offset)); }
  float centre() const { return centre_; }

 private:
  Probe probe_;
  NotchSolver solver_;
  float centre_;
  OffsetRange reach_;
  double normalGear_;
};

}  // namespace

NotchEvents ValveEventsAt(const GearSet& ws, float reverseArmPos) {
  TableSolver table(ws);
  return table.at(static_cast<double>(reverseArmPos) - table.centre(), reverseArmPos);
}

NotchEvents ValveEvents(const GearSet& ws, double offset) {
  return TableSolver(ws).at(offset);
}

std::vector<double> DefaultNotchOffsets(const GearSet& ws) {
  // Row i of the port events diagram stands at i x Max / 18 from the centre; the table takes
  // every second row, forward then reverse, so each of its notches is one of the diagram's.
  const double max = NotchRevArmMax(ws);
  std::vector<double> offsets;
  for (int i = 18; i >= 2; i -= 2) offsets.push_back(i * max / 18);
  offsets.push_back(0.0);
  for (int i = 2; i <= 18; i += 2) offsets.push_back(-(i * max / 18));
  return offsets;
}

ValveEventsTable ComputeValveEvents(const GearSet& ws, const std::vector<double>& offsets) {
  ValveEventsTable table;
  TableSolver solver(ws);
  table.Centre = solver.centre();
  table.Reach = ReachableOffsets(ws);
  table.Notches.reserve(offsets.size());
  for (double offset : offsets) table.Notches.push_back(solver.at(offset));
  return table;
}

ValveEventsTable ComputeValveEvents(const GearSet& ws) {
  return ComputeValveEvents(ws, DefaultNotchOffsets(ws));
}

}  // namespace vek1
