// The solver over 10 000 random gears (seeded, so every run sees the same ones): a mix of ordinary
// gears, gears with some dimensions zero, negative, tiny or huge, and gears made of nothing but
// such values, each solved over a turn at five reverse-arm positions. Every pose must be finite,
// and the error flag must be raised exactly when the gear cannot close. Whether it can close is
// judged here from the geometry alone: each pivot the solver places is the meeting of a circle
// with a circle or with a line, and those meet only when the centres lie within reach.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "gear.h"
#include "model_support.h"
#include "numbers.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

// How a meeting of the gear stands.
enum class Reach {
  Closes,      // meets with room to spare
  Fails,       // clearly out of reach: the solver must raise the flag
  Borderline,  // too near the edge, or too ill-conditioned in singles, to call
};

// Relative margin below which a meeting is too close to call, and the largest cosine of a
// triangle's angle at which two circles still meet clearly (the solver's clamp lies beyond it).
constexpr double kReachBand = 1e-4;
constexpr double kCosineBand = 0.9999;
// Lengths and offsets this small make a construction degenerate (a rod of no length, two
// centres on one spot, a direction taken from a vanishing component); the solver substitutes a
// value then and raises the flag by design, so such a pose is not judged.
constexpr double kDegenerate = 2e-5;

const double kLargestSquarable = std::sqrt(3.4028234663852886e38);

double relative(double margin, double a, double b, double c = 0.0) {
  const double scale = std::max({std::fabs(a), std::fabs(b), std::fabs(c)});
  return scale > 0.0 ? margin / scale : 0.0;
}

Reach judge(double relativeMargin) {
  if (relativeMargin > kReachBand) return Reach::Closes;
  if (relativeMargin < -kReachBand) return Reach::Fails;
  return Reach::Borderline;
}

// A circle of radius r about a centre at distance d from a line.
Reach circleMeetsLine(double r, double d) {
  return judge(relative(std::fabs(r) - std::fabs(d), r, d));
}

// Circles of radii r1, r2 with centres D apart: they meet when |r1 - r2| <= D <= r1 + r2.
Reach circlesMeet(double r1, double r2, double D) {
  r1 = std::fabs(r1), r2 = std::fabs(r2);
  const double margin = std::min(D - std::fabs(r1 - r2), r1 + r2 - D);
  const Reach reach = judge(relative(margin, r1, r2, D));
  if (reach != Reach::Closes) return reach;
  // Circles that meet at a very flat angle are as good as tangent in single precision.
  const double cosine = (D * D + r1 * r1 - r2 * r2) / (2.0 * D * r1);
  return std::fabs(cosine) < kCosineBand ? Reach::Closes : Reach::Borderline;
}

struct Verdict {
  bool fails = false;      // some meeting is clearly out of reach
  bool undecided = false;  // some meeting is borderline or degenerate
};

// Walks the meetings in the order the gear is built, with the centres where the solved pose put
// them: a meeting out of reach anywhere means the gear did not close.
Verdict closure(const Workspace& ws) {
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  auto len = [&ws](int id) { return static_cast<double>(dimensionValue(ws, id)); };
  auto dist = [&ws](int a, int b) { return test::distance(ws, a, b); };
  const double mainRod = static_cast<float>(len(dim::MainRodCrankEnd) + len(dim::MainRodPistonEnd));
  const double coupler = static_cast<float>(len(dim::CouplerUpper) + len(dim::CouplerLower));
  const double anchor = len(dim::AnchorLinkLength), link = len(dim::LinkRadius);
  const double lowerLever = len(dim::ValveLeverLower);

  Verdict v;
  auto add = [&v](Reach r) {
    v.fails |= r == Reach::Fails;
    v.undecided |= r == Reach::Borderline;
  };
  // Crosshead: the main rod about the crank pin meets the cylinder centre line.
  add(circleMeetsLine(mainRod, static_cast<double>(V[2]) - V[3]));
  // Coupler's lower end: the anchor link about its pivot meets the coupler about the hanger.
  add(circlesMeet(anchor, coupler, dist(13, 10)));
  // Reverse-arm end: the arm about the link pivot meets the upright through its set position.
  add(circleMeetsLine(len(dim::ReverseArmLength), static_cast<double>(H[18]) - H[6]));
  // Die block: the link's arc meets the lower valve lever about the coupler point.
  add(circlesMeet(link, lowerLever, dist(14, 9)));
  // Valve-stem joint: the radius rod about the lever top meets the valve-stem line.
  add(circleMeetsLine(len(dim::RadiusRod), static_cast<double>(V[7]) - V[4]));

  for (double x : {mainRod, coupler, anchor, link, lowerLever, dist(13, 10), dist(14, 9),
                   static_cast<double>(V[10]) - V[13], static_cast<double>(V[18]) - V[6],
                   static_cast<double>(H[14]) - H[9], static_cast<double>(V[7]) - V[9]})
    v.undecided |= std::fabs(x) < kDegenerate;
  // A length whose square is beyond the largest single cannot be squared in singles, as the
  // construction does: the square saturates and the pose is finite but not a closure.
  for (double x :
       {mainRod, coupler, anchor, link, lowerLever, len(dim::ReverseArmLength), len(dim::RadiusRod),
        dist(13, 10), dist(14, 9), dist(2, 3), dist(6, 18), dist(7, 4)})
    v.undecided |= std::fabs(x) > kLargestSquarable;
  return v;
}

// A closed pose keeps every rod its length, within the rounding of singles at its own scale.
void expectClosedPose(const Workspace& ws) {
  auto len = [&ws](int id) { return static_cast<double>(dimensionValue(ws, id)); };
  double scale = 0.0;
  for (int i = 1; i <= 18; ++i)
    scale = std::max({scale, std::fabs(double{ws.Pivots.H[i]}), std::fabs(double{ws.Pivots.V[i]})});
  const double tolerance = 1e-4 * std::max(scale, 1.0);
  struct Rod {
    int a, b;
    double length;
  };
  const Rod rods[] = {{2, 10, len(dim::MainRodCrankEnd)},   {10, 3, len(dim::MainRodPistonEnd)},
                      {10, 9, len(dim::CouplerUpper)},      {9, 11, len(dim::CouplerLower)},
                      {13, 11, len(dim::AnchorLinkLength)}, {6, 18, len(dim::ReverseArmLength)},
                      {6, 14, len(dim::LinkRadius)},        {14, 8, len(dim::LinkRadius)},
                      {9, 8, len(dim::ValveLeverLower)},    {8, 7, len(dim::ValveLeverUpper)},
                      {7, 4, len(dim::RadiusRod)}};
  for (const Rod& r : rods)
    EXPECT_NEAR(test::distance(ws, r.a, r.b), std::fabs(r.length), tolerance)
        << "rod " << r.a << "-" << r.b;
  EXPECT_NEAR(ws.Pivots.V[3], dimensionValue(ws, dim::CylClAboveDriverCtr), tolerance);
  EXPECT_EQ(ws.Pivots.H[18], ws.ReverseArmPos);
}

class RandomGears {
 public:
  explicit RandomGears(unsigned seed) : rng_(seed) {}

  Workspace next(int n) {
    Workspace ws = startedWorkspace();
    const int kind = n % 3;  // 0 ordinary, 1 mixed, 2 wild
    for (int id = 1; id <= 122; ++id) {
      if (!isDimensionId(id)) continue;
      const float factory = factoryDefault(id);
      float value;
      if (kind == 0)
        value = factory * uniform(0.9, 1.1);
      else if (kind == 1)
        value = coin(0.75) ? factory * uniform(0.5, 1.5) : special(factory);
      else
        value = special(factory);
      setDimension(ws, id, value);
    }
    ComputeReverseArmCentre(ws);
    SetRevArmScrollRange(ws);
    return ws;
  }

 private:
  float uniform(double lo, double hi) {
    return static_cast<float>(std::uniform_real_distribution<double>(lo, hi)(rng_));
  }
  bool coin(double p) { return std::bernoulli_distribution(p)(rng_); }
  float sign() { return coin(0.5) ? 1.0f : -1.0f; }
  // Zero, the negative of an ordinary value, a tiny or a huge one, or any value at all.
  float special(float factory) {
    switch (rng_() % 5) {
      case 0:
        return coin(0.5) ? 0.0f : -0.0f;
      case 1:
        return -factory * uniform(0.5, 1.5);
      case 2:
        return sign() * std::pow(10.0f, uniform(-38, -5));
      case 3:
        return sign() * std::pow(10.0f, uniform(5, 38.5));
      default:
        return uniform(-20, 20);
    }
  }
  std::mt19937 rng_;
};

TEST(SolverProperty, RandomGearsStayFiniteAndRaiseTheFlagExactlyWhenTheyCannotClose) {
  constexpr int kSets = 10000;
  RandomGears gears(20261209);
  long closed = 0, failed = 0, undecided = 0, poses = 0;
  for (int n = 0; n < kSets; ++n) {
    Workspace ws = gears.next(n);
    const float centre = ws.RevArmPositions[0];
    const double norm = ws.Frame[dim::RevArmToCentNorm], max = ws.Frame[dim::RevArmToCentMax];
    for (double offset : {0.0, norm, -norm, max, -max}) {
      const float position = toSingle(centre + offset);
      for (int angle = 0; angle < 360; angle += 30) {
        // Named only on a failure: building the text for each of the 600 000 poses would cost
        // more than solving them.
        auto where = [&] {
          return "set " + std::to_string(n) + ", reverse arm " + std::to_string(position) +
                 ", angle " + std::to_string(angle);
        };
        ws.ErrorBeepOn = true;
        ws.ErrorFlag = false;
        ws.DriverAngle = static_cast<float>(angle);
        ws.ReverseArmPos = position;
        SolveLinkage(ws);
        const bool flag = ws.ErrorFlag;
        ComputeValveState(ws);
        ++poses;
        ASSERT_TRUE(test::outputsFinite(ws)) << where();

        const Verdict v = closure(ws);
        if (v.fails) {
          ++failed;
          ASSERT_TRUE(flag) << "a gear out of reach was solved without the error flag: " << where();
        } else if (v.undecided) {
          ++undecided;
        } else {
          ++closed;
          ASSERT_FALSE(flag) << "a gear that closes raised the error flag: " << where();
          expectClosedPose(ws);
          ASSERT_FALSE(HasFailure()) << where();
        }
      }
    }
  }
  // Both verdicts are well represented, and few poses escape a verdict.
  RecordProperty("closed", std::to_string(closed));
  RecordProperty("failed", std::to_string(failed));
  RecordProperty("undecided", std::to_string(undecided));
  EXPECT_GT(closed, poses / 5) << closed << " of " << poses;
  EXPECT_GT(failed, poses / 5) << failed << " of " << poses;
  EXPECT_LT(undecided, poses / 10) << undecided << " of " << poses;
  std::printf("%ld poses: %ld closed, %ld out of reach, %ld undecided\n", poses, closed, failed,
              undecided);
}

// The solve takes shorter routes through its arithmetic where they certainly give the same
// singles, and the written arithmetic elsewhere: over ordinary, mixed and wild gears (whose huge
// values overflow the quick pass's singles), every pose is the written arithmetic's, bit for bit.
TEST(SolverProperty, EveryPoseIsTheWrittenArithmeticsBitForBit) {
  constexpr int kSets = 3000;
  RandomGears gears(20261211);
  // Field by field and bit by bit (a -0 is not a +0 here).
  auto same = [](const GearPose& a, const GearPose& b) {
    auto eq = [](const auto& x, const auto& y) { return std::memcmp(&x, &y, sizeof x) == 0; };
    return eq(a.Pivots, b.Pivots) && eq(a.Ports, b.Ports) &&
           eq(a.ReverseArmAngle, b.ReverseArmAngle) && eq(a.ValveLeverAngle, b.ValveLeverAngle) &&
           eq(a.CrankCos, b.CrankCos) && eq(a.CrankSin, b.CrankSin) && a.Closed == b.Closed;
  };
  for (int n = 0; n < kSets; ++n) {
    const Workspace ws = gears.next(n);
    const GearDimensions gear = gearOf(ws);
    const float centre = ws.RevArmPositions[0];
    const double max = ws.Frame[dim::RevArmToCentMax];
    for (double offset : {0.0, max, -max}) {
      const float arm = toSingle(centre + offset);
      for (float angle = 0.0f; angle < 360.0f; angle += 17.5f) {
        const GearPose quick = solveGear(gear, angle, arm),
                       written = solveGearExact(gear, angle, arm);
        ASSERT_TRUE(same(quick, written))
            << "set " << n << ", reverse arm " << arm << ", angle " << angle;
      }
    }
  }
}

}  // namespace
}  // namespace vek1
