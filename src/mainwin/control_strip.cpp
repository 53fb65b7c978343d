#include "control_strip.h"

#include <QEvent>
#include <QFont>
#include <QRegion>

#include "endscrollbar.h"

namespace vek1 {

namespace {
constexpr int kRowHeight = 13;
constexpr int kButtonFontPoints = 7;
}  // namespace

ControlStrip::ControlStrip(QWidget* drawing, ScaledLayout& layout)
    : QWidget(drawing), layout_(layout) {
  // Transparent: the drawing shows between the controls.
  setAttribute(Qt::WA_NoSystemBackground);
  setGeometry(drawing->rect());
  drawing->installEventFilter(this);
  updateMask();
}

void ControlStrip::place(QWidget* widget, QRect design, int fontPoints) {
  widget->setGeometry(design);
  if (fontPoints > 0) {
    QFont font = widget->font();
    font.setPointSize(fontPoints);
    widget->setFont(font);
  }
  layout_.remember(widget);
  widget->installEventFilter(this);
  updateMask();
}

QScrollBar* ControlStrip::makeBar(int x, int y, int width, int min, int max, int small, int large,
                                  const QString& hint) {
  auto* bar = new EndScrollBar(Qt::Horizontal, this);
  place(bar, QRect(x, y, width, kRowHeight));
  bar->setRange(min, max);
  bar->setSingleStep(small);
  bar->setPageStep(large);
  bar->setToolTip(hint);
  return bar;
}

QPushButton* ControlStrip::makeButton(int x, int y, int width, const QString& caption,
                                      const QString& hint) {
  auto* button = new QPushButton(caption, this);
  place(button, QRect(x, y, width, kRowHeight + 1), kButtonFontPoints);
  button->setFocusPolicy(Qt::TabFocus);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

bool ControlStrip::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent()) {
    if (event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
    return false;
  }
  switch (event->type()) {
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
      updateMask();
      break;
    default:
      break;
  }
  return false;
}

void ControlStrip::updateMask() {
  QRegion shown;
  for (QObject* child : children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget && !widget->isHidden()) shown += widget->geometry();
  }
  // An empty mask would mean no mask at all, the whole drawing taken: with nothing shown the
  // strip keeps one pixel outside itself, so that it takes nothing.
  setMask(shown.isEmpty() ? QRegion(-1, -1, 1, 1) : shown);
}

}  // namespace vek1
