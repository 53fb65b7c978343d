#include "csv_save.h"

#include <QMessageBox>

#include "file_dialogs.h"
#include "qt_file_write.h"

namespace vek1 {

std::optional<QString> writeCsvFile(const QString& typed, std::string_view csv) {
  const QString path = withExtension(typed, QStringLiteral("csv"));
  const std::optional<QString> failed = writeWholeFileAt(path, csv);
  if (!failed) rememberWrittenFile(path);
  return failed;
}

void saveCsvAsked(QWidget* parent, const QString& title,
                  const std::function<bool(const QString& path, QString* message)>& write) {
  const QString path = askSaveFile(parent, QStringLiteral("Save as CSV"), title,
                                   QStringLiteral("CSV files"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  QString message;
  if (!write(path, &message)) QMessageBox::warning(parent, QStringLiteral("Save as CSV"), message);
}

}  // namespace vek1
