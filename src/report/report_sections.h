#pragma once
// The sections of the design report, each as pages ready to paint (report_pages.h).

#include <QSizeF>
#include <optional>
#include <string>
#include <vector>

#include "report_pages.h"
#include "valve_events.h"
#include "workspace.h"

namespace vek1 {

// The part of a page inside its margins, head and foot, each way up.
struct ReportBodies {
  QSizeF portrait, landscape;
};

std::vector<ReportPage> titlePages(const GearSet& set, const Workspace* reference,
                                   const std::string& date, const std::string& version);
// Every dimension with its name, value and unit: the frame's and the cylinder's side by side.
std::vector<ReportPage> dimensionPages(const Workspace& set);
// The valve events table of `set`, split to fit landscape pages at the body text size;
// `title` heads each page ("Valve events", "Reference set: valve events").
std::vector<ReportPage> eventsPages(const GearSet& set, const ValveEventsTable& table,
                                    const std::string& title, const ReportBodies& bodies,
                                    const ReportMetrics& metrics);
// The closure margin, die slip and valve travel of each notch.
std::vector<ReportPage> marginPages(const ValveEventsTable& table, const ReportBodies& bodies,
                                    const ReportMetrics& metrics);
// The gear at normal full forward gear at four crank angles, on one landscape page.
std::vector<ReportPage> gearPages(const Workspace& set);
// The sine, oval, steam and port diagrams, two to a portrait page.
std::vector<ReportPage> diagramPages(const Workspace& set);

// The unit every dimension is given in: the set's own, which the program never names.
inline constexpr const char* kReportLengthUnit = "units";

}  // namespace vek1
