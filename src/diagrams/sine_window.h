#pragma once
// The sine diagram window: valve travel against driver angle for each reverse-arm position. It
// stops the animation while it is open, asks for the positions when it opens, and has its own
// dynamic-variable bars and undo button acting on the same list and history as the main window.

#include <QDialog>
#include <QImage>
#include <QMenuBar>
#include <QPushButton>
#include <array>

#include "endscrollbar.h"
#include "workspace.h"

namespace vek1 {

class TMainForm;

class TSineDia : public QDialog {
  Q_OBJECT
 public:
  TSineDia(Workspace& ws, TMainForm& main, QDialog* setRevArm, QWidget* parent = nullptr);

  std::array<EndScrollBar*, 5> SBDynVarS{};  // 1..4
  QPushButton* CloseSin = nullptr;
  QPushButton* UnDoDnS = nullptr;
  QMenuBar* MainMenuSine = nullptr;
  QAction* SetRevArmPos = nullptr;
  QAction* ReDraw = nullptr;
  QAction* UnDoSine = nullptr;
  QAction* DynVari = nullptr;

  // Draws the diagram over what the window shows; `clearFirst` wipes it to white first.
  void draw(bool clearFirst);
  const QImage& picture() const { return picture_; }

  void FormActivate();
  void FormClose();
  void SetRevArmPosClick();
  void ReDrawClick();
  void FormMouseMove();
  void SBDynVarSChange(int bar, int position);
  void SBDynVarSEnter(int bar);
  void SBDynVarSScroll(int bar);
  void UnDoDnSClick();
  void UnDoSineClick();
  void DynVariClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  Workspace& ws_;
  TMainForm& main_;
  QDialog* setRevArm_;
  QImage picture_;
  bool open_ = false;
};

}  // namespace vek1
