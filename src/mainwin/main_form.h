#pragma once
// The main window: the live drawing of the gear with its control strip, menus and tool bar.
// Controls and handlers carry the names users of earlier versions know them by.

#include <QAction>
#include <QDialog>
#include <QFrame>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <vector>

#include "canvas.h"
#include "dimension_file.h"
#include "dynvar_strip.h"
#include "fit_view.h"
#include "frame.h"
#include "frame_view.h"
#include "motion_strip.h"
#include "picture_export.h"
#include "reference_strip.h"
#include "scaled_layout.h"
#include "sound.h"
#include "view_strip.h"
#include "workspace.h"

namespace vek1 {

class TDrivAng;
class TRevPos;
class TStpAng;
class TGraphZoom;

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  TMainForm(Workspace& ws, SoundSink& sound, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The small dialogs, created after the main window in the program's start-up order.
  void setDialogs(TDrivAng* drivAng, TRevPos* revPos, TStpAng* stpAng, TGraphZoom* graphZoom);
  // The diagram windows (opened from the DrawGraphs menu). Each has its own title prefix, which
  // the main window's frames keep up to date with the set's name and the clock.
  void setDiagrams(QDialog* sine, QDialog* oval, QDialog* steam, QDialog* port);
  // Shows or hides the dynamic-variable bars and their panels, as the diagrams' switch does too.
  void setDynVarControlsVisible(bool visible);

  // The help windows: instructions, special instructions, about.
  void setHelpWindows(QDialog* instructions, QDialog* special, QDialog* about);
  // The lines-and-circles dialog, and its refill after a dimension file was opened.
  void setOverlayDialog(QDialog* drawLines, std::function<void()> linesDataClick);
  // The reference points dialog and the pivot data table.
  void setReferenceWindows(QDialog* refPoints, QDialog* dataTable);
  // The valve events window: not modal, it stands beside the running gear.
  void setEventsWindow(QWidget* events);
  // The frame and cylinder dimension dialogs and their reset operations (which the full reset
  // runs). They live in a library of their own that builds on this window.
  void setDimensionDialogs(QDialog* frameDialog, QDialog* cylinderDialog,
                           std::function<void()> resetFrame, std::function<void()> resetCylinder);
  // The "Tune Design" window, shown beside the running gear (not modal).
  void setTuneWindow(QWidget* tune) { tune_ = tune; }

  Workspace& ws() { return ws_; }
  const QImage& frameImage() const { return Surface->frameImage(); }
  // One animation tick: always solves, advances and draws.
  void Timer1Timer();
  // What the timer runs on every displayed frame: a tick, unless nothing on the picture can
  // change, in which case only the title's clock is kept up to date.
  void onTimerFrame();
  // Frames drawn since the window was made.
  int framesDrawn() const { return Surface->framesDrawn(); }
  // The tick interval for a display of the given refresh rate (frames per second).
  static int tickIntervalFor(double refreshRate);

  // The picture out: the current frame (without the controls over it) to a file, PNG at the
  // screen's pixel ratio, SVG or PDF by the file's extension, or to a printer.
  QAction* ExportPicture = nullptr;
  // Pictures of the view carry a caption line (set, notch, crank angle) while checked.
  QAction* PictureCaption = nullptr;
  QAction* Print1 = nullptr;
  void ExportPictureClick();
  void Print1Click();
  // Draws the frame on screen again on any canvas, from the state it was drawn from.
  void drawShownFrame(Canvas& canvas) const;
  ExportResult exportPictureTo(const QString& path) const;
  // The name the picture is exported and printed under: the title without the clock.
  QString pictureTitle() const;
  // How much of the frame the window shows, in frame units: what is exported and printed.
  QSize shownFrameSize() const;

  QTimer* Timer1 = nullptr;
  // The parts of the window, each owning its controls and their state.
  FrameView* Surface = nullptr;
  MotionStrip* motionStrip = nullptr;
  ViewStrip* viewStrip = nullptr;
  DynVarStrip* dynVarStrip = nullptr;
  ReferenceStrip* referenceStrip = nullptr;

  // Menu items.
  QAction* OpenDimensions = nullptr;
  QAction* OpenDosDimensions = nullptr;
  QAction* SaveAsDimensions = nullptr;
  QAction* Exit1 = nullptr;
  QAction* RevArmPos = nullptr;
  QAction* DriverAng = nullptr;
  QAction* StepAng1 = nullptr;
  QAction* LargeFont = nullptr;
  QAction* FindRevArmCent = nullptr;
  QAction* SetSteam = nullptr;
  QAction* SetBeepOnError = nullptr;
  QAction* SetLineWidth = nullptr;
  QAction* SetScreenData = nullptr;
  QAction* SetPanZoom = nullptr;
  QAction* FitToWindow = nullptr;
  QAction* KeepFitted = nullptr;
  QAction* SetGraphicZoom = nullptr;
  QAction* FrameDim = nullptr;
  QAction* CylDim = nullptr;
  QAction* TuneDesign = nullptr;
  QAction* ResetAll = nullptr;
  QAction* DynamicVariables = nullptr;
  QAction* SetUnDo = nullptr;
  QAction* RefPoints = nullptr;
  QAction* RefPoints1 = nullptr;
  QAction* SetPivotData = nullptr;
  QAction* DrawLines1 = nullptr;
  QAction* SineDiag = nullptr;
  QAction* OvalDiag = nullptr;
  QAction* SteamDiag = nullptr;
  QAction* FourEvents = nullptr;
  QAction* ValveEvents = nullptr;
  QAction* Sensitivity = nullptr;
  QAction* WornGear = nullptr;
  QAction* EnginePerformance = nullptr;
  QAction* Instructions = nullptr;
  QAction* SpecInstr = nullptr;
  QAction* About1 = nullptr;
  QAction* Error = nullptr;  // the picture item of the menu bar, shown during an error indication
  QMenu* FileMenu = nullptr;
  QMenu* SetUpMenu = nullptr;
  QMenu* EditDimenMenu = nullptr;
  QMenu* DrawGraphsMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QToolBar* ToolBar1 = nullptr;

  // Handlers.
  void FindRevArmCentClick();
  void SetScreenDataClick();
  void SetPanZoomClick();
  // Zooms and pans so that the gear, at every crank angle of its notch, fills the drawing area.
  void FitToWindowClick();
  // The part of the frame the gear may use: the window's drawing below the control strip and
  // the screen-data texts, in frame pixels.
  PixelBox drawingArea() const;
  // The tip of the screen-data text under `at` (Surface pixels), or an empty text.
  QString screenDataTipAt(QPoint at) const;
  void SetLineWidthClick();
  void LargeFontClick();
  void SetSteamClick();
  void SetBeepOnErrorClick();
  void RevArmPosClick();
  void DriverAngClick();
  void StepAngClick();
  void SetGraphicZoomClick();
  void FormActivate();
  void OpenDimensionsClick();
  void OpenDosDimensionsClick();
  void SaveAsDimensionsClick();
  void FourEventsClick();
  void RefPointsClick();
  void RefPoints1Click();
  void SetPivotDataClick();
  void DrawLines1Click();
  void FormMouseDown(bool left, QPoint at);
  void FrameDimClick();
  void CylDimClick();
  void ResetAllClick();
  void DynamicVariablesClick();
  void SetUnDoClick();
  // The mouse wheel and the middle-button drag in the drawing.
  void SurfaceWheel(QPoint at, int eighths);
  void SurfaceDrag(QPoint by);

  // The animation stops while another window moves the driver itself, and goes on after.
  void pauseAnimation(bool paused);

  // How the file commands ask for a path and report a failure: desktop dialogs by default;
  // tests put their own in place. An empty path means the user cancelled.
  enum class FileDialog { OpenNative, OpenDos, Save };
  std::function<QString(FileDialog)> chooseFile;
  std::function<void(const QString&)> reportError;
  // The set the main view draws as a ghost beneath the gear, or null (none set: no ghost).
  std::function<const Workspace*()> ghostSet;
  // The set compared with, or null: the design report then lists the differences from it.
  std::function<const Workspace*()> referenceSet;
  // Asked before Exit, Open and Open-DOS when the set differs from what was last saved or opened
  // ("Save changes to <name>?"), and before a full reset.
  enum class UnsavedChoice { Save, Discard, Cancel };
  std::function<UnsavedChoice(const QString& name)> askToSave;
  std::function<bool(const QString& question)> confirm;
  bool hasUnsavedChanges() const;
  // Takes the set as it now is as the one last saved or opened (at start, once every window has
  // set up its part).
  void markSaved();

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The next frames redraw the whole picture.
  void redrawWhole();
  // Sees the user's input in every window of the program: whatever it changes shows at the next
  // frame even while the picture is otherwise still.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyTextScale();
  // The drawing area for the current text scale, and the frame image for the screen's ratio.
  QSize clientSize() const;
  void buildMenus();
  void buildToolBar();
  // The strips, the menus and the tool bar, and how the strips ask each other.
  void buildStrips();
  // Shows the reference controls as the two modes say.
  void syncReferenceControls();
  void applyPositionDisplay(const PositionDisplayOutcome& outcome);
  // Offers to save unsaved changes; false when the user chose to stay where he was.
  bool settleUnsavedChanges();
  void openSet(FileDialog kind, DimensionFileResult (*read)(const std::string&, Workspace&));
  QDialog* dialogOf(PositionAsker asker) const;
  void setStripVisible(bool visible);
  void refreshTitle();
  void refreshTitleClock();

  Workspace& ws_;
  SoundSink& sound_;
  QString title_;
  TDrivAng* drivAng_ = nullptr;
  TRevPos* revPos_ = nullptr;
  TStpAng* stpAng_ = nullptr;
  TGraphZoom* graphZoom_ = nullptr;
  QDialog* drawLines_ = nullptr;
  std::function<void()> linesDataClick_;
  QDialog* refPoints_ = nullptr;
  QDialog* dataTable_ = nullptr;
  QWidget* tune_ = nullptr;
  QDialog* sine_ = nullptr;
  QDialog* oval_ = nullptr;
  QDialog* steam_ = nullptr;
  QDialog* port_ = nullptr;
  QWidget* events_ = nullptr;
  QWidget* sensitivity_ = nullptr;  // made on first use, beside the running gear
  QWidget* wornGear_ = nullptr;
  QWidget* performance_ = nullptr;  // made on first use, beside the running gear
  QDialog* instructions_ = nullptr;
  QDialog* special_ = nullptr;
  QDialog* about_ = nullptr;
  QDialog* frameDialog_ = nullptr;
  QDialog* cylinderDialog_ = nullptr;
  std::function<void()> resetFrame_, resetCylinder_;
  bool positionCursor_ = false;
  ScaledLayout stripLayout_;
  // Frames still to draw after the last input or the last frame that could change.
  int wakeFrames_ = 0;
  long long titleSecond_ = -1;
  std::string titleName_;
  std::vector<std::uint8_t> savedState_;
};

}  // namespace vek1
