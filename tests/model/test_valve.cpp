#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "model_support.h"
#include "numbers.h"

namespace vek1 {
namespace {

using test::solveAt;
using test::startedWorkspace;

TEST(Valve, PistonRunsFrom0AtFrontDeadCentreTo640AtRear) {
  for (float crankEnd : {1.7f, 4.1f, 6.207f, 14.0f}) {
    Workspace ws = startedWorkspace();
    setDimension(ws, dim::MainRodCrankEnd, crankEnd);
    solveAt(ws, 0.0f, ws.RevArmPositions[0]);
    EXPECT_NEAR(ws.PistonPos, 0.0f, 1e-3) << crankEnd;
    solveAt(ws, 180.0f, ws.RevArmPositions[0]);
    EXPECT_NEAR(ws.PistonPos, 640.0f, 1e-3) << crankEnd;
  }
  // The main rod's angularity puts the piston past half stroke at a quarter turn.
  Workspace ws = startedWorkspace();
  solveAt(ws, 90.0f, ws.RevArmPositions[0]);
  EXPECT_NEAR(ws.PistonPos, 346.85f, 0.05);
  solveAt(ws, 0.0f, ws.RevArmPositions[0]);
  EXPECT_NEAR(ws.FrontSteamOpen, 0.02f, 0.003);  // the lead
  EXPECT_NEAR(ws.RearSteamOpen, -0.33f, 0.005);
}

// Each cylinder end is measured with its own bridge, steam port, valve half and cavity half:
// widening one of them moves only that end's openings (a bridge moves both of its edges).
TEST(Valve, EachEndUsesOnlyItsOwnPortAndValveValues) {
  const struct {
    int id;
    bool front;
    double moved;  // total movement of that end's two openings
  } sided[] = {
      {dim::BridgeWidthFront, true, 0.013},       {dim::BridgeWidthRear, false, 0.087},
      {dim::SteamPortWidthFront, true, 0.01},     {dim::SteamPortWidthRear, false, 0.01},
      {dim::ValveLengthFrontHalf, true, 0.01},    {dim::ValveLengthRearHalf, false, 0.01},
      {dim::ValveExhCavityFrontHalf, true, 0.01}, {dim::ValveExhCavityRearHalf, false, 0.01}};
  Workspace base = startedWorkspace();
  solveAt(base, 120.0f, base.RevArmPositions[2]);
  for (const auto& d : sided) {
    Workspace ws = startedWorkspace();
    // Front bridge 0.2 and rear bridge 0.1; every other value 0.01 wider.
    const float value = d.id == dim::BridgeWidthFront  ? 0.2f
                        : d.id == dim::BridgeWidthRear ? 0.1f
                                                       : dimensionValue(ws, d.id) + 0.01f;
    setDimension(ws, d.id, value);
    solveAt(ws, 120.0f, ws.RevArmPositions[2]);
    const double front = std::fabs(ws.FrontSteamOpen - base.FrontSteamOpen) +
                         std::fabs(ws.FrontExhOpen - base.FrontExhOpen);
    const double rear = std::fabs(ws.RearSteamOpen - base.RearSteamOpen) +
                        std::fabs(ws.RearExhOpen - base.RearExhOpen);
    const double bothEdges = d.id == dim::BridgeWidthFront || d.id == dim::BridgeWidthRear ? 2 : 1;
    EXPECT_NEAR(d.front ? front : rear, d.moved * bothEdges, 1e-5) << dimensionLabel(d.id);
    EXPECT_EQ(d.front ? rear : front, 0.0) << dimensionLabel(d.id);
  }
}

// With every front value different from its rear partner, the openings and the port constants
// the diagrams draw must tell the same story; a front/rear mix-up on either side shows here.
TEST(Valve, OpeningsAgreeWithThePortConstantsOnBothSides) {
  Workspace ws = startedWorkspace();
  const struct {
    int id;
    float value;
  } lopsided[] = {{dim::ExhaustPortWidth, 0.4f},        {dim::BridgeWidthRear, 0.17f},
                  {dim::BridgeWidthFront, 0.2f},        {dim::SteamPortWidthRear, 0.15f},
                  {dim::SteamPortWidthFront, 0.165f},   {dim::ValveLengthRearHalf, 0.7f},
                  {dim::ValveLengthFrontHalf, 0.68f},   {dim::ValveExhCavityRearHalf, 0.36f},
                  {dim::ValveExhCavityFrontHalf, 0.39f}};
  for (const auto& d : lopsided) setDimension(ws, d.id, d.value);
  constexpr double kTol = 2e-6;
  const PortConstants& p = ws.Ports;
  solveAt(ws, 70.0f, ws.RevArmPositions[0] + 0.8f);
  const double x = p.ValveDisplacement, h4 = ws.Pivots.H[4];
  EXPECT_NEAR(ws.FrontSteamOpen, p.FrontSteamEdge - x, kTol);
  EXPECT_NEAR(ws.FrontExhOpen, x - p.FrontExhEdge, kTol);
  EXPECT_NEAR(ws.RearSteamOpen, x + p.RearSteamEdge, kTol);
  EXPECT_NEAR(ws.RearExhOpen, -p.RearExhEdge - x, kTol);
  EXPECT_NEAR(ws.FrontSteamOpen, p.FrontOpenJoint - h4, 1e-5);
  EXPECT_NEAR(ws.RearSteamOpen, h4 + p.RearOpenJoint, 1e-5);
  EXPECT_NEAR(p.FrontPortFull, p.FrontSteamEdge - 0.165f, kTol);
  EXPECT_NEAR(p.RearPortFull, p.RearSteamEdge - 0.15f, kTol);
  EXPECT_NEAR(p.FrontSteamLap, -p.FrontSteamEdge, kTol);
  EXPECT_NEAR(p.RearSteamLap, -p.RearSteamEdge, kTol);
  EXPECT_NEAR(p.FrontExhLap, -p.FrontExhEdge, kTol);
  EXPECT_NEAR(p.RearExhLap, -p.RearExhEdge, kTol);
}

TEST(ValveEvents, EachEndWalksThroughAdmissionExpansionExhaustCompression) {
  using namespace colour;
  const struct {
    float frontSteam, frontExh, rearSteam, rearExh;
    Rgb front, rear;
    char frontMark, rearMark;
  } frames[] = {
      {-0.1f, -0.1f, -0.1f, -0.1f, Black, Black, ' ', ' '},
      // Until the rear end has opened it shows whatever the front end shows.
      {0.02f, -0.1f, -0.1f, -0.1f, Admission, Admission, 'E', ' '},
      {-0.05f, -0.1f, -0.1f, -0.1f, Expansion, Expansion, 'E', ' '},
      {-0.2f, 0.05f, -0.1f, -0.1f, Exhaust, Exhaust, 'C', ' '},
      {-0.2f, -0.01f, 0.03f, -0.1f, Compression, Admission, 'C', 'E'},
      {-0.2f, -0.01f, -0.03f, -0.1f, Compression, Expansion, 'C', 'E'},
      {0.01f, 0.01f, 0.02f, 0.05f, Exhaust, Exhaust, 'C', 'C'},  // open both ways: exhaust wins
      {0.01f, -0.01f, -0.2f, -0.01f, Admission, Compression, 'E', 'C'},
      {0.0f, 0.0f, 0.0f, 0.0f, Expansion, Compression, 'E', 'C'},  // exactly 0 is closed
  };
  Workspace ws = startedWorkspace();
  for (const auto& f : frames) {
    ws.FrontSteamOpen = f.frontSteam;
    ws.FrontExhOpen = f.frontExh;
    ws.RearSteamOpen = f.rearSteam;
    ws.RearExhOpen = f.rearExh;
    const auto [front, rear] = UpdateEvents(ws);
    const int n = static_cast<int>(&f - frames);
    EXPECT_TRUE(front == f.front && rear == f.rear) << "frame " << n;
    EXPECT_TRUE(ws.FrontEventMark == f.frontMark && ws.RearEventMark == f.rearMark) << n;
  }
}

CutOffDisplay showFrame(Workspace& ws, float piston, float frontSteam, float rearSteam) {
  ws.PistonPos = piston;
  ws.FrontSteamOpen = frontSteam;
  ws.RearSteamOpen = rearSteam;
  return DetectCutOff(ws);
}

TEST(ValveCutOff, ClosingEdgeIsInterpolatedAndHeldOnScreen) {
  Workspace ws = startedWorkspace();
  ws.StepAngle = 10.0f;
  showFrame(ws, 20.0f, 0.03f, -0.1f);
  CutOffDisplay shown = showFrame(ws, 40.0f, -0.01f, -0.1f);  // crosses at 35 of 640
  EXPECT_EQ(ws.FrontCutOffText, " 5.5");
  EXPECT_TRUE(shown.labels && shown.front && !shown.rear);
  const int held = ws.FrontCutOffHold;
  EXPECT_EQ(held, roundHalfEven(400.0 / 10.1) - 1);  // already shown once

  // Stopped, or running at 23 degrees a frame or more, nothing is shown and the hold waits.
  for (float step : {0.0f, 23.0f, 30.0f}) {
    ws.StepAngle = step;
    shown = showFrame(ws, 50.0f, -0.1f, -0.1f);
    EXPECT_TRUE(!shown.labels && !shown.front && ws.FrontCutOffHold == held) << step;
  }
  // The rear stroke runs from 640 back towards 0.
  showFrame(ws, 600.0f, -0.1f, 0.03f);
  showFrame(ws, 560.0f, -0.1f, -0.01f);  // crosses at 570
  EXPECT_EQ(ws.RearCutOffText, "10.9");
  EXPECT_EQ(ws.RearCutOffHold, roundHalfEven(400.0 / 30.1));

  ws.StepAngle = 22.9f;
  for (int frames = held; frames > 0; --frames) EXPECT_TRUE(showFrame(ws, 50, -1, -1).front);
  EXPECT_FALSE(showFrame(ws, 50.0f, -0.1f, -0.1f).front);
  EXPECT_EQ(ws.FrontCutOffText, " 5.5");  // the text stays; only its display ends

  ClearCutOff(ws);
  EXPECT_TRUE(ws.FrontCutOffText.empty() && ws.RearCutOffText.empty());
  for (float open : {0.02f, 0.0f, -0.02f, 0.01f, -0.0f}) showFrame(ws, 100.0f, open, open);
  EXPECT_TRUE(ws.FrontCutOffText.empty() && ws.RearCutOffText.empty());  // 0 is no crossing
}

// The factory gear in full gear, two turns at one degree a frame, as the animation runs it.
TEST(ValveCutOff, FullGearRunGivesAPlausibleCutOffAtBothEnds) {
  for (int direction : {+1, -1}) {
    Workspace ws = startedWorkspace();
    ws.StepAngle = 1.0f;
    const float arm = ws.RevArmPositions[direction > 0 ? 2 : 3];
    for (int n = 0; n <= 720; ++n) {
      solveAt(ws, static_cast<float>(((direction * n) % 360 + 360) % 360), arm);
      DetectCutOff(ws);
    }
    SCOPED_TRACE(direction > 0 ? "forward" : "reverse");
    for (const std::string& text : {ws.FrontCutOffText, ws.RearCutOffText}) {
      ASSERT_FALSE(text.empty());
      EXPECT_GT(parseNumber(text), 40.0) << text;
      EXPECT_LT(parseNumber(text), 95.0) << text;
    }
  }
}

}  // namespace
}  // namespace vek1
