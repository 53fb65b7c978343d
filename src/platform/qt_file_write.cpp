#include "qt_file_write.h"

#include <QFile>

#include "file_write.h"

namespace vek1 {

std::optional<QString> writeWholeFileAt(const QString& path, std::string_view bytes) {
  const FileWriteResult written = writeWholeFile(QFile::encodeName(path).toStdString(), bytes);
  if (written.ok) return std::nullopt;
  return QString::fromStdString(written.message);
}

}  // namespace vek1
