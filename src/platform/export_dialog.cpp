#include "export_dialog.h"

#include <QFileDialog>
#include <QMessageBox>

#include "picture_print.h"

namespace vek1 {

void exportPictureAsked(QWidget* parent, const QString& caption, const QString& name,
                        const WritePicture& write) {
  QString filter;
  // The name is offered as a PNG in the current folder; the filter chosen or the extension typed
  // decides the format.
  const QString path = QFileDialog::getSaveFileName(parent, caption,
                                                    printDocumentName(name) + ".png",
                                                    pictureFileFilter(), &filter);
  if (path.isEmpty()) return;
  const ExportResult result = write(withPictureSuffix(path, filter));
  if (!result.ok) QMessageBox::warning(parent, caption, result.message);
}

}  // namespace vek1
