#include "export_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "picture_print.h"

namespace vek1 {

namespace {
// The folder the last picture went to in this run, so that a series of exports need not walk
// to it every time; nothing is kept between runs.
QString& lastExportFolder() {
  static QString folder;
  return folder;
}
}  // namespace

void exportPictureAsked(QWidget* parent, const QString& caption, const QString& name,
                        const WritePicture& write) {
  QString filter;
  // The name is offered as a PNG in the folder of the last export; the filter chosen or the
  // extension typed decides the format.
  const QString offered = printDocumentName(name) + ".png";
  const QString path = QFileDialog::getSaveFileName(
      parent, caption,
      lastExportFolder().isEmpty() ? offered : QDir(lastExportFolder()).filePath(offered),
      pictureFileFilter(), &filter);
  if (path.isEmpty()) return;
  lastExportFolder() = QFileInfo(path).absolutePath();
  const ExportResult result = write(withPictureSuffix(path, filter));
  if (!result.ok) QMessageBox::warning(parent, caption, result.message);
}

}  // namespace vek1
