#pragma once
// Where a picture holds anything drawn: the pixels that are not its background. A picture is cut
// to that part (with a margin) so that a page or a build log does not carry a wide white border.

#include <QImage>
#include <QRect>

#include "page_canvas.h"

namespace vek1 {

// The bounds of every pixel of `image` other than `background`; a null rectangle when there is
// none.
QRect inkBounds(const QImage& image, QRgb background = qRgb(255, 255, 255));

// `bounds` grown by `margin` on every side and held to a picture of `size`; the whole picture
// when `bounds` is null.
PagePart partAround(const QRect& bounds, const CanvasSize& size, int margin);

}  // namespace vek1
