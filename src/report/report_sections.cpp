#include "report_sections.h"

#include <QFontMetricsF>
#include <QString>
#include <algorithm>

#include "dimensions.h"
#include "events_table.h"
#include "numbers.h"

namespace vek1 {

namespace {

constexpr int kTitlePoints = 24;
constexpr int kSubtitlePoints = 14;

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

ReportTable eventsReportTable(const EventsTableView& view,
                              const std::vector<std::size_t>& columns) {
  ReportTable t;
  for (std::size_t c : columns) t.header.push_back(c < view.header.size() ? view.header[c] : "");
  for (const auto& row : view.rows) {
    std::vector<ReportCell> cells;
    for (std::size_t c : columns) {
      if (c < row.size())
        cells.push_back({row[c].text, row[c].differs, row[c].error});
      else
        cells.push_back({});
    }
    t.rows.push_back(std::move(cells));
  }
  return t;
}

std::size_t columnNamed(const EventsTableView& view, const std::string& name) {
  const auto at = std::find(view.header.begin(), view.header.end(), name);
  return static_cast<std::size_t>(at - view.header.begin());
}

// One dimension table: number, name, value, unit, a line each. The labels' runs of blanks,
// which line them up on the dialogs, are one blank here.
void paintDimensions(QPainter& p, const QRectF& box, const std::string& heading, int firstId,
                     int lastId, const Workspace& set) {
  const int points = kReportBodyPoints + 1;
  const QFontMetricsF metrics(reportFont(points), p.device());
  const double line = metrics.lineSpacing() * 1.3;
  p.setFont(reportFont(points + 2, true));
  p.drawText(QRectF(box.left(), box.top(), box.width(), line * 1.4), Qt::AlignLeft | Qt::AlignTop,
             text(heading));
  double y = box.top() + line * 1.6;
  const double gap = 6;
  const double idWidth = metrics.horizontalAdvance(QStringLiteral("000"));
  const double valueWidth = metrics.horizontalAdvance(QStringLiteral("-0000.0000"));
  const double unitWidth = metrics.horizontalAdvance(QString::fromLatin1(kReportLengthUnit));
  const double nameWidth = box.width() - idWidth - valueWidth - unitWidth - 3 * gap;
  auto row = [&](const QString& id, const QString& name, const QString& value, const QString& unit,
                 bool bold) {
    p.setFont(reportFont(points, bold));
    double x = box.left();
    p.drawText(QRectF(x, y, idWidth, line), Qt::AlignRight | Qt::AlignVCenter, id);
    x += idWidth + gap;
    p.drawText(QRectF(x, y, nameWidth, line), Qt::AlignLeft | Qt::AlignVCenter, name);
    x += nameWidth;
    p.drawText(QRectF(x, y, valueWidth, line), Qt::AlignRight | Qt::AlignVCenter, value);
    x += valueWidth + gap;
    p.drawText(QRectF(x, y, unitWidth + gap, line), Qt::AlignLeft | Qt::AlignVCenter, unit);
    y += line;
  };
  row(QStringLiteral("No."), QStringLiteral("Dimension"), QStringLiteral("Value"),
      QStringLiteral("Unit"), true);
  p.setPen(QPen(QColor(160, 160, 160), 0.5));
  p.drawLine(QPointF(box.left(), y), QPointF(box.right(), y));
  p.setPen(Qt::black);
  for (int id = firstId; id <= lastId; ++id) {
    if (!isDimensionId(id)) continue;
    row(QString::number(id), text(std::string(dimensionLabel(id))).simplified(),
        text(fixedText(dimensionValue(set, id), 0, 4)), QString::fromLatin1(kReportLengthUnit),
        false);
  }
}

}  // namespace

std::vector<ReportPage> titlePages(const GearSet& set, const Workspace* reference,
                                   const std::string& date, const std::string& version) {
  const std::string name = set.DimSetName;
  const std::string refName = reference ? reference->DimSetName : std::string();
  return {
      {QPageLayout::Portrait, "Design report", [=](QPainter& p, const QRectF& b) {
         double y = b.top() + b.height() * 0.25;
         auto line = [&](const QString& s, int points, bool bold, double gap) {
           p.setFont(reportFont(points, bold));
           const double h = QFontMetricsF(p.font(), p.device()).lineSpacing();
           p.drawText(QRectF(b.left(), y, b.width(), h), Qt::AlignHCenter | Qt::AlignTop, s);
           y += h * gap;
         };
         line(QStringLiteral("Valve gear design report"), kSubtitlePoints, false, 1.6);
         line(text(name), kTitlePoints, true, 2.0);
         if (!refName.empty())
           line(QStringLiteral("compared with %1").arg(text(refName)), kSubtitlePoints, false, 2.0);
         line(QStringLiteral("Date: %1").arg(text(date)), kReportHeadPoints, false, 1.4);
         line(QStringLiteral("vek1 version %1").arg(text(version)), kReportHeadPoints, false, 3.0);
         line(QStringLiteral("Lengths are in the set's own units."), kReportBodyPoints, false, 1.2);
       }}};
}

std::vector<ReportPage> dimensionPages(const Workspace& set) {
  return {{QPageLayout::Portrait, "Dimensions", [set](QPainter& p, const QRectF& b) {
             const double gap = 24;
             const double half = (b.width() - gap) / 2;
             paintDimensions(p, QRectF(b.left(), b.top(), half, b.height()), "Frame", 1, 18, set);
             paintDimensions(p, QRectF(b.left() + half + gap, b.top(), half, b.height()),
                             "Cylinder", 101, 122, set);
           }}};
}

std::vector<ReportPage> eventsPages(const GearSet& set, const ValveEventsTable& table,
                                    const std::string& title, const ReportBodies& bodies,
                                    const ReportMetrics& metrics) {
  const EventsTableView view = buildEventsTable(table, EventTolerance{});
  std::vector<std::size_t> all(view.header.size());
  for (std::size_t c = 0; c < all.size(); ++c) all[c] = c;
  ReportTable t = eventsReportTable(view, all);
  t.keyColumns = 3;  // offset, running, notch cut-off
  t.lead = {"Set: " + set.DimSetName, view.laps, kEventsConventionText};
  return tablePages(t, title, QPageLayout::Landscape, bodies.landscape, metrics);
}

std::vector<ReportPage> marginPages(const ValveEventsTable& table, const ReportBodies& bodies,
                                    const ReportMetrics& metrics) {
  const EventsTableView view = buildEventsTable(table, EventTolerance{});
  std::vector<std::size_t> columns;
  for (const char* name : {"Offset (units)", "Running", "Notch cut-off (%)", "Lock margin (deg)",
                           "Nearest lock", "Die slip (units)", "Valve travel (units)", "Error"}) {
    const std::size_t c = columnNamed(view, name);
    if (c < view.header.size()) columns.push_back(c);
  }
  ReportTable t = eventsReportTable(view, columns);
  t.keyColumns = 1;
  t.lead = {"Lock margin (the closure margin): the smallest transmission angle over the turn,",
            "at the joint that comes nearest to locking (90 degrees is best, 0 is locked).",
            "Die slip: the range of the die block's travel along the link over the turn."};
  return tablePages(t, "Closure margin and die slip", QPageLayout::Portrait, bodies.portrait,
                    metrics);
}

}  // namespace vek1
