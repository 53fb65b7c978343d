#include "main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScreen>
#include <QScrollArea>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <chrono>
#include <cmath>

#include "canvas.h"
#include "clocktext.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "dynvar.h"
#include "file_dialogs.h"
#include "frame_tick.h"
#include "icons.h"
#include "motion.h"
#include "motion_dialogs.h"
#include "numbers.h"
#include "painter_canvas.h"
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

namespace {
// Client area of the main window.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 380;
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
    : QMainWindow(parent), ws_(ws), sound_(sound) {
  Surface = new FrameView(this);
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

  buildStrips();
  buildMenus();
  buildToolBar();
  connect(Surface, &FrameView::mousePressed, this, &TMainForm::FormMouseDown);
  connect(Surface, &FrameView::wheelTurned, this, &TMainForm::SurfaceWheel);
  connect(Surface, &FrameView::dragged, this, &TMainForm::SurfaceDrag);
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

void TMainForm::applyTextScale() {
  // The texts of this window grow as well as move, and so do the captions beside them. The
  // button beside the undo line keeps the column it is given here; its top follows each frame.
  stripLayout_.apply(ws_.TextScaleX, ws_.TextScaleY, true);
  const QSize client = clientSize();
  Surface->setMinimumSize(client);
  const QSize needed(client.width(), client.height() + menuBar()->height());
  if (!isMaximized() && !isFullScreen() && (width() < needed.width() || height() < needed.height()))
    resize(std::max(width(), needed.width()), std::max(height(), needed.height()));
  redrawWhole();
}

void TMainForm::redrawWhole() {
  Surface->redrawWhole();
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
  const FrameOutcome outcome = Surface->drawTick(ws_, sound_, ghostSet ? ghostSet() : nullptr);
  if (outcome.errorItemVisible) Error->setVisible(*outcome.errorItemVisible);
  dynVarStrip->showFrame(outcome.dynVarBarEnabled, outcome.undoButtonTop);
  applyPositionDisplay(outcome.positionDisplay);
  referenceStrip->keepPlacedTextsReadable();
  refreshTitleClock();
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
  motionStrip->lockDriverBar();
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
      if (event->modifiers() == Qt::NoModifier && motionStrip->Run->isVisible()) {
        motionStrip->RunClick();
        return;
      }
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
      if (event->modifiers() == Qt::NoModifier && !motionStrip->running()) {
        motionStrip->turnDriver(event->key() == Qt::Key_Right ? +1 : -1);
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
