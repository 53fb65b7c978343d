#include "dimension_file.h"
#include "main_form.h"
#include "motion.h"

namespace vek1 {

void TMainForm::afterLoad() {
  SyncRevArmRange();
  SBRevArm->setValue(ReverseArmBarPosition(ws_, ws_.ReverseArmPos));
  // The loaded centre may differ from the old one even at bar position 0.
  SBRevArmChange(SBRevArm->value());
}

void TMainForm::openSet(FileDialog kind,
                        DimensionFileResult (*read)(const std::string&, Workspace&)) {
  const QString path = chooseFile(kind);
  // The lines dialog shows the items as they now are, whatever became of the open.
  struct Refill {
    TMainForm& form;
    bool native;
    ~Refill() {
      if (native && form.linesDataClick_) form.linesDataClick_();
    }
  } refill{*this, kind == FileDialog::OpenNative};
  if (path.isEmpty()) return;
  const DimensionFileResult result = read(path.toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
  afterLoad();
}

void TMainForm::OpenDimensionsClick() {
  openSet(FileDialog::OpenNative, &ReadDimensionFile);
}

void TMainForm::OpenDosDimensionsClick() {
  openSet(FileDialog::OpenDos, &ReadDosDimensionFile);
}

void TMainForm::SaveAsDimensionsClick() {
  const QString path = chooseFile(FileDialog::Save);
  if (path.isEmpty()) return;
  const DimensionFileResult result = WriteDimensionFile(path.toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
}

}  // namespace vek1
