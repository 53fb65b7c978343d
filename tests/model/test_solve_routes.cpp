// The solver's quick route: a shorter route's single is kept only where it is certainly the
// written route's single, and on ordinary values it nearly always is.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>

#include "solve_routes.h"

namespace vek1 {
namespace {

using solve_route::Exact;
using solve_route::Quick;

std::uint32_t bits(float x) {
  return std::bit_cast<std::uint32_t>(x);
}

// Inputs found by search where the shorter route's double lands on the other side of a boundary
// between two singles from the written route's (each result lies within a few units in the last
// place of a midpoint between singles). The quick route must give these up.
TEST(SolveRoutes, AShorterRouteThatWouldRoundToAnotherSingleIsNotKept) {
  {
    // A point 1/161 of the way along a line a little over 161 long, from 0: the written route
    // reaches the single just above 1, the product with the rounded ratio reaches 1.
    const double delta = 0x1.4200014200001p+7;
    Quick quick;
    const float shorter = quick.along(0.0, delta, 1.0, 161.0, 1.0 / 161.0);
    const float written = Exact{}.along(0.0, delta, 1.0, 161.0, 1.0 / 161.0);
    EXPECT_EQ(bits(written), bits(0x1.000002p+0f));
    EXPECT_NE(bits(shorter), bits(written));
    EXPECT_FALSE(quick.stands());
  }
  struct Quotient {
    double m;
    float D, a;
  };
  const Quotient quotients[] = {{0x1.318d323702ae3p+10, 0x1.b7f7cep+3f, 0x1.638938p+6f},
                                {0x1.1d14e815926dfp+11, 0x1.9322dp+5f, 0x1.6a0e56p+5f},
                                {0x1.0466453d5d34dp+8, 0x1.888106p+5f, 0x1.53a5e4p+2f}};
  for (const Quotient& q : quotients) {
    Quick quick;
    EXPECT_NE(bits(quick.over(q.m, q.D, q.a)), bits(Exact{}.over(q.m, q.D, q.a))) << q.m;
    EXPECT_FALSE(quick.stands()) << q.m;
  }
}

// Over the sizes a gear has, the quick route keeps its shorter route nearly always (each time it
// gives one up, the whole solve is done again) and, where it keeps it, gives the written single.
TEST(SolveRoutes, OrdinaryValuesTakeTheShorterRouteToTheSameSingle) {
  std::mt19937 rng(20261211);
  std::uniform_real_distribution<float> coordinate(-20.0f, 20.0f), length(0.05f, 20.0f);
  constexpr int kCases = 200000;
  int kept = 0;
  for (int n = 0; n < kCases; ++n) {
    const float base = coordinate(rng), end = coordinate(rng);
    const double delta = static_cast<double>(end) - base;
    const double part = length(rng), whole = length(rng);
    Quick along;
    const float a = along.along(base, delta, part, whole, part / whole);
    if (along.stands()) {
      ++kept;
      ASSERT_EQ(bits(a), bits(Exact{}.along(base, delta, part, whole, 0.0))) << n;
    }
    const float D = length(rng), r = length(rng), c = length(rng);
    const double m =
        (static_cast<double>(D) * D + static_cast<double>(r) * r - static_cast<double>(c) * c) /
        2.0;
    Quick over;
    const float q = over.over(m, D, r);
    if (over.stands()) {
      ++kept;
      ASSERT_EQ(bits(q), bits(Exact{}.over(m, D, r))) << n;
    }
  }
  EXPECT_GT(kept, 2 * kCases - 2 * kCases / 1000) << kept << " of " << 2 * kCases;
}

}  // namespace
}  // namespace vek1
