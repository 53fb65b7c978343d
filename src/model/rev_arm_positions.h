#pragma once
// The diagram positions 1..9 of the reverse arm and the diagrams' vertical scale, as the positions
// dialog edits them: what a typed key may add, what leaving a field stores, and how the list is
// tidied each time the dialog is refreshed.

#include <array>
#include <string_view>

#include "workspace.h"

namespace vek1 {

// Which position rows of the dialog (label and field) are shown, by position number 1..9.
// Row 1 is always shown; row k + 1 is shown when position k is set.
struct RevArmRowsShown {
  std::array<bool, 10> Visible{};
  bool shown(int k) const { return k >= 1 && k <= 9 && Visible[static_cast<std::size_t>(k)]; }
};

// The key filter of the position and scale fields: Backspace (8), digits, "-" and "."; a second
// "-" or "." is refused. Anything else, Enter included, is dropped.
bool PositionKeyAccepted(char16_t key, std::u16string_view text);

// Pulls a set position into centre +- "Rev Arm to Cent Max"; 0 (not in use) stays 0.
float ClampToRevArmRange(const GearSet& ws, float v);

// Leaving position field k (1..9). Position 1 can never be emptied: a 0 there becomes 0.001 before
// the clamp. A 0 in positions 2..9 ends the list at the next refresh.
void CommitRevArmPosition(Workspace& ws, int k, std::string_view text);

// Leaving the vertical-scale field; the scale never goes below 0.1.
void CommitVerticalScale(Workspace& ws, std::string_view text);

// The first empty position ends the list: every position after it is emptied. Recounts
// RevArmPosCount (left as it was when position 1 is empty) and reports the rows to show.
RevArmRowsShown RefreshPositions(Workspace& ws);

}  // namespace vek1
