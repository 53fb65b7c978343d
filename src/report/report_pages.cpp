#include "report_pages.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>
#include <memory>
#include <sstream>

namespace vek1 {

namespace {

constexpr double kPad = 4.0;  // pixels of the page between a cell's rule and its text
// A column never takes more than this share of the page's width: a long note wraps instead.
constexpr double kWidestColumn = 0.4;
const QColor kGrid{160, 160, 160};
const QColor kDiffers{255, 240, 120};
const QColor kError{200, 0, 0};

std::vector<std::string> words(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> out;
  for (std::string w; in >> w;) out.push_back(w);
  return out;
}

// Greedy word wrap to `width`; a single word wider than that stands on a line of its own.
std::vector<std::string> wrap(const std::string& text, double width, const ReportMetrics& m,
                              bool bold) {
  std::vector<std::string> lines;
  for (const std::string& w : words(text)) {
    if (!lines.empty() && m.width(lines.back() + " " + w, bold) <= width)
      lines.back() += " " + w;
    else
      lines.push_back(w);
  }
  if (lines.empty()) lines.emplace_back();
  return lines;
}

// One laid-out table: the wrapped lines of every cell. A line of cells is as tall as its
// tallest cell among the columns a page shows.
struct Laid {
  std::vector<double> widths;
  std::vector<std::vector<std::string>> header;
  std::vector<std::vector<std::vector<std::string>>> cells;
  double line = 0;

  double headerHeight(const std::vector<std::size_t>& columns) const {
    std::size_t lines = 1;
    for (std::size_t c : columns) lines = std::max(lines, header[c].size());
    return static_cast<double>(lines) * line + 2 * kPad;
  }
  double rowHeight(std::size_t row, const std::vector<std::size_t>& columns) const {
    std::size_t lines = 1;
    for (std::size_t c : columns) lines = std::max(lines, cells[row][c].size());
    return static_cast<double>(lines) * line + 2 * kPad;
  }
};

Laid layOut(const ReportTable& t, double pageWidth, const ReportMetrics& m) {
  Laid laid;
  const std::size_t columns = t.header.size();
  const double widest = pageWidth * kWidestColumn;
  laid.widths.assign(columns, 0.0);
  for (std::size_t c = 0; c < columns; ++c) {
    double w = 0;
    for (const std::string& word : words(t.header[c])) w = std::max(w, m.width(word, true));
    for (const auto& row : t.rows)
      if (c < row.size()) w = std::max(w, m.width(row[c].text));
    laid.widths[c] = std::min(w, widest) + 2 * kPad;
  }
  laid.line = m.lineHeight();
  for (std::size_t c = 0; c < columns; ++c)
    laid.header.push_back(wrap(t.header[c], laid.widths[c] - 2 * kPad, m, true));
  for (const auto& row : t.rows) {
    std::vector<std::vector<std::string>> cells;
    for (std::size_t c = 0; c < columns; ++c)
      cells.push_back(c < row.size() ? wrap(row[c].text, laid.widths[c] - 2 * kPad, m, false)
                                     : std::vector<std::string>{""});
    laid.cells.push_back(std::move(cells));
  }
  return laid;
}

// The columns of each page: the key columns, then as many others as fit beside them.
std::vector<std::vector<std::size_t>> columnGroups(const ReportTable& t, const Laid& laid,
                                                   double width) {
  const std::size_t keys = std::min<std::size_t>(
      static_cast<std::size_t>(std::max(0, t.keyColumns)), laid.widths.size());
  double keyWidth = 0;
  for (std::size_t c = 0; c < keys; ++c) keyWidth += laid.widths[c];
  std::vector<std::vector<std::size_t>> groups;
  std::vector<std::size_t> group;
  double used = keyWidth;
  for (std::size_t c = keys; c < laid.widths.size(); ++c) {
    if (!group.empty() && used + laid.widths[c] > width) {
      groups.push_back(group);
      group.clear();
      used = keyWidth;
    }
    group.push_back(c);
    used += laid.widths[c];
  }
  if (!group.empty() || groups.empty()) groups.push_back(group);
  for (auto& g : groups)
    for (std::size_t c = keys; c-- > 0;) g.insert(g.begin(), c);
  return groups;
}

void paintTable(QPainter& p, const QRectF& body, const ReportTable& t, const Laid& laid,
                const std::vector<std::size_t>& columns, std::size_t firstRow, std::size_t rowEnd,
                const std::vector<std::string>& lead) {
  const double line = laid.line;
  double y = body.top();
  p.setPen(Qt::black);
  p.setFont(reportFont(kReportBodyPoints));
  for (const std::string& l : lead) {
    p.drawText(QRectF(body.left(), y, body.width(), line), Qt::AlignLeft | Qt::AlignTop,
               QString::fromStdString(l));
    y += line;
  }
  if (!lead.empty()) y += line / 2;
  const double headerHeight = laid.headerHeight(columns);
  std::vector<double> rowHeights(t.rows.size(), 0.0);
  for (std::size_t r = firstRow; r < rowEnd; ++r) rowHeights[r] = laid.rowHeight(r, columns);
  double tableWidth = 0;
  for (std::size_t c : columns) tableWidth += laid.widths[c];
  const double top = y;
  auto cellText = [&](double x, double yy, std::size_t c, const std::vector<std::string>& lines) {
    for (std::size_t k = 0; k < lines.size(); ++k)
      p.drawText(QRectF(x + kPad, yy + kPad + static_cast<double>(k) * line,
                        laid.widths[c] - 2 * kPad + 1, line),
                 Qt::AlignLeft | Qt::AlignTop, QString::fromStdString(lines[k]));
  };
  // Grounds first, then the rules, then the texts, so no rule crosses a letter.
  double x = body.left();
  double rowTop = top + headerHeight;
  for (std::size_t r = firstRow; r < rowEnd; ++r) {
    x = body.left();
    for (std::size_t c : columns) {
      if (c < t.rows[r].size() && t.rows[r][c].differs)
        p.fillRect(QRectF(x, rowTop, laid.widths[c], rowHeights[r]), kDiffers);
      x += laid.widths[c];
    }
    rowTop += rowHeights[r];
  }
  const double bottom = rowTop;
  p.setPen(QPen(kGrid, 0.5));
  p.drawLine(QPointF(body.left(), top), QPointF(body.left() + tableWidth, top));
  rowTop = top + headerHeight;
  p.drawLine(QPointF(body.left(), rowTop), QPointF(body.left() + tableWidth, rowTop));
  for (std::size_t r = firstRow; r < rowEnd; ++r) {
    rowTop += rowHeights[r];
    p.drawLine(QPointF(body.left(), rowTop), QPointF(body.left() + tableWidth, rowTop));
  }
  x = body.left();
  p.drawLine(QPointF(x, top), QPointF(x, bottom));
  for (std::size_t c : columns) {
    x += laid.widths[c];
    p.drawLine(QPointF(x, top), QPointF(x, bottom));
  }
  p.setPen(Qt::black);
  p.setFont(reportFont(kReportBodyPoints, true));
  x = body.left();
  for (std::size_t c : columns) {
    cellText(x, top, c, laid.header[c]);
    x += laid.widths[c];
  }
  p.setFont(reportFont(kReportBodyPoints));
  rowTop = top + headerHeight;
  for (std::size_t r = firstRow; r < rowEnd; ++r) {
    x = body.left();
    for (std::size_t c : columns) {
      p.setPen(c < t.rows[r].size() && t.rows[r][c].error ? kError : QColor(Qt::black));
      cellText(x, rowTop, c, laid.cells[r][c]);
      x += laid.widths[c];
    }
    rowTop += rowHeights[r];
  }
}

}  // namespace

QFont reportFont(int points, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSize(points);
  font.setBold(bold);
  // No ligatures: "ff" set as one glyph reads back as U+FB00, so a search of the PDF for
  // "Offset" or "CutOff" would not find the word the page shows.
  font.setStyleStrategy(QFont::PreferNoShaping);
  return font;
}

double ReportMetrics::width(const std::string& text, bool bold) const {
  return QFontMetricsF(reportFont(kReportBodyPoints, bold), &device_)
      .horizontalAdvance(QString::fromStdString(text));
}

double ReportMetrics::lineHeight() const {
  return QFontMetricsF(reportFont(kReportBodyPoints), &device_).lineSpacing();
}

std::vector<ReportPage> tablePages(const ReportTable& table, const std::string& title,
                                   QPageLayout::Orientation orientation, const QSizeF& body,
                                   const ReportMetrics& metrics) {
  auto laid = std::make_shared<const Laid>(layOut(table, body.width(), metrics));
  auto shared = std::make_shared<const ReportTable>(table);
  const double line = metrics.lineHeight();
  std::vector<std::string> lead;
  for (const std::string& l : table.lead)
    for (std::string& wrapped : wrap(l, body.width(), metrics, false)) lead.push_back(wrapped);
  const double leadHeight = lead.empty() ? 0.0 : (static_cast<double>(lead.size()) + 0.5) * line;
  struct Part {
    std::vector<std::size_t> columns;
    std::size_t first, end;
    bool lead;
  };
  std::vector<Part> parts;
  const auto groups = columnGroups(table, *laid, body.width());
  for (std::size_t g = 0; g < groups.size(); ++g) {
    std::size_t r = 0;
    do {
      const bool lead = parts.empty();
      double used = laid->headerHeight(groups[g]) + (lead ? leadHeight : 0.0);
      const std::size_t first = r;
      // At least one row a page, however tall, so the split always ends.
      while (r < table.rows.size() &&
             (r == first || used + laid->rowHeight(r, groups[g]) <= body.height()))
        used += laid->rowHeight(r++, groups[g]);
      parts.push_back({groups[g], first, r, lead});
    } while (r < table.rows.size());
  }
  std::vector<ReportPage> pages;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    std::string name = title;
    if (parts.size() > 1)
      name += " (part " + std::to_string(k + 1) + " of " + std::to_string(parts.size()) + ")";
    const Part part = parts[k];
    const std::vector<std::string> partLead = part.lead ? lead : std::vector<std::string>{};
    pages.push_back(
        {orientation, name, [laid, shared, part, partLead](QPainter& p, const QRectF& b) {
           paintTable(p, b, *shared, *laid, part.columns, part.first, part.end, partLead);
         }});
  }
  return pages;
}

}  // namespace vek1
