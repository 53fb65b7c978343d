#include "diagram_windows.h"

#include "diagram_sizes.h"
#include "oval_drawing.h"
#include "port_diagram_drawing.h"
#include "sine_drawing.h"
#include "steam_diagram_drawing.h"

namespace vek1 {

TSineDia::TSineDia(Workspace& ws, QDialog* setRevArm, QWidget* parent)
    : DiagramWindow(ws, setRevArm,
                    Layout{kSineDiagramSize.width,
                           kSineDiagramSize.height,
                           {408, 8},
                           {},
                           UnDoDnS,
                           "&SetRevArmPos",
                           "&ReDraw",
                           "&UnDo",
                           "&DymamicVariables"},
                    parent) {}

DiagramOutcome TSineDia::drawDiagram(Canvas& canvas) {
  // The file keeps the position this diagram drew last.
  ws_.LastDiagramRevArmPos = lastDiagramPosition(ws_, ws_.LastDiagramRevArmPos);
  return drawSineDiagram(canvas, ws_, referenceSet());
}

TOvalDia::TOvalDia(Workspace& ws, QDialog* setRevArm, QWidget* parent)
    : DiagramWindow(ws, setRevArm,
                    Layout{kOvalDiagramSize.width,
                           kOvalDiagramSize.height,
                           {408, 8},
                           {},
                           UnDoDnO,
                           "SetRevArmPos",
                           "ReDraw",
                           "&UnDo",
                           "DynamicVari"},
                    parent) {}

DiagramOutcome TOvalDia::drawDiagram(Canvas& canvas) {
  // The file keeps the position this diagram drew last.
  ws_.LastDiagramRevArmPos = lastDiagramPosition(ws_, ws_.LastDiagramRevArmPos);
  return drawOvalDiagram(canvas, ws_, referenceSet());
}

TSteamDia::TSteamDia(Workspace& ws, QDialog* setRevArm, QWidget* parent)
    : DiagramWindow(ws, setRevArm,
                    Layout{kSteamDiagramSize.width,
                           kSteamDiagramSize.height,
                           {408, 8},
                           {},
                           UnDoDnSt,
                           "SetRevArmPos",
                           "ReDraw",
                           "&UnDo",
                           "DynamicVari"},
                    parent) {}

DiagramOutcome TSteamDia::drawDiagram(Canvas& canvas) {
  // The file keeps the position this diagram drew last.
  ws_.LastDiagramRevArmPos = lastDiagramPosition(ws_, ws_.LastDiagramRevArmPos);
  return drawSteamDiagram(canvas, ws_, referenceSet());
}

TPortDia::TPortDia(Workspace& ws, QWidget* parent)
    : DiagramWindow(ws, nullptr,
                    Layout{kPortDiagramSize.width,
                           kPortDiagramSize.height,
                           {447, 2},
                           kPortUndoLine,
                           UnDoDnP,
                           QString(),
                           "ReDraw",
                           "&UnDo",
                           "DynamicVari"},
                    parent) {
  SetUp = new QMenu("SetUp", Menu);
  Menu->insertMenu(ReDraw, SetUp);
  ForwardGraph1 = SetUp->addAction("ForwardGraph", this, &TPortDia::ForwardGraph1Click);
  ReverseGraph1 = SetUp->addAction("ReverseGraph", this, &TPortDia::ReverseGraph1Click);
  BothGraphs1 = SetUp->addAction("BothGraphs", this, &TPortDia::BothGraphs1Click);
}

DiagramOutcome TPortDia::drawDiagram(Canvas& canvas) {
  return drawPortDiagram(canvas, ws_, ws_.PortGraphMode == 'R' ? 'R' : 'F', ws_.PortCycleLegend,
                         referenceSet());
}

void TPortDia::ForwardGraph1Click() {
  ws_.PortGraphMode = 'F';
  draw(true);
}

void TPortDia::ReverseGraph1Click() {
  ws_.PortGraphMode = 'R';
  draw(true);
}

void TPortDia::BothGraphs1Click() {
  // The forward graph with its cycle legend, then the reverse graph over it without one.
  ws_.PortGraphMode = 'F';
  draw(true);
  ws_.PortGraphMode = 'R';
  ws_.PortCycleLegend = false;
  draw(false);
  ws_.PortCycleLegend = true;
  ws_.PortGraphMode = 'B';
}

void TPortDia::redraw(bool clearFirst) {
  if (ws_.PortGraphMode == 'B')
    BothGraphs1Click();
  else
    draw(clearFirst);
}

}  // namespace vek1
