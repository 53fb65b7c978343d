#include "picture_export.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "file_write.h"
#include "numbers.h"
#include "vector_canvas.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

// The pictures are laid out in pixels of a 96 dots-per-inch screen; the PDF page and the PNG's
// stated resolution keep that size, so a picture prints as large as it shows.
constexpr double kPictureDotsPerInch = 96.0;
constexpr double kPointsPerInch = 72.0;
constexpr double kMetresPerInch = 0.0254;
// A picture larger than this on a side is refused rather than allocated.
constexpr int kMaxPictureSide = 32768;

// Paths are the file system's bytes, kept as given; only messages turn them into text.
ExportResult failure(const std::string& path, const QString& why) {
  return {false,
          QStringLiteral("Cannot write \"%1\": %2.").arg(QFile::decodeName(path.c_str()), why)};
}

// The picture is encoded in memory and then written whole by the one safe writer: the SVG and
// PDF writers and Qt's PNG writer do not report a short write on a full disk, and a writer that
// streams to the file leaves it cut when one happens.
ExportResult writeBytes(const std::string& path, const QByteArray& bytes) {
  const FileWriteResult written = writeWholeFile(
      path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  return {written.ok, QString::fromStdString(written.message)};
}

bool validSize(CanvasSize size) {
  return size.width > 0 && size.height > 0 && size.width <= kMaxPictureSide &&
         size.height <= kMaxPictureSide;
}

ExportResult writePng(const std::string& path, const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) return failure(path, writer.errorString());
  return writeBytes(path, bytes);
}

void stampResolution(QImage& image, double pixelRatio) {
  const int dotsPerMetre = roundHalfEven(kPictureDotsPerInch * pixelRatio / kMetresPerInch);
  image.setDotsPerMeterX(dotsPerMetre);
  image.setDotsPerMeterY(dotsPerMetre);
}

ExportResult writeSvg(const std::string& path, const PictureInfo& info, const DrawPicture& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(info.size.width, info.size.height));
  generator.setViewBox(QRect(0, 0, info.size.width, info.size.height));
  generator.setResolution(static_cast<int>(kPictureDotsPerInch));
  generator.setTitle(info.title);
  generator.setDescription(QStringLiteral("Drawn by vek1"));
  {
    QPainter painter;
    if (!painter.begin(&generator))
      return failure(path, QStringLiteral("the SVG writer did not start"));
    VectorCanvas canvas(painter, info.size);
    draw(canvas);
  }
  return writeBytes(path, bytes);
}

ExportResult writePdf(const std::string& path, const PictureInfo& info, const DrawPicture& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(static_cast<int>(kPictureDotsPerInch));
    const double pointsPerPixel = kPointsPerInch / kPictureDotsPerInch;
    writer.setPageSize(
        QPageSize(QSizeF(info.size.width * pointsPerPixel, info.size.height * pointsPerPixel),
                  QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
    writer.setTitle(info.title);
    writer.setCreator(QStringLiteral("vek1"));
    QPainter painter;
    if (!painter.begin(&writer))
      return failure(path, QStringLiteral("the PDF writer did not start"));
    // The page is the picture's size; the scale only absorbs the writer's rounding of it.
    const double scale = std::min(writer.width() / static_cast<double>(info.size.width),
                                  writer.height() / static_cast<double>(info.size.height));
    painter.scale(scale, scale);
    VectorCanvas canvas(painter, info.size);
    draw(canvas);
  }
  return writeBytes(path, bytes);
}

}  // namespace

std::optional<PictureFormat> pictureFormatOf(const std::string& path) {
  return pictureFormatOf(QFile::decodeName(path.c_str()));
}

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
  return exportPicture(QFile::encodeName(path).toStdString(), info, draw);
}

ExportResult exportFrame(const QString& path, const QImage& frame, double pixelRatio,
                         const PictureInfo& info, const DrawPicture& draw) {
  return exportFrame(QFile::encodeName(path).toStdString(), frame, pixelRatio, info, draw);
}

ExportResult exportPicture(const std::string& path, const PictureInfo& info,
                           const DrawPicture& draw) {
  const auto format = pictureFormatOf(path);
  if (!format) return failure(path, QStringLiteral("the name must end in .png, .svg or .pdf"));
  if (!validSize(info.size)) return failure(path, QStringLiteral("the picture has no size"));
  switch (*format) {
    case PictureFormat::Png: {
      const double scale = std::isfinite(info.pngScale)
                               ? std::clamp(info.pngScale, kMinPngScale, kMaxPngScale)
                               : 1.0;
      const int width = roundHalfEven(info.size.width * scale);
      const int height = roundHalfEven(info.size.height * scale);
      if (!validSize({width, height}))
        return failure(path, QStringLiteral("the picture is too large"));
      QImage image(width, height, info.transparent ? QImage::Format_ARGB32 : QImage::Format_RGB32);
      image.fill(info.transparent ? Qt::transparent : Qt::white);
      {
        QPainterCanvas canvas(image, nullptr, scale);
        draw(canvas);
      }
      stampResolution(image, scale);
      return writePng(path, image);
    }
    case PictureFormat::Svg:
      return writeSvg(path, info, draw);
    case PictureFormat::Pdf:
      return writePdf(path, info, draw);
  }
  return failure(path, QStringLiteral("unknown format"));
}

ExportResult exportFrame(const std::string& path, const QImage& frame, double pixelRatio,
                         const PictureInfo& info, const DrawPicture& draw) {
  if (pictureFormatOf(path) != PictureFormat::Png) return exportPicture(path, info, draw);
  if (frame.isNull()) return failure(path, QStringLiteral("the picture has no size"));
  QImage image = frame.convertToFormat(QImage::Format_RGB32);
  image.setDevicePixelRatio(1.0);
  stampResolution(image, std::isfinite(pixelRatio) ? std::clamp(pixelRatio, 1.0, 8.0) : 1.0);
  return writePng(path, image);
}

}  // namespace vek1
