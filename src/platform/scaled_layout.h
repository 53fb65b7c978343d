#pragma once
// Controls that stand beside texts a window paints itself. In large-font mode those texts move out
// by the text factors; the controls beside them, and the window around them, move and grow by the
// same factors, so that no text runs under a control and each label stays beside its field.

#include <QFont>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace vek1 {

class ScaledLayout {
 public:
  // Takes the widget's present geometry and font as its design at factors 1.
  void remember(QWidget* widget);
  // The same for every direct child widget of `parent` not remembered yet.
  void rememberChildren(QWidget* parent);
  // Places every remembered widget at its design geometry times the factors; with `fonts`, a
  // widget's own font grows by the vertical factor too (for windows whose texts grow as well as
  // move).
  void apply(double sx, double sy, bool fonts) const;
  bool empty() const { return placed_.empty(); }
  // For a fixed-size dialog whose texts move but keep their size: remembers its children at the
  // first call, places them at the factors and gives the dialog its design client size times
  // the factors.
  void fitDialog(QWidget* dialog, const QSize& designClient, double sx, double sy);

  // A design rectangle or size at the factors, with each edge rounded, so that neighbours that
  // touch at design size still touch.
  static QRect scaled(const QRect& design, double sx, double sy);
  static QSize scaled(const QSize& design, double sx, double sy);

 private:
  struct Placed {
    QWidget* widget;
    QRect design;
    QFont font;
    bool ownFont;
  };
  std::vector<Placed> placed_;
};

}  // namespace vek1
