#pragma once
// The four diagram windows, each a DiagramWindow with its own drawing.

#include "diagram_window.h"

namespace vek1 {

// Valve travel against driver angle.
class TSineDia : public DiagramWindow {
  Q_OBJECT
 public:
  TSineDia(Workspace& ws, QDialog* setRevArm, QWidget* parent = nullptr);

 protected:
  DiagramOutcome drawDiagram(Canvas& canvas) override;
};

// Valve travel against piston travel: one closed loop per position.
class TOvalDia : public DiagramWindow {
  Q_OBJECT
 public:
  TOvalDia(Workspace& ws, QDialog* setRevArm, QWidget* parent = nullptr);

 protected:
  DiagramOutcome drawDiagram(Canvas& canvas) override;
};

// Cylinder pressure against piston travel, with the cut-off of each end.
class TSteamDia : public DiagramWindow {
  Q_OBJECT
 public:
  TSteamDia(Workspace& ws, QDialog* setRevArm, QWidget* parent = nullptr);

 protected:
  DiagramOutcome drawDiagram(Canvas& canvas) override;
};

// Where each port edge opens and closes across the reverse-arm range, forward, reverse or both.
class TPortDia : public DiagramWindow {
  Q_OBJECT
 public:
  TPortDia(Workspace& ws, QWidget* parent = nullptr);

  QMenu* SetUp = nullptr;
  QAction* ForwardGraph1 = nullptr;
  QAction* ReverseGraph1 = nullptr;
  QAction* BothGraphs1 = nullptr;

  void ForwardGraph1Click();
  void ReverseGraph1Click();
  void BothGraphs1Click();

 protected:
  DiagramOutcome drawDiagram(Canvas& canvas) override;
  // In the combined view every redraw draws both graphs again.
  void redraw(bool clearFirst) override;
};

}  // namespace vek1
