#pragma once
// The solver's two routes through its arithmetic (solver.cpp runs the one solve with either).

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

#include "numbers.h"

namespace vek1::solve_route {

// How the solver stores each intermediate as a single (its `single`), and how it works out the
// two shapes of step that put a division on the solve's longest chain: a point `length` along a
// line of `whole` from `base` (base + delta * length / whole), and the law of cosines' quotient
// m / D / a.
//
// Exact is the solve as written: each step's arithmetic in its order, each store saturating at
// the largest single as toSingle does everywhere. Quick stores with a plain conversion and takes
// the shorter routes: delta times the ratio length / whole, which is worked out beside the chain,
// and m over the product D * a, which is exact because D and a are singles. A shorter route's
// double lies within a few units in its last place of the written route's, so its single is the
// written route's single unless a boundary between two singles falls in between; `near` keeps it
// only where no boundary lies within a generous bound. The quick pass stands where every store
// was finite and every shorter route certain; otherwise the exact pass gives the pose. Either way
// the pose is the written arithmetic's, bit for bit.
//
// Beyond its libm calls, what a solve costs is the chain of divisions, conversions and tests
// between them. The quick pass takes five of the seven divisions those steps add off the chain,
// and all the saturating tests; its own checks run beside it.
struct Exact {
  float operator()(double x) const { return toSingle(x); }
  float along(double base, double delta, double length, double whole, double /*ratio*/) const {
    return toSingle(base + delta * length / whole);
  }
  float over(double m, float D, double a) const { return toSingle(m / D / a); }
};
struct Quick {
  std::uint32_t largest = 0;  // the largest magnitude stored, as its bits
  bool certain = true;        // every shorter route rounded to the written route's single
  float operator()(double x) {
    const float single = static_cast<float>(x);
    largest = std::max(largest, std::bit_cast<std::uint32_t>(single) & 0x7fffffffu);
    return single;
  }
  float along(double base, double delta, double /*length*/, double /*whole*/, double ratio) {
    // The written route rounds delta * length, then its quotient, then the sum; this one rounds
    // length / whole, delta times it, then the sum: at most 4 units in the last place of the
    // product and 2 of the sum apart. The bound allows four times that.
    const double t = delta * ratio;
    const double x = base + t;
    return near(x, (std::fabs(t) + std::fabs(x)) * 0x1p-49);
  }
  float over(double m, float D, double a) {
    // m / D / a rounds twice, m / (D * a) once: at most 3 units in the last place apart.
    const double x = m / (D * a);
    return near(x, std::fabs(x) * 0x1p-49);
  }
  // Infinities and NaNs have the largest magnitudes' bit patterns, from the infinity's up.
  bool stands() const { return certain && largest < 0x7f800000u; }

 private:
  // x, known to within `bound` of the written route's double: its single, noted as uncertain
  // unless both ends of the bound round to that single too. Near zero the bound cannot be
  // relative (the doubles there are subnormal), so it never reaches below a fixed floor, and a
  // result within that floor of zero is never certain.
  float near(double x, double bound) {
    bound += 0x1p-1000;
    certain &= std::bit_cast<std::uint32_t>(static_cast<float>(x - bound)) ==
               std::bit_cast<std::uint32_t>(static_cast<float>(x + bound));
    return (*this)(x);
  }
};

}  // namespace vek1::solve_route
