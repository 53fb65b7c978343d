// The main window's picture out: File > ExportPicture and File > Print.
#include "export_dialog.h"
#include "main_form.h"
#include "picture_print.h"

namespace vek1 {

void TMainForm::drawShownFrame(Canvas& canvas) const {
  Surface->drawShownFrame(canvas, PictureCaption && PictureCaption->isChecked(),
                          ghostSet ? ghostSet() : nullptr);
}

QString TMainForm::pictureTitle() const {
  return QString::fromStdString(TitleWithoutClock(windowTitle().toStdString(), ws_.DimSetName));
}

QSize TMainForm::shownFrameSize() const {
  return Surface->shownFrameSize();
}

ExportResult TMainForm::exportPictureTo(const QString& path) const {
  return Surface->exportShownFrame(path, pictureTitle(),
                                   PictureCaption && PictureCaption->isChecked(),
                                   ghostSet ? ghostSet() : nullptr);
}

void TMainForm::ExportPictureClick() {
  exportPictureAsked(this, QStringLiteral("Export Picture"), pictureTitle(),
                     [this](const QString& path) { return exportPictureTo(path); });
}

void TMainForm::Print1Click() {
  const QSize shown = shownFrameSize();
  const PictureInfo info{{shown.width(), shown.height()}, pictureTitle()};
  printPictureAsked(this, info, [this](Canvas& canvas) { drawShownFrame(canvas); });
}

}  // namespace vek1
