#pragma once
// What the Sensitivity window shows for one notch: every dimension as a row, ranked by how much
// it moves the chosen event, with the largest entries of each column marked. Pure C++, so it is
// tested without a window.

#include <string>

#include "sensitivity.h"
#include "study_table.h"

namespace vek1 {

// An entry at or above this fraction of the largest magnitude in its column is marked.
constexpr double kMarkedFraction = 0.5;

struct SensitivityChoice {
  int Figure = kRearCutOff;  // the event the rows are ranked by
  bool PerPercent = false;   // per 1 % of the dimension instead of per unit
};

// The table of one notch. The rank column counts from 1; rows that move nothing (drawing-only
// dimensions) are grey and unranked ("-").
StudyTable buildSensitivityView(const SensitivityNotch& notch, const std::string& setName,
                                const SensitivityChoice& choice);

// The notch's text in the window: "+0.800 (Fwd)".
std::string notchText(double offset, const NotchEvents& events);

}  // namespace vek1
