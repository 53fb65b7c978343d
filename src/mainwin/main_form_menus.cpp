#include <QMenuBar>
#include <algorithm>

#include "dimension_edit.h"
#include "dimensions.h"
#include "icons.h"
#include "main_form.h"
#include "motion.h"
#include "motion_dialogs.h"
#include "perf_icon.h"
#include "perf_window.h"
#include "report_actions.h"
#include "sensitivity_window.h"
#include "view.h"
#include "window_placement.h"
#include "worn_gear_window.h"

namespace vek1 {

void TMainForm::buildMenus() {
  FileMenu = menuBar()->addMenu("&File");
  OpenDimensions =
      FileMenu->addAction(icons::open(), "&OpenDimensions", this, &TMainForm::OpenDimensionsClick);
  OpenDosDimensions =
      FileMenu->addAction("Open&DosDimensions", this, &TMainForm::OpenDosDimensionsClick);
  SaveAsDimensions = FileMenu->addAction(icons::save(), "Save&AsDimensions", this,
                                         &TMainForm::SaveAsDimensionsClick);
  ExportPicture = FileMenu->addAction("&ExportPicture...", this, &TMainForm::ExportPictureClick);
  Print1 = FileMenu->addAction("&Print...", this, &TMainForm::Print1Click);
  PictureCaption = FileMenu->addAction("Picture &Caption");
  PictureCaption->setCheckable(true);
  PictureCaption->setToolTip(
      "Exported and printed pictures carry a line naming the set, the "
      "notch and the crank angle");
  FileMenu->addAction("Export DX&F...", this, [this] {
    const Workspace* shown = Surface->shownSet();
    askGearDxf(this, shown ? *shown : ws_);
  });
  FileMenu->addAction("Design &Report...", this, [this] {
    askDesignReport(this, ws_, referenceSet ? referenceSet() : nullptr);
  });
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
  SetUpMenu->addSeparator();
  FitToWindow = SetUpMenu->addAction("Fit to &Window", this, &TMainForm::FitToWindowClick);
  FitToWindow->setShortcut(QKeySequence(Qt::Key_F));
  FitToWindow->setToolTip("Zoom and pan so that the gear, all round its turn, fills the window");
  KeepFitted = SetUpMenu->addAction("Keep &Fitted");
  KeepFitted->setCheckable(true);
  connect(KeepFitted, &QAction::toggled, this, [this](bool on) {
    if (on) FitToWindowClick();
  });

  EditDimenMenu = menuBar()->addMenu("&EditDimen");
  FrameDim = EditDimenMenu->addAction(icons::frameDimensions(), "&FrameDimensions", this,
                                      &TMainForm::FrameDimClick);
  CylDim = EditDimenMenu->addAction(icons::cylinderDimensions(), "&CylinderDimensions", this,
                                    &TMainForm::CylDimClick);
  TuneDesign = EditDimenMenu->addAction("&TuneDesign", this, [this] {
    if (tune_) showBeside(tune_, this);
  });
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
  ValveEvents = DrawGraphsMenu->addAction(icons::valveEvents(), "&ValveEvents", this, [this] {
    if (events_) showBeside(events_, this);
  });
  Sensitivity = DrawGraphsMenu->addAction("Se&nsitivity", this, [this] {
    if (!sensitivity_) sensitivity_ = new TSensitivity(ws_, this);
    showBeside(sensitivity_, this);
  });
  WornGear = DrawGraphsMenu->addAction("&WornGear", this, [this] {
    if (!wornGear_) wornGear_ = new TWornGear(ws_, this);
    showBeside(wornGear_, this);
  });
  EnginePerformance =
      DrawGraphsMenu->addAction(enginePerformanceIcon(), "&EnginePerformance", this, [this] {
        if (!performance_) performance_ = new TEnginePerformance(ws_, this);
        showBeside(performance_, this);
      });
  HelpMenu = menuBar()->addMenu("&Help");
  Instructions = HelpMenu->addAction("&Instructions", this, show(instructions_));
  SpecInstr = HelpMenu->addAction("Instructions&Special", this, show(special_));
  HelpMenu->addSeparator();
  About1 = HelpMenu->addAction("&About", this, show(about_));

  // The error indication: a picture on the menu bar itself, hidden until the latch is raised.
  Error = menuBar()->addAction(icons::error(), QString());
  Error->setToolTip("Error");
  // The bar keeps the height it has with the picture shown, so that the drawing below does not
  // move while the item blinks.
  Error->setVisible(true);
  const int withPicture = menuBar()->sizeHint().height();
  Error->setVisible(false);
  menuBar()->setFixedHeight(std::max(withPicture, menuBar()->sizeHint().height()));
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
  tool(ValveEvents, "View Valve Events at Each Notch");
  tool(EnginePerformance, "View Engine Performance: Cards, Power and Steam");
  ToolBar1->setGeometry(0, 0, ToolBar1->sizeHint().width(), 24);
}

void TMainForm::setEventsWindow(QWidget* events) {
  events_ = events;
}

void TMainForm::FourEventsClick() {
  // The port diagram always opens on its forward-gear view.
  ws_.PortGraphMode = 'F';
  if (port_) port_->exec();
}

void TMainForm::DrawLines1Click() {
  const auto& H = ws_.Pivots.H;
  const auto& V = ws_.Pivots.V;
  // Items are placed from the reference points; with none placed there is nothing to draw from.
  if (H[19] == 0.0f && V[19] == 0.0f && H[20] == 0.0f && V[20] == 0.0f) sound_.beep();
  if (drawLines_) drawLines_->exec();
}

void TMainForm::FrameDimClick() {
  if (frameDialog_) frameDialog_->exec();
}

void TMainForm::CylDimClick() {
  if (cylinderDialog_) cylinderDialog_->exec();
}

void TMainForm::ResetAllClick() {
  // One stray keystroke (Alt+E, R, Enter) must not throw away a whole measured gear and its undo
  // history.
  if (confirm && !confirm(QStringLiteral("Reset every dimension to the factory set? This also "
                                         "empties the undo history.")))
    return;
  if (resetFrame_) resetFrame_();
  if (resetCylinder_) resetCylinder_();
  ComputeReverseArmCentre(ws_);
  motionStrip->CenterClick();
  viewStrip->NormVHZClick();
  ResetAllDimensionsModel(ws_);
  setDynVarControlsVisible(false);
}

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
