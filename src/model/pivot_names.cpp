#include "pivot_names.h"

namespace vek1 {

namespace {

// By index. Points 5 and 12 hold the link and anchor-link pivots as their dimensions enter
// them; the solver works from the copies 6 and 13, which carry the plain names because the sweep
// has always named those. Entries 19 and 20 are the two reference points.
// clang-format off
constexpr std::array<std::string_view, kPivotCount> kNames = {
    "Origin", "DriverCentre", "CrankPin", "Crosshead", "ValveStemJoint",                // 0..4
    "LinkPivotAsEntered", "LinkPivot", "ValveLeverTop", "DieBlock", "CouplerPoint",     // 5..9
    "MainRodHanger", "CouplerLowerEnd", "AnchorLinkPivotAsEntered", "AnchorLinkPivot",  // 10..13
    "LinkCentre", "Point15", "Point16", "Point17", "ReverseArmEnd",                     // 14..18
    "RefPoint1", "RefPoint2", "Point21", "Point22", "Point23",                          // 19..23
    "Point24", "Point25", "Point26"};                                                   // 24..26
// clang-format on

}  // namespace

std::string_view pivotName(int index) {
  return index >= 0 && index < kPivotCount ? kNames[static_cast<size_t>(index)]
                                           : std::string_view();
}

}  // namespace vek1
