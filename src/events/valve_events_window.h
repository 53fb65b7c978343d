#pragma once
// The "Valve Events" window: the valve events table of the working set, live. It is not modal,
// so the gear keeps running and the dimension dialogs and dynamic-variable bars stay usable
// beside it; it looks for a changed working set ten times a second and recomputes only then.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "events_table.h"
#include "valve_events.h"
#include "workspace.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vek1 {

class TValveEvents : public QWidget {
  Q_OBJECT
 public:
  explicit TValveEvents(Workspace& ws, QWidget* parent = nullptr);

  // How often the window looks for a change of the working set.
  static constexpr int kPollMs = 100;

  // Looks at the working set and recomputes if it changed since the last table (or the notches
  // did). Returns whether it recomputed. The timer runs it while the window is shown.
  bool poll();
  // Writes the whole table as CSV; false, with a message, when the file cannot be written.
  bool saveCsv(const QString& path, QString* message = nullptr);

  const ValveEventsTable& table() const { return table_; }
  const EventsTableView& view() const { return view_; }
  int recomputeCount() const { return recomputes_; }

  // Controls, by role.
  QLineEdit* NotchesEdit = nullptr;
  QDoubleSpinBox* StrokeTolerance = nullptr;
  QDoubleSpinBox* LeadTolerance = nullptr;
  QPushButton* CopyButton = nullptr;
  QPushButton* SaveCsvButton = nullptr;
  QTableWidget* Table = nullptr;
  QLabel* SetLabel = nullptr;

  void CopyClick();
  void SaveCsvClick();
  void NotchesEditExit();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void recompute();
  void refreshTable();

  Workspace& ws_;
  QTimer* timer_ = nullptr;
  std::optional<WorkingSetFingerprint> last_;
  bool useDefaultNotches_ = true;
  std::vector<double> offsets_;
  std::string notchesText_ = "default";
  ValveEventsTable table_;
  EventsTableView view_;
  int recomputes_ = 0;
  bool sized_ = false;
};

}  // namespace vek1
