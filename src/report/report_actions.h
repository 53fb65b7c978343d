#pragma once
// The main window's File > "Design Report..." and File > "Export DXF...": a file dialog, then
// the report or the drawing of a copy of the set, with a message when it cannot be written.

class QWidget;

namespace vek1 {

struct Workspace;

// Asks for a PDF file and writes the design report of `set` there, on the paper of the user's
// locale (Letter where the locale measures in US units, A4 elsewhere). `reference`, when not
// null, is the set compared with.
void askDesignReport(QWidget* parent, const Workspace& set, const Workspace* reference);

// Asks for a DXF file and writes the gear as `set` stands (its crank angle and reverse arm),
// with the die paths at that notch, at mid gear and at normal full forward and reverse gear, in
// inches.
void askGearDxf(QWidget* parent, const Workspace& set);

}  // namespace vek1
