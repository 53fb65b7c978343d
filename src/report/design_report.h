#pragma once
// The design report: a multi-page PDF of a set to print and file. A title page (the set, the
// date, the program's version), every dimension with its name, value and unit, the gear at
// normal full forward gear at four crank angles, the sine, oval, steam and port diagrams, the
// valve events table, the closure margin and die slip of each notch and, when a reference set
// is given, the reference's events table beside the set's. A4 or Letter, numbered pages, real
// text throughout.

#include <QByteArray>
#include <optional>
#include <string>
#include <vector>

#include "workspace.h"

namespace vek1 {

enum class ReportPaper { A4, Letter };

struct ReportOptions {
  ReportPaper paper = ReportPaper::A4;
  // The notches of the events and margin tables as offsets from the centre; none: the default.
  std::optional<std::vector<double>> notches;
  std::string date;  // as the title page prints it; empty: today, as YYYY-MM-DD
};

struct ReportPdf {
  QByteArray bytes;  // empty when the PDF writer failed
  int pages = 0;
};

// The report of `set` (left as it is: everything is drawn from copies). `reference`, when not
// null, is a second set the designer compares with. Needs a QGuiApplication for its fonts.
ReportPdf designReportPdf(const Workspace& set, const Workspace* reference,
                          const ReportOptions& options);

struct ReportWriteResult {
  bool ok = false;
  std::string message;  // why not, naming the file
  int pages = 0;
};

// Builds the report and writes it whole through the safe writer (file_write.h).
ReportWriteResult writeDesignReport(const std::string& path, const Workspace& set,
                                    const Workspace* reference, const ReportOptions& options);

// The program's version the title page names.
std::string reportProgramVersion();

}  // namespace vek1
