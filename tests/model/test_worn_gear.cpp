#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "dimensions.h"
#include "model_support.h"
#include "worn_gear.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

// The sensitivity figure of each wear figure (the reaches have none: they are not events).
int eventFigureOf(int wear) {
  switch (wear) {
    case kWearFrontLead: return kFrontLead;
    case kWearFrontCutOff: return kFrontCutOff;
    case kWearFrontRelease: return kFrontRelease;
    case kWearFrontCompression: return kFrontCompression;
    case kWearRearLead: return kRearLead;
    case kWearRearCutOff: return kRearCutOff;
    case kWearRearRelease: return kRearRelease;
    case kWearRearCompression: return kRearCompression;
    default: return -1;
  }
}

TEST(WornGear, ZeroClearanceGivesNoSpreadNoLostMotionAndNoShares) {
  const Workspace ws = startedWorkspace();
  Clearances none{};
  const WearNotch n = studyWornNotch(ws, 1.6, none);
  for (int k = 0; k < kWearFigureCount; ++k) {
    EXPECT_TRUE(std::isfinite(n.Envelope[k].Nominal)) << wearFigureKey(k);
    EXPECT_EQ(n.Envelope[k].Spread(), 0.0) << wearFigureKey(k);
  }
  EXPECT_EQ(n.LostMotion, 0.0);
  for (const WearJointShare& j : n.Joints) EXPECT_EQ(j.Share, 0.0);
  // One joint alone spreads the figures it moves and takes the whole share.
  none[kCrankPin] = 0.002;
  const WearNotch one = studyWornNotch(ws, 1.6, none);
  EXPECT_GT(one.Envelope[kWearFrontCutOff].Spread(), 0.01);
  EXPECT_DOUBLE_EQ(one.Joints[kCrankPin].Share, 1.0);
}

// Small play: the envelope found by solving corners agrees with the first-order spread built
// from the sensitivity table's own derivatives (the reverse arm held where it was), each joint
// taken on the dimension it acts on. A search that starts at the wrong corner, a joint applied
// to the wrong dimension or with the wrong size breaks it.
TEST(WornGear, SmallClearanceEnvelopeAgreesWithTheSensitivities) {
  const Workspace ws = startedWorkspace();
  for (double c : {0.0005, 0.002}) {
    Clearances clear;
    clear.fill(c);
    clear[kCrosshead] = 2.0 * c;  // unequal clearances weigh the joints differently
    for (double offset : {1.6, 0.8, -1.2}) {
      const WearNotch n = studyWornNotch(ws, offset, clear);
      std::array<double, kEventFigureCount> linear{};
      for (int j = 0; j < kWearJointCount; ++j) {
        const int id = wearJointInfo(j).Dimension;
        const FigureDerivative d = id == 0 ? reverseArmDerivative(ws, offset)
                                           : dimensionDerivative(ws, id, offset,
                                                                 NotchHeld::AtPosition);
        for (int k = 0; k < kEventFigureCount; ++k)
          linear[k] += 2.0 * clear[j] * std::fabs(d.PerUnit[k]);
      }
      for (int w = 0; w < kWearFigureCount; ++w) {
        const int k = eventFigureOf(w);
        if (k < 0) continue;
        const std::string where = "c " + std::to_string(c) + " offset " +
                                  std::to_string(offset) + " " + std::string(wearFigureKey(w));
        EXPECT_NEAR(n.Envelope[w].Spread(), linear[k], 0.1 * linear[k]) << where;
        EXPECT_LE(n.Envelope[w].Min, n.Envelope[w].Nominal) << where;
        EXPECT_GE(n.Envelope[w].Max, n.Envelope[w].Nominal) << where;
        // The state recorded for each extreme gives it.
        EXPECT_DOUBLE_EQ(wornFigures(ws, n.ReverseArmPos, n.MaxAt[w])[w], n.Envelope[w].Max)
            << where;
        EXPECT_DOUBLE_EQ(wornFigures(ws, n.ReverseArmPos, n.MinAt[w])[w], n.Envelope[w].Min)
            << where;
      }
      double shares = 0.0;
      for (const WearJointShare& j : n.Joints) shares += j.Share;
      EXPECT_NEAR(shares, 1.0, 1e-12);
    }
  }
}

// 1000 random play states (fixed seed) never go beyond the envelope, at the default clearance
// and at five times it, where the gear is no longer quite linear in the play. Beyond means by
// more than the event finder resolves.
TEST(WornGear, RandomPlayNeverExceedsTheEnvelope) {
  const Workspace ws = startedWorkspace();
  for (double c : {kDefaultClearance, 5.0 * kDefaultClearance}) {
    Clearances clear;
    clear.fill(c);
    for (double offset : {1.6, 0.8}) {
      const WearNotch n = studyWornNotch(ws, offset, clear);
      const SampledRange s = sampleWornNotch(ws, n.ReverseArmPos, clear, 1000, 21);
      for (int k = 0; k < kWearFigureCount; ++k) {
        const double resolution = k == kWearFrontLead || k == kWearRearLead ||
                                          k == kWearFrontReach || k == kWearRearReach
                                      ? 2e-6
                                      : 3e-4;
        const std::string where =
            "c " + std::to_string(c) + " offset " + std::to_string(offset) + " " +
            std::string(wearFigureKey(k));
        EXPECT_GE(s.Min[k], n.Envelope[k].Min - resolution) << where;
        EXPECT_LE(s.Max[k], n.Envelope[k].Max + resolution) << where;
        // The sample fills most of the envelope: it is not testing an empty range.
        EXPECT_GT(s.Max[k] - s.Min[k], 0.3 * n.Envelope[k].Spread()) << where;
      }
    }
  }
}

// Lost motion: the valve's reach towards each end, less the least the play leaves of it; the
// travel with play is never more than without.
TEST(WornGear, LostMotionIsTheReachThePlayTakesUp) {
  const Workspace ws = startedWorkspace();
  const WearNotch n = studyWornNotch(ws, 1.2, defaultClearances());
  const double front = n.Envelope[kWearFrontReach].Nominal - n.Envelope[kWearFrontReach].Min;
  const double rear = n.Envelope[kWearRearReach].Nominal - n.Envelope[kWearRearReach].Min;
  EXPECT_DOUBLE_EQ(n.LostMotion, front + rear);
  EXPECT_GT(front, 0.0);
  EXPECT_GT(rear, 0.0);
  EXPECT_LT(n.LostMotion, 0.1 * n.ValveTravel);
  EXPECT_EQ(wearJointByKey("die"), kDieInLink);
  EXPECT_EQ(wearJointByKey("Die"), -1);
  Clearances bad = defaultClearances();
  bad[kDieInLink] = std::nan("");
  EXPECT_TRUE(checkClearances(bad));
  bad[kDieInLink] = -0.001;
  EXPECT_TRUE(checkClearances(bad));
  EXPECT_FALSE(checkClearances(defaultClearances()));
  // The study itself takes them as no play: the spread is that of the die's play alone.
  bad[kDieInLink] = std::nan("");
  bad[kCrankPin] = -1.0;
  Clearances same = defaultClearances();
  same[kDieInLink] = 0.0;
  same[kCrankPin] = 0.0;
  const WearNotch a = studyWornNotch(ws, 1.2, bad), b = studyWornNotch(ws, 1.2, same);
  for (int k = 0; k < kWearFigureCount; ++k)
    EXPECT_EQ(a.Envelope[k].Spread(), b.Envelope[k].Spread()) << wearFigureKey(k);
}

}  // namespace
}  // namespace vek1
