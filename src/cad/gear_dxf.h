#pragma once
// The gear's CAD drawing (gear_cad.h) as a DXF file (AutoCAD R2000 text), written with dxflib:
// one layer for each part, the link as an ARC, the die paths as closed LWPOLYLINEs, and the
// drawing's units in the header ($INSUNITS), so a CAD program places it at its true size.

#include <string>

#include "file_write.h"
#include "gear_cad.h"

namespace vek1 {

// The set's lengths carry no unit of their own; the user says which one they are. The values
// are the header's $INSUNITS codes.
enum class DxfUnits { Unitless = 0, Inches = 1, Millimetres = 4 };

// Whether a file name ends in .dxf (any case).
bool isDxfName(const std::string& path);

// "inches", "mm" or "unitless" as the command line takes them; false for anything else.
bool dxfUnitsOf(const std::string& text, DxfUnits& units);

// The whole file, built in memory: dxflib's own writer goes straight to a file stream whose
// errors it never reports, so its output is collected here and leaves only through the safe
// writer.
std::string gearDxfText(const GearCadDrawing& drawing, DxfUnits units);

// Writes the file whole or not at all (file_write.h).
FileWriteResult writeGearDxf(const std::string& path, const GearCadDrawing& drawing,
                             DxfUnits units);

}  // namespace vek1
