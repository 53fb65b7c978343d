#include "export_dialog.h"

#include <QFileDialog>
#include <QMessageBox>

#include "file_dialogs.h"

namespace vek1 {

void exportPictureAsked(QWidget* parent, const QString& caption, const QString& name,
                        const WritePicture& write) {
  QString filter;
  // The name is offered as a PNG beside the set, as every file dialog offers its names; the
  // filter chosen or the extension typed decides the format.
  const QString path = QFileDialog::getSaveFileName(
      parent, caption, offeredFilePath(name, QStringLiteral("png")), pictureFileFilter(), &filter);
  if (path.isEmpty()) return;
  const ExportResult result = write(withPictureSuffix(path, filter));
  if (result.ok)
    rememberWrittenFile(path);
  else
    QMessageBox::warning(parent, caption, result.message);
}

}  // namespace vek1
