#pragma once
// The model side of the lines-and-circles overlay: the rules the "Draw Lines" dialog applies to
// the items, kept free of widgets so they can be checked on their own.

#include <array>
#include <optional>
#include <string>

#include "workspace.h"

namespace vek1 {

constexpr int kOverlayLine = 0;
constexpr int kOverlayCircle = 1;
constexpr int kOverlayColourCount = 6;
constexpr int kOverlayRefModes = 4;

// Stored colour values (R + 256 G + 65536 B) by colour choice 0..5.
constexpr std::array<int, kOverlayColourCount> kOverlayColourValues = {0,     255,      32768,
                                                                       65535, 16711680, 8421504};
// Captions of the colour choices, which are also the rows' colour texts.
extern const std::array<const char*, kOverlayColourCount> kOverlayColourCaptions;

// The dialog works on one item at a time; a value outside 1..20 (a damaged file, or the 0 left
// while item 1 waits for its pivot) is brought in: 0 or less gives 1, above 20 gives 20.
int clampOverlayItem(int item);

// The pivot nearest to PivotTable entry `around` (a reference point) in |dH| + |dV|, among
// points 1..26 without the reference points 19 and 20. The lowest index wins a tie; when nothing
// lies within 10000 (or the table holds NaN) point 1 is taken, so the index is always usable.
int nearestOverlayPivot(const PivotTable& pivots, int around);

// A number as the dialog shows it: 3 decimals, right-aligned in 7 characters, cut to 10.
std::string overlayNumberText(double x);
// What a number keeps once it has been shown: the value read back from its text.
float overlayStoredRounded(double x);

// The four edit texts of an item (Line1Vert, Line1Horz, Line2Vert, Line2Horz).
using OverlayRowTexts = std::array<std::string, 4>;

// Turns the geometry loaded from the reference points into what item `item` keeps for the given
// type (0 line, 1 circle) and reference mode, and returns the row's texts. Pivot modes store
// offsets from the captured snapshots; a circle's radius comes from the two points (for mode 1
// from `ref1H`, `ref1V`, reference point 1 as it was before the pivot was picked). `clear`
// empties the texts and zeroes the four coordinates and four snapshots afterwards.
OverlayRowTexts CommitItemGeometry(Workspace& ws, int item, int type, int mode, bool clear,
                                   float ref1H, float ref1V);

// Empties item `item`: coordinates and snapshots 0, type, colour and reference -1. The pivot
// indices are kept.
void ClearOverlayItem(Workspace& ws, int item);

// The row texts for stored values; nullopt when the value names none, the text is then left.
std::optional<std::string> overlayTypeText(float itemType);
std::optional<std::string> overlayColourText(float itemColour);
std::optional<std::string> overlayRefText(float itemRef);

// The four edit texts a refill shows for an item: its fields when it has a type, else empty.
OverlayRowTexts overlayRowTexts(const OverlayItem& item);

}  // namespace vek1
