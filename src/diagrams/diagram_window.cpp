#include "diagram_window.h"

#include "reference_set.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QShowEvent>
#include <algorithm>

#include "canvas_replay.h"
#include "dynvar.h"
#include "export_dialog.h"
#include "frame.h"
#include "numbers.h"
#include "picture_print.h"
#include "scaled_layout.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {
// The diagrams' drawing surface: the largest client area a diagram window takes.
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;
constexpr int kMenuBarHeight = 22;
}  // namespace

DiagramWindow::DiagramWindow(Workspace& ws, QDialog* setRevArm, const Layout& layout,
                             QWidget* parent)
    : QDialog(parent, Qt::Tool),
      ws_(ws),
      setRevArm_(setRevArm),
      undoButton_(layout.undoButton),
      picture_(kPictureWidth, kPictureHeight, QImage::Format_RGB32),
      shownCalls_(kPictureWidth, kPictureHeight) {
  setModal(true);
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
  clientSize_ = QSize(layout.clientWidth, layout.clientHeight);
  resize(layout.clientWidth, layout.clientHeight + kMenuBarHeight);
  picture_.fill(Qt::white);

  Menu = new QMenuBar(this);
  Menu->setGeometry(0, 0, layout.clientWidth, kMenuBarHeight);
  if (usesPositions())
    SetRevArmPos =
        Menu->addAction(layout.setRevArmCaption, this, &DiagramWindow::SetRevArmPosClick);
  ReDraw = Menu->addAction(layout.redrawCaption, this, &DiagramWindow::ReDrawClick);
  UnDoMenu = Menu->addAction(layout.undoCaption, this, &DiagramWindow::UnDoMenuClick);
  DynVari = Menu->addAction(layout.dynVarCaption, this, &DiagramWindow::DynVariClick);
  Export1 = Menu->addAction("Export...", this, &DiagramWindow::Export1Click);
  Print1 = Menu->addAction("Print...", this, &DiagramWindow::Print1Click);

  // Controls stand in the drawing's coordinates, below the window's own menu bar.
  auto place = [this](QWidget* w, int x, int y, int width, int height) {
    designPlaces_.emplace_back(w, QRect(x, y, width, height));
    w->setGeometry(x, y + kMenuBarHeight, width, height);
  };
  for (int bar = 1; bar <= 4; ++bar) {
    auto* b = new EndScrollBar(Qt::Horizontal, this);
    place(b, 112, 3 + 12 * (bar - 1), 121, 10);
    b->setRange(-200, 200);
    b->setPageStep(10);
    b->hide();
    SBDynVar[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBDynVarChange(bar, p); });
    connect(b, &EndScrollBar::scrollEnded, this, [this, bar] { SBDynVarScroll(bar); });
    connect(b, &EndScrollBar::focusEntered, this, [this, bar] { SBDynVarEnter(bar); });
  }
  CloseButton = new QPushButton("Close", this);
  place(CloseButton, layout.closeAt.x(), layout.closeAt.y(), 75, 25);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
  UnDoButton = new QPushButton("UnDo", this);
  place(UnDoButton, layout.undoLine.x - 40, layout.undoLine.y - 1, 40, 16);
  UnDoButton->setEnabled(false);
  UnDoButton->hide();
  connect(UnDoButton, &QPushButton::clicked, this, &DiagramWindow::UnDoButtonClick);
}

QSize DiagramWindow::pictureSize() const {
  // The texts a diagram places move out with the large font; the picture grows with them.
  return ScaledLayout::scaled(QSize(kPictureWidth, kPictureHeight), ws_.TextScaleX, ws_.TextScaleY);
}

void DiagramWindow::placeControls() {
  // The controls move with the texts beside them but keep their size: a Close button grown with
  // the factors would reach the texts on its other side.
  for (const auto& [w, design] : designPlaces_) {
    const QRect moved = ScaledLayout::scaled(design, ws_.TextScaleX, ws_.TextScaleY);
    w->setGeometry(QRect(moved.topLeft() + QPoint(0, kMenuBarHeight), design.size()));
  }
}

void DiagramWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  // The menu bar spans the window, never beyond it.
  Menu->setGeometry(0, 0, width(), kMenuBarHeight);
}

QSize DiagramWindow::scaledClient() const {
  return ScaledLayout::scaled(clientSize_, ws_.TextScaleX, ws_.TextScaleY);
}

void DiagramWindow::draw(bool clearFirst) {
  // Drawn at the screen's pixel pitch, so that a scaled screen shows sharp lines and text.
  const double ratio = std::clamp(devicePixelRatioF(), 1.0, 8.0);
  const QSize size = pictureSize();
  const QSize pixels(roundHalfEven(size.width() * ratio), roundHalfEven(size.height() * ratio));
  if (picture_.size() != pixels) {
    picture_ = QImage(pixels, QImage::Format_RGB32);
    clearFirst = true;
  }
  scale_ = ratio;
  if (clearFirst) {
    picture_.fill(Qt::white);
    shownCalls_.reset();
  }
  DiagramOutcome outcome;
  {
    QPainterCanvas canvas(picture_, nullptr, ratio);
    TeeCanvas both(canvas, shownCalls_);
    outcome = drawDiagram(both);
  }
  for (int bar = 1; bar <= 4; ++bar) {
    SBDynVar[bar]->setVisible(outcome.panel.shown);
    SBDynVar[bar]->setEnabled(outcome.panel.enabled[bar - 1]);
  }
  UnDoButton->setVisible(outcome.undoButtonShown);
  UnDoButton->setEnabled(ws_.UndoButtonEnabled[undoButton_]);
  update();
}

void DiagramWindow::redraw(bool clearFirst) {
  draw(clearFirst);
}

void DiagramWindow::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous() && !open_) {
    open_ = true;
    FormActivate();
  }
}

void DiagramWindow::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  if (!event->spontaneous() && open_) {
    open_ = false;
    FormClose();
  }
}

void DiagramWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  painter.drawImage(
      QRectF(0, kMenuBarHeight, picture_.width() / scale_, picture_.height() / scale_), picture_,
      QRectF(picture_.rect()));
}

void DiagramWindow::mouseMoveEvent(QMouseEvent* event) {
  QDialog::mouseMoveEvent(event);
  FormMouseMove();
}

void DiagramWindow::FormActivate() {
  // The diagram moves the driver and the reverse arm itself; the animation must not.
  emit animationPaused(true);
  // Room for the whole picture's texts in the large font.
  const QSize client = scaledClient() + QSize(0, kMenuBarHeight);
  setMinimumSize(client);
  placeControls();
  if (width() < client.width() || height() < client.height())
    resize(std::max(width(), client.width()), std::max(height(), client.height()));
  if (setRevArm_) setRevArm_->exec();
  redraw(true);
}

void DiagramWindow::FormClose() {
  emit animationPaused(false);
}

void DiagramWindow::SetRevArmPosClick() {
  // Redrawn at the next mouse move over the window, once the positions dialog has closed.
  if (setRevArm_) setRevArm_->exec();
}

void DiagramWindow::ReDrawClick() {
  redraw(true);
}

void DiagramWindow::FormMouseMove() {
  if (!usesPositions() || !ws_.RepaintPending) return;
  redraw(true);
  ws_.RepaintPending = false;
}

void DiagramWindow::SBDynVarChange(int bar, int position) {
  DynVarBarChange(ws_, bar, position);
  SBDynVar[bar]->setValue(0);
  redraw(true);
}

void DiagramWindow::SBDynVarEnter(int bar) {
  DynVarBarEnter(ws_, bar);
}

void DiagramWindow::SBDynVarScroll(int bar) {
  DynVarBarScrollEnd(ws_, bar);
  CloseButton->setFocus();
  redraw(false);
}

void DiagramWindow::UnDoButtonClick() {
  if (ws_.UndoList[1].Id > 0) {
    UndoPop(ws_);
  } else {
    ws_.UndoButtonEnabled[UnDoDn] = false;
    ws_.UndoButtonEnabled[undoButton_] = false;
  }
  // Twice: the first drawing writes the old undo line, the second the new one.
  redraw(true);
  redraw(false);
}

void DiagramWindow::UnDoMenuClick() {
  ws_.UndoMode = !ws_.UndoMode;
  if (!ws_.UndoMode) {
    redraw(true);
  } else {
    redraw(false);
    redraw(false);
  }
}

void DiagramWindow::DynVariClick() {
  ws_.DynVarShown = !ws_.DynVarShown;
  redraw(true);
  emit dynVarShownChanged(ws_.DynVarShown);
}

void DiagramWindow::drawShownPicture(Canvas& canvas) const {
  canvas.clear(Rgb{255, 255, 255});
  replayCalls(shownCalls_.calls(), canvas);
}

PictureInfo DiagramWindow::pictureInfo() const {
  // What the window shows of the picture: its client area, which grows with the large font.
  const QSize client = scaledClient();
  return {{client.width(), client.height()},
          QString::fromStdString(TitleWithoutClock(windowTitle().toStdString(), ws_.DimSetName))};
}

ExportResult DiagramWindow::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(), [this](Canvas& canvas) { drawShownPicture(canvas); });
}

void DiagramWindow::Export1Click() {
  exportPictureAsked(this, QStringLiteral("Export"), pictureInfo().title,
                     [this](const QString& path) { return exportTo(path); });
}

void DiagramWindow::Print1Click() {
  printPictureAsked(this, pictureInfo(), [this](Canvas& canvas) { drawShownPicture(canvas); });
}

void DiagramWindow::setReference(const ReferenceSet* reference) {
  reference_ = reference;
  if (!reference_) return;
  drawnRevision_ = reference_->revision();
  connect(reference_, &ReferenceSet::changed, this, [this] {
    // The ghost's switch changes nothing here: only a new or an ended reference redraws.
    if (reference_->revision() == drawnRevision_) return;
    drawnRevision_ = reference_->revision();
    if (isVisible()) redraw(true);
  });
}

const Workspace* DiagramWindow::referenceSet() const {
  return reference_ ? reference_->set() : nullptr;
}

}  // namespace vek1
