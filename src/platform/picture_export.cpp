#include "picture_export.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "numbers.h"
#include "vector_canvas.h"

namespace vek1 {

namespace {

// The pictures are laid out in pixels of a 96 dots-per-inch screen; the PDF page and the PNG's
// stated resolution keep that size, so a picture prints as large as it shows.
constexpr double kPictureDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kMetresPerInch = 0.0254;
// A picture larger than this on a side is refused rather than allocated.
constexpr int kMaxPictureSide = 32768;

ExportResult failure(const QString& path, const QString& why) {
  return {false, QStringLiteral("Cannot write %1: %2").arg(path, why)};
}

// Opens the target for a write that replaces it whole. Where the folder does not allow the
// hidden file beside it but the file itself may be written, it is written in place.
std::optional<QString> openTarget(QSaveFile& file) {
  const QFileInfo info(file.fileName());
  if (info.exists() && !info.isFile()) return QStringLiteral("not a regular file");
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  return std::nullopt;
}

ExportResult finish(QSaveFile& file, const QString& path) {
  if (!file.commit()) return failure(path, file.errorString());
  return {true, {}};
}

bool validSize(CanvasSize size) {
  return size.width > 0 && size.height > 0 && size.width <= kMaxPictureSide &&
         size.height <= kMaxPictureSide;
}

ExportResult writePng(const QString& path, const QImage& image) {
  QSaveFile file(path);
  if (auto why = openTarget(file)) return failure(path, *why);
  QImageWriter writer(&file, "png");
  if (!writer.write(image)) {
    file.cancelWriting();
    return failure(path, writer.errorString());
  }
  return finish(file, path);
}

void stampResolution(QImage& image, double pixelRatio) {
  const int dotsPerMetre = roundHalfEven(kPictureDotsPerInch * pixelRatio / kMetresPerInch);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
}

ExportResult writeSvg(const QString& path, const PictureInfo& info, const DrawPicture& draw) {
  QSaveFile file(path);
  if (auto why = openTarget(file)) return failure(path, *why);
  QSvgGenerator generator;
  generator.setOutputDevice(&file);
  generator.setSize(QSize(info.size.width, info.size.height));
  generator.setViewBox(QRect(0, 0, info.size.width, info.size.height));
  generator.setResolution(static_cast<int>(kPictureDotsPerInch));
  generator.setTitle(info.title);
  generator.setDescription(QStringLiteral("Drawn by vek1"));
  {
    QPainter painter;
    if (!painter.begin(&generator)) {
      file.cancelWriting();
      return failure(path, QStringLiteral("the SVG writer did not start"));
    }
    VectorCanvas canvas(painter, info.size);
    draw(canvas);
  }
  return finish(file, path);
}

ExportResult writePdf(const QString& path, const PictureInfo& info, const DrawPicture& draw) {
  QSaveFile file(path);
  if (auto why = openTarget(file)) return failure(path, *why);
  {
    QPdfWriter writer(&file);
    writer.setResolution(static_cast<int>(kPictureDotsPerInch));
    const double pointsPerPixel = kPointsPerInch / kPictureDotsPerInch;
    writer.setPageSize(
        QPageSize(QSizeF(info.size.width * pointsPerPixel, info.size.height * pointsPerPixel),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    writer.setTitle(info.title);
    writer.setCreator(QStringLiteral("vek1"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      file.cancelWriting();
      return failure(path, QStringLiteral("the PDF writer did not start"));
    }
    // The page is the picture's size; the scale only absorbs the writer's rounding of it.
    const double scale = std::min(writer.width() / static_cast<double>(info.size.width),
                                  writer.height() / static_cast<double>(info.size.height));
    painter.scale(scale, scale);
    VectorCanvas canvas(painter, info.size);
    draw(canvas);
  }
  return finish(file, path);
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) return PictureFormat::Png;
  if (suffix == QLatin1String("svg")) return PictureFormat::Svg;
  if (suffix == QLatin1String("pdf")) return PictureFormat::Pdf;
  return std::nullopt;
}

QString pictureFileFilter() {
  return QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
}

QString withPictureSuffix(const QString& path, const QString& selectedFilter) {
  if (pictureFormatOf(path)) return path;
  if (selectedFilter.contains(QLatin1String("*.svg"))) return path + QStringLiteral(".svg");
  if (selectedFilter.contains(QLatin1String("*.pdf"))) return path + QStringLiteral(".pdf");
  return path + QStringLiteral(".png");
}

ExportResult exportPicture(const QString& path, const PictureInfo& info, const DrawPicture& draw) {
  const auto format = pictureFormatOf(path);
  if (!format) return failure(path, QStringLiteral("the name must end in .png, .svg or .pdf"));
  if (!validSize(info.size)) return failure(path, QStringLiteral("the picture has no size"));
  switch (*format) {
    case PictureFormat::Png: {
      QImage image(info.size.width, info.size.height, QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        QPainterCanvas canvas(image);
        draw(canvas);
      }
      stampResolution(image, 1);
      return writePng(path, image);
    }
    case PictureFormat::Svg:
      return writeSvg(path, info, draw);
    case PictureFormat::Pdf:
      return writePdf(path, info, draw);
  }
  return failure(path, QStringLiteral("unknown format"));
}

ExportResult exportFrame(const QString& path, const QImage& frame, double pixelRatio,
                         const PictureInfo& info, const DrawPicture& draw) {
  if (pictureFormatOf(path) != PictureFormat::Png) return exportPicture(path, info, draw);
  if (frame.isNull()) return failure(path, QStringLiteral("the picture has no size"));
  QImage image = frame.convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1.0);
  stampResolution(image, std::isfinite(pixelRatio) ? std::clamp(pixelRatio, 1.0, 8.0) : 1.0);
  return writePng(path, image);
}

}  // namespace vek1
