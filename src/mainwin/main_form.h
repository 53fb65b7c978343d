#pragma once
// The main window: the live drawing of the gear with its control strip, menus and tool bar.
// Controls and handlers carry the names users of earlier versions know them by.

#include <QAction>
#include <QImage>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolBar>
#include <random>

#include "endscrollbar.h"
#include "canvas.h"
#include "frame.h"
#include "sound.h"
#include "workspace.h"

namespace vek1 {

class TDrivAng;
class TRevPos;
class TStpAng;
class TGraphZoom;

// The drawing surface: shows the last frame; the control strip and tool bar are its children
// and sit over the drawing, in the frame's own coordinates.
class ViewSurface : public QWidget {
  Q_OBJECT
 public:
  explicit ViewSurface(const QImage& frame, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QImage& frame_;
};

class TMainForm : public QMainWindow {
  Q_OBJECT
 public:
  TMainForm(Workspace& ws, SoundSink& sound, QWidget* parent = nullptr);
  ~TMainForm() override;

  // The small dialogs, created after the main window in the program's start-up order.
  void setDialogs(TDrivAng* drivAng, TRevPos* revPos, TStpAng* stpAng, TGraphZoom* graphZoom);

  Workspace& ws() { return ws_; }
  const QImage& frameImage() const { return frame_; }
  // One animation tick, as the timer runs it.
  void Timer1Timer();

  // Motion controls.
  QTimer* Timer1 = nullptr;
  QScrollBar* SBRevArm = nullptr;
  QScrollBar* SBDrvAng = nullptr;
  QScrollBar* SBStepAng = nullptr;
  QPushButton* Run = nullptr;
  QPushButton* Center = nullptr;
  QPushButton* Fwd = nullptr;
  QPushButton* Rev = nullptr;
  QPushButton* Deg00 = nullptr;
  QPushButton* Deg180 = nullptr;
  QPushButton* Step1 = nullptr;
  QPushButton* Step10 = nullptr;
  QPushButton* Step45 = nullptr;
  bool SkipStepScroll = true;

  // View controls.
  QScrollBar* SBPanVert = nullptr;
  QScrollBar* SBPanHorz = nullptr;
  QScrollBar* SBZoom = nullptr;
  QPushButton* NormVHZ = nullptr;
  QPushButton* Preset0 = nullptr;
  std::array<QPushButton*, 7> Presets{};  // 1..6

  // Menu items.
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
  QAction* SetGraphicZoom = nullptr;
  QAction* Error = nullptr;  // the picture item of the menu bar, shown during an error indication
  QMenu* FileMenu = nullptr;
  QMenu* SetUpMenu = nullptr;
  QMenu* EditDimenMenu = nullptr;
  QMenu* DrawGraphsMenu = nullptr;
  QMenu* HelpMenu = nullptr;
  QToolBar* ToolBar1 = nullptr;
  ViewSurface* Surface = nullptr;

  // Handlers.
  void RunClick();
  void SBDrvAngChange(int position);
  void Deg00Click();
  void Deg180Click();
  void SBStepAngChange(int position);
  void StepButtonClick(QPushButton* button, float step, int position);
  void SBRevArmChange(int position);
  void FwdClick();
  void RevClick();
  void CenterClick();
  void FindRevArmCentClick();
  void NormVHZClick();
  void Preset0Click();
  void PresetClick(int n);
  void SetScreenDataClick();
  void SetPanZoomClick();
  void SetLineWidthClick();
  void LargeFontClick();
  void SetSteamClick();
  void SetBeepOnErrorClick();
  void RevArmPosClick();
  void DriverAngClick();
  void StepAngClick();
  void SetGraphicZoomClick();
  void FormActivate();

  bool running() const;

 protected:
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QScrollBar* makeBar(int x, int y, int width, int min, int max, int small, int large,
                      const QString& hint);
  QPushButton* makeButton(int x, int y, int width, const QString& caption, const QString& hint);
  void buildControls();
  void buildMenus();
  void buildToolBar();
  void wireAutoCentreBar(QScrollBar* bar, ViewBar which);
  void setStripVisible(bool visible);
  void refreshTitle();

  Workspace& ws_;
  SoundSink& sound_;
  QImage frame_;
  DirtyArea frameDirty_;
  std::mt19937 rng_;
  QString title_;
  TDrivAng* drivAng_ = nullptr;
  TRevPos* revPos_ = nullptr;
  TStpAng* stpAng_ = nullptr;
  TGraphZoom* graphZoom_ = nullptr;
};

}  // namespace vek1
