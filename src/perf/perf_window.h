#pragma once
// The "Engine Performance" window: the engine settings kept with the set, the indicator cards of
// chosen notches, the table of figures and the curves of power and tractive effort, drawn as one
// picture that exports, prints and copies like every other. It is not modal and sits beside the
// running gear: ten times a second it looks for a changed set or settings and, when it finds
// one, recomputes on a copy of the set on a worker thread, so the animation keeps its pace while
// a dimension is nudged; the picture follows as soon as the new figures are in.

#include <QWidget>
#include <future>
#include <optional>
#include <string>
#include <vector>

#include "events_table.h"
#include "perf_page.h"
#include "picture_export.h"
#include "workspace.h"

class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QTimer;

namespace vek1 {

class PictureView;

class TEnginePerformance : public QWidget {
  Q_OBJECT
 public:
  explicit TEnginePerformance(Workspace& ws, QWidget* parent = nullptr);
  ~TEnginePerformance() override;

  static constexpr int kPollMs = 100;

  // Starts a computation if the set or the settings changed since the last one and none is
  // running; takes in a finished one. Returns whether the picture changed.
  bool poll();
  // Waits for a running computation and takes it in (tests, and before a save or an export).
  void finish();
  bool computing() const { return running_.valid(); }

  bool saveCsv(const QString& path, QString* message = nullptr);
  ExportResult exportTo(const QString& path) const;
  const PerformancePage& page() const { return page_; }
  const std::vector<double>& notches() const { return notches_; }
  const std::vector<double>& cardNotches() const { return cardNotches_; }

  QDoubleSpinBox* ChestPressure = nullptr;
  QDoubleSpinBox* BackPressure = nullptr;
  QDoubleSpinBox* Superheat = nullptr;
  QDoubleSpinBox* FrontClearance = nullptr;
  QDoubleSpinBox* RearClearance = nullptr;
  QDoubleSpinBox* PortLength = nullptr;
  QDoubleSpinBox* Speed = nullptr;
  QSpinBox* Cylinders = nullptr;
  QDoubleSpinBox* Discharge = nullptr;
  QLabel* RailSpeed = nullptr;
  QLabel* Status = nullptr;
  QLineEdit* NotchesEdit = nullptr;
  QLineEdit* CardsEdit = nullptr;
  QPushButton* SaveCsvButton = nullptr;
  QPushButton* ExportButton = nullptr;
  QPushButton* PrintButton = nullptr;
  QPushButton* CopyButton = nullptr;

  void NotchesEditExit();
  void CardsEditExit();
  void SaveCsvClick();
  void ExportClick();
  void PrintClick();
  void CopyClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  // The most notches the table takes, and the most cards drawn.
  static constexpr size_t kMostNotches = 40;
  static constexpr size_t kMostCards = 6;
  void settingsEdited();
  void showSettings();
  void takeResult();
  PictureInfo pictureInfo() const;

  Workspace& ws_;
  QTimer* timer_ = nullptr;
  PictureView* picture_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  std::optional<WorkingSetFingerprint> last_;
  EngineSettings lastSettings_;
  EngineSettings shownSettings_;  // what the boxes show
  std::vector<double> lastNotches_, lastCards_;
  bool defaultNotches_ = true, defaultCards_ = true;
  std::string notchesText_ = "default", cardsText_ = "default";
  std::vector<double> notches_, cardNotches_;
  std::future<PerformancePage> running_;
  PerformancePage page_;
};

}  // namespace vek1
