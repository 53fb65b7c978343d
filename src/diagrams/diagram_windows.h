#pragma once
// The four diagram windows, each a DiagramWindow with its own drawing.

#include "diagram_window.h"

namespace vek1 {

class TSineDia : public DiagramWindow {
  Q_OBJECT
 public:
  TSineDia(Workspace& ws, TMainForm& main, QDialog* setRevArm, QWidget* parent = nullptr);

 protected:
  DiagramOutcome drawDiagram(Canvas& canvas) override;
};

}  // namespace vek1
