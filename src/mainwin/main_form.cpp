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

  buildControls();
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

void TMainForm::FourEventsClick() {
  // The port diagram always opens on its forward-gear view.
  ws_.PortGraphMode = 'F';
  if (port_) port_->exec();
}

void TMainForm::setOverlayDialog(QDialog* drawLines, std::function<void()> linesDataClick) {
  drawLines_ = drawLines;
  linesDataClick_ = std::move(linesDataClick);
}

void TMainForm::DrawLines1Click() {
  const auto& H = ws_.Pivots.H;
  const auto& V = ws_.Pivots.V;
  // Items are placed from the reference points; with none placed there is nothing to draw from.
  if (H[19] == 0.0f && V[19] == 0.0f && H[20] == 0.0f && V[20] == 0.0f) sound_.beep();
  if (drawLines_) drawLines_->exec();
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

void TMainForm::wireAutoCentreBar(QScrollBar* bar, ViewBar which) {
  connect(bar, &QScrollBar::valueChanged, this, [this, bar, which](int p) {
    NormVHZ->setEnabled(true);
    ViewBarChange(ws_, which, p);
    // The bar springs back to its centre; that change applies a step of 0.
    bar->setValue(0);
  });
}

void TMainForm::buildControls() {
  // View: Norm and the presets at the left, the pan and zoom bars beside their labels.
  NormVHZ = makeButton(2, 25, 44, "Norm", "Return Pan & Zoom to Normal");
  NormVHZ->setEnabled(false);
  Preset0 = makeButton(48, 25, 44, "P", "Select First to Change Presets");
  for (int n = 1; n <= 6; ++n) {
    const int row = (n - 1) / 3, col = (n - 1) % 3;
    Presets[n] = makeButton(2 + col * 30, 39 + row * 14, 28, QString::number(n),
                            QStringLiteral("Pan & Zoom to Preset %1").arg(n));
    connect(Presets[n], &QPushButton::clicked, this, [this, n] { PresetClick(n); });
  }
  connect(NormVHZ, &QPushButton::clicked, this, &TMainForm::NormVHZClick);
  connect(Preset0, &QPushButton::clicked, this, &TMainForm::Preset0Click);
  SBPanVert = makeBar(95, 25, 100, -500, 500, 1, 10, "Pan Vertical");
  SBPanHorz = makeBar(95, 39, 100, -500, 500, 1, 10, "Pan Horizontal");
  SBZoom = makeBar(95, 53, 100, -200, 200, 1, 10, "Zoom In / Out");
  wireAutoCentreBar(SBPanVert, PanVertBar);
  wireAutoCentreBar(SBPanHorz, PanHorzBar);
  wireAutoCentreBar(SBZoom, ZoomBar);

  // Motion: reverse arm, driver angle and step angle, each with its buttons.
  Fwd = makeButton(248, 25, 27, "Fwd", "Set Reverse Arm to Normal Forward");
  Center = makeButton(276, 25, 27, "Cen", "Set Reverse Arm to Mid Gear");
  Center->setEnabled(false);
  Rev = makeButton(304, 25, 26, "Rev", "Set Reverse Arm to Normal Reverse");
  Run = makeButton(248, 39, 27, "Stop", "Start / Stop Driver Rotation");
  Deg00 = makeButton(276, 39, 27, "0.0", "Set Driver to 0 Deg");
  Deg180 = makeButton(304, 39, 26, "180", "Set Driver Angle to 180 Deg");
  Step1 = makeButton(248, 53, 27, "1.0", "Set Driver Step Angle to 1 Deg");
  Step10 = makeButton(276, 53, 27, "10.0", "Set Driver Step Angle to 10 Deg");
  Step10->setEnabled(false);
  Step45 = makeButton(304, 53, 26, "45.0", "Set Driver Step Angle to 45 Deg");
  SBRevArm = makeBar(332, 25, 124, ws_.RevArmScrollMin, ws_.RevArmScrollMax, 1, 20,
                     "Set Reverse Arm Between Max & Min");
  SBDrvAng = makeBar(332, 39, 124, -4000, 40000, 1000, 4500, "Set Driver Angle From 0 to 360 Deg");
  SBDrvAng->setEnabled(false);
  SBStepAng = makeBar(332, 53, 124, 0, kStepBarMax, 920, 2760,
                      "Set Driver Step Angle to Predefined Values");

  connect(SBRevArm, &QScrollBar::valueChanged, this, &TMainForm::SBRevArmChange);
  connect(SBDrvAng, &QScrollBar::valueChanged, this, &TMainForm::SBDrvAngChange);
  connect(SBStepAng, &QScrollBar::valueChanged, this, &TMainForm::SBStepAngChange);
  connect(Run, &QPushButton::clicked, this, &TMainForm::RunClick);
  connect(Deg00, &QPushButton::clicked, this, &TMainForm::Deg00Click);
  connect(Deg180, &QPushButton::clicked, this, &TMainForm::Deg180Click);
  connect(Fwd, &QPushButton::clicked, this, &TMainForm::FwdClick);
  connect(Rev, &QPushButton::clicked, this, &TMainForm::RevClick);
  connect(Center, &QPushButton::clicked, this, &TMainForm::CenterClick);
  connect(Step1, &QPushButton::clicked, this, [this] { StepButtonClick(Step1, 1.0f, 8000); });
  connect(Step10, &QPushButton::clicked, this, [this] { StepButtonClick(Step10, 10.0f, 12000); });
  connect(Step45, &QPushButton::clicked, this,
          [this] { StepButtonClick(Step45, 45.0f, kStepBarMax); });
  // The step bar's first change notification is the one of its initial position, which the
  // skip flag swallows so that the start-up step stays as it is.
  SBStepAng->setValue(12000);
}

void TMainForm::buildMenus() {
  FileMenu = menuBar()->addMenu("&File");
  OpenDimensions =
      FileMenu->addAction(icons::open(), "&OpenDimensions", this, &TMainForm::OpenDimensionsClick);
  OpenDosDimensions =
      FileMenu->addAction("Open&DosDimensions", this, &TMainForm::OpenDosDimensionsClick);
  SaveAsDimensions = FileMenu->addAction(icons::save(), "Save&AsDimensions", this,
                                         &TMainForm::SaveAsDimensionsClick);
  FileMenu->addSeparator();
  Exit1 = FileMenu->addAction("E&xit", this, &QWidget::close);

  SetUpMenu = menuBar()->addMenu("&SetUp");
  RevArmPos =
      SetUpMenu->addAction(icons::reverseArm(), "Set&RevArmPos", this, &TMainForm::RevArmPosClick);
  DriverAng =
      SetUpMenu->addAction(icons::driverAngle(), "Set&DriverAng", this, &TMainForm::DriverAngClick);
  StepAng1 =
      SetUpMenu->addAction(icons::stepAngle(), "Set&StepAng", this, &TMainForm::StepAngClick);
  RefPoints1 = SetUpMenu->addAction("SetRef&Points", this, &TMainForm::RefPoints1Click);
  SetUpMenu->addSeparator();
  LargeFont = SetUpMenu->addAction("SetLarge&Font", this, &TMainForm::LargeFontClick);
  FindRevArmCent = SetUpMenu->addAction(icons::midGear(), "&CalcCentRevArm", this,
                                        &TMainForm::FindRevArmCentClick);
  SetSteam =
      SetUpMenu->addAction(icons::steam(), "SetS&teamDisp On", this, &TMainForm::SetSteamClick);
  SetBeepOnError = SetUpMenu->addAction("Set&ErrorBeep Off", this, &TMainForm::SetBeepOnErrorClick);
  SetLineWidth = SetUpMenu->addAction("Set&LineWidth 2", this, &TMainForm::SetLineWidthClick);
  SetScreenData = SetUpMenu->addAction("SetScree&nData Off", this, &TMainForm::SetScreenDataClick);
  SetPanZoom = SetUpMenu->addAction("SetP&anZoom On", this, &TMainForm::SetPanZoomClick);
  SetPanZoom->setEnabled(false);

  EditDimenMenu = menuBar()->addMenu("&EditDimen");
  FrameDim = EditDimenMenu->addAction(icons::frameDimensions(), "&FrameDimensions", this,
                                      &TMainForm::FrameDimClick);
  CylDim = EditDimenMenu->addAction(icons::cylinderDimensions(), "&CylinderDimensions", this,
                                    &TMainForm::CylDimClick);
  EditDimenMenu->addSeparator();
  SetGraphicZoom =
      EditDimenMenu->addAction("Set&GraphicZoom", this, &TMainForm::SetGraphicZoomClick);
  EditDimenMenu->addSeparator();
  ResetAll = EditDimenMenu->addAction("&ResetAllDimensions", this, &TMainForm::ResetAllClick);
  RefPoints = EditDimenMenu->addAction(icons::referencePoints(), "&ReferPoints", this,
                                       &TMainForm::RefPointsClick);
  DrawLines1 = EditDimenMenu->addAction(icons::linesAndCircles(), "&DrawLinesCircles", this,
                                        &TMainForm::DrawLines1Click);
  DrawLines1->setEnabled(false);
  SetPivotData = EditDimenMenu->addAction(icons::pivotData(), "Pi&votData", this,
                                          &TMainForm::SetPivotDataClick);
  DynamicVariables = EditDimenMenu->addAction(icons::dynamicVariables(), "D&ynamicVari", this,
                                              &TMainForm::DynamicVariablesClick);
  SetUnDo = EditDimenMenu->addAction(icons::undo(), "&UnDo", this, &TMainForm::SetUnDoClick);

  auto show = [](QDialog* const& window) {
    return [&window] {
      if (window) window->exec();
    };
  };
  DrawGraphsMenu = menuBar()->addMenu("Draw&Graphs");
  SineDiag = DrawGraphsMenu->addAction(icons::sineDiagram(), "&SineDiagram", this, show(sine_));
  OvalDiag = DrawGraphsMenu->addAction(icons::ovalDiagram(), "&OvalDiagram", this, show(oval_));
  SteamDiag = DrawGraphsMenu->addAction(icons::steamDiagram(), "S&teamDiagram", this, show(steam_));
  FourEvents = DrawGraphsMenu->addAction(icons::portDiagram(), "&PortOpenClose", this,
                                         &TMainForm::FourEventsClick);
  HelpMenu = menuBar()->addMenu("&Help");
  Instructions = HelpMenu->addAction("&Instructions", this, show(instructions_));
  SpecInstr = HelpMenu->addAction("Instructions&Special", this, show(special_));
  HelpMenu->addSeparator();
  About1 = HelpMenu->addAction("&About", this, show(about_));

  // The error indication: a picture on the menu bar itself, hidden until the latch is raised.
  Error = menuBar()->addAction(icons::error(), QString());
  Error->setToolTip("Error");
  Error->setVisible(false);
}

void TMainForm::buildToolBar() {
  ToolBar1 = new QToolBar(Surface);
  ToolBar1->setIconSize(QSize(16, 16));
  ToolBar1->setMovable(false);
  auto tool = [this](QAction* action, const QString& hint) {
    QAction* button = ToolBar1->addAction(action->icon(), QString());
    button->setToolTip(hint);
    connect(button, &QAction::triggered, action, &QAction::trigger);
    connect(action, &QAction::enabledChanged, button, &QAction::setEnabled);
    button->setEnabled(action->isEnabled());
  };
  tool(OpenDimensions, "Open File: Dimensional Data");
  tool(SaveAsDimensions, "Save As: Dimensional Data");
  ToolBar1->addSeparator();
  tool(FrameDim, "Change Frame Dimensions");
  tool(CylDim, "Change Cylinder Dimensions");
  ToolBar1->addSeparator();
  tool(DriverAng, "Set Driver Angle to Desired Position");
  tool(StepAng1, "Set Step Angle to Desired Amount");
  tool(RevArmPos, "Set Reverse Arm to Desired Position");
  ToolBar1->addSeparator();
  tool(FindRevArmCent, "Calculate Mid Gear Position if Necessary");
  ToolBar1->addSeparator();
  tool(SetSteam, "Turn On Steam Display and Sound");
  ToolBar1->addSeparator();
  tool(RefPoints, "Turn On Reference Points");
  tool(DrawLines1, "Draw Lines and Circles");
  tool(SetPivotData, "Turn On Pivot Data");
  tool(DynamicVariables, "Turn On Dynamic Variables");
  tool(SetUnDo, "Turn On UnDo");
  ToolBar1->addSeparator();
  tool(SineDiag, "View Sine Diagram");
  tool(OvalDiag, "View Oval Diagram");
  tool(SteamDiag, "View Steam Diagram");
  tool(FourEvents, "View Port Events vs Reverse Arm Position");
  ToolBar1->setGeometry(0, 0, ToolBar1->sizeHint().width(), 24);
}

bool TMainForm::running() const {
  return Run->text() == "Stop";
}

void TMainForm::Timer1Timer() {
  FrameOutcome outcome;
  {
    QPainterCanvas canvas(frame_, &frameDirty_);
    // The steam's specks are scattered afresh from the clock on every frame.
    rng_.seed(static_cast<std::mt19937::result_type>(
        std::chrono::steady_clock::now().time_since_epoch().count()));
    FrameContext context{sound_, rng_, ws_.ShowDimensionId != 0};
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

// Reference points and pivot data ---------------------------------------------------------------

void TMainForm::buildReferenceControls() {
  static const char* const kHints[] = {"Change Ref Point 1 Vert", "Change Ref Point 1 Horz",
                                       "Change Ref Point 2 Vert", "Change Ref Point 2 Horz"};
  for (int bar = 0; bar < kRefBarCount; ++bar) {
    const bool vertical = bar == Ref1VertBar || bar == Ref2VertBar;
    auto* b = new EndScrollBar(Qt::Horizontal, Surface);
    b->setGeometry(20, 71 + 12 * bar, 100, 11);
    b->setRange(vertical ? -5000 : -10000, vertical ? 5000 : 10000);
    b->setSingleStep(1);
    b->setPageStep(kRefBarPage);
    b->setToolTip(kHints[bar]);
    b->hide();
    SBRef[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBRefChange(bar, p); });
  }
  RefPt1Zero = makeButton(2, 71, 16, "0", "Zero Reference Point 1");
  RefPt2Zero = makeButton(2, 95, 16, "0", "Zero Reference Point 2");
  RefPt1 = makeButton(121, 71, 21, "RP1", "Pan to Ref Point 1");
  RefPt2 = makeButton(121, 95, 21, "RP2", "Pan to Ref Point 2");
  for (QPushButton* b : {RefPt1Zero, RefPt2Zero, RefPt1, RefPt2}) b->setEnabled(false);
  RefPt1Zero->hide();
  RefPt2Zero->hide();
  DataTableBut = makeButton(100, 125, 56, "DataTable", QString());
  DataTableBut->hide();
  connect(RefPt1, &QPushButton::clicked, this, [this] { RefPtClick(1); });
  connect(RefPt2, &QPushButton::clicked, this, [this] { RefPtClick(2); });
  connect(RefPt1Zero, &QPushButton::clicked, this, [this] { RefPtZeroClick(1); });
  connect(RefPt2Zero, &QPushButton::clicked, this, [this] { RefPtZeroClick(2); });
  connect(DataTableBut, &QPushButton::clicked, this, &TMainForm::DataTableButClick);
}

void TMainForm::syncReferenceControls() {
  const bool on = ws_.RefPointsMode;
  for (EndScrollBar* b : SBRef) b->setVisible(on);
  RefPt1->setEnabled(on);
  RefPt2->setEnabled(on);
  RefPt1Zero->setVisible(on);
  RefPt2Zero->setVisible(on);
  DataTableBut->setVisible(ws_.PivotDataMode);
  DrawLines1->setEnabled(on);
}

void TMainForm::RefPointsClick() {
  SetRefPointsMode(ws_, !ws_.RefPointsMode);
  syncReferenceControls();
}

void TMainForm::SetPivotDataClick() {
  SetPivotDataMode(ws_, !ws_.PivotDataMode);
  syncReferenceControls();
}

void TMainForm::RefPoints1Click() {
  if (!refPoints_) return;
  refPoints_->exec();
  if (auto* dialog = qobject_cast<TRefPnts*>(refPoints_)) {
    const RefPntsOutcome& outcome = dialog->Outcome;
    if (outcome.disableZeros) {
      RefPt1Zero->setEnabled(false);
      RefPt2Zero->setEnabled(false);
    }
    if (outcome.enableRef1Zero) RefPt1Zero->setEnabled(true);
    if (outcome.enableRef2Zero) RefPt2Zero->setEnabled(true);
  }
  syncReferenceControls();
}

void TMainForm::DataTableButClick() {
  if (dataTable_) dataTable_->exec();
}

void TMainForm::SBRefChange(int bar, int position) {
  (bar <= Ref1HorzBar ? RefPt1Zero : RefPt2Zero)->setEnabled(true);
  RefBarChange(ws_, bar, position);
  SBRef[bar]->setValue(0);
}

void TMainForm::RefPtZeroClick(int point) {
  ZeroRefPoint(ws_, point);
  SBRef[point == 1 ? Ref1VertBar : Ref2VertBar]->setValue(0);
  SBRef[point == 1 ? Ref1HorzBar : Ref2HorzBar]->setValue(0);
  (point == 1 ? RefPt1Zero : RefPt2Zero)->setEnabled(false);
}

void TMainForm::RefPtClick(int point) {
  const PanBarPositions bars = PanToRefPoint(ws_, point);
  SBPanHorz->setValue(std::clamp(bars.horz, SBPanHorz->minimum(), SBPanHorz->maximum()));
  SBPanVert->setValue(std::clamp(bars.vert, SBPanVert->minimum(), SBPanVert->maximum()));
}

void TMainForm::FormMouseDown(bool left, QPoint at) {
  const bool armedBefore = ws_.OverlayTwoPointArmed;
  const PressEffects effects = MainMousePress(ws_, left, at.x(), at.y());
  if (effects.ref1Zero) RefPt1Zero->setEnabled(true);
  if (effects.ref2Zero) RefPt2Zero->setEnabled(true);
  // An item waiting for its pivot: the press that placed the reference point on it brings the
  // lines dialog back, which captures the pivot (a right press after a left one for two pivots).
  const bool chosen = ws_.OverlayTypeChoice >= 0 && ws_.OverlayColourChoice >= 0;
  if (ws_.RefPointsMode && chosen) {
    if (left && ws_.OverlayRefChoice >= 0 && ws_.OverlayRefChoice <= 2) {
      DrawLines1Click();
    } else if (!left && ws_.OverlayRefChoice == 3 && armedBefore) {
      ws_.OverlayTwoPointArmed = false;
      DrawLines1Click();
    }
  }
  // A press while a dimension is being shown ends the display at the next frame.
  if (ws_.ShowDimensionId != 0) EndPositionDisplaySoon(ws_);
}

// Dynamic variables and undo ------------------------------------------------------------------

void TMainForm::buildDynVarControls() {
  static const char* const kHints[] = {
      "", "Change Last Variable Clicked", "Change Next to Last Variable Clicked",
      "Change 2nd to Last Variable Clicked", "Change 3rd to Last Variable Clicked"};
  Panel7 = new QFrame(Surface);
  Panel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel7->setGeometry(268, 68, 106, 52);
  // Two marks over the bars' centre, where each bar springs back to.
  Panel8 = new QFrame(Surface);
  Panel8->setFrameStyle(QFrame::VLine | QFrame::Plain);
  Panel8->setGeometry(320, 66, 2, 4);
  Panel9 = new QFrame(Surface);
  Panel9->setFrameStyle(QFrame::VLine | QFrame::Plain);
  Panel9->setGeometry(320, 118, 2, 4);
  for (int bar = 1; bar <= 4; ++bar) {
    auto* b = new EndScrollBar(Qt::Horizontal, Surface);
    b->setGeometry(271, 71 + 12 * (bar - 1), 100, 11);
    b->setRange(-200, 200);
    b->setSingleStep(1);
    b->setPageStep(10);
    b->setToolTip(kHints[bar]);
    SBDynVar[bar] = b;
    connect(b, &QScrollBar::valueChanged, this, [this, bar](int p) { SBDynVarChange(bar, p); });
    connect(b, &EndScrollBar::scrollEnded, this, [this, bar] { SBDynVarScroll(bar); });
    connect(b, &EndScrollBar::focusEntered, this, [this, bar] { SBDynVarEnter(bar); });
  }
  UnDoDn = makeButton(282, 72, 36, "UnDo", QString());
  UnDoDn->setEnabled(false);
  UnDoDn->hide();
  connect(UnDoDn, &QPushButton::clicked, this, &TMainForm::UnDoDnClick);
  setDynVarControlsVisible(false);
}

void TMainForm::setDynVarControlsVisible(bool visible) {
  for (int bar = 1; bar <= 4; ++bar) SBDynVar[bar]->setVisible(visible);
  Panel7->setVisible(visible);
  Panel8->setVisible(visible);
  Panel9->setVisible(visible);
}

void TMainForm::SBDynVarChange(int bar, int position) {
  DynVarBarChange(ws_, bar, position);
  // The bar springs back to its centre; that change applies a step of 0.
  SBDynVar[bar]->setValue(0);
}

void TMainForm::SBDynVarScroll(int bar) {
  DynVarBarScrollEnd(ws_, bar);
  // Away from the bar, so that its next use records a fresh value at focus.
  SBRevArm->setFocus();
}

void TMainForm::SBDynVarEnter(int bar) {
  DynVarBarEnter(ws_, bar);
}

void TMainForm::UnDoDnClick() {
  UndoButtonClick(ws_);
  UnDoDn->setEnabled(ws_.UndoButtonEnabled[vek1::UnDoDn]);
}

void TMainForm::DynamicVariablesClick() {
  ws_.DynVarShown = !ws_.DynVarShown;
  setDynVarControlsVisible(ws_.DynVarShown);
}

void TMainForm::SetUnDoClick() {
  ws_.UndoMode = !ws_.UndoMode;
}

void TMainForm::FrameDimClick() {
  if (frameDialog_) frameDialog_->exec();
}

void TMainForm::CylDimClick() {
  if (cylinderDialog_) cylinderDialog_->exec();
}

void TMainForm::ResetAllClick() {
  if (resetFrame_) resetFrame_();
  if (resetCylinder_) resetCylinder_();
  ComputeReverseArmCentre(ws_);
  CenterClick();
  NormVHZClick();
  ResetAllDimensionsModel(ws_);
  setDynVarControlsVisible(false);
}

// Dimension files --------------------------------------------------------------------------------

void TMainForm::afterLoad() {
  SyncRevArmRange();
  SBRevArm->setValue(ReverseArmBarPosition(ws_, ws_.ReverseArmPos));
  // The loaded centre may differ from the old one even at bar position 0.
  SBRevArmChange(SBRevArm->value());
}

void TMainForm::openSet(FileDialog kind,
                        DimensionFileResult (*read)(const std::string&, Workspace&)) {
  const QString path = chooseFile(kind);
  // The lines dialog shows the items as they now are, whatever became of the open.
  struct Refill {
    TMainForm& form;
    bool native;
    ~Refill() {
      if (native && form.linesDataClick_) form.linesDataClick_();
    }
  } refill{*this, kind == FileDialog::OpenNative};
  if (path.isEmpty()) return;
  const DimensionFileResult result = read(path.toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
  afterLoad();
}

void TMainForm::OpenDimensionsClick() {
  openSet(FileDialog::OpenNative, &ReadDimensionFile);
}

void TMainForm::OpenDosDimensionsClick() {
  openSet(FileDialog::OpenDos, &ReadDosDimensionFile);
}

void TMainForm::SaveAsDimensionsClick() {
  const QString path = chooseFile(FileDialog::Save);
  if (path.isEmpty()) return;
  const DimensionFileResult result = WriteDimensionFile(path.toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
}

// Motion --------------------------------------------------------------------------------------

void TMainForm::RunClick() {
  if (!running()) {
    ws_.StepAngle = ws_.SelectedStep;
    SBDrvAng->setEnabled(false);
    Run->setText("Stop");
  } else {
    SBDrvAng->setValue(roundHalfEven(ws_.DriverAngle * 100.0));
    ws_.StepAngle = 0.0f;
    SBDrvAng->setEnabled(true);
    Run->setText("Run");
  }
  Deg00->setEnabled(true);
  Deg180->setEnabled(true);
}

void TMainForm::SBDrvAngChange(int position) {
  ws_.DriverAngle = toSingle(position / 100.0);
  Deg00->setEnabled(true);
  Deg180->setEnabled(true);
}

void TMainForm::stopAt(float angle, QPushButton* pressed, QPushButton* other) {
  ws_.DriverAngle = angle;
  SBDrvAng->setValue(roundHalfEven(angle * 100.0));
  ws_.StepAngle = 0.0f;
  SBDrvAng->setEnabled(true);
  Run->setText("Run");
  pressed->setEnabled(false);
  other->setEnabled(true);
}

void TMainForm::Deg00Click() {
  stopAt(0.0f, Deg00, Deg180);
}

void TMainForm::Deg180Click() {
  stopAt(180.0f, Deg180, Deg00);
}

void TMainForm::SBStepAngChange(int position) {
  if (SkipStepScroll) {
    SkipStepScroll = false;
  } else {
    const StepSetting setting = StepForBarPosition(position);
    ws_.SelectedStep = setting.Step;
    SBDrvAng->setSingleStep(setting.Small);
    SBDrvAng->setPageStep(setting.Large);
    if (running()) ws_.StepAngle = ws_.SelectedStep;
  }
  Step10->setEnabled(ws_.SelectedStep != 10.0f);
  Step45->setEnabled(ws_.SelectedStep != 45.0f);
  Step1->setEnabled(ws_.SelectedStep != 1.0f);
}

void TMainForm::StepButtonClick(QPushButton* button, float step, int position) {
  button->setEnabled(false);
  ws_.SelectedStep = step;
  if (running()) ws_.StepAngle = step;
  SBStepAng->setValue(position);
}

void TMainForm::SBRevArmChange(int position) {
  SetReverseArmFromBar(ws_, position);
  const float centre = ReverseArmCentre(ws_);
  const float norm = ws_.Frame[dim::RevArmToCentNorm];
  Center->setEnabled(position != 0);
  Fwd->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) + norm));
  Rev->setEnabled(ws_.ReverseArmPos != toSingle(static_cast<double>(centre) - norm));
}

void TMainForm::normalGear(double side, int position, QPushButton* pressed, QPushButton* other) {
  const float centre = ReverseArmCentre(ws_);
  ws_.ReverseArmPos = toSingle(centre + side * ws_.Frame[dim::RevArmToCentNorm]);
  SBRevArm->setValue(position);
  pressed->setEnabled(false);
  other->setEnabled(true);
  Center->setEnabled(true);
  ClearCutOff(ws_);
}

void TMainForm::FwdClick() {
  normalGear(+1.0, ForwardBarPosition(ws_), Fwd, Rev);
}

void TMainForm::RevClick() {
  normalGear(-1.0, ReverseBarPosition(ws_), Rev, Fwd);
}

void TMainForm::CenterClick() {
  SBRevArm->setValue(0);
  ws_.ReverseArmPos = ReverseArmCentre(ws_);
  Fwd->setEnabled(true);
  Rev->setEnabled(true);
  Center->setEnabled(false);
  ClearCutOff(ws_);
}

void TMainForm::SyncRevArmRange() {
  SBRevArm->setMaximum(ws_.RevArmScrollMax);
  SBRevArm->setMinimum(ws_.RevArmScrollMin);
}

void TMainForm::FindRevArmCentClick() {
  ComputeReverseArmCentre(ws_);
  CenterClick();
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

// View ----------------------------------------------------------------------------------------

void TMainForm::NormVHZClick() {
  ws_.SavedView = CurrentView(ws_);
  SBPanVert->setValue(0);
  SBPanHorz->setValue(0);
  SBZoom->setValue(0);
  SetCurrentView(ws_, ws_.NormalView);
  NormVHZ->setEnabled(false);
  Preset0->setEnabled(true);
}

void TMainForm::Preset0Click() {
  ws_.ViewPresets[0] = CurrentView(ws_);
  Preset0->setEnabled(false);
  NormVHZ->setEnabled(true);
}

void TMainForm::PresetClick(int n) {
  if (n < 1 || n >= kViewPresets) return;
  // A disabled P means the view captured by P is to be stored as this preset first.
  if (!Preset0->isEnabled()) ws_.ViewPresets[n] = ws_.ViewPresets[0];
  SetCurrentView(ws_, ws_.ViewPresets[n]);
  NormVHZ->setEnabled(true);
  Preset0->setEnabled(true);
}

void TMainForm::setStripVisible(bool visible) {
  for (QWidget* w : std::initializer_list<QWidget*>{
           Presets[1], Presets[2], Presets[3], Presets[4], Presets[5], Presets[6],
           Preset0,    NormVHZ,    SBPanVert,  SBPanHorz,  SBZoom,     Rev,
           Center,     Fwd,        Deg180,     Run,        Deg00,      Step1,
           Step10,     Step45,     SBRevArm,   SBDrvAng,   SBStepAng,  ToolBar1})
    w->setVisible(visible);
  DriverAng->setEnabled(visible);
  FindRevArmCent->setEnabled(visible);
  DynamicVariables->setEnabled(visible);
  SetUnDo->setEnabled(visible);
  RefPoints->setEnabled(visible);
  SetPivotData->setEnabled(visible);
  RefPoints1->setVisible(visible);
  RefPt1->setVisible(visible);
  RefPt2->setVisible(visible);
}

void TMainForm::SetScreenDataClick() {
  if (ws_.ScreenDataOn) {
    ws_.ScreenDataOn = false;
    SetScreenData->setText("SetScree&nData On");
    setStripVisible(false);
    ws_.DynVarShown = false;
    setDynVarControlsVisible(false);
    ws_.UndoMode = false;
    SetRefPointsMode(ws_, false);
    syncReferenceControls();
    SetPanZoom->setEnabled(true);
  } else {
    ws_.ScreenDataOn = true;
    SetScreenData->setText("SetScree&nData Off");
    setStripVisible(true);
    SetPanZoom->setEnabled(false);
    SetPanZoom->setText("Set&PanZoom On");
  }
}

void TMainForm::SetPanZoomClick() {
  const bool show = SetPanZoom->text() != "SetP&anZoom Off";
  SetPanZoom->setText(show ? "SetP&anZoom Off" : "SetP&anZoom On");
  SBPanVert->setVisible(show);
  SBPanHorz->setVisible(show);
  SBZoom->setVisible(show);
}

void TMainForm::SetLineWidthClick() {
  ws_.LineWidth = ws_.LineWidth == 1 ? 2 : 1;
  SetLineWidth->setText(ws_.LineWidth == 1 ? "Set&LineWidth 2" : "Set&LineWidth 1");
}

void TMainForm::LargeFontClick() {
  if (LargeFont->text() == "SetLarge&Font") {
    ws_.TextScaleX = 1.27f;
    ws_.TextScaleY = 1.22f;
    LargeFont->setText("SetSmall&Font");
  } else {
    ws_.TextScaleX = ws_.TextScaleY = 1.0f;
    LargeFont->setText("SetLarge&Font");
  }
}

void TMainForm::SetSteamClick() {
  SetSteam->setText(QString::fromUtf8(toggleSteamDisplay(ws_)));
}

void TMainForm::SetBeepOnErrorClick() {
  ws_.ErrorBeepOn = !ws_.ErrorBeepOn;
  SetBeepOnError->setText(ws_.ErrorBeepOn ? "Set&ErrorBeep Off" : "Set&ErrorBeep On");
}

// Dialogs -------------------------------------------------------------------------------------

void TMainForm::RevArmPosClick() {
  if (revPos_) revPos_->exec();
}
void TMainForm::DriverAngClick() {
  if (drivAng_) drivAng_->exec();
}
void TMainForm::StepAngClick() {
  if (stpAng_) stpAng_->exec();
}
void TMainForm::SetGraphicZoomClick() {
  if (graphZoom_) graphZoom_->exec();
}

}  // namespace vek1
