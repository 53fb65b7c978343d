#pragma once
// A scroll bar that also tells when a scroll has ended: at the release of the mouse after a drag,
// an arrow click or a trough click (however long auto-repeat ran), at the release of a key that
// stepped the bar, and after each wheel step. Handlers that must see a whole scroll as one change
// (one undo entry for a series of clicks or a drag) act on scrollEnded; valueChanged still fires
// for every position, including positions set from code.

#include <QScrollBar>

namespace vek1 {

class EndScrollBar : public QScrollBar {
  Q_OBJECT

 public:
  explicit EndScrollBar(QWidget* parent = nullptr);
  explicit EndScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

 signals:
  void scrollEnded();
  void focusEntered();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
#if QT_CONFIG(wheelevent)
  void wheelEvent(QWheelEvent* event) override;
#endif
#ifndef QT_NO_CONTEXTMENU
  void contextMenuEvent(QContextMenuEvent* event) override;
#endif
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void init();

  bool moved_ = false;        // the bar scrolled since this flag was last cleared
  bool mouseScroll_ = false;  // a mouse button started a scroll that has not ended
  bool keyScroll_ = false;    // a key stepped the bar and has not been released
};

}  // namespace vek1
