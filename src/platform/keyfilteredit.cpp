#include "keyfilteredit.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>

namespace vek1 {

KeyFilterEdit::Filter KeyFilterEdit::numberFilter(bool allowMinus) {
  return [allowMinus](QChar typed, const QString& currentText) {
    const char16_t c = typed.unicode();
    if (c == kBackspace || c == kEnter) return true;
    if (c >= u'0' && c <= u'9') return true;
    if (c == u'.' || (c == u'-' && allowMinus)) return !currentText.contains(typed);
    return false;
  };
}

KeyFilterEdit::KeyFilterEdit(QWidget* parent) : QLineEdit(parent), filter_(numberFilter()) {
  // Dropped text would bypass the filter, and nobody drags text into a number field.
  setAcceptDrops(false);
}

QString KeyFilterEdit::admitted(const QString& inserted) const {
  QString current = text();
  qsizetype position = hasSelectedText() ? selectionStart() : cursorPosition();
  qsizetype replaced = hasSelectedText() ? selectionLength() : 0;
  QString result;
  for (const QChar c : inserted) {
    // Line breaks, tabs and other control characters cannot be typed into a field.
    if (!c.isPrint()) continue;
    if (!admits(c, current)) continue;
    current.replace(position, replaced, c);
    replaced = 0;
    ++position;
    result += c;
  }
  return result;
}

void KeyFilterEdit::pasteFiltered(QClipboard::Mode mode) {
  if (isReadOnly()) return;
  const QString kept = admitted(QGuiApplication::clipboard()->text(mode));
  if (!kept.isEmpty()) insert(kept);
}

namespace {

// A key with Ctrl, Alt or Meta is a shortcut, except Ctrl+Alt together, which is how some
// keyboards type AltGr characters.
bool isShortcut(Qt::KeyboardModifiers modifiers) {
  const bool control = modifiers & Qt::ControlModifier;
  const bool alt = modifiers & Qt::AltModifier;
  if (control && alt) return false;
  return control || alt || (modifiers & Qt::MetaModifier);
}

}  // namespace

void KeyFilterEdit::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    pasteFiltered();
    event->accept();
    return;
  }
  if (isShortcut(event->modifiers())) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  QString typed;
  switch (event->key()) {
    case Qt::Key_Backspace:
      typed = QChar(kBackspace);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      typed = QChar(kEnter);
      break;
    default:
      typed = event->text();
      if (!typed.isEmpty() && !typed.front().isPrint()) typed.clear();  // Escape, Delete, ...
      break;
  }
  if (typed.isEmpty()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (typed.size() == 1) {
    if (admits(typed.front(), text())) {
      QLineEdit::keyPressEvent(event);
    } else {
      event->accept();  // dropped, and not passed on to the window either
    }
    return;
  }
  // One key that types several characters (a compose sequence): each is offered in turn.
  const QString kept = admitted(typed);
  if (!kept.isEmpty() && !isReadOnly()) insert(kept);
  event->accept();
}

void KeyFilterEdit::inputMethodEvent(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (commit.isEmpty()) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  const QString kept = admitted(commit);
  if (kept == commit) {
    QLineEdit::inputMethodEvent(event);
    return;
  }
  QInputMethodEvent filtered(event->preeditString(), event->attributes());
  filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
  QLineEdit::inputMethodEvent(&filtered);
  event->accept();
}

void KeyFilterEdit::mouseReleaseEvent(QMouseEvent* event) {
  // The middle button pastes the selection on desktops that have one.
  if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
      !isReadOnly()) {
    deselect();
    pasteFiltered(QClipboard::Selection);
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

QMenu* KeyFilterEdit::createFilteredContextMenu() {
  QMenu* menu = createStandardContextMenu();
  for (QAction* action : menu->actions()) {
    // The standard menu may wire Paste either way; take it off whichever it is.
    const bool wasPaste = disconnect(action, &QAction::triggered, this, &QLineEdit::paste) ||
                          disconnect(action, SIGNAL(triggered()), this, SLOT(paste()));
    if (wasPaste) {
      connect(action, &QAction::triggered, this, [this] { pasteFiltered(); });
    }
  }
  return menu;
}

#ifndef QT_NO_CONTEXTMENU
void KeyFilterEdit::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createFilteredContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->popup(event->globalPos());
  event->accept();
}
#endif

void KeyFilterEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // Our own context menu borrows the focus; the user is still in the field.
  if (event->reason() != Qt::PopupFocusReason) emit focusEntered();
}

void KeyFilterEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (event->reason() != Qt::PopupFocusReason) emit focusLost();
}

}  // namespace vek1
