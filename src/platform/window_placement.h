#pragma once
// Where a tool window that works beside another opens the first time: next to it, so that what
// the user watches (the running gear) stays in view. Afterwards it opens where the user left it.

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace vek1 {

// The frame for a window beside `anchor`, inside `available`. It goes into the largest of the
// free strips below, right of, above and left of the anchor (the first in that order when they
// tie), made smaller to fit but never below `minimum`. When no strip holds even the minimum, it
// keeps its `preferred` size where it covers the least of the anchor.
QRect besideGeometry(const QRect& anchor, const QSize& preferred, const QSize& minimum,
                     const QRect& available);

// Shows `window` and brings it to the front; the first time, beside `anchor`.
void showBeside(QWidget* window, const QWidget* anchor);

}  // namespace vek1
