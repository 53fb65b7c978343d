#include "worn_gear_window.h"

#include <cstdint>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "csv_save.h"
#include "export_dialog.h"
#include "file_dialogs.h"
#include "numbers.h"
#include "picture_print.h"
#include "picture_view.h"
#include "tune_figures.h"
#include "wear_drawing.h"
#include "worn_gear_text.h"

namespace vek1 {

namespace {

QDoubleSpinBox* clearanceBox() {
  auto* box = new QDoubleSpinBox;
  box->setDecimals(4);
  box->setRange(0.0, kMaxClearance);
  box->setSingleStep(0.0005);
  box->setValue(kDefaultClearance);
  return box;
}

}  // namespace

TWornGear::TWornGear(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
  setWindowTitle("Worn Gear");
  NotchesEdit = new QLineEdit(QString::fromStdString(notchesText_));
  NotchesEdit->setToolTip(
      "\"default\": the forward notches of the valve events table; or offsets from the centre "
      "separated by commas, e.g. 1.6,0.8,-0.8");
  AllClearance = clearanceBox();
  AllClearance->setToolTip("Sets every joint's radial clearance at once");
  ShareNotchBox = new QComboBox;
  ShareNotchBox->setToolTip("The notch whose joint shares the bar chart shows");
  SaveCsvButton = new QPushButton("Save as CSV");
  ExportButton = new QPushButton("Export...");
  PrintButton = new QPushButton("Print...");

  auto* controls = new QHBoxLayout;
  controls->addWidget(new QLabel("Notches"));
  controls->addWidget(NotchesEdit, 1);
  controls->addWidget(new QLabel("Shares at"));
  controls->addWidget(ShareNotchBox);
  controls->addWidget(SaveCsvButton);
  controls->addWidget(ExportButton);
  controls->addWidget(PrintButton);
  auto* joints = new QGridLayout;
  joints->addWidget(new QLabel("Clearance, all joints"), 0, 0);
  joints->addWidget(AllClearance, 0, 1);
  for (int j = 0; j < kWearJointCount; ++j) {
    JointClearance[j] = clearanceBox();
    const int cell = j + 1;
    joints->addWidget(new QLabel(QString::fromStdString(std::string(wearJointInfo(j).Name))),
                      cell / 6, 2 * (cell % 6));
    joints->addWidget(JointClearance[j], cell / 6, 2 * (cell % 6) + 1);
  }
  picture_ = new PictureView;
  auto* scroll = new QScrollArea;
  scroll->setWidget(picture_);
  scroll->setBackgroundRole(QPalette::Base);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(controls);
  layout->addLayout(joints);
  layout->addWidget(scroll, 1);
  resize(1270, 600);

  connect(NotchesEdit, &QLineEdit::editingFinished, this, &TWornGear::NotchesEditExit);
  // The clearances are the set's: what is typed here is kept with it, and saved with it.
  showSetClearances();
  connect(AllClearance, &QDoubleSpinBox::valueChanged, this, [this](double c) {
    for (QDoubleSpinBox* box : JointClearance) {
      const QSignalBlocker block(box);
      box->setValue(c);
    }
    ws_.JointClearances.fill(static_cast<float>(c));
    shownSetClearances_ = ws_.JointClearances;
    poll();
  });
  for (int j = 0; j < kWearJointCount; ++j)
    connect(JointClearance[j], &QDoubleSpinBox::valueChanged, this, [this, j](double c) {
      ws_.JointClearances[static_cast<size_t>(j)] = static_cast<float>(c);
      shownSetClearances_ = ws_.JointClearances;
      poll();
    });
  connect(ShareNotchBox, &QComboBox::currentIndexChanged, this, [this] { refreshPicture(); });
  connect(SaveCsvButton, &QPushButton::clicked, this, &TWornGear::SaveCsvClick);
  connect(ExportButton, &QPushButton::clicked, this, &TWornGear::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TWornGear::PrintClick);

  timer_ = new QTimer(this);
  timer_->setInterval(kPollMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (isVisible()) poll();
  });
  timer_->start();
}

void TWornGear::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  poll();
}

Clearances TWornGear::clearances() const {
  Clearances c;
  for (int j = 0; j < kWearJointCount; ++j) c[j] = JointClearance[j]->value();
  return c;
}

void TWornGear::showSetClearances() {
  for (int j = 0; j < kWearJointCount; ++j) {
    const QSignalBlocker block(JointClearance[j]);
    JointClearance[j]->setValue(ws_.JointClearances[static_cast<size_t>(j)]);
  }
  shownSetClearances_ = ws_.JointClearances;
}

bool TWornGear::poll() {
  // Another set opened brings its own clearances.
  if (ws_.JointClearances != shownSetClearances_) showSetClearances();
  WorkingSetFingerprint now = fingerprintOf(ws_);
  const Clearances c = clearances();
  if (last_ && sameWorkingSet(*last_, now) && lastClearances_ == c) return false;
  last_ = std::move(now);
  lastClearances_ = c;
  recompute();
  return true;
}

void TWornGear::recompute() {
  if (useDefaultNotches_) offsets_ = defaultTuneNotches(ws_);
  study_ = ComputeWornGear(ws_, offsets_, clearances());
  fillShareNotchBox();
  refreshPicture();
}

void TWornGear::fillShareNotchBox() {
  const QSignalBlocker block(ShareNotchBox);
  const int keep = ShareNotchBox->currentIndex();
  ShareNotchBox->clear();
  for (double x : offsets_)
    ShareNotchBox->addItem(QString::fromStdString((x >= 0.0 ? "+" : "") + fixedText(x, 0, 3)));
  ShareNotchBox->setCurrentIndex(std::clamp(keep, 0, static_cast<int>(offsets_.size()) - 1));
}

void TWornGear::draw(Canvas& canvas) const {
  drawWearStudy(canvas, study_, ws_.DimSetName, ShareNotchBox->currentIndex());
}

void TWornGear::refreshPicture() {
  picture_->show(wearPictureSize(study_), [this](Canvas& c) { draw(c); });
}

bool TWornGear::saveCsv(const QString& path, QString* message) {
  const auto failed = writeCsvFile(path, wornGearCsv(study_));
  if (failed && message) *message = *failed;
  return !failed;
}

void TWornGear::SaveCsvClick() {
  saveCsvAsked(this, pictureInfo().title,
               [this](const QString& path, QString* message) { return saveCsv(path, message); });
}

PictureInfo TWornGear::pictureInfo() const {
  return {wearPictureSize(study_),
          QStringLiteral("Worn gear: %1").arg(QString::fromStdString(ws_.DimSetName))};
}

ExportResult TWornGear::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(), [this](Canvas& c) { draw(c); });
}

void TWornGear::ExportClick() {
  exportPictureAsked(this, "Export", pictureInfo().title,
                     [this](const QString& path) { return exportTo(path); });
}

void TWornGear::PrintClick() {
  printPictureAsked(this, pictureInfo(), [this](Canvas& c) { draw(c); });
}

void TWornGear::NotchesEditExit() {
  const std::string text = NotchesEdit->text().toStdString();
  if (text == notchesText_) return;
  std::vector<double> offsets;
  bool useDefault = false;
  if (!parseReachableNotches(text, ReachableOffsets(ws_), SIZE_MAX, offsets, useDefault)) {
    NotchesEdit->setText(QString::fromStdString(notchesText_));
    return;
  }
  notchesText_ = text;
  useDefaultNotches_ = useDefault;
  offsets_ = useDefault ? defaultTuneNotches(ws_) : offsets;
  recompute();
}

}  // namespace vek1
