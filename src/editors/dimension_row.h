#pragma once
// One row of a dimension dialog: the borderless edit that shows and takes a dimension, and the
// tiny button beside it that asks the main view to show where the dimension lies.
//
// Grey rows (frame 1..16, cylinder 101..122) are the dynamic-variable rows: leaving the field
// selects the dimension as the newest dynamic variable and, when its text was changed in any way,
// stores the value with an undo entry. The two white rows (17 and 18, the reverse-arm limits) only
// store their value when changed, with Norm kept within Max.
//
// The row commits whenever its edit loses the focus, for whatever reason (another field, a button,
// Enter, the dialog being closed or left), so no typed value is ever lost or left pending.

#include <QObject>
#include <QPoint>
#include <QPushButton>
#include <functional>

#include "keyfilteredit.h"
#include "workspace.h"

namespace vek1 {

class DimensionRow : public QObject {
 public:
  static constexpr int kEditWidth = 40;
  static constexpr int kEditHeight = 13;
  static constexpr int kButtonWidth = 8;

  // Creates the edit at `editAt` and the button at `buttonAt`, both children of `dialog`. Enter in
  // the edit moves the focus to `enterGoesTo` (the dialog's Close button).
  // `rangeChanged` runs when the row changed "Rev Arm to Cent Max".
  DimensionRow(QWidget& dialog, Workspace& ws, std::function<void()> rangeChanged,
               QWidget& enterGoesTo, int id, QPoint editAt, QPoint buttonAt);

  int id() const { return id_; }
  bool grey() const;
  KeyFilterEdit* edit() const { return edit_; }
  QPushButton* button() const { return button_; }

  // Shows the dimension's current value in the field's number format.
  void refill();

  // What the edit does with a typed key (true lets it into the text).
  bool keyPress(QChar typed, const QString& text);
  // What leaving the edit does.
  void exit();
  // What the tiny button does: only asks the main view for the display; the main view closes
  // and reopens the dialog around it.
  void buttonClick();

 private:
  Workspace& ws_;
  std::function<void()> rangeChanged_;
  QWidget& enterGoesTo_;
  int id_;
  KeyFilterEdit* edit_ = nullptr;
  // The text the field showed when it was last filled or left: leaving it with the same text
  // stores nothing, so a value with more digits than the field shows is kept whole.
  QString shown_;
  QPushButton* button_ = nullptr;
};

}  // namespace vek1
