#include <QFile>

#include "dimension_file.h"
#include "dynvar.h"
#include "file_dialogs.h"
#include "main_form.h"
#include "motion.h"

namespace vek1 {

void TMainForm::markSaved() {
  savedState_ = EncodeDimensionFile(ws_);
}

bool TMainForm::hasUnsavedChanges() const {
  // Everything a save would write counts: the dimensions, and the view, presets, positions and
  // drawn items the user may have set up with care.
  return EncodeDimensionFile(ws_) != savedState_;
}

bool TMainForm::settleUnsavedChanges() {
  if (!hasUnsavedChanges()) return true;
  switch (askToSave(QString::fromStdString(ws_.DimSetName))) {
    case UnsavedChoice::Save:
      SaveAsDimensionsClick();
      // A cancelled or failed save keeps the user where he was.
      return !hasUnsavedChanges();
    case UnsavedChoice::Discard:
      return true;
    case UnsavedChoice::Cancel:
      break;
  }
  return false;
}

void TMainForm::openSet(FileDialog kind,
                        DimensionFileResult (*read)(const std::string&, Workspace&)) {
  if (!settleUnsavedChanges()) return;
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
  const DimensionFileResult result = read(QFile::encodeName(path).toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
  rememberSetFile(path);
  // The set opened starts a history of its own: an older set's entry would write one of its
  // values into this one.
  UndoClear(ws_);
  motionStrip->showLoadedArm();
  markSaved();
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
  const DimensionFileResult result = WriteDimensionFile(QFile::encodeName(path).toStdString(), ws_);
  if (!result.ok) {
    reportError(QString::fromStdString(result.message));
    return;
  }
  ws_.DimSetName = DimSetNameFromPath(path.toStdString());
  rememberSetFile(path);
  markSaved();
}

}  // namespace vek1
