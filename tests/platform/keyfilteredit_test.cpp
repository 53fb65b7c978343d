#include "keyfilteredit.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <memory>

namespace vek1 {
namespace {

TEST(KeyFilterEdit, NumberFieldTakesDigitsAndOneMinusAndOnePoint) {
  KeyFilterEdit edit;
  QTest::keyClicks(&edit, "1a2.3.4-x-+ 5");
  EXPECT_EQ(edit.text(), "12.34-5");
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), "12.34-");

  // The text already holds a point, even if it is selected and about to be replaced.
  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(edit.selectedText(), "12.34-");
  QTest::keyClick(&edit, '.');
  EXPECT_EQ(edit.text(), "12.34-");
  QTest::keyClick(&edit, '7');
  EXPECT_EQ(edit.text(), "7");

  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), "");
}

TEST(KeyFilterEdit, EnterPassesTheNumberFilterAndOtherFiltersMayKeepIt) {
  KeyFilterEdit edit;
  QSignalSpy returned(&edit, &QLineEdit::returnPressed);
  QTest::keyClick(&edit, Qt::Key_Return);
  EXPECT_EQ(returned.count(), 1);

  // A filter that handles Enter itself and sees what the field holds.
  std::vector<std::pair<QChar, QString>> seen;
  edit.setFilter([&](QChar typed, const QString& text) {
    seen.emplace_back(typed, text);
    return typed != QChar(KeyFilterEdit::kEnter);
  });
  QTest::keyClick(&edit, '9');
  QTest::keyClick(&edit, Qt::Key_Enter);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(returned.count(), 1);
  EXPECT_EQ(edit.text(), "");
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0], std::make_pair(QChar('9'), QString()));
  EXPECT_EQ(seen[1], std::make_pair(QChar(KeyFilterEdit::kEnter), QString("9")));
  EXPECT_EQ(seen[2], std::make_pair(QChar(KeyFilterEdit::kBackspace), QString("9")));
}

TEST(KeyFilterEdit, FieldWithoutMinusRefusesIt) {
  KeyFilterEdit edit;
  edit.setFilter(KeyFilterEdit::numberFilter(false));
  QTest::keyClicks(&edit, "-1.5");
  EXPECT_EQ(edit.text(), "1.5");
}

TEST(KeyFilterEdit, PastedTextKeepsOnlyWhatCouldHaveBeenTyped) {
  KeyFilterEdit edit;
  QApplication::clipboard()->setText("a-1.2.3-4 b\n");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "-1.234");

  edit.setText("-5");
  edit.end(false);
  QApplication::clipboard()->setText("-1.5");
  std::unique_ptr<QMenu> menu(edit.createFilteredContextMenu());
  QAction* paste = nullptr;
  for (QAction* action : menu->actions()) {
    if (action->text().contains("Paste")) paste = action;
  }
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  EXPECT_EQ(edit.text(), "-51.5");

  QApplication::clipboard()->setText("abc");
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), "-51.5");
}

TEST(KeyFilterEdit, ReportsGainingAndLosingTheFocus) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* first = new KeyFilterEdit(&window);
  auto* second = new KeyFilterEdit(&window);
  layout->addWidget(first);
  layout->addWidget(second);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->setFocus();
  QSignalSpy lost(first, &KeyFilterEdit::focusLost);
  QSignalSpy entered(second, &KeyFilterEdit::focusEntered);
  second->setFocus();
  EXPECT_EQ(lost.count(), 1);
  EXPECT_EQ(entered.count(), 1);
}

}  // namespace
}  // namespace vek1
