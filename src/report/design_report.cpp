#include "design_report.h"

#include <QBuffer>
#include <QDate>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include "file_write.h"
#include "report_pages.h"
#include "report_compare.h"
#include "report_engine.h"
#include "report_sections.h"
#include "valve_events.h"

#ifndef VEK1_VERSION
#define VEK1_VERSION "unknown"
#endif

namespace vek1 {

namespace {

// The pages are laid out in pixels of a 96 dots-per-inch screen, the unit the program's
// drawings are made in, so a diagram prints at the size it shows.
constexpr int kReportDotsPerInch = 96;
constexpr double kMarginMillimetres = 15.0;

QPageLayout layoutOf(ReportPaper paper, QPageLayout::Orientation orientation) {
  const QPageSize size(paper == ReportPaper::Letter ? QPageSize::Letter : QPageSize::A4);
  return QPageLayout(
      size, orientation,
      QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
      QPageLayout::Millimeter);
}

// The head (the section and the set) and foot ("Page n of N") take a line each.
double headHeight(QPaintDevice& device) {
  return QFontMetricsF(reportFont(kReportHeadPoints, true), &device).lineSpacing() * 1.8;
}
double footHeight(QPaintDevice& device) {
  return QFontMetricsF(reportFont(kReportBodyPoints), &device).lineSpacing() * 1.8;
}

QSizeF bodySize(QPaintDevice& device, ReportPaper paper, QPageLayout::Orientation orientation) {
  const QRect paint = layoutOf(paper, orientation).paintRectPixels(kReportDotsPerInch);
  return QSizeF(paint.width(), paint.height() - headHeight(device) - footHeight(device));
}

void paintFrame(QPainter& p, const QRectF& page, const ReportPage& r, const std::string& setName,
                int number, int count) {
  const double head = headHeight(*p.device());
  const double foot = footHeight(*p.device());
  p.setPen(Qt::black);
  if (number > 1) {
    p.setFont(reportFont(kReportHeadPoints, true));
    p.drawText(QRectF(page.left(), page.top(), page.width(), head), Qt::AlignLeft | Qt::AlignTop,
               QString::fromStdString(r.title));
    p.setFont(reportFont(kReportBodyPoints));
    p.drawText(QRectF(page.left(), page.top(), page.width(), head), Qt::AlignRight | Qt::AlignTop,
               QString::fromStdString(setName));
    p.setPen(QPen(QColor(120, 120, 120), 0.5));
    p.drawLine(QPointF(page.left(), page.top() + head * 0.75),
               QPointF(page.right(), page.top() + head * 0.75));
    p.setPen(Qt::black);
  }
  p.setFont(reportFont(kReportBodyPoints));
  p.drawText(QRectF(page.left(), page.bottom() - foot * 0.6, page.width(), foot * 0.6),
             Qt::AlignHCenter | Qt::AlignBottom,
             QStringLiteral("Page %1 of %2").arg(number).arg(count));
}

}  // namespace

std::string reportProgramVersion() {
  return VEK1_VERSION;
}

ReportPdf designReportPdf(const Workspace& set, const Workspace* reference,
                          const ReportOptions& options) {
  ReportPdf out;
  QBuffer buffer(&out.bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(kReportDotsPerInch);
    writer.setTitle(
        QStringLiteral("Valve gear design report: %1").arg(QString::fromStdString(set.DimSetName)));
    writer.setCreator(QStringLiteral("vek1"));
    writer.setPageLayout(layoutOf(options.paper, QPageLayout::Portrait));

    const ReportMetrics metrics(writer);
    const ReportBodies bodies{bodySize(writer, options.paper, QPageLayout::Portrait),
                              bodySize(writer, options.paper, QPageLayout::Landscape)};
    const std::string date = options.date.empty()
                                 ? QDate::currentDate().toString(Qt::ISODate).toStdString()
                                 : options.date;
    const ValveEventsTable events =
        options.notches ? ComputeValveEvents(set, *options.notches) : ComputeValveEvents(set);

    std::vector<ReportPage> pages;
    auto add = [&pages](std::vector<ReportPage> more) {
      for (auto& page : more) pages.push_back(std::move(page));
    };
    add(titlePages(set, reference, date, reportProgramVersion()));
    add(dimensionPages(set));
    add(gearPages(set));
    add(diagramPages(set));
    add(eventsPages(set, events, "Valve events", bodies, metrics));
    add(marginPages(events, bodies, metrics));
    add(enginePages(set, options.notches, bodies, metrics));
    if (reference) {
      // The reference at the set's own notches, so that each row compares like with like.
      const ComparedEvents compared =
          compareValveEvents(set, *reference, options.notches ? &*options.notches : nullptr);
      add(eventsPages(*reference, compared.Reference,
                      "Reference set " + reference->DimSetName + ": valve events", bodies,
                      metrics));
      add(differencePages(compared.Differences, reference->DimSetName, bodies, metrics));
    }

    QPainter painter;
    const int count = static_cast<int>(pages.size());
    for (int k = 0; k < count; ++k) {
      const ReportPage& page = pages[static_cast<std::size_t>(k)];
      const QPageLayout layout = layoutOf(options.paper, page.orientation);
      if (k == 0) {
        writer.setPageLayout(layout);
        if (!painter.begin(&writer)) return {};
      } else {
        writer.setPageLayout(layout);
        if (!writer.newPage()) return {};
      }
      const QRect paint = layout.paintRectPixels(kReportDotsPerInch);
      const QRectF whole(0, 0, paint.width(), paint.height());
      paintFrame(painter, whole, page, set.DimSetName, k + 1, count);
      const double head = headHeight(writer);
      const QRectF body(0, head, paint.width(), paint.height() - head - footHeight(writer));
      painter.save();
      page.paint(painter, body);
      painter.restore();
    }
    if (!painter.end()) return {};
    out.pages = count;
  }
  return out;
}

ReportWriteResult writeDesignReport(const std::string& path, const Workspace& set,
                                    const Workspace* reference, const ReportOptions& options) {
  const ReportPdf pdf = designReportPdf(set, reference, options);
  if (pdf.bytes.isEmpty())
    return {false, "Cannot write \"" + path + "\": the PDF writer did not start.", 0};
  const FileWriteResult written = writeWholeFile(
      path, std::string_view(pdf.bytes.constData(), static_cast<std::size_t>(pdf.bytes.size())));
  return {written.ok, written.message, written.ok ? pdf.pages : 0};
}

}  // namespace vek1
