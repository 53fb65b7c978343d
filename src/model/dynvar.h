#pragma once
// The dynamic-variable list (the last four dimensions the user picked, nudged by the four
// auto-centring bars) and the undo history of committed dimension changes.

#include "workspace.h"

namespace vek1 {

// Slot 0 holds the incoming entry; adds it as the newest, or refreshes it in place when the same
// dimension is already listed.
void DynVarRegister(Workspace& ws);
// Fills slot 0 from the dimension's current value and label, then registers it.
void DynVarRegisterDimension(Workspace& ws, int id);
void DynVarClear(Workspace& ws);
// Adds DynVarStep to the dimension of slot DynVarSlot (dependants included). A step of 0 only
// reloads the slot's value from its dimension.
void DynVarApply(Workspace& ws);

// The step a dynamic-variable bar applies for its new position p, given the positions seen at
// its previous two change notifications (q1 the latest). An arrow click gives +-0.001, a trough
// click +-0.010, a drag the dragged distance in thousandths.
float DynVarBarStep(int p, int q1, int q2);

// A dynamic-variable bar (1..4) reports a new position: applies its step and remembers the
// position. The caller then sets the bar back to 0, which reports again with p = 0.
void DynVarBarChange(Workspace& ws, int bar, int p);
// A bar received the focus: remembers the slot's value as the old value of the next undo entry.
void DynVarBarEnter(Workspace& ws, int bar);
// A bar reported the end of a scroll: records the whole series as one undo entry.
void DynVarBarScrollEnd(Workspace& ws, int bar);

// Shifts the history one place older when UndoPending is set; the caller then writes entry 1.
void UndoOpen(Workspace& ws);
// Records a committed change as the newest entry (when UndoPending is set).
void UndoRecord(Workspace& ws, int id, float oldValue, float newValue);
// Undoes entry 1.
void UndoPop(Workspace& ws);
// What an undo button does: undo when there is something to undo, else disable the button.
void UndoButtonClick(Workspace& ws);
void UndoClear(Workspace& ws);

// The undo line shown in the windows: count + "- " + name + " " + new + " to " + old, or
// "Nothing to undo" when the history is empty.
std::string UndoLineText(const Workspace& ws);

}  // namespace vek1
