#include "picture_view.h"

#include "canvas.h"
#include "painter_canvas.h"

namespace vek1 {

void PictureView::show(CanvasSize size, DrawPicture draw) {
  draw_ = std::move(draw);
  setFixedSize(std::max(1, size.width), std::max(1, size.height));
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  if (!draw_) return;
  QPainterCanvas canvas(*this);
  draw_(canvas);
}

}  // namespace vek1
