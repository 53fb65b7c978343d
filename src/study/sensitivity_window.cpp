#include "sensitivity_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdint>

#include "csv_save.h"
#include "export_dialog.h"
#include "file_dialogs.h"
#include "numbers.h"
#include "picture_print.h"
#include "picture_view.h"
#include "sensitivity_text.h"
#include "tune_figures.h"

namespace vek1 {

TSensitivity::TSensitivity(const Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws) {
  setWindowTitle("Sensitivity");
  NotchesEdit = new QLineEdit(QString::fromStdString(notchesText_));
  NotchesEdit->setToolTip(
      "\"default\": the forward notches of the valve events table; or offsets from the centre "
      "separated by commas, e.g. 1.6,0.8,-0.8");
  NotchBox = new QComboBox;
  NotchBox->setToolTip("The notch the table is shown for");
  FigureBox = new QComboBox;
  for (int k = 0; k < kEventFigureCount; ++k)
    FigureBox->addItem(QString::fromStdString(std::string(eventFigureLabel(k))));
  FigureBox->setCurrentIndex(kRearCutOff);
  FigureBox->setToolTip("Rank the dimensions by how much they move this");
  PerPercentBox = new QCheckBox("per 1 %");
  PerPercentBox->setToolTip("Changes for 1 % of each dimension's value instead of one unit");
  SaveCsvButton = new QPushButton("Save as CSV");
  ExportButton = new QPushButton("Export...");
  PrintButton = new QPushButton("Print...");

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Notches"));
  controls->addWidget(NotchesEdit, 1);
  controls->addWidget(new QLabel("Show"));
  controls->addWidget(NotchBox);
  controls->addWidget(new QLabel("Rank for"));
  controls->addWidget(FigureBox);
  controls->addWidget(PerPercentBox);
  controls->addWidget(SaveCsvButton);
  controls->addWidget(ExportButton);
  controls->addWidget(PrintButton);
  picture_ = new PictureView;
  scroll_ = new QScrollArea;
  scroll_->setWidget(picture_);
  scroll_->setBackgroundRole(QPalette::Base);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addWidget(scroll_, 1);
  resize(1270, 600);

  offsets_ = defaultTuneNotches(ws_);
  fillNotchBox();
  connect(NotchesEdit, &QLineEdit::editingFinished, this, &TSensitivity::NotchesEditExit);
  connect(NotchBox, &QComboBox::currentIndexChanged, this, [this] { recompute(); });
  connect(FigureBox, &QComboBox::currentIndexChanged, this, [this] { refreshView(); });
  connect(PerPercentBox, &QCheckBox::toggled, this, [this] { refreshView(); });
  connect(SaveCsvButton, &QPushButton::clicked, this, &TSensitivity::SaveCsvClick);
  connect(ExportButton, &QPushButton::clicked, this, &TSensitivity::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TSensitivity::PrintClick);

  timer_ = new QTimer(this);
  timer_->setInterval(kPollMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (isVisible()) poll();
  });
  timer_->start();
}

void TSensitivity::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  poll();
}

void TSensitivity::fillNotchBox() {
  const QSignalBlocker block(NotchBox);
  const int keep = NotchBox->currentIndex();
  NotchBox->clear();
  for (double x : offsets_)
    NotchBox->addItem(QString::fromStdString((x >= 0.0 ? "+" : "") + fixedText(x, 0, 3)));
  NotchBox->setCurrentIndex(std::clamp(keep, 0, static_cast<int>(offsets_.size()) - 1));
}

bool TSensitivity::poll() {
  WorkingSetFingerprint now = fingerprintOf(ws_);
  if (last_ && sameWorkingSet(*last_, now)) return false;
  last_ = std::move(now);
  if (useDefaultNotches_) {
    offsets_ = defaultTuneNotches(ws_);
    fillNotchBox();
  }
  recompute();
  return true;
}

void TSensitivity::recompute() {
  const int at = NotchBox->currentIndex();
  if (at < 0 || at >= static_cast<int>(offsets_.size())) {
    shown_ = {};
  } else {
    SensitivityTable table = ComputeSensitivity(ws_, {offsets_[static_cast<size_t>(at)]});
    shown_ = std::move(table.Notches.front());
  }
  refreshView();
}

void TSensitivity::refreshView() {
  view_ = buildSensitivityView(shown_, ws_.DimSetName,
                               {FigureBox->currentIndex(), PerPercentBox->isChecked()});
  const StudyTable view = view_;
  picture_->show(studyTablePictureSize(view), [view](Canvas& c) { drawStudyTable(c, view); });
}

bool TSensitivity::saveCsv(const QString& path, QString* message) {
  const auto failed = writeCsvFile(path, sensitivityCsv(ComputeSensitivity(ws_, offsets_)));
  if (failed && message) *message = *failed;
  return !failed;
}

void TSensitivity::SaveCsvClick() {
  saveCsvAsked(this, pictureInfo().title,
               [this](const QString& path, QString* message) { return saveCsv(path, message); });
}

PictureInfo TSensitivity::pictureInfo() const {
  return {studyTablePictureSize(view_),
          QStringLiteral("Sensitivity: %1").arg(QString::fromStdString(ws_.DimSetName))};
}

ExportResult TSensitivity::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(), [this](Canvas& c) { drawStudyTable(c, view_); });
}

void TSensitivity::ExportClick() {
  exportPictureAsked(this, "Export", pictureInfo().title,
                     [this](const QString& path) { return exportTo(path); });
}

void TSensitivity::PrintClick() {
  printPictureAsked(this, pictureInfo(), [this](Canvas& c) { drawStudyTable(c, view_); });
}

void TSensitivity::NotchesEditExit() {
  const std::string text = NotchesEdit->text().toStdString();
  if (text == notchesText_) return;
  std::vector<double> offsets;
  bool useDefault = false;
  if (!parseReachableNotches(text, ReachableOffsets(ws_), SIZE_MAX, offsets, useDefault)) {
    // Not a list of reachable offsets: everything stays as it was, the field too.
    NotchesEdit->setText(QString::fromStdString(notchesText_));
    return;
  }
  notchesText_ = text;
  useDefaultNotches_ = useDefault;
  offsets_ = useDefault ? defaultTuneNotches(ws_) : offsets;
  fillNotchBox();
  recompute();
}

}  // namespace vek1
