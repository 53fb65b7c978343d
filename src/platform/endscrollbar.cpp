#include "endscrollbar.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHideEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace vek1 {

EndScrollBar::EndScrollBar(QWidget* parent) : QScrollBar(parent) {
  init();
}

EndScrollBar::EndScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
  init();
}

void EndScrollBar::init() {
  // The bar takes the focus when clicked, before the click moves it, because handlers record the
  // value a scroll starts from when the bar gains the focus. The wheel gives it the focus too.
  setFocusPolicy(Qt::WheelFocus);
  // Every arrow, trough, key and wheel step and every drag movement is an action, even one that
  // meets the end of the range; the context menu's "Scroll here" only sets the value. The flag
  // is cleared at the start of each input event and read at its end, so values set from code
  // between events never count as a scroll.
  connect(this, &QAbstractSlider::actionTriggered, this, [this] { moved_ = true; });
  connect(this, &QAbstractSlider::sliderPressed, this, [this] { moved_ = true; });
  connect(this, &QAbstractSlider::valueChanged, this, [this] { moved_ = true; });
}

void EndScrollBar::mousePressEvent(QMouseEvent* event) {
  moved_ = false;
  QScrollBar::mousePressEvent(event);
  // A press on an arrow or the trough has stepped the bar already; a press on the thumb has
  // pressed the slider. Either starts a scroll that ends when the button is released, after any
  // auto-repeat or drag.
  if (moved_ || isSliderDown()) mouseScroll_ = true;
}

void EndScrollBar::mouseReleaseEvent(QMouseEvent* event) {
  QScrollBar::mouseReleaseEvent(event);
  // Another button may still be down; the scroll ends with the last one.
  if (mouseScroll_ && event->buttons() == Qt::NoButton) {
    mouseScroll_ = false;
    emit scrollEnded();
  }
}

void EndScrollBar::keyPressEvent(QKeyEvent* event) {
  // Keys move the bar the same way whatever its orientation: towards the minimum with Left, Up
  // and Page Up, towards the maximum with Right, Down and Page Down, to the ends with Home and
  // End. (QScrollBar on its own turns Left and Right round on a horizontal bar.)
  SliderAction action = SliderNoAction;
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up:
      action = SliderSingleStepSub;
      break;
    case Qt::Key_Right:
    case Qt::Key_Down:
      action = SliderSingleStepAdd;
      break;
    case Qt::Key_PageUp:
      action = SliderPageStepSub;
      break;
    case Qt::Key_PageDown:
      action = SliderPageStepAdd;
      break;
    case Qt::Key_Home:
      action = SliderToMinimum;
      break;
    case Qt::Key_End:
      action = SliderToMaximum;
      break;
    default:
      QScrollBar::keyPressEvent(event);
      return;
  }
  triggerAction(action);
  keyScroll_ = true;
  event->accept();
}

void EndScrollBar::keyReleaseEvent(QKeyEvent* event) {
  QScrollBar::keyReleaseEvent(event);
  // A held key repeats its steps; the scroll ends when the key really goes up.
  if (keyScroll_ && !event->isAutoRepeat()) {
    keyScroll_ = false;
    emit scrollEnded();
  }
}

#if QT_CONFIG(wheelevent)
void EndScrollBar::wheelEvent(QWheelEvent* event) {
  moved_ = false;
  QScrollBar::wheelEvent(event);
  if (moved_) emit scrollEnded();
}
#endif

#ifndef QT_NO_CONTEXTMENU
void EndScrollBar::contextMenuEvent(QContextMenuEvent* event) {
  // The menu runs modally inside this call; whatever it chose is a complete scroll.
  moved_ = false;
  QScrollBar::contextMenuEvent(event);
  if (moved_) emit scrollEnded();
}
#endif

void EndScrollBar::focusInEvent(QFocusEvent* event) {
  QScrollBar::focusInEvent(event);
  // The bar's own context menu takes the focus for a moment; getting it back starts nothing new.
  if (event->reason() != Qt::PopupFocusReason) emit focusEntered();
}

void EndScrollBar::focusOutEvent(QFocusEvent* event) {
  QScrollBar::focusOutEvent(event);
  // A key scroll whose release goes elsewhere still ends here.
  if (keyScroll_ && event->reason() != Qt::PopupFocusReason) {
    keyScroll_ = false;
    emit scrollEnded();
  }
}

void EndScrollBar::hideEvent(QHideEvent* event) {
  // Hiding the bar lets go of the mouse and keys; a scroll under way ends with it.
  QScrollBar::hideEvent(event);
  if (mouseScroll_ || keyScroll_) {
    mouseScroll_ = keyScroll_ = false;
    emit scrollEnded();
  }
}

}  // namespace vek1
