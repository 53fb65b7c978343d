#pragma once
// The "Sensitivity" window: for one notch at a time, how much each dimension moves each valve
// event, ranked by the event the user picks ("what moves the rear cut-off at +0.8 most"). It is
// not modal; it looks for a changed working set ten times a second and recomputes only then.

#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "events_table.h"
#include "picture_export.h"
#include "sensitivity.h"
#include "sensitivity_view.h"
#include "workspace.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QTimer;

namespace vek1 {

class PictureView;

class TSensitivity : public QWidget {
  Q_OBJECT
 public:
  explicit TSensitivity(const Workspace& ws, QWidget* parent = nullptr);

  static constexpr int kPollMs = 100;

  // Recomputes the shown notch if the working set changed since; returns whether it did.
  bool poll();
  // Every notch of the list as CSV (vek1-cli sensitivity --format csv); false, with a message,
  // when the file cannot be written.
  bool saveCsv(const QString& path, QString* message = nullptr);
  ExportResult exportTo(const QString& path) const;

  const SensitivityNotch& shown() const { return shown_; }
  const StudyTable& view() const { return view_; }
  const std::vector<double>& notches() const { return offsets_; }

  QLineEdit* NotchesEdit = nullptr;
  QComboBox* NotchBox = nullptr;
  QComboBox* FigureBox = nullptr;
  QCheckBox* PerPercentBox = nullptr;
  QPushButton* SaveCsvButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* PrintButton = nullptr;

  void NotchesEditExit();
  void SaveCsvClick();
  void ExportClick();
  void PrintClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fillNotchBox();
  void recompute();
  void refreshView();
  PictureInfo pictureInfo() const;

  const Workspace& ws_;
  QTimer* timer_ = nullptr;
  PictureView* picture_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  std::optional<WorkingSetFingerprint> last_;
  bool useDefaultNotches_ = true;
  std::vector<double> offsets_;
  std::string notchesText_ = "default";
  SensitivityNotch shown_;
  StudyTable view_;
};

}  // namespace vek1
