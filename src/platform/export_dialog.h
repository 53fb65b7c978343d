#pragma once
// Asks where to export a picture, offering a file named after it, then writes it; a failure is
// reported in a message box, naming the file and the reason. Nothing happens on Cancel.

#include <QString>
#include <functional>

#include "picture_export.h"

class QWidget;

namespace vek1 {

using WritePicture = std::function<ExportResult(const QString& path)>;

void exportPictureAsked(QWidget* parent, const QString& caption, const QString& name,
                        const WritePicture& write);

}  // namespace vek1
