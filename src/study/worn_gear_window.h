#pragma once
// The "Worn Gear" window: what the play in the pin joints does to the valve events at each notch,
// as bands on the events and a bar chart of the joints' shares. The clearances are the user's
// for this session: the dimension file has no place for them yet. Not modal; it looks for a
// changed working set ten times a second and recomputes only then.

#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "events_table.h"
#include "picture_export.h"
#include "workspace.h"
#include "worn_gear.h"

class QComboBox;
class QDoubleSpinBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vek1 {

class PictureView;

class TWornGear : public QWidget {
  Q_OBJECT
 public:
  explicit TWornGear(Workspace& ws, QWidget* parent = nullptr);

  static constexpr int kPollMs = 100;

  // Recomputes if the working set or a clearance changed since; returns whether it did.
  bool poll();
  bool saveCsv(const QString& path, QString* message = nullptr);
  ExportResult exportTo(const QString& path) const;

  const WearStudy& study() const { return study_; }
  Clearances clearances() const;

  QLineEdit* NotchesEdit = nullptr;
  QDoubleSpinBox* AllClearance = nullptr;
  std::array<QDoubleSpinBox*, kWearJointCount> JointClearance{};
  QComboBox* ShareNotchBox = nullptr;
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
  void recompute();
  void refreshPicture();
  void fillShareNotchBox();
  PictureInfo pictureInfo() const;
  void draw(Canvas& canvas) const;

  Workspace& ws_;
  QTimer* timer_ = nullptr;
  PictureView* picture_ = nullptr;
  std::optional<WorkingSetFingerprint> last_;
  std::optional<Clearances> lastClearances_;
  // The set's clearances as the boxes show them.
  std::array<float, kJointClearanceCount> shownSetClearances_{};
  void showSetClearances();
  bool useDefaultNotches_ = true;
  std::vector<double> offsets_;
  std::string notchesText_ = "default";
  WearStudy study_;
};

}  // namespace vek1
