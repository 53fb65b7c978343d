#include "overlay.h"

#include <cmath>

#include "numbers.h"
#include "reference_points.h"

namespace vek1 {

const std::array<const char*, kOverlayColourCount> kOverlayColourCaptions = {
    "Black", "Red", "Green", "Yellow", "Blue", "Gray"};

int clampOverlayItem(int item) {
  if (item < 1) return 1;
  if (item > kOverlayItems) return kOverlayItems;
  return item;
}

int nearestOverlayPivot(const PivotTable& pivots, int around) {
  constexpr double kSearchBound = 10000.0;
  constexpr int kLastPivot = 26;
  const double h = pivots.H[static_cast<std::size_t>(around)];
  const double v = pivots.V[static_cast<std::size_t>(around)];
  double best = kSearchBound;
  int found = 1;
  for (int i = 1; i <= kLastPivot; ++i) {
    if (i == kRefPoint1 || i == kRefPoint2) continue;
    const double sum = std::fabs(h - pivots.H[static_cast<std::size_t>(i)]) +
                       std::fabs(v - pivots.V[static_cast<std::size_t>(i)]);
    if (sum < best) {
      best = sum;
      found = i;
    }
  }
  return found;
}

std::string overlayNumberText(double x) {
  constexpr std::size_t kMaxChars = 10;
  std::string text = fixedText(x, 7, 3);
  if (text.size() > kMaxChars) text.resize(kMaxChars);
  return text;
}

float overlayStoredRounded(double x) {
  return toSingle(parseNumber(overlayNumberText(x)));
}

namespace {

// Shows a value and keeps what the text says.
std::string showStored(float& field, double value) {
  const std::string text = overlayNumberText(value);
  field = toSingle(parseNumber(text));
  return text;
}

}  // namespace

OverlayRowTexts CommitItemGeometry(Workspace& ws, int item, int type, int mode, bool clear,
                                   float ref1H, float ref1V) {
  OverlayItem& it = ws.Overlay[static_cast<std::size_t>(clampOverlayItem(item))];
  OverlayRowTexts texts;
  const auto shown = [](float v) { return overlayNumberText(v); };
  if (type == kOverlayCircle && (mode == 0 || mode == 1)) {
    if (mode == 0) {
      texts[0] = shown(it.Line1Vert);
      texts[1] = shown(it.Line1Horz);
      const double radius = std::hypot(static_cast<double>(it.Line2Horz) - it.Line1Horz,
                                       static_cast<double>(it.Line2Vert) - it.Line1Vert);
      texts[3] = showStored(it.Line2Horz, radius);
    } else {
      texts[0] = showStored(it.Line1Vert, static_cast<double>(it.Line1Vert) - it.Piv1SnapV);
      texts[1] = showStored(it.Line1Horz, static_cast<double>(it.Line1Horz) - it.Piv1SnapH);
      const double radius = std::hypot(static_cast<double>(it.Line2Horz) - ref1H,
                                       static_cast<double>(it.Line2Vert) - ref1V);
      texts[3] = showStored(it.Line2Horz, radius);
    }
    // The circle's third number is the point it was drawn through, which nobody needs to see.
  } else if (type == kOverlayLine && mode >= 1 && mode <= 3) {
    texts[0] = showStored(it.Line1Vert, static_cast<double>(it.Line1Vert) - it.Piv1SnapV);
    texts[1] = showStored(it.Line1Horz, static_cast<double>(it.Line1Horz) - it.Piv1SnapH);
    if (mode == 2) {
      texts[2] = shown(it.Line2Vert);
      texts[3] = shown(it.Line2Horz);
    } else {
      const double snapV = mode == 1 ? it.Piv1SnapV : it.Piv2SnapV;
      const double snapH = mode == 1 ? it.Piv1SnapH : it.Piv2SnapH;
      texts[2] = showStored(it.Line2Vert, it.Line2Vert - snapV);
      texts[3] = showStored(it.Line2Horz, it.Line2Horz - snapH);
    }
  } else {
    // A fixed line, or a combination no item keeps: the numbers stand as they are.
    texts = {shown(it.Line1Vert), shown(it.Line1Horz), shown(it.Line2Vert), shown(it.Line2Horz)};
  }
  if (clear) {
    texts = {};
    it.Line1Horz = it.Line1Vert = it.Line2Horz = it.Line2Vert = 0;
    it.Piv1SnapH = it.Piv1SnapV = it.Piv2SnapH = it.Piv2SnapV = 0;
  }
  return texts;
}

void ClearOverlayItem(Workspace& ws, int item) {
  CommitItemGeometry(ws, item, -1, -1, true, 0, 0);
  OverlayItem& it = ws.Overlay[static_cast<std::size_t>(clampOverlayItem(item))];
  it.ItemType = it.ItemColour = it.ItemRef = -1;
}

std::optional<std::string> overlayTypeText(float itemType) {
  switch (roundHalfEven(itemType)) {
    case kOverlayLine:
      return "Line";
    case kOverlayCircle:
      return "Circle";
    default:
      return std::nullopt;
  }
}

std::optional<std::string> overlayColourText(float itemColour) {
  const int value = roundHalfEven(itemColour);
  for (int i = 0; i < kOverlayColourCount; ++i)
    if (kOverlayColourValues[static_cast<std::size_t>(i)] == value)
      return kOverlayColourCaptions[static_cast<std::size_t>(i)];
  return std::nullopt;
}

std::optional<std::string> overlayRefText(float itemRef) {
  static const std::array<const char*, kOverlayRefModes> kTexts = {"0 , 0", "Pivot1", "Piv1/0,0",
                                                                   "Piv1/P2"};
  const int mode = roundHalfEven(itemRef);
  if (mode < 0 || mode >= kOverlayRefModes) return std::nullopt;
  return kTexts[static_cast<std::size_t>(mode)];
}

OverlayRowTexts overlayRowTexts(const OverlayItem& item) {
  if (!(item.ItemType > -1)) return {};
  return {overlayNumberText(item.Line1Vert), overlayNumberText(item.Line1Horz),
          overlayNumberText(item.Line2Vert), overlayNumberText(item.Line2Horz)};
}

}  // namespace vek1
