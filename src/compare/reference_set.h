#pragma once
// The reference: a set read from a file to compare the working set with, held apart from it and
// never written. The windows that show it (the Valve Events window, the diagrams, the main
// view's ghost) read it through here and redraw when it changes.
//
// Opening another working set keeps the reference: comparing a run of candidate designs with the
// one last good set is the common case, and a reference that vanished with every Open would have
// to be chosen again each time. "Compare: Off" ends it.

#include <QObject>
#include <QString>
#include <optional>
#include <string>

#include "dimension_file.h"
#include "workspace.h"

namespace vek1 {

class ReferenceSet : public QObject {
  Q_OBJECT
 public:
  explicit ReferenceSet(QObject* parent = nullptr) : QObject(parent) {}

  // Reads the set at `path` as the reference: an older ".ovk" file (by its extension, in any
  // case of letters) by the DOS reader over the factory set, any other as a native file. On
  // failure the message says why and the reference held before stays as it was.
  DimensionFileResult load(const QString& path);
  // No reference any more.
  void clear();

  bool active() const { return set_.has_value(); }
  // The reference set, or null when there is none.
  const Workspace* set() const { return set_ ? &*set_ : nullptr; }
  // The reference's name (its file's, as a working set is named) and path; empty without one.
  std::string name() const { return set_ ? set_->DimSetName : std::string(); }
  const QString& path() const { return path_; }

  // Counts the loads and clears (not the ghost's switch): a window that drew the reference of
  // one count need not draw again until it moves.
  unsigned revision() const { return revision_; }

  // Whether the main view draws the reference's ghost (only while there is a reference).
  bool ghostShown() const { return ghost_ && active(); }
  void setGhostShown(bool shown);
  // The set the main view draws faintly beneath the working one, or null.
  const Workspace* ghost() const { return ghostShown() ? set() : nullptr; }

 signals:
  // After every load, clear or ghost switch.
  void changed();

 private:
  std::optional<Workspace> set_;
  QString path_;
  bool ghost_ = false;
  unsigned revision_ = 0;
};

}  // namespace vek1
