#include "sine_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>

#include "canvas.h"
#include "dynvar.h"
#include "main_form.h"
#include "sine_drawing.h"

namespace vek1 {

namespace {
// The diagram's drawing surface: the largest client area the window takes.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 479;
constexpr int kMenuBarHeight = 22;
}  // namespace

TSineDia::TSineDia(Workspace& ws, TMainForm& main, QDialog* setRevArm, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      ws_(ws),
      main_(main),
      setRevArm_(setRevArm),
      picture_(kPictureWidth, kPictureHeight, QImage::Format_RGB32) {
  setModal(true);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  resize(632, 414 + kMenuBarHeight);
  setMaximumSize(kPictureWidth, kPictureHeight + kMenuBarHeight);
  picture_.fill(Qt::white);

  MainMenuSine = new QMenuBar(this);
  MainMenuSine->setGeometry(0, 0, kPictureWidth, kMenuBarHeight);
  SetRevArmPos = MainMenuSine->addAction("&SetRevArmPos", this, &TSineDia::SetRevArmPosClick);
  ReDraw = MainMenuSine->addAction("&ReDraw", this, &TSineDia::ReDrawClick);
  UnDoSine = MainMenuSine->addAction("&UnDo", this, &TSineDia::UnDoSineClick);
  DynVari = MainMenuSine->addAction("&DymamicVariables", this, &TSineDia::DynVariClick);

  // Controls sit in the drawing's coordinates, below the window's own menu bar.
  auto place = [](QWidget* w, int x, int y, int width, int height) {
    w->setGeometry(x, y + kMenuBarHeight, width, height);
  };
  for (int bar = 1; bar <= 4; ++bar) {
    auto* b = new EndScrollBar(Qt::Horizontal, this);
    place(b, 112, 3 + 12 * (bar - 1), 121, 10);
    b->setRange(-200, 200);
    b->setPageStep(10);
    b->hide();
    SBDynVarS[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBDynVarSChange(bar, p); });
    connect(b, &EndScrollBar::scrollEnded, this, [this, bar] { SBDynVarSScroll(bar); });
    connect(b, &EndScrollBar::focusEntered, this, [this, bar] { SBDynVarSEnter(bar); });
  }
  CloseSin = new QPushButton("Close", this);
  place(CloseSin, 408, 8, 75, 25);
  connect(CloseSin, &QPushButton::clicked, this, &QDialog::accept);
  UnDoDnS = new QPushButton("UnDo", this);
  place(UnDoDnS, 110, 54, 40, 16);
  UnDoDnS->setEnabled(false);
  UnDoDnS->hide();
  connect(UnDoDnS, &QPushButton::clicked, this, &TSineDia::UnDoDnSClick);
}

void TSineDia::draw(bool clearFirst) {
  if (clearFirst) picture_.fill(Qt::white);
  SineDiagramOutcome outcome;
  {
    QPainterCanvas canvas(picture_);
    outcome = drawSineDiagram(canvas, ws_);
  }
  for (int bar = 1; bar <= 4; ++bar) {
    SBDynVarS[bar]->setVisible(outcome.panel.shown);
    SBDynVarS[bar]->setEnabled(outcome.panel.enabled[bar - 1]);
  }
  UnDoDnS->setVisible(outcome.undoButtonShown);
  UnDoDnS->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDnS]);
  update();
}

void TSineDia::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !open_) {
    open_ = true;
    FormActivate();
  }
}

void TSineDia::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous() && open_) {
    open_ = false;
    FormClose();
  }
}

void TSineDia::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(0, kMenuBarHeight, picture_);
}

void TSineDia::mouseMoveEvent(QMouseEvent* event) {
  QDialog::mouseMoveEvent(event);
  FormMouseMove();
}

void TSineDia::FormActivate() {
  // The diagram moves the driver and the reverse arm itself; the animation must not.
  main_.Timer1->stop();
  if (setRevArm_) setRevArm_->exec();
  draw(true);
}

void TSineDia::FormClose() {
  main_.Timer1->start();
}

void TSineDia::SetRevArmPosClick() {
  // Redrawn at the next mouse move over the window, once the positions dialog has closed.
  if (setRevArm_) setRevArm_->exec();
}

void TSineDia::ReDrawClick() {
  draw(true);
}

void TSineDia::FormMouseMove() {
  if (!ws_.RepaintPending) return;
  draw(true);
  ws_.RepaintPending = false;
}

void TSineDia::SBDynVarSChange(int bar, int position) {
  DynVarBarChange(ws_, bar, position);
  SBDynVarS[bar]->setValue(0);
  draw(true);
}

void TSineDia::SBDynVarSEnter(int bar) {
  DynVarBarEnter(ws_, bar);
}

void TSineDia::SBDynVarSScroll(int bar) {
  DynVarBarScrollEnd(ws_, bar);
  CloseSin->setFocus();
  draw(false);
}

void TSineDia::UnDoDnSClick() {
  if (ws_.UndoList[1].Id > 0) {
    UndoPop(ws_);
  } else {
    ws_.UndoButtonEnabled[vek1::UnDoDn] = false;
    ws_.UndoButtonEnabled[vek1::UnDoDnS] = false;
  }
  draw(true);
  draw(false);
}

void TSineDia::UnDoSineClick() {
  ws_.UndoMode = !ws_.UndoMode;
  if (!ws_.UndoMode) {
    draw(true);
  } else {
    draw(false);
    draw(false);
  }
}

void TSineDia::DynVariClick() {
  ws_.DynVarShown = !ws_.DynVarShown;
  draw(true);
  main_.setDynVarControlsVisible(ws_.DynVarShown);
}

}  // namespace vek1
