#include "valve_events_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "csv_save.h"
#include "events_compare_table.h"
#include "events_compare_text.h"
#include "events_table_drawing.h"
#include "events_table_widget.h"
#include "export_dialog.h"
#include "file_dialogs.h"
#include "numbers.h"
#include "picture_print.h"
#include "reference_set.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

QDoubleSpinBox* toleranceBox(double value, double step, int decimals, const QString& suffix) {
  auto* box = new QDoubleSpinBox;
  box->setDecimals(decimals);
  box->setRange(0.0, 100.0);
  box->setSingleStep(step);
  box->setValue(value);
  box->setSuffix(suffix);
  return box;
}

}  // namespace

TValveEvents::TValveEvents(const Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws) {
  setWindowTitle("Valve Events");

  NotchesEdit = new QLineEdit(QString::fromStdString(notchesText_));
  NotchesEdit->setToolTip(
      "\"default\": full forward to full reverse in ninths of the largest offset; or offsets "
      "from the centre separated by commas, e.g. 1.6,0.8,-0.8");
  const EventTolerance defaults;
  StrokeTolerance = toleranceBox(defaults.StrokePercent, 0.1, 2, " %");
  StrokeTolerance->setToolTip("Front and rear events further apart than this are highlighted");
  LeadTolerance = toleranceBox(defaults.Lead, 0.001, 4, "");
  LeadTolerance->setToolTip("Front and rear leads further apart than this are highlighted");
  CopyButton = new QPushButton("Copy");
  SaveCsvButton = new QPushButton("Save as CSV");
  ExportButton = new QPushButton("Export...");
  PrintButton = new QPushButton("Print...");
  NotchesProblem = new QLabel;
  NotchesProblem->setObjectName("NotchesProblem");
  NotchesProblem->setStyleSheet("color: rgb(200, 0, 0)");
  NotchesProblem->setWordWrap(true);
  SetLabel = new QLabel;
  // Its lines (the set, how the figures are counted, the reference) wrap rather than run off a
  // narrow window or one in a large font.
  SetLabel->setWordWrap(true);
  Table = new QTableWidget;
  Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Table->verticalHeader()->setVisible(false);
  Table->verticalHeader()->setDefaultSectionSize(20);

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Notches"));
  controls->addWidget(NotchesEdit, 1);
  controls->addWidget(new QLabel("Tolerance: stroke"));
  controls->addWidget(StrokeTolerance);
  controls->addWidget(new QLabel("lead"));
  controls->addWidget(LeadTolerance);
  controls->addWidget(CopyButton);
  controls->addWidget(SaveCsvButton);
  controls->addWidget(ExportButton);
  controls->addWidget(PrintButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(NotchesProblem);
  layout->addWidget(SetLabel);
  layout->addWidget(Table, 1);
  resize(1270, 540);

  connect(NotchesEdit, &QLineEdit::editingFinished, this, &TValveEvents::NotchesEditExit);
  connect(StrokeTolerance, &QDoubleSpinBox::valueChanged, this, &TValveEvents::refreshTable);
  connect(LeadTolerance, &QDoubleSpinBox::valueChanged, this, &TValveEvents::refreshTable);
  connect(CopyButton, &QPushButton::clicked, this, &TValveEvents::CopyClick);
  connect(SaveCsvButton, &QPushButton::clicked, this, &TValveEvents::SaveCsvClick);
  connect(ExportButton, &QPushButton::clicked, this, &TValveEvents::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TValveEvents::PrintClick);

  timer_ = new QTimer(this);
  timer_->setInterval(kPollMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (isVisible()) poll();
  });
  timer_->start();
}

void TValveEvents::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  poll();
}

bool TValveEvents::poll() {
  WorkingSetFingerprint now = fingerprintOf(ws_);
  if (last_ && sameWorkingSet(*last_, now)) return false;
  last_ = std::move(now);
  recompute();
  return true;
}

void TValveEvents::setReference(const ReferenceSet* reference) {
  reference_ = reference;
  if (reference_) {
    referenceRevision_ = reference_->revision();
    connect(reference_, &ReferenceSet::changed, this, [this] {
      // The main view's ghost switch changes nothing in the table.
      if (reference_->revision() == referenceRevision_) return;
      referenceRevision_ = reference_->revision();
      recompute();
    });
  }
  recompute();
}

void TValveEvents::recompute() {
  if (reference_ && reference_->active()) {
    compared_ =
        compareValveEvents(ws_, *reference_->set(), useDefaultNotches_ ? nullptr : &offsets_);
    table_ = compared_->Working;
  } else {
    compared_.reset();
    table_ = useDefaultNotches_ ? ComputeValveEvents(ws_) : ComputeValveEvents(ws_, offsets_);
  }
  ++recomputes_;
  const std::string laps = lapsText(table_);
  const std::string comparing =
      compared_ ? "\nCompared with " + reference_->name() + " (mid-gear centre " +
                      fixedText(compared_->Reference.Centre, 0, 3) +
                      "): under each notch the reference's row (" + kReferenceRowLabel +
                      ", grey) and working minus reference (" + kDifferenceRowLabel +
                      "), orange where beyond the tolerances or in one set only"
                : "";
  SetLabel->setText(QString::fromStdString(
      "Set: " + ws_.DimSetName + "    mid-gear centre " + fixedText(table_.Centre, 0, 3) +
      (laps.empty() ? "" : "    " + laps) + "\n" + kEventsConventionText + comparing));
  refreshTable();
  showNotchProblems();
}

void TValveEvents::showNotchProblems() {
  if (!notchesTextProblem_.isEmpty()) {
    NotchesProblem->setText(notchesTextProblem_);
    NotchesProblem->setVisible(true);
    return;
  }
  QStringList beyond;
  for (const NotchEvents& n : table_.Notches)
    if (n.OutOfReach) beyond << QString::fromStdString(fixedText(n.Offset, 0, 3));
  if (beyond.isEmpty()) {
    NotchesProblem->clear();
    NotchesProblem->setVisible(false);
    return;
  }
  NotchesProblem->setText(QString::fromStdString("Beyond the reverse arm's reach (" +
                                                 fixedText(table_.Reach.Lowest, 0, 3) + " to " +
                                                 fixedText(table_.Reach.Highest, 0, 3) + "): ") +
                          beyond.join(", "));
  NotchesProblem->setVisible(true);
}

void TValveEvents::refreshTable() {
  const EventTolerance tolerance{StrokeTolerance->value(), LeadTolerance->value()};
  view_ = compared_ ? buildComparedEventsTable(*compared_, tolerance)
                    : buildEventsTable(table_, tolerance);
  fillEventsTable(Table, view_);
  // Columns grow to a text that would be cut ("locks 18.2-126.5" where the first table had no
  // lock), but never shrink: columns that jump about while a dimension is nudged are hard to read.
  growEventsColumns(Table);
  if (!sized_ && !view_.rows.empty()) {
    sized_ = true;
    fitHeightToRows();
  }
}

void TValveEvents::fitHeightToRows() {
  // Tall enough for every row of the table, as far as the screen allows.
  const int tableNeeds = Table->horizontalHeader()->sizeHint().height() +
                         Table->verticalHeader()->length() + 2 * Table->frameWidth() +
                         Table->horizontalScrollBar()->sizeHint().height();
  const int others = height() - Table->height();
  const QScreen* s = screen();
  if (!s) return;
  const QRect available = s->availableGeometry();
  const int margins = frameGeometry().height() - height();
  const int wanted = std::min(others + tableNeeds, available.height() - margins);
  if (wanted <= height()) return;
  resize(width(), wanted);
  // Placed beside the main window for its first, shorter size, it may now reach below the
  // screen: it moves up as far as it must.
  const QRect frame = frameGeometry();
  if (frame.bottom() > available.bottom())
    move(frame.left(), std::max(available.top(), available.bottom() + 1 - frame.height()));
}

void TValveEvents::CopyClick() {
  QApplication::clipboard()->setText(QString::fromStdString(tabSeparated(view_)));
}

bool TValveEvents::saveCsv(const QString& typed, QString* message) {
  const auto failed =
      writeCsvFile(typed, compared_ ? eventsComparisonCsv(*compared_) : valveEventsCsv(table_));
  if (failed && message) *message = *failed;
  return !failed;
}

void TValveEvents::SaveCsvClick() {
  saveCsvAsked(this, pictureInfo().title,
               [this](const QString& path, QString* message) { return saveCsv(path, message); });
}

std::string TValveEvents::titleName() const {
  if (!compared_ || !reference_) return ws_.DimSetName;
  return ws_.DimSetName + " compared with " + reference_->name();
}

PictureInfo TValveEvents::pictureInfo() const {
  return {eventsTablePictureSize(view_),
          QStringLiteral("Valve events: %1").arg(QString::fromStdString(titleName()))};
}

ExportResult TValveEvents::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(),
                       [this](Canvas& canvas) { drawEventsTable(canvas, view_, titleName()); });
}

void TValveEvents::ExportClick() {
  exportPictureAsked(this, "Export", pictureInfo().title,
                     [this](const QString& path) { return exportTo(path); });
}

void TValveEvents::PrintClick() {
  printPictureAsked(this, pictureInfo(),
                    [this](Canvas& canvas) { drawEventsTable(canvas, view_, titleName()); });
}

void TValveEvents::NotchesEditExit() {
  const std::string text = NotchesEdit->text().toStdString();
  if (text == notchesText_) {
    notchesTextProblem_.clear();
    showNotchProblems();
    return;
  }
  if (!parseNotchList(text, offsets_, useDefaultNotches_)) {
    // Not a list of offsets: the table stays as it was, and the field keeps the text so that
    // it can be mended, with the reason beside it.
    notchesTextProblem_ = QString::fromStdString(
        "\"" + text +
        "\" is not a list of notches: type \"default\" or offsets from the centre "
        "separated by commas, e.g. 1.6,0.8,-0.8 (the table still shows " +
        notchesText_ + ")");
    showNotchProblems();
    return;
  }
  notchesText_ = text;
  notchesTextProblem_.clear();
  recompute();
}

}  // namespace vek1
