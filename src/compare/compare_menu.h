#pragma once
// The menu items that start and end a comparison: File > "Compare With..." (any saved set),
// "Compare with Last Saved" (the working set's own file as it was last opened or saved) and
// "Compare: Off", and the main view's switch for the reference's ghost. They act on the
// reference holder only: the working set is never read from or written to here.

#include <QObject>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace vek1 {

class ReferenceSet;

class CompareMenu : public QObject {
  Q_OBJECT
 public:
  // Puts the three compare items into `fileMenu` before `before` (at the end when null), and the
  // ghost's switch at the end of `viewMenu`.
  CompareMenu(ReferenceSet& reference, QMenu* fileMenu, QAction* before, QMenu* viewMenu,
              QWidget* parent);

  QAction* CompareWith = nullptr;
  QAction* CompareLastSaved = nullptr;
  QAction* CompareOff = nullptr;
  QAction* ShowGhost = nullptr;

  // How a path is asked for, what the working set's own file is, and how a failure is told:
  // a file dialog, the set file last opened or saved, a message box; tests put their own.
  std::function<QString()> chooseFile;
  std::function<QString()> workingFile;
  std::function<void(const QString& title, const QString& message)> reportError;

  void CompareWithClick();
  void CompareLastSavedClick();
  void CompareOffClick();

 private:
  void compareWith(const QString& path, const QString& title);
  // The items' texts and states follow the reference.
  void refresh();
  ReferenceSet& reference_;
};

}  // namespace vek1
