#include "perf_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vek1 {

QIcon enginePerformanceIcon() {
  QIcon icon;
  for (int size : {16, 32}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    // The card: admission along the top, expansion falling away, exhaust along the bottom.
    QPainterPath card;
    card.moveTo(2, 3);
    card.lineTo(7, 3);
    card.cubicTo(9, 5, 11, 7, 14, 8);
    card.lineTo(14, 12);
    card.lineTo(3, 12);
    card.cubicTo(2, 9, 2, 6, 2, 3);
    p.setPen(QPen(QColor(200, 0, 0), 1.3));
    p.drawPath(card);
    p.setPen(QPen(QColor(0, 70, 200), 1.3));
    p.drawLine(QPointF(1, 15), QPointF(15, 9));
    p.setPen(QPen(Qt::black, 1.0));
    p.drawLine(QPointF(1, 1), QPointF(1, 15));
    p.drawLine(QPointF(1, 15), QPointF(15, 15));
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace vek1
