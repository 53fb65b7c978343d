#pragma once
// The worn-gear study as text for scripts: JSON nested by notch and cylinder end, CSV one line
// per notch with the JSON keys joined by a dot as column names (a joint's columns under its
// command-line key: Joint.crank-pin.Share). An event that does not happen is null or empty.

#include <string>

#include "worn_gear.h"

namespace vek1 {

std::string wornGearJson(const WearStudy& study);
std::string wornGearCsv(const WearStudy& study);

}  // namespace vek1
