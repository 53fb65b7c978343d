#include "main_form.h"

#include "file_dialogs.h"

#include <QHelpEvent>
#include <QScrollArea>
#include <QToolTip>

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "canvas.h"
#include "painter_canvas.h"
#include "clocktext.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "dynvar.h"
#include "frame_tick.h"
#include "icons.h"
#include "motion.h"
#include "motion_dialogs.h"
#include "numbers.h"
#include "ref_points_dialog.h"
#include "reference_points.h"
#include "steam_drawing.h"
#include "valve.h"
#include "view.h"

namespace vek1 {

namespace {
// Scrolls the drawing only by its bars: the space bar and the arrows belong to the window (run,
// stop, turn the driver), not to the scrolling.
class KeyPassingScrollArea final : public QScrollArea {
 public:
  using QScrollArea::QScrollArea;

  // The window opens showing the whole drawing area: QScrollArea holds its own hint to 36 by 24
  // lines of text, well below the drawing's size, which opened the window with scroll bars over
  // a strip cut off at the right.
  QSize sizeHint() const override {
    if (!widget()) return QScrollArea::sizeHint();
    const int frame = 2 * frameWidth();
    return widget()->sizeHint() + QSize(frame, frame);
  }

 protected:
  void keyPressEvent(QKeyEvent* event) override { event->ignore(); }
};
}  // namespace

ViewSurface::ViewSurface(const QImage& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ViewSurface::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  // The image has the screen's own pixel pitch: drawn into its size in drawing pixels, it lands
  // pixel for pixel on the screen. Beyond the frame the window shows the frame's background.
  const QRectF target(0, 0, frame_.width() / scale_, frame_.height() / scale_);
  painter.drawImage(target, frame_, QRectF(frame_.rect()));
  const QRegion outside = QRegion(event->rect()) - QRegion(target.toAlignedRect());
  for (const QRect& r : outside) painter.fillRect(r, QColor(192, 192, 192));
}

void ViewSurface::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  const QPoint at = event->position().toPoint();
  if (event->button() == Qt::MiddleButton) {
    dragFrom_ = at;
    return;
  }
  if (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)
    emit mousePressed(event->button() == Qt::LeftButton, at);
}

void ViewSurface::mouseMoveEvent(QMouseEvent* event) {
  QWidget::mouseMoveEvent(event);
  if (!dragFrom_ || !(event->buttons() & Qt::MiddleButton)) return;
  const QPoint at = event->position().toPoint();
  const QPoint by = at - *dragFrom_;
  dragFrom_ = at;
  if (!by.isNull()) emit dragged(by);
}

void ViewSurface::mouseReleaseEvent(QMouseEvent* event) {
  QWidget::mouseReleaseEvent(event);
  if (event->button() == Qt::MiddleButton) dragFrom_.reset();
}

void ViewSurface::wheelEvent(QWheelEvent* event) {
  const int eighths = event->angleDelta().y();
  if (eighths == 0) {
    event->ignore();
    return;
  }
  event->accept();
  emit wheelTurned(event->position().toPoint(), eighths);
}

namespace {
// Client area of the main window.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 380;
constexpr int kRowHeight = 13;
constexpr int kButtonFontPoints = 7;
// Ticks follow the display's frames, but never come faster than the desktops the frame-counted
// rules (error cycle, hold counters, position display, exhaust beats) were made for, about 64 a
// second, so those keep their pace on a fast display too.
constexpr int kShortestTickMs = 16;
constexpr double kUsualRefreshRate = 60.0;
// Frames drawn after the last input, so that what a handler posted for later shows too.
constexpr int kWakeFrames = 3;

// The wave-output volume word for half volume on both channels.
constexpr quint32 kHalfVolume = 0x80008000u;
}  // namespace

TMainForm::TMainForm(Workspace& ws, SoundSink& sound, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      sound_(sound),
      frame_(kFrameWidth, kFrameHeight, QImage::Format_RGB32),
      rng_(std::random_device{}()) {
  frame_.fill(QColor(192, 192, 192));
  Surface = new ViewSurface(frame_, this);
  Surface->setMinimumSize(kClientWidth, kClientHeight);
  Surface->setFocusPolicy(Qt::ClickFocus);
  // The drawing fills the window; a window made smaller than the strip of controls needs scrolls
  // rather than cutting the strip and the screen data off.
  auto* scroller = new KeyPassingScrollArea(this);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setWidgetResizable(true);
  scroller->setWidget(Surface);
  setCentralWidget(scroller);
  QPalette silver = palette();
  silver.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(silver);

  StartUp(ws_);
  // The volume starts at half on both channels.
  sound_.setWaveVolume(kHalfVolume);

  buildViewControls();
  buildMotionControls();
  buildDynVarControls();
  buildReferenceControls();
  buildMenus();
  buildToolBar();
  connect(Surface, &ViewSurface::mousePressed, this, &TMainForm::FormMouseDown);
  connect(Surface, &ViewSurface::wheelTurned, this, &TMainForm::SurfaceWheel);
  connect(Surface, &ViewSurface::dragged, this, &TMainForm::SurfaceDrag);
  refreshTitle();
  // The drawing holds the focus, not the first button of the strip, so that the space bar and the
  // arrows reach the window's own keys rather than pressing "P".
  Surface->setFocus();

  // Centred on the screen, at the size of the drawing area (as much of it as the screen holds:
  // adjustSize would stop at two thirds of the screen); it may grow up to the whole frame.
  QSize opening = sizeHint().expandedTo(QSize(kClientWidth, kClientHeight + menuBar()->height()));
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen) opening = opening.boundedTo(screen->availableGeometry().size());
  resize(opening);
  if (screen) move(screen->availableGeometry().center() - rect().center());

  chooseFile = [this](FileDialog kind) {
    switch (kind) {
      case FileDialog::OpenNative: {
        // A name typed without an extension means the .dve file of that name.
        QFileDialog dialog(this, QString(), setFolder(), "Data File (*.dve) ;;All Files (*.*)");
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setDefaultSuffix("dve");
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      }
      case FileDialog::OpenDos: {
        // Any name is taken: the import itself says what is wrong with a file that is not there.
        QFileDialog dialog(this, QString(), setFolder(), "Data File (*.ovk);;All Files (*.*)");
        dialog.setFileMode(QFileDialog::AnyFile);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      }
      case FileDialog::Save: {
        // Offered beside the set, under its own name, as every file dialog offers its file.
        QFileDialog dialog(this, "Save As.....",
                           offeredFilePath(QString::fromStdString(ws_.DimSetName), "dve"),
                           "Data File (*.dve);;All Files (*.*)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("dve");
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      }
    }
    return QString();
  };
  reportError = [this](const QString& text) { QMessageBox::critical(this, "vek1", text); };
  askToSave = [this](const QString& name) {
    const auto answer = QMessageBox::question(
        this, "vek1", QStringLiteral("Save changes to %1?").arg(name),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save) return UnsavedChoice::Save;
    if (answer == QMessageBox::Discard) return UnsavedChoice::Discard;
    return UnsavedChoice::Cancel;
  };
  confirm = [this](const QString& question) {
    return QMessageBox::question(this, "vek1", question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
  };

  markSaved();

  Timer1 = new QTimer(this);
  Timer1->setTimerType(Qt::PreciseTimer);
  Timer1->setInterval(tickIntervalFor(screen ? screen->refreshRate() : kUsualRefreshRate));
  connect(Timer1, &QTimer::timeout, this, &TMainForm::onTimerFrame);
  qApp->installEventFilter(this);
  Timer1->start();
}

int TMainForm::tickIntervalFor(double refreshRate) {
  if (!std::isfinite(refreshRate) || refreshRate <= 1.0) refreshRate = kUsualRefreshRate;
  const double ms = std::floor(1000.0 / refreshRate);
  return std::max(kShortestTickMs, roundHalfEven(std::min(ms, 1000.0)));
}

QSize TMainForm::clientSize() const {
  return ScaledLayout::scaled(QSize(kClientWidth, kClientHeight), ws_.TextScaleX, ws_.TextScaleY);
}

void TMainForm::place(QWidget* widget, QRect design, int fontPoints) {
  widget->setGeometry(design);
  if (fontPoints > 0) {
    QFont font = widget->font();
    font.setPointSize(fontPoints);
    widget->setFont(font);
  }
  stripLayout_.remember(widget);
}

void TMainForm::applyTextScale() {
  // The texts of this window grow as well as move, and so do the captions beside them. The
  // button beside the undo line keeps the column it is given here; its top follows each frame.
  stripLayout_.apply(ws_.TextScaleX, ws_.TextScaleY, true);
  const QSize client = clientSize();
  Surface->setMinimumSize(client);
  const QSize needed(client.width(), client.height() + menuBar()->height());
  if (!isMaximized() && !isFullScreen() && (width() < needed.width() || height() < needed.height()))
    resize(std::max(width(), needed.width()), std::max(height(), needed.height()));
  frameDirty_.whole = true;
  wakeFrames_ = kWakeFrames;
}

void TMainForm::matchScreenScale() {
  const double ratio = std::clamp(Surface->devicePixelRatioF(), 1.0, 8.0);
  if (ratio == scale_) return;
  scale_ = ratio;
  Surface->setScale(ratio);
  reallocateFrame();
}

QSize TMainForm::frameSizeForSurface() const {
  // At least the frame the layouts were made for, and as large as the window's drawing.
  const int width = std::max(kFrameWidth, Surface->width());
  const int height = std::max(kFrameHeight, Surface->height());
  return QSize(roundHalfEven(width * scale_), roundHalfEven(height * scale_));
}

void TMainForm::reallocateFrame() {
  frame_ = QImage(frameSizeForSurface(), QImage::Format_RGB32);
  frame_.fill(QColor(192, 192, 192));
  frameDirty_ = DirtyArea{};
  frameDiff_.reset();
  redrawWhole();
  Surface->update();
}

void TMainForm::growFrameToSurface() {
  const QSize wanted = frameSizeForSurface();
  if (frame_.width() >= wanted.width() && frame_.height() >= wanted.height()) return;
  reallocateFrame();
}

void TMainForm::redrawWhole() {
  frameDirty_.whole = true;
  wakeFrames_ = kWakeFrames;
}

TMainForm::~TMainForm() = default;

void TMainForm::setDiagrams(QDialog* sine, QDialog* oval, QDialog* steam, QDialog* port) {
  sine_ = sine;
  oval_ = oval;
  steam_ = steam;
  port_ = port;
  title_.clear();
  refreshTitle();
}

void TMainForm::setOverlayDialog(QDialog* drawLines, std::function<void()> linesDataClick) {
  drawLines_ = drawLines;
  linesDataClick_ = std::move(linesDataClick);
}

void TMainForm::setReferenceWindows(QDialog* refPoints, QDialog* dataTable) {
  refPoints_ = refPoints;
  dataTable_ = dataTable;
  title_.clear();
  refreshTitle();
}

void TMainForm::setHelpWindows(QDialog* instructions, QDialog* special, QDialog* about) {
  instructions_ = instructions;
  special_ = special;
  about_ = about;
}

void TMainForm::setDimensionDialogs(QDialog* frameDialog, QDialog* cylinderDialog,
                                    std::function<void()> resetFrame,
                                    std::function<void()> resetCylinder) {
  frameDialog_ = frameDialog;
  cylinderDialog_ = cylinderDialog;
  resetFrame_ = std::move(resetFrame);
  resetCylinder_ = std::move(resetCylinder);
}

void TMainForm::setDialogs(TDrivAng* drivAng, TRevPos* revPos, TStpAng* stpAng,
                           TGraphZoom* graphZoom) {
  drivAng_ = drivAng;
  revPos_ = revPos;
  stpAng_ = stpAng;
  graphZoom_ = graphZoom;
}

QScrollBar* TMainForm::makeBar(int x, int y, int width, int min, int max, int small, int large,
                               const QString& hint) {
  auto* bar = new EndScrollBar(Qt::Horizontal, Surface);
  place(bar, QRect(x, y, width, kRowHeight));
  bar->setRange(min, max);
  bar->setSingleStep(small);
  bar->setPageStep(large);
  bar->setToolTip(hint);
  return bar;
}

QPushButton* TMainForm::makeButton(int x, int y, int width, const QString& caption,
                                   const QString& hint) {
  auto* button = new QPushButton(caption, Surface);
  place(button, QRect(x, y, width, kRowHeight + 1), kButtonFontPoints);
  button->setFocusPolicy(Qt::TabFocus);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

void TMainForm::onTimerFrame() {
  if (FrameCanChange(ws_)) {
    wakeFrames_ = kWakeFrames;
  } else if (wakeFrames_ > 0) {
    --wakeFrames_;
  } else {
    // Still: only the clock in the titles moves.
    refreshTitleClock();
    return;
  }
  Timer1Timer();
}

void TMainForm::keepPlacedTextsReadable() {
  // The pivot prompt's lines run where the DataTable button stands, and the shown dimension's
  // label where RP1 and RP2 stand: while those texts are up, the buttons step aside.
  const bool prompt = ws_.PivotSelectPending;
  DataTableBut->setVisible(ws_.PivotDataMode && !prompt);
  const bool label = ws_.ShowDimensionId != 0;
  RefPt1->setVisible(ws_.ScreenDataOn && !label);
  RefPt2->setVisible(ws_.ScreenDataOn && !label);
  if (label == labelShown_) return;
  labelShown_ = label;
  if (label) {
    for (EndScrollBar* b : SBRef) b->hide();
    RefPt1Zero->hide();
    RefPt2Zero->hide();
  } else {
    syncReferenceControls();
  }
}

void TMainForm::refreshTitleClock() {
  // The clock shows whole seconds: reading the locale's formats once a second is enough, or when
  // the set's name changed.
  const long long second = std::chrono::duration_cast<std::chrono::seconds>(
                               std::chrono::system_clock::now().time_since_epoch())
                               .count();
  if (second == titleSecond_ && ws_.DimSetName == titleName_) return;
  titleSecond_ = second;
  titleName_ = ws_.DimSetName;
  refreshTitle();
}

void TMainForm::Timer1Timer() {
  matchScreenScale();
  ++framesDrawn_;
  // Outside what the last frame and this one drew, both are background: only there can the
  // picture have changed.
  const DirtyArea before = frameDirty_;
  FrameOutcome outcome;
  {
    QPainterCanvas canvas(frame_, &frameDirty_, scale_);
    // The steam's specks are scattered afresh from the clock on every frame.
    const auto seed = static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    rng_.seed(seed);
    FrameContext context{sound_, rng_, ws_.ShowDimensionId != 0};
    if (ghostSet) context.ghost = ghostSet();
    rememberShownFrame(seed, context.positionDisplayActive);
    outcome = AnimationTick(canvas, ws_, context);
  }
  if (outcome.errorItemVisible) Error->setVisible(*outcome.errorItemVisible);
  for (int bar = 1; bar <= 4; ++bar) SBDynVar[bar]->setEnabled(outcome.dynVarBarEnabled[bar - 1]);
  if (outcome.undoButtonTop >= 0) {
    UnDoDn->move(UnDoDn->x(), outcome.undoButtonTop);
    UnDoDn->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDn]);
    UnDoDn->show();
  } else {
    UnDoDn->hide();
  }
  applyPositionDisplay(outcome.positionDisplay);
  keepPlacedTextsReadable();
  refreshTitleClock();
  showChangedTiles(before);
}

void TMainForm::showChangedTiles(const DirtyArea& before) {
  QRect visible(0, 0, static_cast<int>(std::ceil(Surface->width() * scale_)),
                static_cast<int>(std::ceil(Surface->height() * scale_)));
  const auto drawn = [](const DirtyArea& a) {
    return QRect(QPoint(a.left, a.top), QPoint(a.right - 1, a.bottom - 1));
  };
  if (!before.whole && !frameDirty_.whole) visible &= drawn(before) | drawn(frameDirty_);
  const QRegion changed = frameDiff_.changed(frame_, visible);
  if (scale_ == 1.0) {
    Surface->update(changed);
    return;
  }
  QRegion logical;
  for (const QRect& r : changed) {
    const int left = static_cast<int>(std::floor(r.left() / scale_));
    const int top = static_cast<int>(std::floor(r.top() / scale_));
    const int right = static_cast<int>(std::ceil((r.right() + 1) / scale_));
    const int bottom = static_cast<int>(std::ceil((r.bottom() + 1) / scale_));
    logical += QRect(left, top, right - left, bottom - top);
  }
  Surface->update(logical);
}

void TMainForm::refreshTitle() {
  // The title carries the clock, so it is rebuilt every frame, but only handed to the window
  // system (here and in the windows that share it) when its text changes.
  const std::string date = currentDateText().toStdString();
  const std::string time = currentTimeText().toStdString();
  const QString title = QString::fromStdString(MainWindowTitle(ws_, date, time));
  if (title == title_) return;
  title_ = title;
  setWindowTitle(title);
  const std::pair<QDialog*, const std::string*> others[] = {{sine_, &title::Sine},
                                                            {oval_, &title::Oval},
                                                            {steam_, &title::Steam},
                                                            {port_, &title::Port},
                                                            {dataTable_, &title::DataTable}};
  for (const auto& [window, prefix] : others)
    if (window)
      window->setWindowTitle(QString::fromStdString(WindowTitle(*prefix, ws_, date, time)));
}

QDialog* TMainForm::dialogOf(PositionAsker asker) const {
  switch (asker) {
    case PositionAsker::FrameDialog:
      return frameDialog_;
    case PositionAsker::CylinderDialog:
      return cylinderDialog_;
    default:
      return nullptr;
  }
}

void TMainForm::applyPositionDisplay(const PositionDisplayOutcome& outcome) {
  const bool showing = outcome.active && ws_.ShowDimensionId != 0;
  if (showing != positionCursor_) {
    // The hourglass stands over the window while a dimension is being shown.
    positionCursor_ = showing;
    if (positionCursor_)
      setCursor(Qt::WaitCursor);
    else
      unsetCursor();
  }
  if (QDialog* asker = dialogOf(outcome.closeDialog); asker && asker->isVisible()) asker->done(0);
  if (QDialog* asker = dialogOf(outcome.reopenDialog)) {
    // Reopened from the event loop, not from inside this tick, so that the ticks go on while
    // the dialog runs.
    QTimer::singleShot(0, asker, [asker] {
      if (!asker->isVisible()) asker->exec();
    });
  }
}

void TMainForm::FormActivate() {
  SBDrvAng->setEnabled(false);
}

void TMainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
      wakeFrames_ = kWakeFrames;
      break;
    case QEvent::MouseMove:
      if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) wakeFrames_ = kWakeFrames;
      break;
    case QEvent::ToolTip:
      // The screen-data texts are drawn, not widgets: the drawing says which one is under the
      // pointer.
      if (watched == Surface) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = screenDataTipAt(help->pos());
        if (tip.isEmpty())
          QToolTip::hideText();
        else
          QToolTip::showText(help->globalPos(), tip, Surface);
        return true;
      }
      break;
    default:
      break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::keyPressEvent(QKeyEvent* event) {
  // Keys that no control took: the space bar runs and stops; while stopped, the arrows turn the
  // driver by the selected step, as the driver-angle bar would.
  switch (event->key()) {
    case Qt::Key_Space:
      if (event->modifiers() == Qt::NoModifier && Run->isVisible()) {
        RunClick();
        return;
      }
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (event->modifiers() == Qt::NoModifier && !running()) {
        const double turn = event->key() == Qt::Key_Right ? ws_.SelectedStep : -ws_.SelectedStep;
        double angle = std::fmod(static_cast<double>(ws_.DriverAngle) + turn, 360.0);
        if (angle < 0) angle += 360.0;
        SBDrvAng->setValue(roundHalfEven(angle * 100.0));
        ws_.DriverAngle = toSingle(SBDrvAng->value() / 100.0);
        return;
      }
      break;
    default:
      break;
  }
  QMainWindow::keyPressEvent(event);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (!settleUnsavedChanges()) {
    event->ignore();
    return;
  }
  // Leave the desktop's wave volume where it started, however the window is closed.
  sound_.setWaveVolume(kHalfVolume);
  Timer1->stop();
  QMainWindow::closeEvent(event);
}

}  // namespace vek1
