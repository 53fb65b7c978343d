#pragma once
// The "Valve Events" window: the valve events table of the working set, live. It is not modal,
// so the gear keeps running and the dimension dialogs and dynamic-variable bars stay usable
// beside it; it looks for a changed working set ten times a second and recomputes only then.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "events_compare.h"
#include "events_table.h"
#include "picture_export.h"
#include "valve_events.h"
#include "workspace.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vek1 {

class ReferenceSet;

class TValveEvents : public QWidget {
  Q_OBJECT
 public:
  explicit TValveEvents(const Workspace& ws, QWidget* parent = nullptr);
  // The set to compare with, when there is one: its rows and the differences stand under each
  // notch, and the CSV is the comparison's. The table follows it as it is loaded or cleared.
  void setReference(const ReferenceSet* reference);

  // How often the window looks for a change of the working set.
  static constexpr int kPollMs = 100;

  // Looks at the working set and recomputes if it changed since the last table (or the notches
  // did). Returns whether it recomputed. The timer runs it while the window is shown.
  bool poll();
  // Writes the whole table as CSV, adding ".csv" to a path without it; false, with a message,
  // when the file cannot be written.
  bool saveCsv(const QString& path, QString* message = nullptr);
  // The table as a picture (PNG, SVG or PDF by the extension), as it is shown now.
  ExportResult exportTo(const QString& path) const;

  const ValveEventsTable& table() const { return table_; }
  // Both sets and their differences while comparing, else null.
  const ComparedEvents* compared() const { return compared_ ? &*compared_ : nullptr; }
  const EventsTableView& view() const { return view_; }
  int recomputeCount() const { return recomputes_; }

  // Controls, by role.
  QLineEdit* NotchesEdit = nullptr;
  QDoubleSpinBox* StrokeTolerance = nullptr;
  QDoubleSpinBox* LeadTolerance = nullptr;
  QPushButton* CopyButton = nullptr;
  QPushButton* SaveCsvButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QTableWidget* Table = nullptr;
  QLabel* SetLabel = nullptr;
  // Beside the notches: why the text typed is not a list, or which notches the reverse arm
  // cannot reach; hidden when there is nothing to say.
  QLabel* NotchesProblem = nullptr;

  void CopyClick();
  void SaveCsvClick();
  void ExportClick();
  void PrintClick();
  void NotchesEditExit();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  PictureInfo pictureInfo() const;
  // The set's name, and the reference's while comparing, as the picture's title names them.
  std::string titleName() const;
  void recompute();
  void refreshTable();
  void fitHeightToRows();
  void showNotchProblems();

  const Workspace& ws_;
  QTimer* timer_ = nullptr;
  std::optional<WorkingSetFingerprint> last_;
  bool useDefaultNotches_ = true;
  std::vector<double> offsets_;
  std::string notchesText_ = "default";
  QString notchesTextProblem_;
  ValveEventsTable table_;
  const ReferenceSet* reference_ = nullptr;
  unsigned referenceRevision_ = 0;
  std::optional<ComparedEvents> compared_;
  EventsTableView view_;
  int recomputes_ = 0;
  bool sized_ = false;
};

}  // namespace vek1
