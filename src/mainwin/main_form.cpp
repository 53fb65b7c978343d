#include "main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <algorithm>
#include <chrono>

#include "canvas.h"
#include "clocktext.h"
#include "dimension_edit.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "dynvar.h"
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

ViewSurface::ViewSurface(const QImage& frame, QWidget* parent) : QWidget(parent), frame_(frame) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ViewSurface::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, frame_);
}

void ViewSurface::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  emit mousePressed(event->button() == Qt::LeftButton, event->position().toPoint());
}

namespace {
// Client area of the main window.
constexpr int kClientWidth = 632;
constexpr int kClientHeight = 380;
constexpr int kRowHeight = 13;
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
  Surface->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(Surface);
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
  refreshTitle();

  // Centred on the screen.
  adjustSize();
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->availableGeometry().center() - rect().center());

  chooseFile = [this](FileDialog kind) {
    switch (kind) {
      case FileDialog::OpenNative:
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            "Data File (*.dve) ;;All Files (*.*)");
      case FileDialog::OpenDos:
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            "Data File (*.ovk);;All Files (*.*)");
      case FileDialog::Save: {
        QFileDialog dialog(this, "Save As.....", QString(), "Data File (*.dve);;All Files (*.*)");
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix("dve");
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
      }
    }
    return QString();
  };
  reportError = [this](const QString& text) { QMessageBox::critical(this, "vek1", text); };

  Timer1 = new QTimer(this);
  Timer1->setInterval(1);
  connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
  Timer1->start();
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
  bar->setGeometry(x, y, width, kRowHeight);
  bar->setRange(min, max);
  bar->setSingleStep(small);
  bar->setPageStep(large);
  bar->setToolTip(hint);
  return bar;
}

QPushButton* TMainForm::makeButton(int x, int y, int width, const QString& caption,
                                   const QString& hint) {
  auto* button = new QPushButton(caption, Surface);
  button->setGeometry(x, y, width, kRowHeight + 1);
  QFont small = button->font();
  small.setPointSize(7);
  button->setFont(small);
  button->setFocusPolicy(Qt::TabFocus);
  if (!hint.isEmpty()) button->setToolTip(hint);
  return button;
}

bool TMainForm::running() const {
  return Run->text() == "Stop";
}

void TMainForm::Timer1Timer() {
  FrameOutcome outcome;
  {
    QPainterCanvas canvas(frame_, &frameDirty_);
    // The steam's specks are scattered afresh from the clock on every frame.
    const auto seed = static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    rng_.seed(seed);
    FrameContext context{sound_, rng_, ws_.ShowDimensionId != 0};
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
  refreshTitle();
  Surface->update();
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

void TMainForm::closeEvent(QCloseEvent* event) {
  // Leave the desktop's wave volume where it started, however the window is closed.
  sound_.setWaveVolume(kHalfVolume);
  Timer1->stop();
  QMainWindow::closeEvent(event);
}

}  // namespace vek1
