#pragma once
// The sensitivity table as text for scripts: JSON nested by notch and dimension, CSV one line per
// notch and dimension with the JSON keys joined by a dot as column names. A derivative that does
// not exist (the event does not happen on one side of the step) is null or an empty field.

#include <string>
#include <vector>

#include "sensitivity.h"

namespace vek1 {

// The figures to write, in EventFigure order; all of them when empty.
std::string sensitivityJson(const SensitivityTable& table, const std::vector<int>& figures = {});
std::string sensitivityCsv(const SensitivityTable& table, const std::vector<int>& figures = {});

// A dimension's label with its runs of blanks (which line the dialogs' columns up) made single:
// "Bridge Width Front".
std::string dimensionName(int id);

// A number in the shortest form that keeps 6 significant digits, independent of the locale;
// "null" for one that is not finite.
std::string significantText(double x);

}  // namespace vek1
