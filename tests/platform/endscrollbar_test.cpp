#include "endscrollbar.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <string>
#include <vector>

namespace vek1 {
namespace {

class Bar : public EndScrollBar {
 public:
  using EndScrollBar::EndScrollBar;
  QPoint centreOf(QStyle::SubControl part) {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_ScrollBar, &option, part, this).center();
  }
};

// A window with the bar and an edit that can hold the focus instead.
class EndScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(&other);
    layout->addWidget(&bar);
    bar.setRange(-100, 100);
    bar.setSingleStep(1);
    bar.setPageStep(10);
    bar.setFixedWidth(300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other.setFocus();
  }

  QWidget window;
  QLineEdit other{&window};
  Bar bar{Qt::Horizontal, &window};
  QSignalSpy ended{&bar, &EndScrollBar::scrollEnded};
  QSignalSpy changed{&bar, &QAbstractSlider::valueChanged};
};

TEST_F(EndScrollBarTest, ArrowAndTroughClicksEndOneScrollEach) {
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.centreOf(QStyle::SC_ScrollBarAddLine));
  EXPECT_EQ(bar.value(), 1);
  EXPECT_EQ(ended.count(), 1);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.centreOf(QStyle::SC_ScrollBarSubLine));
  EXPECT_EQ(bar.value(), 0);
  EXPECT_EQ(ended.count(), 2);
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.centreOf(QStyle::SC_ScrollBarAddPage));
  EXPECT_EQ(bar.value(), 10);
  EXPECT_EQ(ended.count(), 3);
}

TEST_F(EndScrollBarTest, HeldArrowRepeatsButEndsOnceAtTheRelease) {
  const QPoint arrow = bar.centreOf(QStyle::SC_ScrollBarAddLine);
  QTest::mousePress(&bar, Qt::LeftButton, {}, arrow);
  QTest::qWait(800);
  EXPECT_GT(bar.value(), 2);
  EXPECT_EQ(ended.count(), 0);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, arrow);
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(EndScrollBarTest, DragEndsAtTheRelease) {
  const QPoint thumb = bar.centreOf(QStyle::SC_ScrollBarSlider);
  QTest::mousePress(&bar, Qt::LeftButton, {}, thumb);
  QTest::mouseMove(&bar, thumb + QPoint(20, 0));
  QTest::mouseMove(&bar, thumb + QPoint(40, 0));
  EXPECT_GT(bar.value(), 0);
  EXPECT_EQ(ended.count(), 0);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, thumb + QPoint(40, 0));
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(EndScrollBarTest, EachKeyStepEndsAScrollButAHeldKeyOnlyWhenReleased) {
  QTest::keyClick(&bar, Qt::Key_Right);
  QTest::keyClick(&bar, Qt::Key_Right);
  QTest::keyClick(&bar, Qt::Key_PageDown);
  EXPECT_EQ(bar.value(), 12);
  EXPECT_EQ(ended.count(), 3);

  // A held key: one real press, repeats, one real release.
  QTest::keyPress(&bar, Qt::Key_Left);
  for (int i = 0; i < 3; ++i) {
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&bar, &release);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), true);
    QApplication::sendEvent(&bar, &press);
  }
  EXPECT_EQ(ended.count(), 3);
  QTest::keyRelease(&bar, Qt::Key_Left);
  EXPECT_EQ(bar.value(), 8);
  EXPECT_EQ(ended.count(), 4);

  QTest::keyClick(&bar, Qt::Key_A);  // not a scroll key
  EXPECT_EQ(ended.count(), 4);
  QTest::keyClick(&bar, Qt::Key_Home);
  EXPECT_EQ(bar.value(), -100);
  EXPECT_EQ(ended.count(), 5);
}

TEST_F(EndScrollBarTest, ValueSetFromCodeChangesButEndsNoScroll) {
  bar.setValue(42);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(ended.count(), 0);
}

TEST_F(EndScrollBarTest, BarSetBackToItsCentreByItsHandlerStillEndsOnce) {
  // The dynamic-variable bars take each step and spring back to 0 from within the change handler.
  std::vector<int> steps;
  QObject::connect(&bar, &QAbstractSlider::valueChanged, [&](int v) {
    steps.push_back(v);
    if (v != 0) bar.setValue(0);
  });
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.centreOf(QStyle::SC_ScrollBarAddLine));
  QTest::keyClick(&bar, Qt::Key_Left);
  EXPECT_EQ(steps, (std::vector<int>{1, 0, -1, 0}));
  EXPECT_EQ(ended.count(), 2);
}

TEST_F(EndScrollBarTest, ClickGivesTheFocusBeforeTheBarMoves) {
  std::vector<std::string> order;
  QObject::connect(&bar, &EndScrollBar::focusEntered, [&] { order.push_back("focus"); });
  QObject::connect(&bar, &QAbstractSlider::valueChanged, [&] { order.push_back("change"); });
  QObject::connect(&bar, &EndScrollBar::scrollEnded, [&] { order.push_back("end"); });
  QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.centreOf(QStyle::SC_ScrollBarAddLine));
  EXPECT_TRUE(bar.hasFocus());
  EXPECT_EQ(order, (std::vector<std::string>{"focus", "change", "end"}));
}

}  // namespace
}  // namespace vek1
