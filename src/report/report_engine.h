#pragma once
// The report's engine section: the indicated figures of each notch at the set's engine settings
// (its speed, pressures, clearances and ports), as the Engine Performance window computes them.

#include <optional>
#include <vector>

#include "report_pages.h"
#include "report_sections.h"
#include "workspace.h"

namespace vek1 {

// `notches`: the report's notches, or none for the performance window's own (full gear to the
// first notch off mid gear, forward).
std::vector<ReportPage> enginePages(const Workspace& set,
                                    const std::optional<std::vector<double>>& notches,
                                    const ReportBodies& bodies, const ReportMetrics& metrics);

}  // namespace vek1
