#pragma once
// Comparing a picture drawn on the raster canvas with the same picture written as SVG or PDF and
// rendered back. Vector renderers place a stroke or a glyph up to a pixel away from where the
// raster canvas puts it, and smooth text edges, so the pictures are compared by coverage: how
// many painted pixels of one have no painted pixel within one pixel in the other.

#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

namespace vek1::testing {

inline bool paintedAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) != qRgb(255, 255, 255);
}

inline bool paintedNear(const QImage& image, int x, int y) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
          paintedAt(image, px, py))
        return true;
    }
  return false;
}

struct Coverage {
  int painted = 0;       // painted pixels of the reference
  int missing = 0;       // of those, with nothing painted near them in the other picture
  int otherPainted = 0;  // painted pixels of the other picture
  int extra = 0;         // of those, with nothing painted near them in the reference
  double missingShare() const { return painted ? double(missing) / painted : 1.0; }
  double extraShare() const { return otherPainted ? double(extra) / otherPainted : 1.0; }
};

inline Coverage compareCoverage(const QImage& reference, const QImage& other) {
  const QImage a = reference.convertToFormat(QImage::Format_RGB32);
  const QImage b = other.convertToFormat(QImage::Format_RGB32);
  Coverage c;
  for (int y = 0; y < a.height() && y < b.height(); ++y)
    for (int x = 0; x < a.width() && x < b.width(); ++x) {
      if (paintedAt(a, x, y)) {
        ++c.painted;
        if (!paintedNear(b, x, y)) ++c.missing;
      }
      if (paintedAt(b, x, y)) {
        ++c.otherPainted;
        if (!paintedNear(a, x, y)) ++c.extra;
      }
    }
  return c;
}

// Renders an SVG at its view box's size (one unit a pixel). The renderer smooths the edges of
// shapes whatever the painter asks for.
inline QImage renderSvg(QSvgRenderer& renderer) {
  const QSize size = renderer.viewBox().size();
  QImage image(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
  return image;
}

inline QImage renderSvg(const QString& path, bool* valid = nullptr) {
  QSvgRenderer renderer(path);
  if (valid) *valid = renderer.isValid();
  return renderSvg(renderer);
}

inline QImage renderSvgData(const QByteArray& svg, bool* valid = nullptr) {
  QSvgRenderer renderer(svg);
  if (valid) *valid = renderer.isValid();
  return renderSvg(renderer);
}

}  // namespace vek1::testing
