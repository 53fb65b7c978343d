#pragma once
// Prints a picture: one page, the picture as large as the page's printable area allows, centred,
// with its shape kept. Lines and texts go to the printer as shapes, so they are sharp at any
// printer resolution.

#include "picture_export.h"

class QPrinter;
class QWidget;

namespace vek1 {

// Paints the picture on `printer` as it is set up. Returns false when the printer could not
// start (no output, a failed device).
bool printPicture(QPrinter& printer, const PictureInfo& info, const DrawPicture& draw);

// The name a print job goes by. The print dialog offers it as the file name of a PDF, so a slash
// in a title ("Port Open/Closed") becomes a dash rather than a folder that is not there.
QString printDocumentName(QString title);

// Asks for a printer with the system's print dialog, then prints; a failure is reported in a
// message box. Nothing happens when the user cancels.
void printPictureAsked(QWidget* parent, const PictureInfo& info, const DrawPicture& draw);

}  // namespace vek1
