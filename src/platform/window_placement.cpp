#include "window_placement.h"

#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <array>

namespace vek1 {

namespace {

constexpr const char* kPlacedProperty = "vek1PlacedBeside";

long long coveredArea(const QRect& a, const QRect& b) {
  const QRect both = a.intersected(b);
  return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

// Moves `at` into `available` as far as the size allows, keeping the top-left corner on the
// screen when the window is larger than it.
QPoint keptInside(QPoint at, const QSize& size, const QRect& available) {
  at.setX(std::max(available.left(), std::min(at.x(), available.right() + 1 - size.width())));
  at.setY(std::max(available.top(), std::min(at.y(), available.bottom() + 1 - size.height())));
  return at;
}

}  // namespace

QRect besideGeometry(const QRect& anchor, const QSize& preferred, const QSize& minimum,
                     const QRect& available) {
  const QRect a = anchor.intersected(available);
  const std::array<QRect, 4> strips = {
      QRect(QPoint(available.left(), a.bottom() + 1), available.bottomRight()),  // below
      QRect(QPoint(a.right() + 1, available.top()), available.bottomRight()),    // right
      QRect(available.topLeft(), QPoint(available.right(), a.top() - 1)),        // above
      QRect(available.topLeft(), QPoint(a.left() - 1, available.bottom())),      // left
  };
  // Where the window starts in each strip: in line with the anchor, as far as it fits.
  const std::array<QPoint, 4> starts = {
      QPoint(anchor.left(), a.bottom() + 1), QPoint(a.right() + 1, anchor.top()),
      QPoint(anchor.left(), a.top() - preferred.height()),
      QPoint(a.left() - preferred.width(), anchor.top())};
  QRect best;
  long long bestArea = 0;
  for (std::size_t i = 0; i < strips.size(); ++i) {
    const QRect& strip = strips[i];
    if (strip.width() < minimum.width() || strip.height() < minimum.height()) continue;
    const QSize fitted = preferred.boundedTo(strip.size());
    const long long area = static_cast<long long>(fitted.width()) * fitted.height();
    if (area > bestArea) {
      best = QRect(keptInside(starts[i], fitted, strip), fitted);
      bestArea = area;
    }
  }
  if (bestArea > 0) return best;

  const std::array<QPoint, 4> candidates = {
      QPoint(anchor.left(), anchor.bottom() + 1),           // below
      QPoint(anchor.right() + 1, anchor.top()),             // right
      QPoint(anchor.left(), anchor.top() - preferred.height()),  // above
      QPoint(anchor.left() - preferred.width(), anchor.top()),   // left
  };
  long long bestCovered = -1;
  for (const QPoint& candidate : candidates) {
    const QRect at(keptInside(candidate, preferred, available), preferred);
    const long long covered = coveredArea(at, anchor);
    if (bestCovered < 0 || covered < bestCovered) {
      best = at;
      bestCovered = covered;
    }
  }
  return best;
}

void showBeside(QWidget* window, const QWidget* anchor) {
  if (!window->property(kPlacedProperty).toBool() && anchor && anchor->isVisible()) {
    window->setProperty(kPlacedProperty, true);
    // The window's own frame is not known before it is first shown; the anchor's is the same
    // window manager's, so its margins stand in.
    const QRect anchorFrame = anchor->frameGeometry();
    const QSize margins = anchorFrame.size() - anchor->geometry().size();
    const QScreen* screen = anchor->screen();
    if (screen) {
      const QRect frame =
          besideGeometry(anchorFrame, window->size() + margins,
                         window->minimumSizeHint().expandedTo(window->minimumSize()) + margins,
                         screen->availableGeometry());
      window->resize(frame.size() - margins);
      window->move(frame.topLeft());
    }
  }
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace vek1
