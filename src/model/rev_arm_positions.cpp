#include "rev_arm_positions.h"

#include "numbers.h"

namespace vek1 {

namespace {

constexpr float kSmallestFirstPosition = 0.001f;  // what an emptied position 1 becomes
constexpr float kSmallestVerticalScale = 0.1f;

}  // namespace

bool PositionKeyAccepted(char16_t key, std::u16string_view text) {
  if (key == 8) return true;
  if (key >= u'0' && key <= u'9') return true;
  if (key == u'-' || key == u'.') return text.find(key) == std::u16string_view::npos;
  return false;
}

float ClampToRevArmRange(const GearSet& ws, float v) {
  if (v == 0.0f) return v;
  const double centre = ws.RevArmPositions[0];
  const double max = ws.Frame[dim::RevArmToCentMax];
  if (v < centre - max) return toSingle(centre - max);
  if (v > centre + max) return toSingle(centre + max);
  return v;
}

void CommitRevArmPosition(Workspace& ws, int k, std::string_view text) {
  if (k < 1 || k > 9) return;
  float value = toSingle(parseNumber(text));
  if (k == 1 && value == 0.0f) value = kSmallestFirstPosition;
  ws.RevArmPositions[static_cast<std::size_t>(k)] = ClampToRevArmRange(ws, value);
}

void CommitVerticalScale(Workspace& ws, std::string_view text) {
  const float value = toSingle(parseNumber(text));
  ws.VerticalScale = value < kSmallestVerticalScale ? kSmallestVerticalScale : value;
}

RevArmRowsShown RefreshPositions(Workspace& ws) {
  RevArmRowsShown rows;
  rows.Visible[1] = true;
  auto& p = ws.RevArmPositions;
  for (std::size_t k = 1; k <= 8; ++k) {
    if (p[k] != 0.0f) {
      ws.RevArmPosCount = static_cast<int>(k);
      rows.Visible[k + 1] = true;
    } else {
      p[k + 1] = 0.0f;
    }
  }
  if (p[9] != 0.0f) ws.RevArmPosCount = 9;
  return rows;
}

}  // namespace vek1
