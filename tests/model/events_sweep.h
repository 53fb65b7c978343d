#pragma once
// The valve events the slow, obvious way: turn the crank in small steps in the running direction
// and note every sign change of every opening, interpolated linearly between the two steps. The
// tests hold the table against it, and the benchmark measures what the table saves over it.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "numbers.h"
#include "gear.h"
#include "solver.h"
#include "valve.h"
#include "workspace.h"

namespace vek1::test {

struct SweptCrossing {
  double travel;  // crank travel after the front dead centre, running direction, [0, 360)
  double piston;  // PistonPos there
  bool opens;     // the edge opens here (in the running direction)
};

struct SweptNotch {
  // Front steam, front exhaust, rear steam, rear exhaust, as the valve model orders them.
  std::array<std::vector<SweptCrossing>, 4> edges;
  double frontLead = 0.0, rearLead = 0.0;
  double lowX = 0.0, highX = 0.0;
  std::array<double, 4> widest{};
  double lowDie = 0.0, highDie = 0.0;
  bool error = false;
  std::vector<double> errorAngles;  // driver angles of the steps that raised the error latch
};

// Sweeps one turn at `step` degrees. Where an edge changes sign between two steps the interval
// is swept again at `fineStep` (pass the same value for a plain sweep), so a coarse pass with a
// fine refinement finds what one fine sweep over the whole turn would.
inline SweptNotch sweepNotch(const Workspace& base, float arm, bool forward, double step,
                             double fineStep) {
  const GearDimensions gear = gearOf(base);
  SweptNotch out;
  bool first = true;
  auto solveTravel = [&](double travel) {
    double angle = forward ? travel : 360.0 - travel;
    if (angle >= 360.0) angle -= 360.0;
    const float driverAngle = toSingle(angle);
    const GearPose pose = solveGear(gear, driverAngle, arm);
    const ValveState valve = valveStateOf(gear, pose);
    const double x = pose.Ports.ValveDisplacement;
    const auto& H = pose.Pivots.H;
    const auto& V = pose.Pivots.V;
    const double die = std::remainder(std::atan2(double(V[8]) - V[14], double(H[8]) - H[14]) -
                                          std::atan2(double(V[6]) - V[14], double(H[6]) - H[14]),
                                      2.0 * 3.14159265358979323846) *
                       std::fabs(gear.Frame[dim::LinkRadius]);
    const std::array<float, 4> open = {valve.FrontSteamOpen, valve.FrontExhOpen,
                                       valve.RearSteamOpen, valve.RearExhOpen};
    if (first) {
      out.lowX = out.highX = x;
      out.lowDie = out.highDie = die;
      for (int e = 0; e < 4; ++e) out.widest[e] = open[e];
      first = false;
    }
    out.lowX = std::min(out.lowX, x);
    out.highX = std::max(out.highX, x);
    out.lowDie = std::min(out.lowDie, die);
    out.highDie = std::max(out.highDie, die);
    for (int e = 0; e < 4; ++e) out.widest[e] = std::max(out.widest[e], double(open[e]));
    if (!pose.Closed || !valve.Closed) {
      out.error = true;
      out.errorAngles.push_back(driverAngle);
    }
    return std::pair{open, double(valve.PistonPos)};
  };

  const long steps = std::lround(360.0 / step);
  auto [prevOpen, prevPiston] = solveTravel(0.0);
  out.frontLead = prevOpen[0];
  for (long i = 1; i <= steps; ++i) {
    const double from = (i - 1) * step, to = i * step;
    auto [open, piston] = solveTravel(to);
    if (i * 2 == steps) out.rearLead = open[2];
    for (int e = 0; e < 4; ++e) {
      if ((prevOpen[e] > 0.0f) == (open[e] > 0.0f)) continue;
      // Sweep the interval again finely and interpolate in the first fine step that changes.
      double a = from, fa = prevOpen[e], pa = prevPiston;
      const long fine = std::max(1L, std::lround(step / fineStep));
      for (long k = 1; k <= fine; ++k) {
        const double b = k == fine ? to : from + k * (to - from) / fine;
        const auto [fineOpen, finePiston] = k == fine ? std::pair{open, piston} : solveTravel(b);
        const double fb = fineOpen[e];
        if ((fa > 0.0) != (fb > 0.0)) {
          const double t = fa / (fa - fb);
          out.edges[e].push_back(
              {std::fmod(a + t * (b - a), 360.0), pa + t * (finePiston - pa), fb > 0.0});
          break;
        }
        a = b;
        fa = fb;
        pa = finePiston;
      }
    }
    prevOpen = open;
    prevPiston = piston;
  }
  return out;
}

}  // namespace vek1::test
