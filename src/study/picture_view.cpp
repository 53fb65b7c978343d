#include "picture_view.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "canvas.h"
#include "painter_canvas.h"
#include "numbers.h"

namespace vek1 {

void PictureView::show(CanvasSize size, DrawPicture draw) {
  draw_ = std::move(draw);
  setFixedSize(std::max(1, size.width), std::max(1, size.height));
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  if (!draw_) return;
  // Drawn at the screen's pixel pitch into an image, so that a scaled screen shows sharp lines
  // and text rather than the drawing's pixels spread apart.
  const double ratio = std::clamp(devicePixelRatioF(), 1.0, 8.0);
  QImage image(roundHalfEven(width() * ratio), roundHalfEven(height() * ratio),
               QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainterCanvas canvas(image, nullptr, ratio);
    draw_(canvas);
  }
  image.setDevicePixelRatio(ratio);
  QPainter(this).drawImage(0, 0, image);
}

}  // namespace vek1
