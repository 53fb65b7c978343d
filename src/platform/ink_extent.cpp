#include "ink_extent.h"

#include <algorithm>

namespace vek1 {

QRect inkBounds(const QImage& image, QRgb background) {
  const QImage pixels = image.format() == QImage::Format_RGB32 ||
                                image.format() == QImage::Format_ARGB32
                            ? image
                            : image.convertToFormat(QImage::Format_RGB32);
  int left = pixels.width(), top = pixels.height(), right = -1, bottom = -1;
  for (int y = 0; y < pixels.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
    for (int x = 0; x < pixels.width(); ++x) {
      if (line[x] == background) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return {};
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

PagePart partAround(const QRect& bounds, const CanvasSize& size, int margin) {
  if (bounds.isNull()) return {0, 0, size};
  const int left = std::max(0, bounds.left() - margin);
  const int top = std::max(0, bounds.top() - margin);
  const int right = std::min(size.width - 1, bounds.right() + margin);
  const int bottom = std::min(size.height - 1, bounds.bottom() + margin);
  return {left, top, {right - left + 1, bottom - top + 1}};
}

}  // namespace vek1
