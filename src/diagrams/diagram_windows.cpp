#include "diagram_windows.h"

#include "sine_drawing.h"

namespace vek1 {

TSineDia::TSineDia(Workspace& ws, TMainForm& main, QDialog* setRevArm, QWidget* parent)
    : DiagramWindow(ws, main, setRevArm,
                    Layout{632, 414, {408, 8}, UnDoDnS, "&SetRevArmPos", "&ReDraw", "&UnDo",
                           "&DymamicVariables"},
                    parent) {}

DiagramOutcome TSineDia::drawDiagram(Canvas& canvas) { return drawSineDiagram(canvas, ws_); }

}  // namespace vek1
