#include "reference_set.h"

#include <QFile>

#include "dimensions.h"

namespace vek1 {

DimensionFileResult ReferenceSet::load(const QString& path) {
  if (path.isEmpty()) return {false, "No file was named to compare with."};
  // A DOS file holds only the first records: the rest come from the factory set, as when such a
  // file is opened as the working set.
  Workspace read;
  StartUp(read);
  const std::string file = QFile::encodeName(path).toStdString();
  const DimensionFileResult result = path.endsWith(QStringLiteral(".ovk"), Qt::CaseInsensitive)
                                         ? ReadDosDimensionFile(file, read)
                                         : ReadDimensionFile(file, read);
  if (!result.ok) return result;
  read.DimSetName = DimSetNameFromPath(path.toStdString());
  set_ = std::move(read);
  path_ = path;
  ++revision_;
  emit changed();
  return result;
}

void ReferenceSet::clear() {
  if (!set_) return;
  set_.reset();
  path_.clear();
  ++revision_;
  emit changed();
}

void ReferenceSet::setGhostShown(bool shown) {
  if (ghost_ == shown) return;
  ghost_ = shown;
  emit changed();
}

}  // namespace vek1
