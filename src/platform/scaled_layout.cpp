#include "scaled_layout.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"

namespace vek1 {

void ScaledLayout::remember(QWidget* widget) {
  if (!widget) return;
  for (const Placed& p : placed_)
    if (p.widget == widget) return;
  placed_.push_back(
      {widget, widget->geometry(), widget->font(), widget->testAttribute(Qt::WA_SetFont)});
}

void ScaledLayout::rememberChildren(QWidget* parent) {
  for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child->isWindow()) continue;
    remember(child);
  }
}

void ScaledLayout::fitDialog(QWidget* dialog, const QSize& designClient, double sx, double sy) {
  if (empty()) rememberChildren(dialog);
  apply(sx, sy, false);
  dialog->setFixedSize(scaled(designClient, sx, sy));
}

QRect ScaledLayout::scaled(const QRect& d, double sx, double sy) {
  const int left = roundHalfEven(d.x() * sx), top = roundHalfEven(d.y() * sy);
  const int right = roundHalfEven((d.x() + d.width()) * sx);
  const int bottom = roundHalfEven((d.y() + d.height()) * sy);
  return QRect(left, top, right - left, bottom - top);
}

QSize ScaledLayout::scaled(const QSize& d, double sx, double sy) {
  return QSize(roundHalfEven(d.width() * sx), roundHalfEven(d.height() * sy));
}

void ScaledLayout::apply(double sx, double sy, bool fonts) const {
  if (!std::isfinite(sx) || !std::isfinite(sy) || sx <= 0 || sy <= 0) return;
  for (const Placed& p : placed_) {
    p.widget->setGeometry(scaled(p.design, sx, sy));
    // A widget that inherits its font from a window whose font grows would grow twice.
    if (!fonts || !p.ownFont) continue;
    QFont font = p.font;
    if (p.font.pixelSize() > 0)
      font.setPixelSize(std::max(1, roundHalfEven(p.font.pixelSize() * sy)));
    else if (p.font.pointSizeF() > 0)
      font.setPointSizeF(std::max(1.0, p.font.pointSizeF() * sy));
    p.widget->setFont(font);
  }
}

}  // namespace vek1
