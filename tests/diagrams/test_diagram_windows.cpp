// The diagram windows as the user drives them (the sine window in most detail): it stops the
// animation while open, asks for the positions first, redraws on its triggers, and its bars and
// undo button act on the shared list and history.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <memory>

#include "diagram_windows.h"
#include "dimensions.h"
#include "dynvar.h"
#include "main_form.h"
#include "main_view_links.h"
#include "recording_sound.h"
#include "sound.h"

namespace vek1 {
namespace {

// Stands in for the positions dialog: records that it was asked, and closes at once.
class AnsweringDialog : public QDialog {
 public:
  int asked = 0;

 protected:
  void showEvent(QShowEvent* event) override {
    QDialog::showEvent(event);
    ++asked;
    QTimer::singleShot(0, this, &QDialog::accept);
  }
};

class SineWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUp(ws);
    form = std::make_unique<TMainForm>(ws, sound);
    ws.RevArmPosCount = 3;
    sine = new TSineDia(ws, &positions, form.get());
    linkToMainView(*form, *sine);
  }

  // Black pixels in the diagram's picture: a change of the curves changes this count.
  long blackPixels() const {
    const QImage& image = sine->picture();
    long n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == qRgb(0, 0, 0);
    return n;
  }

  Workspace ws;
  RecordingSoundSink sound;
  std::unique_ptr<TMainForm> form;
  AnsweringDialog positions;
  TSineDia* sine = nullptr;
};

TEST_F(SineWindow, OpeningStopsTheAnimationAsksForPositionsAndDraws) {
  ASSERT_TRUE(form->Timer1->isActive());
  const float angle = ws.DriverAngle;
  sine->show();
  EXPECT_FALSE(form->Timer1->isActive());
  EXPECT_EQ(positions.asked, 1);
  EXPECT_GT(blackPixels(), 1000);
  EXPECT_EQ(ws.DriverAngle, angle);  // the drawing puts the driver back
  sine->CloseButton->click();
  EXPECT_FALSE(sine->isVisible());
  EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(SineWindow, ClosedPositionsDialogRedrawsAtTheNextMouseMove) {
  sine->show();
  ws.RevArmPosCount = 1;
  ws.RepaintPending = true;
  const long before = blackPixels();
  QMouseEvent move(QEvent::MouseMove, QPointF(300, 200), sine->mapToGlobal(QPointF(300, 200)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(sine, &move);
  EXPECT_FALSE(ws.RepaintPending);
  EXPECT_LT(blackPixels(), before);  // two curves fewer
}

TEST_F(SineWindow, ItsBarsNudgeTheSharedDynamicVariable) {
  DynVarRegisterDimension(ws, dim::RadiusRod);
  sine->show();
  sine->DynVariClick();
  EXPECT_TRUE(ws.DynVarShown);
  ASSERT_TRUE(sine->SBDynVar[1]->isVisible());
  ASSERT_TRUE(sine->SBDynVar[1]->isEnabled());
  EXPECT_FALSE(sine->SBDynVar[2]->isEnabled());
  EXPECT_TRUE(form->dynVarStrip->SBDynVar[1]->isVisibleTo(
      form.get()));  // the main window follows the switch

  sine->SBDynVar[1]->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_FLOAT_EQ(ws.Frame[dim::RadiusRod], 5.01f);
  EXPECT_EQ(sine->SBDynVar[1]->value(), 0);

  // The end of the scroll is one undo entry; the window's undo button takes it back.
  ws.SlotValueAtEnter = 5.0f;
  emit sine->SBDynVar[1]->scrollEnded();
  ASSERT_EQ(ws.UndoCount, 1);
  sine->UnDoMenuClick();
  EXPECT_TRUE(sine->UnDoButton->isVisible());
  EXPECT_TRUE(sine->UnDoButton->isEnabled());
  sine->UnDoButton->click();
  EXPECT_FLOAT_EQ(ws.Frame[dim::RadiusRod], 5.0f);
  EXPECT_EQ(ws.UndoCount, 0);
  for (bool enabled : ws.UndoButtonEnabled) EXPECT_FALSE(enabled);
  EXPECT_FALSE(sine->UnDoButton->isEnabled());
}

TEST_F(SineWindow, ThePortWindowDrawsWithoutAskingAndCombinesBothGraphs) {
  TPortDia port(ws, form.get());
  linkToMainView(*form, port);
  ws.PortGraphMode = 'R';
  port.show();
  EXPECT_EQ(positions.asked, 0);  // the port diagram does not use the nine positions
  EXPECT_FALSE(form->Timer1->isActive());
  port.BothGraphs1Click();
  EXPECT_EQ(ws.PortGraphMode, 'B');
  EXPECT_TRUE(ws.PortCycleLegend);
  // Both position columns stand side by side: forward at x 556, reverse at x 596.
  auto inked = [&port](int x0, int x1) {
    int n = 0;
    for (int y = 60; y < 360; ++y)
      for (int x = x0; x < x1; ++x) n += port.picture().pixel(x, y) == qRgb(0, 0, 0);
    return n;
  };
  EXPECT_GT(inked(556, 594), 50);
  EXPECT_GT(inked(598, 636), 50);
  port.ReDrawClick();
  EXPECT_EQ(ws.PortGraphMode, 'B');
  port.ForwardGraph1Click();
  EXPECT_EQ(ws.PortGraphMode, 'F');
  EXPECT_LT(inked(598, 636), 10);  // the reverse column is gone
  port.CloseButton->click();
  EXPECT_TRUE(form->Timer1->isActive());
}

TEST_F(SineWindow, OvalAndSteamWindowsAskForPositionsAndDraw) {
  TOvalDia oval(ws, &positions, form.get());
  TSteamDia steam(ws, &positions, form.get());
  linkToMainView(*form, oval);
  linkToMainView(*form, steam);
  for (DiagramWindow* window :
       {static_cast<DiagramWindow*>(&oval), static_cast<DiagramWindow*>(&steam)}) {
    const int asked = positions.asked;
    ws.LastDiagramRevArmPos = -1.0f;
    window->show();
    EXPECT_EQ(positions.asked, asked + 1);
    // The window, not the drawing, keeps the last position drawn for the dimension file.
    EXPECT_EQ(ws.LastDiagramRevArmPos, ws.RevArmPositions[diagramPositionCount(ws)]);
    long inked = 0;
    for (int y = 80; y < 350; ++y)
      for (int x = 50; x < 580; ++x) inked += window->picture().pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 1000);
    window->CloseButton->click();
    EXPECT_TRUE(form->Timer1->isActive());
  }
}

}  // namespace
}  // namespace vek1
