#pragma once
// A single-line edit whose typed characters pass a filter first. The filter sees each character
// before it reaches the text, together with the text as it stands (selected part included), and
// returns false to drop the key silently. Typed characters, Backspace (as QChar(8)) and Enter (as
// QChar(13)) are offered to it; cursor keys, Delete, Tab, Escape and shortcuts such as Ctrl+A are
// not. Pasted text goes through the same filter character by character, so the field never holds
// a character the filter would have refused at that point.

#include <QClipboard>
#include <QLineEdit>
#include <functional>

class QMenu;

namespace vek1 {

class KeyFilterEdit : public QLineEdit {
  Q_OBJECT

 public:
  using Filter = std::function<bool(QChar typed, const QString& currentText)>;

  static constexpr char16_t kBackspace = 8;
  static constexpr char16_t kEnter = 13;

  // Digits, "." and Backspace, "-" too when `allowMinus`; a second "-" or "." is refused when the
  // text already holds one. Enter passes, so a dialog's default button still answers it.
  static Filter numberFilter(bool allowMinus = true);

  // Starts with numberFilter().
  explicit KeyFilterEdit(QWidget* parent = nullptr);

  // An empty filter admits everything.
  void setFilter(Filter filter) { filter_ = std::move(filter); }

  // The standard edit menu, with its Paste going through the filter.
  QMenu* createFilteredContextMenu();
  // Pastes what the filter admits of the clipboard's text.
  void pasteFiltered(QClipboard::Mode mode = QClipboard::Clipboard);

 signals:
  void focusLost();
  void focusEntered();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
#ifndef QT_NO_CONTEXTMENU
  void contextMenuEvent(QContextMenuEvent* event) override;
#endif
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  bool admits(QChar typed, const QString& currentText) const {
    return !filter_ || filter_(typed, currentText);
  }
  // What the filter lets through of `inserted`, offered character by character as if typed: the
  // first admitted character replaces the selection, the following ones go in after it.
  QString admitted(const QString& inserted) const;

  Filter filter_;
};

}  // namespace vek1
