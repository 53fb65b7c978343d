#pragma once
// A main window to hand the dialogs, with its animation stopped so nothing moves between two
// checks, and the few gestures the dialog tests are made of.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <array>
#include <memory>
#include <string>
#include <tuple>

#include "recording_sound.h"
#include "main_form.h"
#include "sound.h"
#include "workspace.h"

namespace vek1 {

class DialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TMainForm>(ws, sound);
    form->Timer1->stop();
  }

  // Opens the dialog as the user sees it: shown and active.
  static void open(QWidget& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // The offscreen platform does not report a window shown again as activated again; a desktop
    // would.
    if (!dialog.isActiveWindow()) QApplication::setActiveWindow(&dialog);
  }
  // Clicks into the field, empties it with Backspace and types `text`.
  static void retype(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
  // Takes the focus away from whatever field has it, as a click elsewhere would.
  static void focusTo(QWidget* widget) {
    widget->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
  }
  static QWidget* focused() { return QApplication::focusWidget(); }
  // The newest undo entry as (id, old value, new value, name).
  std::tuple<int, float, float, std::string> newestUndo() const {
    const UndoEntry& e = ws.UndoList[1];
    return {e.Id, e.OldValue, e.NewValue, e.Name};
  }

  static constexpr std::array<bool, kUndoButtonCount> kAllUndoButtons{true, true, true, true, true};
  static constexpr std::array<bool, kUndoButtonCount> kNoUndoButtons{};

  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
};

}  // namespace vek1
