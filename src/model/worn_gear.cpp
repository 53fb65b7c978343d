#include "worn_gear.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <random>

#include "dimensions.h"
#include "numbers.h"
#include "valve_events.h"

namespace vek1 {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The crank pin and the crosshead are the main rod's two ends: play at either changes the
// distance from the crank pin to the hanger and to the crosshead, or to the crosshead alone. At
// the hanger the coupler shifts along itself, so the hanger's distance to both coupler joints
// changes: "Coupler Upper". The coupler's lower joint changes its distance to the hanger alone;
// the valve lever's lower pin on the coupler its distance to the die block and the lever top
// alike ("Valve Lever Lower"). The anchor link's frame pin changes the anchor link; the die in
// its slot the radius the valve lever sees; both ends of the radius rod the radius rod.
constexpr std::array<WearJointInfo, kWearJointCount> kJoints = {{
    {"Crank pin", "crank-pin", dim::MainRodCrankEnd},
    {"Crosshead", "crosshead", dim::MainRodPistonEnd},
    {"Main-rod hanger", "hanger", dim::CouplerUpper},
    {"Coupler at valve lever", "coupler-lever", dim::ValveLeverLower},
    {"Coupler at anchor link", "coupler-anchor", dim::CouplerLower},
    {"Anchor link pivot", "anchor-pivot", dim::AnchorLinkLength},
    {"Die in link", "die", dim::LinkRadius},
    {"Valve lever top", "lever-top", dim::RadiusRod},
    {"Valve stem joint", "valve-stem", dim::RadiusRod},
    {"Reverse arm end", "reverse-arm", 0},
}};

constexpr std::array<std::string_view, kWearFigureCount> kFigureKeys = {
    "Front.Lead",  "Front.CutOff", "Front.Release", "Front.Compression",
    "Rear.Lead",   "Rear.CutOff",  "Rear.Release",  "Rear.Compression",
    "Front.Reach", "Rear.Reach"};

// The play a derivative is taken at: small against any clearance worth studying, large against
// the rounding of the singles the dimensions are kept in.
constexpr double kDerivativeStep = 1e-3;

double percent(const std::optional<EventPoint>& e) {
  return e ? percentFromDeadCentre(*e) : kNaN;
}

void endFigures(const EndEvents& e, double* out) {
  out[0] = e.Lead;
  out[1] = percent(e.CutOff);
  out[2] = percent(e.Release);
  out[3] = percent(e.Compression);
}

// The stroke events, which the joints' shares are counted over.
constexpr std::array<int, 6> kStrokeFigures = {kWearFrontCutOff, kWearFrontRelease,
                                               kWearFrontCompression, kWearRearCutOff,
                                               kWearRearRelease, kWearRearCompression};

// The corners of the play solved so far at one notch: bit j set is joint j at +c, clear at -c.
class CornerCache {
 public:
  CornerCache(const Workspace& ws, float pos, const Clearances& c) : ws_(ws), pos_(pos), c_(c) {}
  const WearFigures& at(std::uint32_t corner) {
    auto found = solved_.find(corner);
    if (found != solved_.end()) return found->second;
    PlayState play{};
    for (int j = 0; j < kWearJointCount; ++j) play[j] = (corner >> j & 1u) ? c_[j] : -c_[j];
    return solved_.emplace(corner, wornFigures(ws_, pos_, play)).first->second;
  }
  const std::map<std::uint32_t, WearFigures>& solved() const { return solved_; }
  PlayState play(std::uint32_t corner) const {
    PlayState p{};
    for (int j = 0; j < kWearJointCount; ++j) p[j] = (corner >> j & 1u) ? c_[j] : -c_[j];
    return p;
  }

 private:
  const Workspace& ws_;
  float pos_;
  const Clearances& c_;
  std::map<std::uint32_t, WearFigures> solved_;
};

// The corner that moves figure k furthest in direction `side` (+1 largest, -1 smallest), from
// the corner the derivatives point to, by single flips.
std::uint32_t searchCorner(CornerCache& cache, const WearNotch& n, const Clearances& c, int k,
                           int side) {
  std::uint32_t corner = 0;
  for (int j = 0; j < kWearJointCount; ++j)
    if (side * n.Derivative[j][k] >= 0.0) corner |= 1u << j;
  double best = cache.at(corner)[k];
  if (!std::isfinite(best)) return corner;
  for (int pass = 0; pass < kWearJointCount; ++pass) {
    bool improved = false;
    for (int j = 0; j < kWearJointCount; ++j) {
      if (c[j] == 0.0) continue;
      const std::uint32_t flipped = corner ^ (1u << j);
      const double v = cache.at(flipped)[k];
      if (std::isfinite(v) && side * (v - best) > 0.0) {
        corner = flipped;
        best = v;
        improved = true;
      }
    }
    if (!improved) break;
  }
  return corner;
}

}  // namespace

const WearJointInfo& wearJointInfo(int joint) {
  return kJoints[static_cast<size_t>(std::clamp(joint, 0, kWearJointCount - 1))];
}

int wearJointByKey(std::string_view key) {
  for (int j = 0; j < kWearJointCount; ++j)
    if (kJoints[j].Key == key) return j;
  return -1;
}

static_assert(kWearJointCount == kJointClearanceCount, "the set keeps one clearance per joint");

Clearances clearancesOf(const GearSet& ws) {
  Clearances c;
  for (int j = 0; j < kWearJointCount; ++j) c[j] = ws.JointClearances[static_cast<size_t>(j)];
  return c;
}

Clearances defaultClearances() {
  Clearances c;
  c.fill(kDefaultClearance);
  return c;
}

std::optional<std::string_view> checkClearances(const Clearances& c) {
  for (double x : c)
    if (!std::isfinite(x) || x < 0.0 || x > kMaxClearance)
      return "a clearance is a number from 0 to 0.1";
  return std::nullopt;
}

std::string_view wearFigureKey(int figure) {
  return figure >= 0 && figure < kWearFigureCount ? kFigureKeys[figure] : "";
}

WearFigures wornFigures(const Workspace& ws, float reverseArmPos, const PlayState& play) {
  Workspace worn = ws;
  std::map<int, double> change;
  for (int j = 0; j < kWearJointCount; ++j)
    if (kJoints[j].Dimension != 0) change[kJoints[j].Dimension] += play[j];
  for (const auto& [id, delta] : change)
    if (delta != 0.0) setDimension(worn, id, toSingle(dimensionValue(ws, id) + delta));
  const float pos = toSingle(static_cast<double>(reverseArmPos) + play[kReverseArmEnd]);
  const NotchEvents n = ValveEventsAt(worn, pos);
  WearFigures f;
  f.fill(kNaN);
  if (n.OutOfReach) return f;
  endFigures(n.Front, &f[kWearFrontLead]);
  endFigures(n.Rear, &f[kWearRearLead]);
  f[kWearFrontReach] = n.Front.MaxSteamOpening;
  f[kWearRearReach] = n.Rear.MaxSteamOpening;
  return f;
}

WearNotch studyWornNotch(const Workspace& ws, double offset, const Clearances& asked) {
  // A clearance that is not a number, or negative, is no play; one beyond the largest is held
  // there, so a bad value can only make a smaller study, never a non-finite dimension.
  Clearances c = asked;
  for (double& x : c) x = std::isfinite(x) && x > 0.0 ? std::min(x, kMaxClearance) : 0.0;
  WearNotch n;
  n.Offset = offset;
  const NotchEvents nominal = ValveEvents(ws, offset);
  n.ReverseArmPos = nominal.ReverseArmPos;
  n.OutOfReach = nominal.OutOfReach;
  n.ValveTravel = nominal.ValveTravel;
  const WearFigures base = wornFigures(ws, n.ReverseArmPos, PlayState{});
  ++n.Evaluations;
  for (int k = 0; k < kWearFigureCount; ++k) n.Envelope[k] = {base[k], base[k], base[k]};
  if (n.OutOfReach) return n;

  for (int j = 0; j < kWearJointCount; ++j) {
    if (c[j] == 0.0) continue;
    PlayState up{}, down{};
    up[j] = kDerivativeStep;
    down[j] = -kDerivativeStep;
    const WearFigures a = wornFigures(ws, n.ReverseArmPos, up);
    const WearFigures b = wornFigures(ws, n.ReverseArmPos, down);
    n.Evaluations += 2;
    for (int k = 0; k < kWearFigureCount; ++k) {
      const double d = (a[k] - b[k]) / (2.0 * kDerivativeStep);
      n.Derivative[j][k] = std::isfinite(d) ? d : 0.0;
      n.LinearSpread[k] += 2.0 * c[j] * std::fabs(n.Derivative[j][k]);
    }
  }

  CornerCache cache(ws, n.ReverseArmPos, c);
  for (int k = 0; k < kWearFigureCount; ++k) {
    if (!std::isfinite(base[k])) continue;
    n.MinAt[k] = cache.play(searchCorner(cache, n, c, k, -1));
    n.MaxAt[k] = cache.play(searchCorner(cache, n, c, k, +1));
  }
  // Every corner solved is a state the play allows: the envelope is the widest any of them
  // reached, so a figure also gains from the corners other figures' searches visited.
  for (const auto& [corner, f] : cache.solved())
    for (int k = 0; k < kWearFigureCount; ++k) {
      WearEnvelope& e = n.Envelope[k];
      if (!std::isfinite(e.Nominal) || !std::isfinite(f[k])) continue;
      if (f[k] < e.Min) {
        e.Min = f[k];
        n.MinAt[k] = cache.play(corner);
      }
      if (f[k] > e.Max) {
        e.Max = f[k];
        n.MaxAt[k] = cache.play(corner);
      }
    }
  n.Evaluations += static_cast<int>(cache.solved().size());

  for (int k : {kWearFrontReach, kWearRearReach})
    if (std::isfinite(n.Envelope[k].Nominal))
      n.LostMotion += n.Envelope[k].Nominal - n.Envelope[k].Min;

  double total = 0.0;
  std::array<double, kWearJointCount> part{};
  for (int j = 0; j < kWearJointCount; ++j) {
    for (int k : kStrokeFigures) part[j] += 2.0 * c[j] * std::fabs(n.Derivative[j][k]);
    total += part[j];
  }
  for (int j = 0; j < kWearJointCount; ++j)
    n.Joints.push_back({j, c[j], total > 0.0 ? part[j] / total : 0.0});
  return n;
}

WearStudy ComputeWornGear(const Workspace& ws, const std::vector<double>& offsets,
                          const Clearances& c) {
  WearStudy study;
  study.Clearance = c;
  for (double x : offsets) study.Notches.push_back(studyWornNotch(ws, x, c));
  return study;
}

SampledRange sampleWornNotch(const Workspace& ws, float reverseArmPos, const Clearances& c,
                             int count, std::uint32_t seed) {
  SampledRange r;
  r.Min.fill(std::numeric_limits<double>::infinity());
  r.Max.fill(-std::numeric_limits<double>::infinity());
  std::mt19937 rng(seed);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  for (int i = 0; i < count; ++i) {
    PlayState play{};
    for (int j = 0; j < kWearJointCount; ++j) play[j] = c[j] * unit(rng);
    const WearFigures f = wornFigures(ws, reverseArmPos, play);
    for (int k = 0; k < kWearFigureCount; ++k) {
      if (!std::isfinite(f[k])) continue;
      r.Min[k] = std::min(r.Min[k], f[k]);
      r.Max[k] = std::max(r.Max[k], f[k]);
    }
  }
  return r;
}

}  // namespace vek1
