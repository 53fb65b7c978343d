#include <gtest/gtest.h>

#include <cmath>

#include "dynvar.h"
#include "model_support.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

// Every dimension as the user sees it: the exact label (inner runs of blanks matter: the
// dimension files and the undo line carry them) and the factory value.
const struct {
  int id;
  const char* label;
  float value;
} kFactory[] = {{1, "Driver Dia", 7.0f},
                {2, "Stroke", 3.0f},
                {3, "Main Rod Crank End", 6.207f},
                {4, "Main Rod Piston End", 2.793f},
                {5, "Radius Rod", 5.0f},
                {6, "Link Radius", 5.0f},
                {7, "Link Pivot Vert", 1.642f},
                {8, "Link Pivot Horz", 6.207f},
                {9, "Valve Lever Upper", 0.459f},
                {10, "Valve Lever Lower", 2.466f},
                {11, "Coupler Upper", 0.824f},
                {12, "Coupler Lower", 1.426f},
                {13, "Anchor Link Length", 3.0f},
                {14, "Anchor Link Pivot Vert", -1.677f},
                {15, "Anchor Link Pivot Horz", 9.207f},
                {16, "Reverse Arm Length", 3.0f},
                {17, "Rev Arm to Cent Norm", 1.6f},
                {18, "Rev Arm to Cent Max", 1.8f},
                {101, "Cyl ctr to Driver ctr", 16.0f},
                {102, "Cyl CL above Driver ctr", 0.0f},
                {103, "Cylinder Bore Dia", 2.125f},
                {104, "Cylinder Bore Length", 4.0f},
                {105, "Cyl Steam Port Width", 0.312f},
                {106, "Piston ctr to Crosshead", 7.0f},
                {107, "Piston Width", 0.5f},
                {108, "Valve Surface to Cyl CL", 1.75f},
                {109, "Valve Stem CL to Cyl CL", 2.062f},
                {110, "Exhaust Port  Width", 0.375f},
                {111, "Bridge Width   Rear", 0.187f},
                {112, "Bridge Width   Front", 0.187f},
                {113, "Steam Port Width  Rear", 0.156f},
                {114, "Steam Port Width   Front", 0.156f},
                {115, "Valve Chamber    Height", 0.625f},
                {116, "Valve Chamber Length", 2.187f},
                {117, "Valve Height", 0.5f},
                {118, "Valve Length  Rear Half", 0.687f},
                {119, "Valve Length   Front Half", 0.687f},
                {120, "Valve Exh CavityRearHalf", 0.375f},
                {121, "Valve ExhCavityFrontHalf", 0.375f},
                {122, "Valve Stem", 4.793f}};

TEST(StartUp, EveryDimensionStartsAtItsFactoryValueWithItsLabel) {
  const Workspace ws = startedWorkspace();
  for (const auto& d : kFactory) {
    EXPECT_EQ(dimensionLabel(d.id), d.label) << d.id;
    EXPECT_EQ(dimensionValue(ws, d.id), d.value) << d.label;
  }
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  EXPECT_TRUE(H[6] == H[5] && V[6] == V[5] && H[13] == H[12] && V[13] == V[12]);
  EXPECT_EQ(V[4], V[3] + 2.062f);
  EXPECT_EQ(ws.DimSetName, "Nominal");
  EXPECT_EQ(ws.RevArmScrollMin, -1800);
  EXPECT_EQ(ws.RevArmScrollMax, 1800);
}

TEST(StartUp, MidGearCentreIsComputedInSingleArithmetic) {
  const Workspace ws = startedWorkspace();
  float drop = 2.062f - 1.642f;  // step by step in singles, as the centre has always been stored
  drop -= 0.459f;
  drop *= 3.0f;
  drop /= 5.0f;
  float centre = 6.207f - 0.051f;
  centre -= drop;
  EXPECT_EQ(ws.Pivots.H[18], centre);
  EXPECT_EQ(ws.ReverseArmPos, centre);
  EXPECT_EQ(ws.RevArmPositions[0], centre);
  EXPECT_EQ(ws.RevArmPositions[1], centre);
  EXPECT_EQ(ws.RevArmPositions[2], centre + 1.6f);
  EXPECT_EQ(ws.RevArmPositions[3], centre - 1.6f);
  for (int i = 4; i <= 9; ++i) EXPECT_EQ(ws.RevArmPositions[i], 0.0f) << i;
}

TEST(StartUp, ZeroLinkRadiusIsReplacedByTheSmallestUsableOne) {
  Workspace ws = startedWorkspace();
  setDimension(ws, dim::LinkRadius, 0.0f);
  ComputeReverseArmCentre(ws);
  EXPECT_EQ(dimensionValue(ws, dim::LinkRadius), 0.00001f);
  EXPECT_EQ(ws.ReverseArmPos, 6.207f - 0.051f - (2.062f - 1.642f - 0.459f) * 3.0f / 0.00001f);
}

TEST(Dimensions, WritingAPivotOrStemDimensionMovesItsDependantsAtOnce) {
  Workspace ws = startedWorkspace();
  const auto& H = ws.Pivots.H;
  const auto& V = ws.Pivots.V;
  setDimension(ws, dim::LinkPivotVert, 1.9f);
  setDimension(ws, dim::LinkPivotHorz, 6.5f);
  EXPECT_TRUE(V[5] == 1.9f && V[6] == 1.9f && H[5] == 6.5f && H[6] == 6.5f);
  setDimension(ws, dim::AnchorLinkPivotVert, -1.5f);
  setDimension(ws, dim::AnchorLinkPivotHorz, 9.5f);
  EXPECT_TRUE(V[12] == -1.5f && V[13] == -1.5f && H[12] == 9.5f && H[13] == 9.5f);
  setDimension(ws, dim::CylClAboveDriverCtr, 0.25f);
  EXPECT_TRUE(V[3] == 0.25f && V[4] == 0.25f + 2.062f);
  setDimension(ws, dim::ValveStemClToCylCl, 2.2f);
  EXPECT_EQ(V[4], 0.25f + 2.2f);

  const Workspace before = ws;
  for (int id : {-1, 0, 19, 100, 123}) EXPECT_FALSE(setDimension(ws, id, 42.0f)) << id;
  EXPECT_TRUE(ws.Frame == before.Frame && ws.Cyl == before.Cyl && H == before.Pivots.H &&
              V == before.Pivots.V);
}

TEST(Dimensions, CylinderBlockKeepsItsFileOrderAndSpareSlot) {
  const std::array<int, cyl::kBlockSize> order = {101, 103, 104, 0,   105, 106, 107, 108,
                                                  109, 110, 111, 113, 115, 116, 117, 118,
                                                  120, 122, 112, 114, 119, 121};
  EXPECT_EQ(cyl::kBlockIds, order);
  EXPECT_EQ(cyl::kBlockIds[cyl::kSpareSlot], 0);
  EXPECT_EQ(cyl::slotOf(dim::CylClAboveDriverCtr), -1);  // held apart, as V[3]
  EXPECT_EQ(startedWorkspace().Cyl[cyl::kSpareSlot], 0.0f);
}

TEST(Dimensions, ResetsRestoreFactoryValuesAndForgetListAndHistory) {
  Workspace ws = startedWorkspace();
  auto edit = [&ws](int id, float value) {
    ws.UndoPending = 1;
    UndoRecord(ws, id, dimensionValue(ws, id), value);
    setDimension(ws, id, value);
    DynVarRegisterDimension(ws, id);
  };
  auto expectListAndHistoryEmpty = [&ws] {
    for (const DynVarEntry& slot : ws.DynVarList) EXPECT_EQ(slot.Id, 0);
    EXPECT_TRUE(ws.UndoCount == 0 && ws.UndoList[1].Id == 0);
    for (bool enabled : ws.UndoButtonEnabled) EXPECT_FALSE(enabled);
  };
  for (int id : {dim::Stroke, dim::LinkPivotHorz, dim::RevArmToCentMax}) edit(id, 2.5f);
  edit(dim::CylClAboveDriverCtr, 0.3f);
  edit(dim::BridgeWidthFront, 0.2f);
  SetRevArmScrollRange(ws);

  ResetFrameDimensions(ws);
  EXPECT_EQ(dimensionValue(ws, dim::Stroke), 3.0f);
  EXPECT_TRUE(ws.Pivots.H[5] == 6.207f && ws.Pivots.H[6] == 6.207f);
  EXPECT_EQ(ws.RevArmScrollMax, 1800);
  EXPECT_EQ(ws.Pivots.V[3], 0.3f);  // the cylinder is left alone
  expectListAndHistoryEmpty();

  edit(dim::BridgeWidthRear, 0.1f);
  ResetCylinderDimensions(ws);
  EXPECT_TRUE(ws.Pivots.V[3] == 0.0f && ws.Pivots.V[4] == 2.062f);
  EXPECT_EQ(dimensionValue(ws, dim::BridgeWidthFront), 0.187f);
  expectListAndHistoryEmpty();
}

}  // namespace
}  // namespace vek1
