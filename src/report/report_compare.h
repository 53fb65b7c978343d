#pragma once
// The report's section for a reference set: every figure of every notch that differs between
// the set and the reference, working minus reference.

#include <vector>

#include "events_compare.h"
#include "report_pages.h"
#include "report_sections.h"

namespace vek1 {

// One row a figure: the notch, the part (the notch's own figures, the front end, the rear
// end), the figure, both sets' values and the difference, or why a set has none. Rows beyond the
// Valve Events window's own tolerances are marked; a figure in one set only always is. Figures
// equal in both sets are left out, so the section lists only what changed.
std::vector<ReportPage> differencePages(const EventsComparison& comparison,
                                        const std::string& referenceName,
                                        const ReportBodies& bodies, const ReportMetrics& metrics);

}  // namespace vek1
