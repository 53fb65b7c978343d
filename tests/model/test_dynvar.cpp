#include <gtest/gtest.h>

#include <string>

#include "dynvar.h"
#include "model_support.h"

namespace vek1 {
namespace {

using test::startedWorkspace;

const std::string kEmptyName = std::string(13, ' ') + "??";

void expectSlot(const Workspace& ws, int slot, int id, float value, const std::string& name) {
  const DynVarEntry& e = ws.DynVarList[slot];
  EXPECT_TRUE(e.Id == id && e.Value == value && e.Name == name)
      << "slot " << slot << ": " << e.Id << ' ' << e.Value << " '" << e.Name << "'";
}

TEST(DynVar, ListKeepsTheLastFourDistinctDimensions) {
  Workspace ws = startedWorkspace();
  DynVarRegisterDimension(ws, dim::Stroke);
  DynVarRegisterDimension(ws, dim::RadiusRod);
  setDimension(ws, dim::Stroke, 3.25f);
  DynVarRegisterDimension(ws, dim::Stroke);  // already listed: refreshed in place
  expectSlot(ws, 1, dim::RadiusRod, 5.0f, "Radius Rod");
  expectSlot(ws, 2, dim::Stroke, 3.25f, "Stroke");
  expectSlot(ws, 3, 0, 0.0f, kEmptyName);
  expectSlot(ws, 4, 0, 0.0f, kEmptyName);

  for (int id : {dim::DriverDia, dim::MainRodCrankEnd, dim::ValveStem})
    DynVarRegisterDimension(ws, id);
  EXPECT_EQ(ws.DynVarList[1].Id, dim::ValveStem);
  EXPECT_EQ(ws.DynVarList[4].Id, dim::RadiusRod);  // Stroke, the oldest, has dropped out

  ws.DynVarList[0] = DynVarEntry{dim::LinkRadius, 4.0f, "Valve Length   Front Half and more"};
  DynVarRegister(ws);
  expectSlot(ws, 1, dim::LinkRadius, 4.0f, "Valve Length   Front Half");  // cut to 25
  DynVarClear(ws);
  for (int slot = 0; slot < kDynVarSlots; ++slot) expectSlot(ws, slot, 0, 0.0f, kEmptyName);
}

TEST(DynVar, BarStepFollowsClickTroughAndDrag) {
  const struct {
    int p, q1, q2;
    float step;
  } cases[] = {
      {1, 0, 0, 0.001f},   {-1, 0, 0, -0.001f},     // arrow clicks from rest
      {1, 0, 1, 0.001f},   {-1, 0, 1, -0.001f},     // and after the return to centre
      {10, 0, 0, 0.010f},  {-10, 0, 0, -0.010f},    // trough clicks
      {10, 0, 20, 0.010f}, {-10, 0, -20, -0.010f},  // win over the drag rules
      {37, 0, 0, 0.037f},  {-37, 0, 0, -0.037f},    // a drag moves by the dragged distance
      {3, 0, 7, -0.003f},                           // a drag back below the earlier position
      {-5, 0, -20, 0.005f},                         // and back above it on the minus side
      {-5, -4, -20, -0.005f},                       // unless it is one arrow step
      {0, 1, 0, 0.0f},     {0, -10, 0, 0.0f},       // the return to centre applies nothing
  };
  for (const auto& c : cases)
    EXPECT_FLOAT_EQ(DynVarBarStep(c.p, c.q1, c.q2), c.step) << c.p << ' ' << c.q1 << ' ' << c.q2;
}

// What the window does for one notification: the bar's change, then its return to centre.
void clickBar(Workspace& ws, int bar, int p) {
  DynVarBarChange(ws, bar, p);
  DynVarBarChange(ws, bar, 0);
}

TEST(DynVar, BarsNudgeTheirListedDimensionWithItsDependants) {
  Workspace ws = startedWorkspace();
  DynVarRegisterDimension(ws, dim::AnchorLinkPivotHorz);
  DynVarRegisterDimension(ws, dim::RadiusRod);
  ws.FrontCutOffText = "61.2";
  DynVarBarChange(ws, 1, 1);
  EXPECT_EQ(dimensionValue(ws, dim::RadiusRod), 5.0f + 0.001f);
  EXPECT_EQ(ws.DynVarList[1].Value, 5.0f + 0.001f);
  EXPECT_EQ(ws.FrontCutOffText, "");
  DynVarBarChange(ws, 1, 0);
  EXPECT_EQ(dimensionValue(ws, dim::RadiusRod), 5.0f + 0.001f);

  clickBar(ws, 2, 10);
  EXPECT_FLOAT_EQ(ws.Pivots.H[12], 9.217f);
  EXPECT_EQ(ws.Pivots.H[13], ws.Pivots.H[12]);

  const Workspace before = ws;
  clickBar(ws, 3, 1);  // an empty slot: nothing to change
  EXPECT_TRUE(ws.Frame == before.Frame && ws.Cyl == before.Cyl);
}

TEST(Undo, OneDragBecomesOneEntryHoldingTheValueAtFocus) {
  Workspace ws = startedWorkspace();
  DynVarRegisterDimension(ws, dim::RadiusRod);
  DynVarBarEnter(ws, 1);
  clickBar(ws, 1, 20);  // drag out ...
  clickBar(ws, 1, 15);  // ... and part of the way back
  clickBar(ws, 1, 10);  // then a trough click and an arrow click
  clickBar(ws, 1, 1);
  DynVarBarScrollEnd(ws, 1);
  const float dragged = dimensionValue(ws, dim::RadiusRod);
  EXPECT_NEAR(dragged, 5.016f, 1e-6);
  ASSERT_EQ(ws.UndoCount, 1);
  const UndoEntry& e = ws.UndoList[1];
  EXPECT_TRUE(e.Id == dim::RadiusRod && e.OldValue == 5.0f && e.NewValue == dragged);
  EXPECT_EQ(UndoLineText(ws), " 1- Radius Rod  5.016 to  5.000");
  EXPECT_EQ(ws.UndoList[2].Id, 0);
  EXPECT_EQ(ws.UndoPending, 0);
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_TRUE(enabled);

  // Undoing the only entry restores the dimension, reloads the slot and disables every button.
  UndoButtonClick(ws);
  EXPECT_EQ(dimensionValue(ws, dim::RadiusRod), 5.0f);
  EXPECT_EQ(ws.DynVarList[1].Value, 5.0f);
  EXPECT_EQ(ws.UndoCount, 0);
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_FALSE(enabled);
  EXPECT_EQ(UndoLineText(ws), "Nothing to undo");
}

TEST(Undo, HistoryKeepsTheNewestTwentyAndUndoesNewestFirst) {
  Workspace ws = startedWorkspace();
  ws.UndoButtonEnabled.fill(true);
  UndoButtonClick(ws);  // nothing to undo: only the main window's button goes grey
  EXPECT_FALSE(ws.UndoButtonEnabled[UnDoDn]);
  for (int b : {UnDoDnS, UnDoDnO, UnDoDnSt, UnDoDnP}) EXPECT_TRUE(ws.UndoButtonEnabled[b]) << b;
  UndoOpen(ws);  // no keystroke since the last entry: nothing is recorded
  UndoRecord(ws, dim::Stroke, 3.0f, 4.0f);
  EXPECT_TRUE(ws.UndoCount == 0 && ws.UndoList[1].Id == 0);
  ws.UndoPending = 1;
  UndoRecord(ws, dim::LinkPivotHorz, 6.207f, 6.5f);
  setDimension(ws, dim::LinkPivotHorz, 6.5f);
  for (int n = 1; n <= 20; ++n) UndoRecord(ws, dim::Stroke, static_cast<float>(n), n + 0.5f);
  EXPECT_EQ(ws.UndoCount, 20);
  EXPECT_EQ(ws.UndoList[1].OldValue, 20.0f);
  EXPECT_EQ(ws.UndoList[20].OldValue, 1.0f);  // the link pivot entry is gone
  UndoButtonClick(ws);
  EXPECT_EQ(dimensionValue(ws, dim::Stroke), 20.0f);
  EXPECT_EQ(ws.UndoList[20].Id, 0);
  EXPECT_EQ(UndoLineText(ws), "19- Stroke 19.500 to 19.000");

  ws.UndoPending = 1;
  UndoClear(ws);
  UndoRecord(ws, dim::LinkPivotHorz, 6.207f, 6.5f);
  UndoRecord(ws, dim::Stroke, 3.0f, 20.0f);
  UndoButtonClick(ws);
  EXPECT_EQ(dimensionValue(ws, dim::Stroke), 3.0f);
  EXPECT_EQ(ws.Pivots.H[5], 6.5f);
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_TRUE(enabled);
  UndoButtonClick(ws);
  EXPECT_TRUE(ws.Pivots.H[5] == 6.207f && ws.Pivots.H[6] == 6.207f);
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_FALSE(enabled);
}

TEST(Undo, IdsOutsideTheDimensionRangesAreIgnored) {
  Workspace ws = startedWorkspace();
  const Workspace before = ws;
  auto unchanged = [&] {
    return ws.Frame == before.Frame && ws.Cyl == before.Cyl && ws.Pivots.H == before.Pivots.H &&
           ws.Pivots.V == before.Pivots.V;
  };
  for (int id : {-3, 17, 18, 19, 100, 123}) {
    ws.DynVarList[1] = DynVarEntry{id, 1.0f, "odd"};
    ws.DynVarSlot = 1;
    ws.DynVarStep = 0.5f;
    DynVarApply(ws);
    EXPECT_TRUE(unchanged() && ws.DynVarList[1].Value == 1.0f) << id;

    ws.UndoPending = 1;
    UndoRecord(ws, id, 9.0f, 1.0f);
    ws.DynVarList[1] = DynVarEntry{};
    UndoPop(ws);
    EXPECT_TRUE(unchanged() && ws.UndoCount == 0) << id;
  }
}

}  // namespace
}  // namespace vek1
