#pragma once
// The pages of the design report before they are painted: each knows its orientation, its title
// and how to paint its body into the part of the page inside the margins, so the whole report
// is laid out first and every page can then carry "Page n of N". Text tables too wide or too
// long for one page are split into pages here, at a fixed text size.

#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <QRectF>
#include <functional>
#include <string>
#include <vector>

namespace vek1 {

struct ReportPage {
  QPageLayout::Orientation orientation = QPageLayout::Portrait;
  std::string title;  // the section, in the page's head
  std::function<void(QPainter&, const QRectF& body)> paint;
};

// The report's text sizes, in points. No table text is smaller than the body text.
constexpr int kReportBodyPoints = 8;
constexpr int kReportHeadPoints = 11;
QFont reportFont(int points, bool bold = false);

struct ReportCell {
  std::string text;
  bool differs = false;  // front and rear differ beyond the tolerance: a yellow ground
  bool error = false;    // the linkage could not close: red text
};

struct ReportTable {
  std::vector<std::string> header;
  std::vector<std::vector<ReportCell>> rows;
  // The first columns, repeated on every page of a table split by its columns, so each part
  // still says which notch a row is.
  int keyColumns = 1;
  // Lines above the table on its first page (the laps, how the figures are counted).
  std::vector<std::string> lead;
};

// Measures text as the PDF will set it: `device` is the writer the pages are painted on.
class ReportMetrics {
 public:
  explicit ReportMetrics(QPaintDevice& device) : device_(device) {}
  double width(const std::string& text, bool bold = false) const;
  double lineHeight() const;

 private:
  QPaintDevice& device_;
};

// The table as pages of `body` size: columns grouped to fit the width (the key columns on each),
// rows to fit the height; each page titled `title`, with "(part k of n)" when split.
std::vector<ReportPage> tablePages(const ReportTable& table, const std::string& title,
                                   QPageLayout::Orientation orientation, const QSizeF& body,
                                   const ReportMetrics& metrics);

}  // namespace vek1
