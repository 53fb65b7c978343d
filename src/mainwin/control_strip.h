#pragma once
// One strip of the main window's controls. The controls stand over the drawing at the places the
// drawing's texts were laid out for, so a strip covers the whole drawing (its children keep the
// drawing's own coordinates) and is masked to the controls it shows: the drawing and the other
// strips stay reachable between them, and the mouse presses there reach the drawing.

#include <QPushButton>
#include <QRect>
#include <QScrollBar>
#include <QString>
#include <QWidget>

#include "scaled_layout.h"

namespace vek1 {

class ControlStrip : public QWidget {
  Q_OBJECT
 public:
  // `drawing` is the widget the strip lies over; `layout` moves and grows the controls with the
  // texts in large-font mode (one layout for every strip of the window).
  ControlStrip(QWidget* drawing, ScaledLayout& layout);

 protected:
  // Every control of a strip is placed through here, at its design geometry.
  void place(QWidget* widget, QRect design, int fontPoints = 0);
  QScrollBar* makeBar(int x, int y, int width, int min, int max, int small, int large,
                      const QString& hint);
  QPushButton* makeButton(int x, int y, int width, const QString& caption, const QString& hint);
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void updateMask();

  ScaledLayout& layout_;
};

}  // namespace vek1
