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
  // A white puff drawn round in dark blue above a red port: a flat grey cloud read as a
  // button that is switched off.
  return drawn([](QPainter& p) {
    QPainterPath puff;
    puff.addEllipse(QPointF(5, 8), 3.5, 3.5);
    puff.addEllipse(QPointF(9, 5.5), 4, 4);
    puff.addEllipse(QPointF(12, 8.5), 3, 3);
    puff = puff.simplified();
    p.setPen(QPen(QColor(0, 0, 160), 1.2));
    p.setBrush(Qt::white);
    p.drawPath(puff);
    p.setPen(QPen(Qt::red, 2));
    p.drawLine(QPointF(3, 14), QPointF(13, 14));
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

namespace {
void dimensionArrow(QPainter& p, double y) {
  p.setPen(QPen(Qt::red, 1.2));
  p.drawLine(QPointF(2, y), QPointF(14, y));
  p.drawLine(QPointF(2, y), QPointF(4.5, y - 2));
  p.drawLine(QPointF(2, y), QPointF(4.5, y + 2));
  p.drawLine(QPointF(14, y), QPointF(11.5, y - 2));
  p.drawLine(QPointF(14, y), QPointF(11.5, y + 2));
}
}  // namespace

QIcon frameDimensions() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkGreen, 2));
    p.drawLine(QPointF(2, 6), QPointF(14, 6));
    p.setPen(QPen(Qt::black, 1.2));
    p.drawEllipse(QPointF(2.5, 6), 1.5, 1.5);
    p.drawEllipse(QPointF(13.5, 6), 1.5, 1.5);
    dimensionArrow(p, 12);
  });
}

QIcon cylinderDimensions() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkGray, 1.5));
    p.drawRect(QRectF(2, 2, 12, 7));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawLine(QPointF(9, 2.5), QPointF(9, 8.5));
    dimensionArrow(p, 13);
  });
}

QIcon dynamicVariables() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(220, 220, 220));
    p.drawRect(QRectF(1.5, 5.5, 13, 5));
    p.setBrush(Qt::blue);
    p.drawRect(QRectF(6.5, 4.5, 3, 7));
  });
}

QIcon undo() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkBlue, 2));
    p.drawArc(QRectF(3, 4, 10, 9), 90 * 16, -220 * 16);
    p.drawLine(QPointF(8, 4), QPointF(4.5, 1.5));
    p.drawLine(QPointF(8, 4), QPointF(4.5, 6.5));
  });
}

QIcon referencePoints() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::blue, 1.5));
    p.drawLine(QPointF(1, 1), QPointF(8, 8));
    p.drawLine(QPointF(1, 8), QPointF(8, 1));
    p.drawLine(QPointF(8, 8), QPointF(15, 15));
    p.drawLine(QPointF(8, 15), QPointF(15, 8));
  });
}

QIcon pivotData() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.drawLine(QPointF(1.5, 5.5), QPointF(14.5, 5.5));
    p.drawLine(QPointF(1.5, 9.5), QPointF(14.5, 9.5));
    p.drawLine(QPointF(6.5, 1.5), QPointF(6.5, 14.5));
  });
}

QIcon linesAndCircles() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::red, 1.5));
    p.drawLine(QPointF(1, 14), QPointF(14, 2));
    p.setPen(QPen(Qt::blue, 1.5));
    p.drawEllipse(QPointF(10, 10), 4.5, 4.5);
  });
}

QIcon sineDiagram() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
    QPainterPath wave;
    wave.moveTo(1, 8);
    wave.cubicTo(4, 0, 5, 0, 8, 8);
    wave.cubicTo(11, 16, 12, 16, 15, 8);
    p.setPen(QPen(Qt::blue, 1.5));
    p.drawPath(wave);
  });
}

QIcon ovalDiagram() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawLine(QPointF(1, 8), QPointF(15, 8));
    p.setPen(QPen(Qt::blue, 1.5));
    p.drawEllipse(QRectF(2, 4, 12, 8));
  });
}

QIcon steamDiagram() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::darkGray, 1));
    p.drawLine(QPointF(1, 15), QPointF(15, 15));
    p.drawLine(QPointF(1, 15), QPointF(1, 1));
    QPainterPath card;
    card.moveTo(3, 3);
    card.lineTo(8, 3);
    card.cubicTo(11, 8, 13, 11, 14, 13);
    card.lineTo(3, 13);
    card.closeSubpath();
    p.setPen(QPen(QColor(0, 128, 0), 1.5));
    p.drawPath(card);
  });
}

QIcon portDiagram() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(QColor(0, 128, 128), 1.5));
    p.drawLine(QPointF(3, 15), QPointF(6, 2));
    p.drawLine(QPointF(8, 15), QPointF(12, 2));
    p.setPen(QPen(Qt::red, 1.5));
    p.drawLine(QPointF(13, 15), QPointF(10, 2));
  });
}

QIcon valveEvents() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(255, 240, 120));
    p.drawRect(QRectF(8.5, 6.5, 6, 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    for (double y : {6.5, 10.5}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
    p.drawLine(QPointF(8.5, 2.5), QPointF(8.5, 14.5));
  });
}

QIcon open() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(QColor(120, 90, 20), 1));
    p.setBrush(QColor(230, 190, 80));
    p.drawRect(QRectF(1.5, 4.5, 12, 9));
    p.setBrush(QColor(250, 220, 120));
    QPainterPath flap;
    flap.moveTo(3.5, 7.5);
    flap.lineTo(15, 7.5);
    flap.lineTo(12.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    p.drawPath(flap);
  });
}

QIcon save() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(60, 80, 160));
    p.drawRect(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(4.5, 1.5, 7, 5));
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(QRectF(3.5, 9.5, 9, 5));
  });
}

}  // namespace vek1::icons
