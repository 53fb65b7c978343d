#pragma once
// The "Tune Design" window: the user picks dimensions, bounds, goals and notches; Run searches
// on a copy of the set beside the running gear; the results stand before and after; Apply writes
// them into the set as ordinary changes, each undoable on its own.

#include <QDialog>
#include <functional>
#include <optional>

#include "tune_search.h"
#include "tune_worker.h"
#include "workspace.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace vek1 {

class TTuneDesign : public QDialog {
  Q_OBJECT

 public:
  explicit TTuneDesign(Workspace& ws, QWidget* parent = nullptr);

  // Called after Apply has changed the set, so the main window can place the reverse arm
  // against the new centre and redraw.
  void setAfterApply(std::function<void()> afterApply) { afterApply_ = std::move(afterApply); }

  // How the search runs (method, evaluations, where the figures come from); tests shorten it.
  void setSearchOptions(TuneSearchOptions options) { options_ = std::move(options); }

  // Handlers, public so that tests drive them as the buttons do.
  void FormActivate();
  void RunClick();
  void CancelClick();
  void ApplyClick();
  void AddDimClick();
  void RemoveDimClick();
  // Replaces the dimensions to vary with the four that move the front/rear cut-off difference
  // most within their bounds at the window's notches (the sensitivity table's offer).
  void MostSensitiveClick();
  void SetBoundsClick();
  void DefaultNotchesClick();

  // The settings the controls describe, or the reason they cannot be run.
  std::optional<TuneSettings> settingsFromControls(QString* problem) const;
  const std::optional<TuneResult>& result() const { return result_; }
  bool searching() const { return worker_.running(); }
  // Where the dimension rows come from: the suggested four, or the dimensions on the
  // dynamic-variable bars that move the valve (the suggested four when none does).
  enum class Rows { Suggested, Bars };
  void fillDimensions(Rows from);
  void SuggestedClick() { fillDimensions(Rows::Suggested); }
  void FromBarsClick() { fillDimensions(Rows::Bars); }
  // Brings the rows up to the working set after it changed (a file opened, an edit, an undo):
  // a row whose dimension moved gets bounds around its new value, the default notches of the
  // new set replace the old default ones, and a result found for the old set is withdrawn.
  // While the set is the one searched from, or the result applied to it, or that with some of
  // the applied changes undone, the result stands and the status says which of these it is.
  // Run does it first; a timer does it while the window stands.
  void followWorkingSet();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void addDimensionRow(int id, double percent);
  void showProgress(const TuneProgress& progress);
  void showResult(const TuneResult& result, const std::optional<TuneEventsTables>& tables);
  void setSearching(bool on);
  double boundsPercent() const;
  void setBounds(int row, const TuneVariable& v);
  void showNotches(const std::vector<double>& notches);
  // Of the applied changes, how many the working set still has and how many are undone; none
  // when the set is neither the searched one nor the result applied to it, in whole or part.
  struct AppliedState {
    int kept = 0;
    int undone = 0;
  };
  std::optional<AppliedState> appliedState() const;
  void withdrawResult();

  Workspace& ws_;
  TuneWorker worker_;
  std::optional<TuneResult> result_;
  std::optional<Workspace> searched_;  // the copy the last search ran on
  bool applied_ = false;               // the result has been written into the set
  std::optional<AppliedState> shownState_;
  std::function<void()> afterApply_;
  TuneSearchOptions options_;
  bool filled_ = false;
  // The default notches as shown, kept exact: the text shows thousandths, the ninths of
  // "Rev Arm to Cent Max" are not.
  std::vector<double> shownNotches_;
  QTimer* follow_ = nullptr;

  QTableWidget* dims_ = nullptr;
  QComboBox* addChoice_ = nullptr;
  QPushButton* add_ = nullptr;
  QPushButton* remove_ = nullptr;
  QPushButton* suggested_ = nullptr;
  QPushButton* fromBars_ = nullptr;
  QLabel* rowsText_ = nullptr;
  QPushButton* mostSensitive_ = nullptr;
  QLineEdit* bounds_ = nullptr;
  QPushButton* setBounds_ = nullptr;
  QCheckBox* equalCutOff_ = nullptr;
  QCheckBox* equalLead_ = nullptr;
  QCheckBox* constantLead_ = nullptr;
  QCheckBox* targetCutOff_ = nullptr;
  QLineEdit* targetPercent_ = nullptr;
  QCheckBox* symmetric_ = nullptr;
  QCheckBox* equalWork_ = nullptr;
  QLineEdit* notches_ = nullptr;
  QPushButton* defaultNotches_ = nullptr;
  QLineEdit* margin_ = nullptr;
  QCheckBox* limits_ = nullptr;
  QLineEdit* maxLead_ = nullptr;
  QLineEdit* cutOffRange_ = nullptr;
  QLineEdit* maxTravel_ = nullptr;
  QLabel* limitsText_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPushButton* close_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QTableWidget* before_ = nullptr;
  QTableWidget* after_ = nullptr;
};

}  // namespace vek1
