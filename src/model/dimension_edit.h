#pragma once
// Editing one dimension in a dialog row: which typed keys a field takes, what leaving the field
// commits (the value, the dynamic-variable registration, the undo entry), and the two white
// fields that bound the reverse-arm travel.

#include <string>
#include <string_view>

#include "workspace.h"

namespace vek1 {

enum class RowKey {
  Refused,   // the key is dropped
  Accepted,  // the key goes into the text
  Enter,     // the key is dropped and the field is to be left (its commit runs)
};

constexpr char16_t kKeyBackspace = 8;
constexpr char16_t kKeyEnter = 13;

// The key filter of a dimension field. Digits, "-", ".", Backspace and Enter pass; a second "-"
// or "." is refused. In a grey (dynamic-variable) field every key that passes the first test
// marks a change as pending for the undo history, even one refused afterwards as a repeat.
RowKey DimensionRowKey(Workspace& ws, char16_t key, std::u16string_view text, bool grey);

// Leaving a grey field. The dimension always becomes the newest dynamic variable; only when the
// field's text differs from what it showed is the value stored (dependants included) and an undo
// entry recorded, however the text was changed. Returns the dimension's value afterwards.
float CommitDimensionRow(Workspace& ws, int id, std::string_view text, bool textChanged);
// The commit of a value that is already a number (a tuned dimension): the value stored with its
// dependants and the dimension registered as the newest dynamic variable, with an undo entry
// only while UndoPending is set (so a search's candidates on a copy record none).
float CommitDimensionValue(Workspace& ws, int id, float value);

// Leaving the white fields. Norm never exceeds Max: a larger Norm is cut to Max and the diagram
// positions that are set are drawn into centre +- Norm; a smaller Max is raised to Norm and all
// nine positions are drawn in. Max also sets the reverse-arm bar's range.
void CommitRevArmNorm(Workspace& ws, std::string_view text);
// The same rules for a value given as a number; true when it was held at the other limit.
bool SetRevArmNorm(Workspace& ws, float value);
bool SetRevArmMax(Workspace& ws, float value);
void CommitRevArmMax(Workspace& ws, std::string_view text);

// The text a dimension field shows: 3 decimals, at least 5 characters, at most 10.
std::string DimensionFieldText(float value);

// Everything the "&ResetAllDimensions" command changes in the model, besides the frame and cylinder
// resets and the view commands the window runs: the centre, the set's name, the diagrams' scale,
// the dynamic-variable display, the undo history and the undo mode.
void ResetAllDimensionsModel(Workspace& ws);

}  // namespace vek1
