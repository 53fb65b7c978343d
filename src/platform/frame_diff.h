#pragma once
// Which parts of a redrawn frame differ from what the window last showed.
//
// The controls of the main window stand over its drawing, and every repaint of the drawing below
// a control repaints the control as well, which costs more than drawing the whole gear. Handing
// the window system only the tiles whose pixels changed keeps the still parts, and the controls
// over them, out of each frame.

#include <QImage>
#include <QRect>
#include <QRegion>

namespace vek1 {

class FrameDiff {
 public:
  // Tiles are `tile` device pixels square.
  explicit FrameDiff(int tile = 16) : tile_(tile) {}

  // The tiles within `area` (device pixels of `frame`) whose pixels differ from the frame last
  // passed here, in device pixels; those tiles are remembered as now shown. The first call, or
  // one with a frame of another size or format, reports the whole area.
  QRegion changed(const QImage& frame, const QRect& area);

  // Forget what was shown: the next call reports the whole area.
  void reset() { shown_ = QImage(); }

 private:
  int tile_;
  QImage shown_;
};

}  // namespace vek1
