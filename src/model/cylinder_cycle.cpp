#include "cylinder_cycle.h"

#include <algorithm>
#include <cmath>

namespace vek1 {

double nozzleFlow(double area, double pUp, double rhoUp, double pDown, double n) {
  if (!(area > 0.0) || !(pUp > pDown) || !(rhoUp > 0.0)) return 0.0;
  const double critical = std::pow(2.0 / (n + 1.0), n / (n - 1.0));
  const double r = std::max(pDown / pUp, critical);
  const double psi = std::pow(r, 2.0 / n) - std::pow(r, (n + 1.0) / n);
  return area * std::sqrt(std::max(0.0, 2.0 * n / (n - 1.0) * pUp * rhoUp * psi));
}

namespace {

// A reservoir the end exchanges steam with: its pressure and the p v of its steam.
struct Reservoir {
  double p = 0.0;
  double pv = 0.0;
};

// One step's balance at a trial end pressure: the residual of the energy equation (positive
// when the trial pressure is too high) and the masses moved.
struct StepBalance {
  double residual = 0.0;
  double steamIn = 0.0;     // kg in through the steam port (negative: blown back)
  double exhaustOut = 0.0;  // kg out through the exhaust (negative: drawn back)
};

// The end's state at a sample.
struct EndState {
  double p = 0.0;  // Pa
  double m = 0.0;  // kg
  double v = 0.0;  // m^3
};

// Steps the end by the second-order backward difference (BDF2): stable however stiff the flow
// (a wide port at a slow speed), and accurate to the square of the step where the ports
// throttle. The first step, with no history, is a backward Euler step.
class EndStepper {
 public:
  explicit EndStepper(const CycleConditions& c) : c_(c), k_(c.Exponent / (c.Exponent - 1.0)) {
    chest_ = {c.ChestPressure, c.ChestPressure * c.ChestVolume};
    // Exhaust steam drawn back has the chest steam's state expanded to the back pressure.
    exhaust_ = {c.BackPressure, chest_.pv * std::pow(c.BackPressure / c.ChestPressure,
                                                     (c.Exponent - 1.0) / c.Exponent)};
  }

  double exhaustPv() const { return exhaust_.pv; }

  // Moves the end from `now` to volume v1, with the mean flow areas over the step. Returns the
  // new state and adds the masses moved.
  EndState step(const EndState& now, double v1, double aSteam, double aExh, double& steamIn,
                double& exhaustOut) {
    // BDF2: y1 - 4/3 y0 + 1/3 y-1 = 2/3 h f(y1); BDF1: y1 - y0 = h f(y1).
    const bool two = hasPrev_;
    const double c0 = two ? -4.0 / 3.0 : -1.0, cm = two ? 1.0 / 3.0 : 0.0;
    const double g = two ? 2.0 / 3.0 : 1.0;
    const EndState& was = two ? prev_ : now;
    const double n1 = c_.Exponent - 1.0;
    const double uHist = c0 * now.p * now.v / n1 + cm * was.p * was.v / n1;
    const double vHist = v1 + c0 * now.v + cm * was.v;  // the volume's change, BDF-weighted
    const double mHist = -c0 * now.m - cm * was.m;
    // The end's steam as it leaves: its p v carried forward from the last two samples.
    const double pvNow = now.p * now.v / now.m;
    double pvEnd = pvNow;
    if (two) pvEnd = std::clamp(2.0 * pvNow - was.p * was.v / was.m, 0.5 * pvNow, 2.0 * pvNow);

    auto balance = [&](double p) {
      StepBalance b;
      b.steamIn = exchange(aSteam, p, pvEnd, chest_) * c_.StepSeconds;
      b.exhaustOut = -exchange(aExh, p, pvEnd, exhaust_) * c_.StepSeconds;
      const double hEnd = k_ * pvEnd;
      const double energyIn = (b.steamIn >= 0 ? k_ * chest_.pv : hEnd) * b.steamIn -
                              (b.exhaustOut >= 0 ? hEnd : k_ * exhaust_.pv) * b.exhaustOut;
      b.residual = p * v1 / n1 + uHist - g * energyIn + p * vHist;
      return b;
    };
    auto finish = [&](double p, const StepBalance& b) {
      prev_ = now;
      hasPrev_ = true;
      steamIn += b.steamIn;
      exhaustOut += b.exhaustOut;
      return EndState{p, mHist + g * (b.steamIn - b.exhaustOut), v1};
    };
    // With both openings shut the balance is linear in p.
    const double shut = -uHist / (v1 / n1 + vHist);
    if (!(aSteam > 0.0) && !(aExh > 0.0)) return finish(shut, StepBalance{});

    // The new pressure lies near the shut one and the reservoirs'; the residual rises with the
    // pressure, so a bracket widened until it changes sign holds exactly one root.
    double lo = std::min({shut, chest_.p, exhaust_.p, now.p});
    double hi = std::max({shut, chest_.p, exhaust_.p, now.p});
    StepBalance bl = balance(lo), bh = balance(hi);
    for (int i = 0; i < 60 && bl.residual > 0.0; ++i) bl = balance(lo *= 0.5);
    for (int i = 0; i < 60 && bh.residual < 0.0; ++i) bh = balance(hi *= 2.0);
    // Illinois false position: superlinear, and never leaves the bracket.
    double flo = bl.residual, fhi = bh.residual;
    StepBalance best = std::fabs(flo) < std::fabs(fhi) ? bl : bh;
    double p = std::fabs(flo) < std::fabs(fhi) ? lo : hi;
    int side = 0;
    for (int i = 0; i < 100 && hi - lo > 1e-10 * hi; ++i) {
      p = (lo * fhi - hi * flo) / (fhi - flo);
      if (!(p > lo && p < hi)) p = 0.5 * (lo + hi);
      best = balance(p);
      if (best.residual == 0.0) break;
      if (best.residual < 0.0) {
        lo = p;
        flo = best.residual;
        if (side == -1) fhi *= 0.5;
        side = -1;
      } else {
        hi = p;
        fhi = best.residual;
        if (side == 1) flo *= 0.5;
        side = 1;
      }
    }
    return finish(p, best);
  }

 private:
  // Flow into the end (kg/s, negative: out of it) through an opening to a reservoir, the end at
  // pressure p with steam of p v pvEnd.
  double exchange(double area, double p, double pvEnd, const Reservoir& r) const {
    if (!(area > 0.0)) return 0.0;
    if (r.p > p) return nozzleFlow(area, r.p, r.p / r.pv, p, c_.Exponent);
    return -nozzleFlow(area, p, p / pvEnd, r.p, c_.Exponent);
  }

  const CycleConditions& c_;
  double k_;
  Reservoir chest_, exhaust_;
  EndState prev_;
  bool hasPrev_ = false;
};

bool conditionsValid(const EndTrace& t, const CycleConditions& c) {
  const std::size_t n = t.Travel.size();
  auto positive = [](double v) { return std::isfinite(v) && v > 0.0; };
  return n >= 8 && t.SteamArea.size() == n && t.ExhaustArea.size() == n &&
         positive(c.ChestPressure) && positive(c.ChestVolume) && positive(c.BackPressure) &&
         c.BackPressure < c.ChestPressure && std::isfinite(c.Exponent) && c.Exponent > 1.0 &&
         positive(c.SweptVolume) && positive(c.ClearanceVolume) && positive(c.StepSeconds) &&
         c.MaxRevolutions >= 1;
}

bool near(double a, double b, double scale, double tol) {
  return std::fabs(a - b) <= tol * std::max({std::fabs(a), std::fabs(b), scale});
}

}  // namespace

CycleResult runCycle(const EndTrace& trace, const CycleConditions& c) {
  CycleResult r;
  if (!conditionsValid(trace, c)) return r;
  const std::size_t n = trace.Travel.size();
  std::vector<double> volume(n);
  for (std::size_t i = 0; i < n; ++i)
    volume[i] = c.ClearanceVolume + std::clamp(trace.Travel[i], 0.0, 1.0) * c.SweptVolume;

  EndStepper stepper(c);
  EndState end{c.BackPressure, volume[0] * c.BackPressure / stepper.exhaustPv(), volume[0]};
  // What a revolution's work and steam are compared against when they are near zero.
  const double workScale = 1e-2 * c.ChestPressure * c.SweptVolume;
  const double massScale = 1e-2 * c.SweptVolume / c.ChestVolume;
  r.Pressure.resize(n);
  double lastWork = 0.0, lastIn = 0.0;
  for (int rev = 1; rev <= c.MaxRevolutions; ++rev) {
    double work = 0.0, in = 0.0, out = 0.0;
    const double heldAtStart = end.m;
    for (std::size_t i = 0; i < n; ++i) {
      const std::size_t j = (i + 1) % n;
      r.Pressure[i] = end.p;
      // The backward difference takes the flow at the step's end, so the areas there.
      const double aS = std::max(trace.SteamArea[j], 0.0);
      const double aE = std::max(trace.ExhaustArea[j], 0.0);
      const EndState next = stepper.step(end, volume[j], aS, aE, in, out);
      work += 0.5 * (end.p + next.p) * (volume[j] - volume[i]);
      end = next;
      if (!(std::isfinite(end.p) && end.p > 0.0 && end.m > 0.0)) return CycleResult{};
    }
    r.Work = work;
    r.SteamIn = in;
    r.SteamOut = out;
    r.HeldChange = end.m - heldAtStart;
    r.Revolutions = rev;
    if (rev > 1 && near(work, lastWork, workScale, c.SettleTolerance) &&
        near(in, lastIn, massScale, c.SettleTolerance) &&
        std::fabs(r.HeldChange) <= c.SettleTolerance * std::max(std::fabs(in), massScale)) {
      r.Settled = true;
      break;
    }
    lastWork = work;
    lastIn = in;
  }
  return r;
}

}  // namespace vek1
