#include "file_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "picture_print.h"

namespace vek1 {

namespace {
// Kept for this run only: the next run starts where its first set is opened.
QString& lastSetFolder() {
  static QString folder;
  return folder;
}
QString& lastSetPath() {
  static QString path;
  return path;
}
QString& lastWrittenFolder() {
  static QString folder;
  return folder;
}
}  // namespace

QString setFolder() {
  if (!lastSetFolder().isEmpty()) return lastSetFolder();
  if (!lastWrittenFolder().isEmpty()) return lastWrittenFolder();
  return QDir::homePath();
}

void rememberSetFile(const QString& path) {
  if (path.isEmpty()) return;
  lastSetFolder() = QFileInfo(path).absolutePath();
  lastSetPath() = QFileInfo(path).absoluteFilePath();
}

QString lastSetFile() {
  return lastSetPath();
}

void rememberWrittenFile(const QString& path) {
  if (!path.isEmpty()) lastWrittenFolder() = QFileInfo(path).absolutePath();
}

QString withExtension(const QString& path, const QString& extension) {
  if (path.isEmpty()) return path;
  const QString dotted = QLatin1Char('.') + extension;
  if (path.endsWith(dotted, Qt::CaseInsensitive)) return path;
  return path + dotted;
}

QString offeredFilePath(const QString& title, const QString& extension) {
  return QDir(setFolder()).filePath(withExtension(printDocumentName(title), extension));
}

QString askSaveFile(QWidget* parent, const QString& caption, const QString& title,
                    const QString& kind, const QString& extension) {
  const QString path = QFileDialog::getSaveFileName(
      parent, caption, offeredFilePath(title, extension),
      QStringLiteral("%1 (*.%2);;All files (*)").arg(kind, extension));
  return withExtension(path, extension);
}

QString askOpenSetFile(QWidget* parent, const QString& caption) {
  return QFileDialog::getOpenFileName(
      parent, caption, setFolder(),
      QStringLiteral("Dimension sets (*.dve *.ovk);;Data File (*.dve);;Older Data File (*.ovk);;"
                     "All files (*)"));
}

}  // namespace vek1
