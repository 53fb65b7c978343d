#include "icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace vek1::icons {

namespace {

constexpr int kSize = 16;

QIcon drawn(const std::function<void(QPainter&)>& paint) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing, true);
  paint(p);
  return QIcon(pixmap);
}

}  // namespace

QIcon driverAngle() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(QPointF(8, 8), 6.5, 6.5);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(QPointF(8, 8), QPointF(12, 5));
    p.setBrush(Qt::black);
    p.drawEllipse(QPointF(8, 8), 1.5, 1.5);
  });
}

QIcon stepAngle() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1.5));
    p.drawArc(QRectF(2, 2, 12, 12), 0, 270 * 16);
    p.setPen(QPen(Qt::blue, 2));
    p.drawLine(QPointF(8, 8), QPointF(14, 8));
    p.drawLine(QPointF(8, 8), QPointF(8, 2));
  });
}

QIcon reverseArm() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::blue, 2));
    p.drawLine(QPointF(5, 13), QPointF(11, 3));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(QPointF(5, 13), 1.8, 1.8);
    p.drawLine(QPointF(11, 3), QPointF(15, 3));
  });
}

QIcon midGear() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::blue, 2));
    p.drawLine(QPointF(8, 13), QPointF(8, 3));
    p.setPen(QPen(Qt::red, 1.2));
    p.drawLine(QPointF(3, 3), QPointF(13, 3));
    p.drawLine(QPointF(8, 1), QPointF(8, 5));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawEllipse(QPointF(8, 13), 1.8, 1.8);
  });
}

QIcon steam() {
  return drawn([](QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 150, 160));
    p.drawEllipse(QPointF(5, 10), 3.5, 3.5);
    p.drawEllipse(QPointF(9, 7), 4, 4);
    p.drawEllipse(QPointF(12, 10), 3, 3);
    p.setBrush(QColor(220, 220, 230));
    p.drawEllipse(QPointF(9, 7), 2, 2);
  });
}

QIcon error() {
  return drawn([](QPainter& p) {
    QPainterPath sign;
    sign.moveTo(8, 1);
    sign.lineTo(15, 14);
    sign.lineTo(1, 14);
    sign.closeSubpath();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::red);
    p.drawPath(sign);
    p.setPen(QPen(Qt::white, 2));
    p.drawLine(QPointF(8, 5), QPointF(8, 10));
    p.drawPoint(QPointF(8, 12.3));
  });
}

}  // namespace vek1::icons
