#include "picture_print.h"

#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

#include "vector_canvas.h"

namespace vek1 {

bool printPicture(QPrinter& printer, const PictureInfo& info, const DrawPicture& draw) {
  if (info.size.width <= 0 || info.size.height <= 0) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  // The painter's origin is the top-left of the printable area, in printer pixels.
  const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
  const double scale = std::min(page.width() / info.size.width, page.height() / info.size.height);
  if (!(scale > 0)) {
    painter.end();
    return false;
  }
  painter.translate((page.width() - info.size.width * scale) / 2,
                    (page.height() - info.size.height * scale) / 2);
  painter.scale(scale, scale);
  VectorCanvas canvas(painter, info.size);
  draw(canvas);
  canvas.finish();  // the last polyline, while the painter can still draw it
  return painter.end();
}

QString printDocumentName(QString title) {
  // The print dialog offers the job's name as the PDF's file name, and a name with a character
  // that Windows and FAT shares refuse cannot be saved there: "Valve events: Nominal" becomes
  // "Valve events - Nominal".
  title.replace(QStringLiteral(": "), QStringLiteral(" - "));
  for (const QChar c : QStringLiteral("/\\:*?\"<>|")) title.replace(c, QLatin1Char('-'));
  return title;
}

void printPictureAsked(QWidget* parent, const PictureInfo& info, const DrawPicture& draw) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(printDocumentName(info.title));
  printer.setCreator(QStringLiteral("vek1"));
  // A wide picture reads best across the page.
  printer.setPageOrientation(info.size.width > info.size.height ? QPageLayout::Landscape
                                                                : QPageLayout::Portrait);
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!printPicture(printer, info, draw))
    QMessageBox::warning(parent, QStringLiteral("Print"),
                         QStringLiteral("The picture could not be printed."));
}

}  // namespace vek1
