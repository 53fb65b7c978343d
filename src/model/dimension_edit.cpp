#include "dimension_edit.h"

#include "dimensions.h"
#include "dynvar.h"
#include "numbers.h"

namespace vek1 {

RowKey DimensionRowKey(Workspace& ws, char16_t key, std::u16string_view text, bool grey) {
  const bool passes = key == kKeyBackspace || key == kKeyEnter || key == u'-' || key == u'.' ||
                      (key >= u'0' && key <= u'9');
  if (!passes) return RowKey::Refused;
  if (grey) ws.UndoPending = 1;
  if ((key == u'-' || key == u'.') && text.find(key) != std::u16string_view::npos)
    return RowKey::Refused;
  if (key == kKeyEnter) return RowKey::Enter;
  return RowKey::Accepted;
}

float CommitDimensionRow(Workspace& ws, int id, std::string_view text, bool textChanged) {
  if (!textChanged) {
    // Only passed through: the dimension becomes the newest dynamic variable with its value
    // untouched. Writing the shown text back would cut 5.0625 to 5.062, or a long value to the
    // field's ten characters.
    DynVarRegisterDimension(ws, id);
    ws.UndoPending = 0;
    return dimensionValue(ws, id);
  }
  // However the text was changed (typed, deleted, cut, pasted), the change can be undone.
  ws.UndoPending = 1;
  return CommitDimensionValue(ws, id, toSingle(parseNumber(text)));
}

float CommitDimensionValue(Workspace& ws, int id, float value) {
  const bool pending = ws.UndoPending != 0;
  if (pending) {
    UndoOpen(ws);
    ws.UndoList[1].Id = id;
    ws.UndoList[1].OldValue = dimensionValue(ws, id);
  }
  setDimension(ws, id, value);
  DynVarRegisterDimension(ws, id);
  if (pending) {
    ws.UndoList[1].NewValue = value;
    ws.UndoList[1].Name = std::string(dimensionLabel(id));
  }
  ws.UndoPending = 0;
  return value;
}

namespace {

// Draws the diagram positions 1..9 into centre +- norm; empty ones (0.0) only when asked.
void clampDiagramPositions(Workspace& ws, bool includeEmpty) {
  const double centre = ws.RevArmPositions[0];
  const double norm = ws.Frame[dim::RevArmToCentNorm];
  const float low = toSingle(centre - norm);
  const float high = toSingle(centre + norm);
  for (int i = 1; i <= 9; ++i) {
    float& p = ws.RevArmPositions[i];
    if (!includeEmpty && p == 0.0f) continue;
    if (p < low) p = low;
    if (p > high) p = high;
  }
}

}  // namespace

bool SetRevArmNorm(Workspace& ws, float value) {
  float& norm = ws.Frame[dim::RevArmToCentNorm];
  const float max = ws.Frame[dim::RevArmToCentMax];
  norm = value;
  if (!(norm > max)) return false;
  norm = max;
  clampDiagramPositions(ws, false);
  return true;
}

bool SetRevArmMax(Workspace& ws, float value) {
  float& max = ws.Frame[dim::RevArmToCentMax];
  const float norm = ws.Frame[dim::RevArmToCentNorm];
  max = value;
  const bool raised = max < norm;
  if (raised) {
    max = norm;
    clampDiagramPositions(ws, true);
  }
  SetRevArmScrollRange(ws);
  return raised;
}

void CommitRevArmNorm(Workspace& ws, std::string_view text) {
  SetRevArmNorm(ws, toSingle(parseNumber(text)));
}

void CommitRevArmMax(Workspace& ws, std::string_view text) {
  SetRevArmMax(ws, toSingle(parseNumber(text)));
}

std::string DimensionFieldText(float value) {
  constexpr size_t kMaxFieldText = 10;
  std::string text = fixedText(value, 5, 3);
  if (text.size() > kMaxFieldText) text.resize(kMaxFieldText);
  return text;
}

void ResetAllDimensionsModel(Workspace& ws) {
  ComputeReverseArmCentre(ws);
  ws.DimSetName = "Nominal";
  ws.VerticalScale = 1.5f;
  ws.DynVarShown = false;
  UndoClear(ws);
  ws.UndoMode = false;
}

}  // namespace vek1
