#include "compare_menu.h"

#include <QAction>
#include <QMenu>
#include <QMessageBox>
#include <QWidget>

#include "file_dialogs.h"
#include "reference_set.h"

namespace vek1 {

CompareMenu::CompareMenu(ReferenceSet& reference, QMenu* fileMenu, QAction* before,
                         QMenu* viewMenu, QWidget* parent)
    : QObject(parent), reference_(reference) {
  chooseFile = [parent] { return askOpenSetFile(parent, QStringLiteral("Compare With")); };
  workingFile = [] { return lastSetFile(); };
  reportError = [parent](const QString& title, const QString& message) {
    QMessageBox::warning(parent, title, message);
  };

  CompareWith = new QAction(QStringLiteral("Compare &With..."), this);
  CompareWith->setToolTip(QStringLiteral(
      "Read a saved set as the reference: the Valve Events window, the diagrams and the main "
      "view show it beside the working set, which it never changes"));
  CompareLastSaved = new QAction(QStringLiteral("Compare with &Last Saved"), this);
  CompareLastSaved->setToolTip(
      QStringLiteral("The working set's own file, as it was last opened or saved, as the reference"));
  CompareOff = new QAction(QStringLiteral("Compare: &Off"), this);
  ShowGhost = new QAction(QStringLiteral("Show Reference &Ghost"), this);
  ShowGhost->setCheckable(true);
  ShowGhost->setToolTip(
      QStringLiteral("Draw the reference gear faintly beneath the working set's, at the same "
                     "crank angle and notch"));
  fileMenu->insertAction(before, CompareWith);
  fileMenu->insertAction(before, CompareLastSaved);
  fileMenu->insertAction(before, CompareOff);
  fileMenu->insertSeparator(before);
  viewMenu->addAction(ShowGhost);

  connect(CompareWith, &QAction::triggered, this, &CompareMenu::CompareWithClick);
  connect(CompareLastSaved, &QAction::triggered, this, &CompareMenu::CompareLastSavedClick);
  connect(CompareOff, &QAction::triggered, this, &CompareMenu::CompareOffClick);
  connect(ShowGhost, &QAction::toggled, &reference_, &ReferenceSet::setGhostShown);
  connect(&reference_, &ReferenceSet::changed, this, &CompareMenu::refresh);
  refresh();
}

void CompareMenu::compareWith(const QString& path, const QString& title) {
  const DimensionFileResult result = reference_.load(path);
  if (!result.ok)
    reportError(title, QString::fromStdString(result.message) +
                           (reference_.active() ? QStringLiteral(" The reference is still %1.")
                                                      .arg(QString::fromStdString(reference_.name()))
                                                : QString()));
}

void CompareMenu::CompareWithClick() {
  const QString path = chooseFile();
  if (path.isEmpty()) return;
  compareWith(path, QStringLiteral("Compare With"));
}

void CompareMenu::CompareLastSavedClick() {
  const QString path = workingFile();
  if (path.isEmpty()) {
    reportError(QStringLiteral("Compare with Last Saved"),
                QStringLiteral("The working set has not been opened from a file or saved to one "
                               "in this run, so there is no saved copy to compare it with. Save "
                               "it first, or choose a file with Compare With."));
    return;
  }
  compareWith(path, QStringLiteral("Compare with Last Saved"));
}

void CompareMenu::CompareOffClick() {
  reference_.clear();
}

void CompareMenu::refresh() {
  const bool on = reference_.active();
  CompareOff->setEnabled(on);
  CompareOff->setText(on ? QStringLiteral("Compare: &Off (now with %1)")
                               .arg(QString::fromStdString(reference_.name()))
                         : QStringLiteral("Compare: &Off"));
  ShowGhost->setEnabled(on);
  const QSignalBlocker quiet(ShowGhost);
  ShowGhost->setChecked(reference_.ghostShown());
}

}  // namespace vek1
