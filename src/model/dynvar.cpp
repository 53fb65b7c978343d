#include "dynvar.h"

#include "dimensions.h"
#include "numbers.h"
#include "scrollstep.h"
#include "valve.h"

namespace vek1 {

namespace {

std::string truncatedName(const std::string& name) {
  return name.size() > kDynVarNameMax ? name.substr(0, kDynVarNameMax) : name;
}

void setAllUndoButtons(Workspace& ws, bool enabled) { ws.UndoButtonEnabled.fill(enabled); }

}  // namespace

void DynVarRegister(Workspace& ws) {
  auto& list = ws.DynVarList;
  DynVarEntry incoming = list[0];
  incoming.Name = truncatedName(incoming.Name);
  // A dimension already listed keeps its place; only a new one moves the others down.
  for (int slot = 1; slot <= 4; ++slot) {
    if (list[slot].Id == incoming.Id) {
      list[slot].Value = incoming.Value;
      list[slot].Name = incoming.Name;
      return;
    }
  }
  for (int slot = 4; slot >= 2; --slot) list[slot] = list[slot - 1];
  list[1] = incoming;
}

void DynVarRegisterDimension(Workspace& ws, int id) {
  ws.DynVarList[0] = DynVarEntry{id, dimensionValue(ws, id), std::string(dimensionLabel(id))};
  DynVarRegister(ws);
}

void DynVarClear(Workspace& ws) {
  for (DynVarEntry& e : ws.DynVarList) e = DynVarEntry{};
}

void DynVarApply(Workspace& ws) {
  if (ws.DynVarSlot < 1 || ws.DynVarSlot > 4) return;
  DynVarEntry& slot = ws.DynVarList[ws.DynVarSlot];
  if (!isEditableDimensionId(slot.Id)) return;
  slot.Value = dimensionValue(ws, slot.Id);
  slot.Value = toSingle(static_cast<double>(slot.Value) + ws.DynVarStep);
  ClearCutOff(ws);
  setDimension(ws, slot.Id, slot.Value);
}

float DynVarBarStep(int p, int q1, int q2) {
  return static_cast<float>(autoCentreCount(p, q1, q2) / 1000.0);
}

void DynVarBarChange(Workspace& ws, int bar, int p) {
  if (bar < 1 || bar > 4) return;
  AutoCentreMemory& memory = ws.DynVarBars[bar];
  ws.DynVarStep = DynVarBarStep(p, memory.Last, memory.Prev);
  ws.DynVarSlot = bar;
  DynVarApply(ws);
  remember(memory, p);
}

void DynVarBarEnter(Workspace& ws, int bar) {
  if (bar < 1 || bar > 4) return;
  ws.SlotValueAtEnter = ws.DynVarList[bar].Value;
}

void DynVarBarScrollEnd(Workspace& ws, int bar) {
  if (bar < 1 || bar > 4) return;
  ws.UndoButtonEnabled[UnDoDn] = true;
  ws.UndoPending = 1;
  const DynVarEntry& slot = ws.DynVarList[bar];
  UndoOpen(ws);
  ws.UndoList[1] = UndoEntry{slot.Id, ws.SlotValueAtEnter, slot.Value, truncatedName(slot.Name)};
  ws.UndoPending = 0;
}

void UndoOpen(Workspace& ws) {
  if (!ws.UndoPending) return;
  setAllUndoButtons(ws, true);
  for (int k = kUndoEntries - 2; k >= 0; --k) ws.UndoList[k + 1] = ws.UndoList[k];
  ws.UndoCount = ws.UndoCount + 1 > kUndoDepth ? kUndoDepth : ws.UndoCount + 1;
}

void UndoRecord(Workspace& ws, int id, float oldValue, float newValue) {
  if (!ws.UndoPending) return;
  UndoOpen(ws);
  ws.UndoList[1] = UndoEntry{id, oldValue, newValue, std::string(dimensionLabel(id))};
}

void UndoPop(Workspace& ws) {
  auto& list = ws.UndoList;
  for (int k = 1; k < kUndoEntries; ++k) list[k - 1] = list[k];
  const UndoEntry& undone = list[0];
  if (isEditableDimensionId(undone.Id)) setDimension(ws, undone.Id, undone.OldValue);
  // Reload every listed slot from its dimension: a step up and back leaves the dimension where
  // it was (up to single rounding) and the slot's value fresh.
  for (int slot = 1; slot <= 4; ++slot) {
    ws.DynVarSlot = slot;
    ws.DynVarStep = 1.0f;
    DynVarApply(ws);
    ws.DynVarStep = -1.0f;
    DynVarApply(ws);
  }
  list[kUndoEntries - 1] = UndoEntry{};
  if (list[1].Id == 0) setAllUndoButtons(ws, false);
  ws.UndoCount = ws.UndoCount > 0 ? ws.UndoCount - 1 : 0;
}

void UndoButtonClick(Workspace& ws) {
  if (ws.UndoList[1].Id > 0)
    UndoPop(ws);
  else
    ws.UndoButtonEnabled[UnDoDn] = false;
}

void UndoClear(Workspace& ws) {
  for (UndoEntry& e : ws.UndoList) e = UndoEntry{};
  ws.UndoCount = 0;
  setAllUndoButtons(ws, false);
}

std::string UndoLineText(const Workspace& ws) {
  const UndoEntry& e = ws.UndoList[1];
  // An empty history has no name or values to show; zeros would read as a change to undo.
  if (e.Id <= 0) return "Nothing to undo";
  std::string count = std::to_string(ws.UndoCount);
  if (count.size() < 2) count.insert(0, 2 - count.size(), ' ');
  return count + "- " + e.Name + " " + fixedText(e.NewValue, 6, 3) + " to " +
         fixedText(e.OldValue, 6, 3);
}

}  // namespace vek1
