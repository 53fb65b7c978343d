#include "tune_window.h"

#include <QBrush>
#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "dimensions.h"
#include "events_table.h"
#include "events_table_widget.h"
#include "numbers.h"
#include "sensitivity.h"
#include "tune_figures.h"
#include "valve_events.h"

namespace vek1 {

namespace {

enum DimColumn {
  ColName,
  ColLower,
  ColUpper,
  ColBefore,
  ColAfter,
  ColChange,
  ColChangePercent,
  ColAtBound,
  kDimColumns
};
constexpr int kIdRole = Qt::UserRole;         // on the name: the dimension id
constexpr int kStartRole = Qt::UserRole + 1;  // on the name: the value the bounds were made for
constexpr int kExactRole = Qt::UserRole + 2;  // on a bound: its value, exact

// A bound as the search takes it: exact while its text is the one shown for it, else as typed.
float boundValue(const QTableWidgetItem* item) {
  const float exact = item->data(kExactRole).toFloat();
  if (item->text() == QString::fromStdString(fixedText(exact, 0, 4))) return exact;
  return toSingle(parseNumber(item->text().toStdString()));
}

// A limit typed into its field: empty (or "off") keeps its default.
std::optional<double> limitField(const QLineEdit* field, bool* bad) {
  const QString text = field->text().trimmed();
  if (text.isEmpty() || text == "off") return std::nullopt;
  const std::optional<double> x = parseNumberStrict(text.toStdString());
  if (!x) *bad = true;
  return x;
}

QString number(double x, int decimals) {
  return QString::fromStdString(fixedText(x, 0, decimals));
}

QTableWidgetItem* readOnly(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

// The valve events tables of the set before and after, as the Valve Events window shows them.
QTableWidget* eventsTable(const QString& name) {
  auto* table = new QTableWidget(0, 0);
  table->setObjectName(name);
  table->verticalHeader()->setVisible(false);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  return table;
}

// The undo of one change reloads every dimension on the bars through a step up and back, which
// may leave it one rounding away from where it was: that is still the same value to the user.
bool sameValue(float a, float b) {
  return std::fabs(a - b) <=
         4.0f * std::numeric_limits<float>::epsilon() * std::max(1.0f, std::fabs(b));
}

QString notchListText(const std::vector<double>& notches) {
  QStringList parts;
  for (double x : notches) parts << QString::fromStdString(fixedText(x, 0, 3));
  return parts.join(',');
}

}  // namespace

TTuneDesign::TTuneDesign(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setWindowTitle("Tune Design");
  // Not modal: the gear runs, and the bars and dimension dialogs stay usable, while it searches.
  setModal(false);

  dims_ = new QTableWidget(0, kDimColumns, this);
  dims_->setObjectName("TuneDims");
  dims_->setHorizontalHeaderLabels(
      {"Dimension", "Lower", "Upper", "Start", "Tuned", "Change", "Change %", "At bound"});
  dims_->verticalHeader()->setVisible(false);
  dims_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  dims_->setSelectionBehavior(QAbstractItemView::SelectRows);
  addChoice_ = new QComboBox(this);
  addChoice_->setObjectName("AddChoice");
  for (int id = 1; id <= 122; ++id)
    if (isEditableDimensionId(id) && !isDrawingOnlyDimension(id))
      addChoice_->addItem(QString::fromStdString(std::string(dimensionLabel(id))), id);
  add_ = new QPushButton("Add", this);
  remove_ = new QPushButton("Remove", this);
  suggested_ = new QPushButton("Suggested four", this);
  suggested_->setObjectName("Suggested");
  suggested_->setToolTip(
      "Vary the four valve-gear dimensions that bring the cut-offs together "
      "on most gears");
  fromBars_ = new QPushButton("From the bars", this);
  fromBars_->setObjectName("FromBars");
  fromBars_->setToolTip(
      "Vary the dimensions on the dynamic-variable bars, leaving out those "
      "that only the drawing uses");
  rowsText_ = new QLabel(this);
  rowsText_->setObjectName("RowsText");
  rowsText_->setWordWrap(true);
  mostSensitive_ = new QPushButton("Most sensitive", this);
  mostSensitive_->setObjectName("MostSensitive");
  mostSensitive_->setToolTip(
      "Vary the four dimensions that move the front/rear cut-off difference most within their "
      "bounds at these notches");
  bounds_ = new QLineEdit(QString::number(kDefaultBoundsPercent), this);
  bounds_->setObjectName("BoundsPercent");
  setBounds_ = new QPushButton("Set bounds", this);
  setBounds_->setObjectName("SetBounds");

  equalCutOff_ = new QCheckBox("Equal front and rear cut-off", this);
  equalCutOff_->setChecked(true);
  equalLead_ = new QCheckBox("Equal front and rear lead", this);
  constantLead_ = new QCheckBox("Constant lead over the notches", this);
  targetCutOff_ = new QCheckBox("Cut-off at full forward gear, %", this);
  targetPercent_ = new QLineEdit("75", this);
  targetPercent_->setObjectName("TargetPercent");
  symmetric_ = new QCheckBox("Forward and reverse alike", this);
  equalWork_ = new QCheckBox("Equal front and rear work (engine settings)", this);
  equalWork_->setToolTip(
      "Front and rear indicated work alike within 1 % at each notch, at the speed, pressures and "
      "clearances of the Engine Performance window");
  notches_ = new QLineEdit(this);
  notches_->setObjectName("Notches");
  defaultNotches_ = new QPushButton("Default", this);
  margin_ = new QLineEdit(QString::number(kDefaultClosureMargin), this);
  margin_->setObjectName("ClosureMargin");
  limits_ = new QCheckBox("Design limits", this);
  limits_->setObjectName("Limits");
  limits_->setChecked(true);
  maxLead_ = new QLineEdit(this);
  maxLead_->setObjectName("MaxLead");
  maxLead_->setPlaceholderText("the start's, or a quarter of the port");
  cutOffRange_ = new QLineEdit(QString::number(kDefaultCutOffRangePoints), this);
  cutOffRange_->setObjectName("CutOffRange");
  maxTravel_ = new QLineEdit(QString::number(kDefaultMaxTravelPercent), this);
  maxTravel_->setObjectName("MaxTravel");
  limitsText_ = new QLabel(this);
  limitsText_->setObjectName("LimitsText");
  limitsText_->setWordWrap(true);

  run_ = new QPushButton("Run", this);
  cancel_ = new QPushButton("Cancel", this);
  apply_ = new QPushButton("Apply", this);
  close_ = new QPushButton("Close", this);
  for (QPushButton* b : {run_, cancel_, apply_, close_}) b->setObjectName(b->text());
  // Nothing to apply until a search has found a better set.
  apply_->setEnabled(false);
  progress_ = new QProgressBar(this);
  status_ = new QLabel(this);
  status_->setObjectName("Status");
  status_->setWordWrap(true);
  before_ = eventsTable("Before");
  after_ = eventsTable("After");

  auto* dimBox = new QGroupBox("Dimensions to vary", this);
  auto* dimLayout = new QGridLayout(dimBox);
  dimLayout->addWidget(dims_, 0, 0, 1, 5);
  dimLayout->addWidget(addChoice_, 1, 0);
  dimLayout->addWidget(add_, 1, 1);
  dimLayout->addWidget(remove_, 1, 2);
  dimLayout->addWidget(new QLabel("Bounds +- %", dimBox), 1, 3);
  auto* boundsRow = new QHBoxLayout;
  boundsRow->addWidget(bounds_);
  boundsRow->addWidget(setBounds_);
  dimLayout->addLayout(boundsRow, 1, 4);
  auto* sourceRow = new QHBoxLayout;
  sourceRow->addWidget(suggested_);
  sourceRow->addWidget(fromBars_);
  sourceRow->addWidget(mostSensitive_);
  sourceRow->addWidget(rowsText_, 1);
  dimLayout->addLayout(sourceRow, 2, 0, 1, 5);

  auto* goalBox = new QGroupBox("Goals", this);
  auto* goalLayout = new QGridLayout(goalBox);
  goalLayout->addWidget(equalCutOff_, 0, 0, 1, 2);
  goalLayout->addWidget(equalLead_, 1, 0, 1, 2);
  goalLayout->addWidget(constantLead_, 2, 0, 1, 2);
  goalLayout->addWidget(targetCutOff_, 3, 0);
  goalLayout->addWidget(targetPercent_, 3, 1);
  goalLayout->addWidget(symmetric_, 4, 0, 1, 2);
  goalLayout->addWidget(equalWork_, 5, 0, 1, 2);
  goalLayout->addWidget(new QLabel("Notches (offsets from the centre)", goalBox), 6, 0, 1, 2);
  goalLayout->addWidget(notches_, 7, 0);
  goalLayout->addWidget(defaultNotches_, 7, 1);
  goalLayout->addWidget(new QLabel("Closure margin at least, degrees", goalBox), 8, 0);
  goalLayout->addWidget(margin_, 8, 1);
  goalLayout->addWidget(limits_, 9, 0, 1, 2);
  goalLayout->addWidget(new QLabel("Largest lead, units (empty: default)", goalBox), 10, 0);
  goalLayout->addWidget(maxLead_, 10, 1);
  goalLayout->addWidget(new QLabel("Cut-off range kept, points (empty: off)", goalBox), 11, 0);
  goalLayout->addWidget(cutOffRange_, 11, 1);
  goalLayout->addWidget(new QLabel("Valve travel at most, % above (empty: off)", goalBox), 12, 0);
  goalLayout->addWidget(maxTravel_, 12, 1);

  auto* top = new QHBoxLayout;
  top->addWidget(dimBox, 3);
  top->addWidget(goalBox, 2);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {run_, cancel_, apply_, close_}) buttons->addWidget(b);
  buttons->addWidget(progress_, 1);
  auto* tables = new QVBoxLayout;
  auto* beforeBox = new QGroupBox("Before", this);
  (new QVBoxLayout(beforeBox))->addWidget(before_);
  auto* afterBox = new QGroupBox("After", this);
  (new QVBoxLayout(afterBox))->addWidget(after_);
  tables->addWidget(beforeBox);
  tables->addWidget(afterBox);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
  layout->addWidget(status_);
  layout->addWidget(limitsText_);
  layout->addLayout(tables, 1);
  resize(1000, 640);

  connect(run_, &QPushButton::clicked, this, &TTuneDesign::RunClick);
  connect(cancel_, &QPushButton::clicked, this, &TTuneDesign::CancelClick);
  connect(apply_, &QPushButton::clicked, this, &TTuneDesign::ApplyClick);
  connect(close_, &QPushButton::clicked, this, &QDialog::close);
  connect(add_, &QPushButton::clicked, this, &TTuneDesign::AddDimClick);
  connect(remove_, &QPushButton::clicked, this, &TTuneDesign::RemoveDimClick);
  connect(suggested_, &QPushButton::clicked, this, &TTuneDesign::SuggestedClick);
  connect(fromBars_, &QPushButton::clicked, this, &TTuneDesign::FromBarsClick);
  connect(mostSensitive_, &QPushButton::clicked, this, &TTuneDesign::MostSensitiveClick);
  connect(setBounds_, &QPushButton::clicked, this, &TTuneDesign::SetBoundsClick);
  connect(defaultNotches_, &QPushButton::clicked, this, &TTuneDesign::DefaultNotchesClick);
  connect(&worker_, &TuneWorker::progressed, this, &TTuneDesign::showProgress);
  connect(&worker_, &TuneWorker::finished, this, &TTuneDesign::showResult);
  follow_ = new QTimer(this);
  follow_->setInterval(500);
  connect(follow_, &QTimer::timeout, this, [this] {
    if (isVisible()) followWorkingSet();
  });
  follow_->start();
  setSearching(false);
}

void TTuneDesign::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormActivate();
}

void TTuneDesign::closeEvent(QCloseEvent* event) {
  // A search left running would only use the processor; closing stops it, changing nothing.
  worker_.cancel();
  QDialog::closeEvent(event);
}

void TTuneDesign::FormActivate() {
  // The first opening takes the suggested four, not whatever the user happened to click last
  // (the bars fill from any field entered); later openings keep what the user chose here.
  if (!filled_) {
    fillDimensions(Rows::Suggested);
    DefaultNotchesClick();
    filled_ = true;
  }
  followWorkingSet();
}

std::optional<TTuneDesign::AppliedState> TTuneDesign::appliedState() const {
  if (!result_ || !searched_) return std::nullopt;
  const std::vector<TuneVariable>& vary = result_->Settings.Vary;
  AppliedState state;
  for (int id = 1; id <= 122; ++id) {
    if (!isDimensionId(id)) continue;
    const float now = dimensionValue(ws_, id);
    const auto v =
        std::find_if(vary.begin(), vary.end(), [id](const TuneVariable& t) { return t.Id == id; });
    const std::size_t i = static_cast<std::size_t>(v - vary.begin());
    if (v == vary.end() || i >= result_->Values.size() ||
        result_->Values[i] == dimensionValue(*searched_, id)) {
      if (!sameValue(now, dimensionValue(*searched_, id))) return std::nullopt;
    } else if (sameValue(now, result_->Values[i])) {
      ++state.kept;
    } else if (sameValue(now, dimensionValue(*searched_, id))) {
      ++state.undone;
    } else {
      return std::nullopt;
    }
  }
  return state;
}

void TTuneDesign::withdrawResult() {
  result_.reset();
  searched_.reset();
  applied_ = false;
  shownState_.reset();
  apply_->setEnabled(false);
  after_->setRowCount(0);
  for (int r = 0; r < dims_->rowCount(); ++r) {
    const int id = dims_->item(r, ColName)->data(kIdRole).toInt();
    dims_->item(r, ColBefore)->setText(number(dimensionValue(ws_, id), 4));
    for (int c = ColAfter; c < kDimColumns; ++c) dims_->item(r, c)->setText(QString());
  }
}

void TTuneDesign::followWorkingSet() {
  if (!filled_ || worker_.running()) return;
  if (result_ && searched_) {
    const std::optional<AppliedState> state = appliedState();
    if (!state) {
      withdrawResult();
      status_->setText("The set has changed since the search: its result is withdrawn");
    } else {
      // The set is the one searched from (Apply may write the result, again after an undo),
      // or the result applied to it with some of its changes undone.
      apply_->setEnabled(result_->improves() && state->kept == 0);
      if (applied_ && (!shownState_ || shownState_->undone != state->undone)) {
        if (state->kept == 0)
          status_->setText(
              "Applied changes undone: the set is again the one searched from "
              "(Start); Apply writes the tuned values once more");
        else if (state->undone > 0)
          status_->setText(QString("Applied: %1 of %2 changed dimension(s) undone")
                               .arg(state->undone)
                               .arg(state->kept + state->undone));
        else
          status_->setText(QString("Applied: %1 dimension(s) changed, each undoable on its own")
                               .arg(state->kept));
      }
      shownState_ = state;
    }
  }
  for (int r = 0; r < dims_->rowCount(); ++r) {
    const QTableWidgetItem* name = dims_->item(r, ColName);
    const int id = name->data(kIdRole).toInt();
    if (name->data(kStartRole).toFloat() != dimensionValue(ws_, id))
      setBounds(r, defaultTuneVariable(ws_, id, boundsPercent()));
  }
  if (notches_->text() == notchListText(shownNotches_)) {
    const std::vector<double> notches = defaultTuneNotches(ws_);
    if (notches != shownNotches_) showNotches(notches);
  }
}

void TTuneDesign::fillDimensions(Rows from) {
  if (worker_.running()) return;
  // Other rows make the result an answer to another question.
  withdrawResult();
  dims_->setRowCount(0);
  std::vector<int> ids;
  QStringList drawingOnly;
  if (from == Rows::Bars)
    for (int slot = 1; slot <= 4; ++slot) {
      const int id = ws_.DynVarList[slot].Id;
      if (!isEditableDimensionId(id)) continue;
      if (isDrawingOnlyDimension(id))
        drawingOnly << QString::fromStdString(std::string(dimensionLabel(id))).simplified();
      else
        ids.push_back(id);
    }
  QString text;
  if (from == Rows::Bars && !ids.empty())
    text = "Varying the dimensions on the bars that move the valve";
  else if (from == Rows::Bars)
    text = "No dimension on the bars moves the valve: varying the suggested four";
  else
    text = "Varying the suggested four dimensions";
  if (!drawingOnly.isEmpty())
    text += " (left out, as only the drawing uses them: " + drawingOnly.join(", ") + ")";
  rowsText_->setText(text);
  if (ids.empty()) ids.assign(kSuggestedTuneDimensions.begin(), kSuggestedTuneDimensions.end());
  for (int id : ids) addDimensionRow(id, boundsPercent());
}

double TTuneDesign::boundsPercent() const {
  const double p = parseNumber(bounds_->text().toStdString());
  return p > 0.0 ? p : kDefaultBoundsPercent;
}

void TTuneDesign::addDimensionRow(int id, double percent) {
  for (int r = 0; r < dims_->rowCount(); ++r)
    if (dims_->item(r, ColName)->data(kIdRole).toInt() == id) return;
  const int row = dims_->rowCount();
  dims_->insertRow(row);
  QTableWidgetItem* name = readOnly(QString::fromStdString(std::string(dimensionLabel(id))));
  name->setData(kIdRole, id);
  dims_->setItem(row, ColName, name);
  dims_->setItem(row, ColLower, new QTableWidgetItem);
  dims_->setItem(row, ColUpper, new QTableWidgetItem);
  for (int c = ColBefore; c < kDimColumns; ++c) dims_->setItem(row, c, readOnly(QString()));
  setBounds(row, defaultTuneVariable(ws_, id, percent));
}

void TTuneDesign::setBounds(int row, const TuneVariable& v) {
  dims_->item(row, ColName)->setData(kStartRole, v.Start);
  dims_->item(row, ColLower)->setData(kExactRole, v.Lower);
  dims_->item(row, ColLower)->setText(number(v.Lower, 4));
  dims_->item(row, ColUpper)->setData(kExactRole, v.Upper);
  dims_->item(row, ColUpper)->setText(number(v.Upper, 4));
  // While a result stands its start and tuned values stay beside the new bounds.
  if (result_) return;
  dims_->item(row, ColBefore)->setText(number(v.Start, 4));
  for (int c = ColAfter; c < kDimColumns; ++c) dims_->item(row, c)->setText(QString());
}

void TTuneDesign::AddDimClick() {
  withdrawResult();
  addDimensionRow(addChoice_->currentData().toInt(), boundsPercent());
}

void TTuneDesign::RemoveDimClick() {
  const int row = dims_->currentRow();
  if (row < 0) return;
  withdrawResult();
  dims_->removeRow(row);
}

void TTuneDesign::SetBoundsClick() {
  const double percent = boundsPercent();
  for (int r = 0; r < dims_->rowCount(); ++r)
    setBounds(r, defaultTuneVariable(ws_, dims_->item(r, ColName)->data(kIdRole).toInt(), percent));
}

void TTuneDesign::MostSensitiveClick() {
  std::vector<double> notches = shownNotches_;
  const std::optional<std::vector<double>> typed = parseNumberList(notches_->text().toStdString());
  if (typed && !typed->empty() && typed->size() <= kMaxTuneNotches) notches = *typed;
  const std::vector<int> ids =
      rankForEqualCutOff(ws_, ComputeSensitivity(ws_, notches), kSuggestedTuneDimensions.size());
  if (ids.empty() || worker_.running()) return;
  withdrawResult();
  dims_->setRowCount(0);
  rowsText_->setText(
      "Varying the four dimensions that move the front/rear cut-off difference "
      "most at these notches");
  for (int id : ids) addDimensionRow(id, boundsPercent());
}

void TTuneDesign::DefaultNotchesClick() {
  showNotches(defaultTuneNotches(ws_));
}

void TTuneDesign::showNotches(const std::vector<double>& notches) {
  shownNotches_ = notches;
  notches_->setText(notchListText(notches));
}

std::optional<TuneSettings> TTuneDesign::settingsFromControls(QString* problem) const {
  TuneSettings s;
  for (int r = 0; r < dims_->rowCount(); ++r) {
    const int id = dims_->item(r, ColName)->data(kIdRole).toInt();
    const float value = dimensionValue(ws_, id);
    s.Vary.push_back(TuneVariable{id, value, boundValue(dims_->item(r, ColLower)),
                                  boundValue(dims_->item(r, ColUpper))});
  }
  const std::optional<std::vector<double>> notches =
      notches_->text() == notchListText(shownNotches_)
          ? std::optional<std::vector<double>>(shownNotches_)
          : parseNumberList(notches_->text().toStdString());
  if (!notches) {
    *problem = "The notches are not a list of numbers such as 1.6,0.8,0.4";
    return std::nullopt;
  }
  s.Notches = *notches;
  s.Goals.EqualCutOff = equalCutOff_->isChecked() ? 1.0 : 0.0;
  s.Goals.EqualLead = equalLead_->isChecked() ? 1.0 : 0.0;
  s.Goals.ConstantLead = constantLead_->isChecked() ? 1.0 : 0.0;
  s.Goals.TargetCutOff = targetCutOff_->isChecked() ? 1.0 : 0.0;
  s.Goals.TargetPercent = parseNumber(targetPercent_->text().toStdString());
  s.Goals.Symmetric = symmetric_->isChecked() ? 1.0 : 0.0;
  s.Goals.EqualWork = equalWork_->isChecked() ? 1.0 : 0.0;
  s.MinClosureMargin = parseNumber(margin_->text().toStdString());
  bool badLimit = false;
  s.Limits.Enabled = limits_->isChecked();
  s.Limits.MaxLead = limitField(maxLead_, &badLimit);
  s.Limits.CutOffRangePoints = limitField(cutOffRange_, &badLimit);
  s.Limits.MaxTravelPercent = limitField(maxTravel_, &badLimit);
  if (badLimit) {
    *problem = "A limit is not a number (leave it empty for its default)";
    return std::nullopt;
  }
  if (const std::optional<std::string> bad = checkTuneSettings(s)) {
    *problem = QString::fromStdString("Cannot tune: " + *bad);
    return std::nullopt;
  }
  return s;
}

void TTuneDesign::RunClick() {
  if (worker_.running()) return;
  followWorkingSet();
  QString problem;
  const std::optional<TuneSettings> settings = settingsFromControls(&problem);
  if (!settings) {
    status_->setText(problem);
    return;
  }
  withdrawResult();
  searched_ = ws_;
  for (int r = 0; r < dims_->rowCount(); ++r) {
    dims_->item(r, ColBefore)
        ->setText(number(settings->Vary[static_cast<std::size_t>(r)].Start, 4));
    for (int c = ColAfter; c < kDimColumns; ++c) dims_->item(r, c)->setText(QString());
  }
  after_->setRowCount(0);
  progress_->setRange(0, options_.MaxEvaluations);
  progress_->setValue(0);
  progress_->setFormat("%v of at most %m sets");
  status_->setText("Searching...");
  setSearching(true);
  worker_.start(*searched_, *settings, options_);
}

void TTuneDesign::CancelClick() {
  if (worker_.running()) {
    worker_.cancel();
    status_->setText("Cancelling...");
  }
}

void TTuneDesign::showProgress(const TuneProgress& p) {
  progress_->setValue(std::min(p.Evaluations, progress_->maximum()));
  QString text = QString("Searching: %1 sets tried").arg(p.Evaluations);
  if (p.BestMaxCutOffDiff)
    text += ", largest cut-off difference so far " + number(*p.BestMaxCutOffDiff, 2) + " %";
  status_->setText(text);
}

void TTuneDesign::showResult(const TuneResult& r, const std::optional<TuneEventsTables>& tables) {
  setSearching(false);
  // The bar tells what happened: stopped part way, finished (often before the most sets it
  // could try), or nothing searched.
  if (r.Outcome == TuneOutcome::Invalid) {
    progress_->setValue(0);
    progress_->setFormat("Nothing searched");
  } else if (r.Outcome == TuneOutcome::Cancelled) {
    progress_->setValue(std::min(r.Evaluations, progress_->maximum()));
    progress_->setFormat("Cancelled after %v sets");
  } else {
    progress_->setRange(0, std::max(r.Evaluations, 1));
    progress_->setValue(std::max(r.Evaluations, 1));
    progress_->setFormat(QString("Done: %1 sets").arg(r.Evaluations));
  }
  result_ = r;
  applied_ = false;
  shownState_.reset();
  QString text = QString::fromStdString(r.Message);
  if (r.Outcome != TuneOutcome::Invalid && r.Outcome != TuneOutcome::Cancelled) {
    text += QString(" (%1 sets in %2 s").arg(r.Evaluations).arg(number(r.Seconds, 2));
    if (r.Before.Goals.MaxCutOffDiff && r.After.Goals.MaxCutOffDiff)
      text += "; largest cut-off difference " + number(*r.Before.Goals.MaxCutOffDiff, 2) +
              " % before, " + number(*r.After.Goals.MaxCutOffDiff, 2) + " % after";
    if (r.Before.Goals.MaxWorkDiff && r.After.Goals.MaxWorkDiff)
      text += "; largest work difference " + number(*r.Before.Goals.MaxWorkDiff, 2) +
              " % before, " + number(*r.After.Goals.MaxWorkDiff, 2) + " % after";
    if (r.Before.Goals.MissingCutOffs > 0 || r.After.Goals.MissingCutOffs > 0)
      text += QString("; ends that never cut off: %1 before, %2 after")
                  .arg(r.Before.Goals.MissingCutOffs)
                  .arg(r.After.Goals.MissingCutOffs);
    text += ")\nObjective: " + QString::fromStdString(tuneObjectiveText(r.Settings.Goals)) + ", " +
            number(r.Before.Objective, 3) + " before, " + number(r.After.Objective, 3) + " after";
    for (const std::string& l : r.After.BrokenLimits)
      text += "\nLimit broken: " + QString::fromStdString(l);
  }
  for (const std::string& w : r.Warnings) text += "\nWarning: " + QString::fromStdString(w);
  status_->setText(text);
  QStringList limits;
  if (r.Outcome != TuneOutcome::Invalid)
    for (const std::string& l : tuneLimitLines(r.Settings)) limits << QString::fromStdString(l);
  limitsText_->setText(limits.isEmpty() ? QString() : "Limits: " + limits.join("; "));
  const std::vector<TuneDimensionChange> changes = tuneDimensionChanges(r);
  for (int row = 0; row < dims_->rowCount() && static_cast<std::size_t>(row) < changes.size();
       ++row) {
    const TuneDimensionChange& c = changes[static_cast<std::size_t>(row)];
    dims_->item(row, ColAfter)->setText(number(c.Tuned, 4));
    dims_->item(row, ColChange)->setText(number(c.Change, 4));
    dims_->item(row, ColChangePercent)
        ->setText(c.ChangePercent ? number(*c.ChangePercent, 2) : QString("-"));
    dims_->item(row, ColAtBound)->setText(c.AtBound ? "yes" : "no");
  }
  // The whole events table of both sets, worked out beside the search; a cancelled search
  // offers nothing to compare.
  if (tables) {
    fillEventsTable(before_, buildEventsTable(tables->Before, {}));
    fillEventsTable(after_, buildEventsTable(tables->After, {}));
  } else {
    before_->setRowCount(0);
    after_->setRowCount(0);
  }
  // Only a set better than the start, found for the set as it still stands, is offered.
  const std::optional<AppliedState> state = appliedState();
  apply_->setEnabled(r.improves() && state && state->kept == 0);
}

void TTuneDesign::ApplyClick() {
  if (!result_ || !result_->improves() || worker_.running()) return;
  // The values were found for the set as it was at Run; any dimension changed since (a bar
  // nudged, a field typed) makes them the answer to another question.
  const std::optional<AppliedState> state = appliedState();
  if (!state || state->kept != 0) {
    status_->setText("The set has changed since the search: run it again before applying");
    apply_->setEnabled(false);
    return;
  }
  const int changed = applyTunedValues(ws_, result_->Settings.Vary, result_->Values);
  apply_->setEnabled(false);
  applied_ = true;
  shownState_ = appliedState();
  status_->setText(
      QString("Applied: %1 dimension(s) changed, each undoable on its own").arg(changed));
  // Start and Tuned stay as searched, so the change stays readable; undoing it in the main
  // window is noticed by followWorkingSet.
  if (afterApply_) afterApply_();
}

void TTuneDesign::setSearching(bool on) {
  run_->setEnabled(!on);
  cancel_->setEnabled(on);
  if (on) apply_->setEnabled(false);
  for (QWidget* w : std::initializer_list<QWidget*>{dims_, add_, remove_, suggested_, fromBars_,
                                                    mostSensitive_, setBounds_, notches_, limits_,
                                                    maxLead_, cutOffRange_, maxTravel_})
    w->setEnabled(!on);
}

}  // namespace vek1
