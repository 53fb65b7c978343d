#include "frame_diff.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace vek1 {

QRegion FrameDiff::changed(const QImage& frame, const QRect& area) {
  const QRect bounds = area.intersected(frame.rect());
  if (bounds.isEmpty()) return {};
  if (shown_.size() != frame.size() || shown_.format() != frame.format() || frame.depth() != 32) {
    shown_ = frame.copy();
    return QRegion(bounds);
  }
  QRegion region;
  const int bytesPerPixel = 4;
  const int tiles = (bounds.width() + tile_ - 1) / tile_;
  std::vector<char> dirty(static_cast<std::size_t>(tiles));
  const std::size_t rowBytes = static_cast<std::size_t>(bounds.width()) * bytesPerPixel;
  for (int top = bounds.top(); top <= bounds.bottom(); top += tile_) {
    const int bottom = std::min(top + tile_ - 1, bounds.bottom());
    std::fill(dirty.begin(), dirty.end(), 0);
    bool any = false;
    for (int y = top; y <= bottom; ++y) {
      const uchar* now = frame.constScanLine(y) + bounds.left() * bytesPerPixel;
      const uchar* was = shown_.constScanLine(y) + bounds.left() * bytesPerPixel;
      // Most rows are unchanged: one comparison of the whole row settles them.
      if (std::memcmp(now, was, rowBytes) == 0) continue;
      for (int t = 0; t < tiles; ++t) {
        if (dirty[t]) continue;
        const int offset = t * tile_ * bytesPerPixel;
        const int width = std::min(tile_, bounds.width() - t * tile_);
        if (std::memcmp(now + offset, was + offset, static_cast<std::size_t>(width) * 4) != 0) {
          dirty[t] = 1;
          any = true;
        }
      }
    }
    if (!any) continue;
    // Runs of changed tiles join the region as one rectangle each: a region grows slowly when
    // fed many small rectangles.
    for (int t = 0; t < tiles;) {
      if (!dirty[t]) {
        ++t;
        continue;
      }
      int end = t;
      while (end + 1 < tiles && dirty[end + 1]) ++end;
      const int left = bounds.left() + t * tile_;
      const int right = std::min(bounds.left() + (end + 1) * tile_ - 1, bounds.right());
      const std::size_t bytes = static_cast<std::size_t>(right - left + 1) * bytesPerPixel;
      for (int y = top; y <= bottom; ++y)
        std::memcpy(shown_.scanLine(y) + left * bytesPerPixel,
                    frame.constScanLine(y) + left * bytesPerPixel, bytes);
      region += QRect(QPoint(left, top), QPoint(right, bottom));
      t = end + 1;
    }
  }
  return region;
}

}  // namespace vek1
