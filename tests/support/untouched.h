#pragma once
// A drawing takes the working set as its input and changes nothing of it: the running gear's
// pose, the valve state and cut-off memory the main view carries from frame to frame, the error
// latch and what a dimension file keeps. Tests draw on a copy's twin and hold every such field
// against the copy.

#include <gtest/gtest.h>

#include <cstring>

#include "workspace.h"

namespace vek1::test {

inline void expectUntouched(const Workspace& before, const Workspace& after) {
  EXPECT_EQ(after.DriverAngle, before.DriverAngle);
  EXPECT_EQ(after.ReverseArmPos, before.ReverseArmPos);
  EXPECT_EQ(after.Pivots.H, before.Pivots.H);
  EXPECT_EQ(after.Pivots.V, before.Pivots.V);
  EXPECT_EQ(after.ReverseArmAngle, before.ReverseArmAngle);
  EXPECT_EQ(after.ValveLeverAngle, before.ValveLeverAngle);
  EXPECT_EQ(std::memcmp(&after.Ports, &before.Ports, sizeof before.Ports), 0);
  EXPECT_EQ(after.PistonPos, before.PistonPos);
  EXPECT_EQ(after.FrontSteamOpen, before.FrontSteamOpen);
  EXPECT_EQ(after.FrontExhOpen, before.FrontExhOpen);
  EXPECT_EQ(after.RearSteamOpen, before.RearSteamOpen);
  EXPECT_EQ(after.RearExhOpen, before.RearExhOpen);
  EXPECT_EQ(after.PrevPistonPos, before.PrevPistonPos);
  EXPECT_EQ(after.PrevFrontSteam, before.PrevFrontSteam);
  EXPECT_EQ(after.PrevRearSteam, before.PrevRearSteam);
  EXPECT_EQ(after.FrontCutOffText, before.FrontCutOffText);
  EXPECT_EQ(after.RearCutOffText, before.RearCutOffText);
  EXPECT_EQ(after.ErrorFlag, before.ErrorFlag);
  EXPECT_EQ(after.LastDiagramRevArmPos, before.LastDiagramRevArmPos);
  EXPECT_EQ(after.Frame, before.Frame);
  EXPECT_EQ(after.Cyl, before.Cyl);
  EXPECT_EQ(after.RevArmPositions, before.RevArmPositions);
}

}  // namespace vek1::test
