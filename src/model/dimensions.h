#pragma once
// The dimension set: labels, factory defaults, reading and writing a dimension by id with its
// dependants, the start-up order, the mid-gear centre and the frame and cylinder resets.

#include <string_view>

#include "workspace.h"

namespace vek1 {

// Ids a dynamic variable or an undo entry may name: 1..16 and 101..122.
bool isEditableDimensionId(int id);
// Ids that name any stored dimension: 1..18 and 101..122.
bool isDimensionId(int id);

// The short label of a dimension ("Radius Rod"), or an empty view for an unknown id.
std::string_view dimensionLabel(int id);
// The factory default of a dimension (0 for an unknown id).
float factoryDefault(int id);

// The live value of a dimension (0 for an unknown id).
float dimensionValue(const GearSet& ws, int id);
// Stores a dimension with its dependants: 7/8 write points 5 and 6, 14/15 points 12 and 13,
// 102 is V[3], and 102 or 109 recompute V[4]. Unknown ids change nothing (returns false).
bool setDimension(GearSet& ws, int id, float value);

void InitGeneralState(Workspace& ws);
void InitViewDefaults(Workspace& ws);
void LoadFrameFactoryDefaults(Workspace& ws);
void LoadCylinderFactoryDefaults(Workspace& ws);
void ApplyFrameDefaults(Workspace& ws);
void ApplyCylinderDefaults(Workspace& ws);
void ComputeReverseArmCentre(Workspace& ws);
// Range of the main reverse-arm bar: +-round("Rev Arm to Cent Max" x 1000).
void SetRevArmScrollRange(Workspace& ws);

// Start-up steps 1 to 8: everything the model needs before the first frame.
void StartUp(Workspace& ws);

// The model side of the frame and cylinder dialogs' reset buttons: factory values, the dynamic
// variables cleared and re-read, and (for a completed click, not a bare press) the undo history
// cleared. The frame reset also resets the reverse-arm bar's range; the cylinder reset leaves it.
void ResetFrameDimensions(Workspace& ws, bool clearUndo = true);
void ResetCylinderDimensions(Workspace& ws, bool clearUndo = true);

}  // namespace vek1
