#pragma once
// The performance table as text: JSON for scripts, CSV with the JSON keys joined by a dot as
// column names, and a fixed-width table for reading. A figure that does not exist (an end that
// does not run, a release with the steam still open) is null, an empty field or "none".

#include <string>
#include <vector>

#include "engine_performance.h"

namespace vek1 {

// The settings as the table used them: held into range, the port length resolved for the bore.
struct PerformanceReport {
  EngineSettings Settings;
  double PortLength = 0.0;
  std::vector<PerformanceRow> Rows;
};
PerformanceReport performanceReport(const Workspace& ws, const EngineSettings& s,
                                    const std::vector<double>& offsets,
                                    const std::vector<double>& speeds);

std::string performanceJson(const PerformanceReport& r);
std::string performanceCsv(const PerformanceReport& r);
std::string performanceText(const PerformanceReport& r);

// The CSV's column names, in order.
std::vector<std::string> performanceColumns();

}  // namespace vek1
