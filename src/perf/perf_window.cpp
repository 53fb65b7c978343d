#include "perf_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

#include "csv_save.h"
#include "export_dialog.h"
#include "file_dialogs.h"
#include "numbers.h"
#include "picture_print.h"
#include "picture_view.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

QDoubleSpinBox* settingBox(const SettingRange& r, int decimals, double step, const QString& suffix,
                           const QString& tip) {
  auto* box = new QDoubleSpinBox;
  box->setRange(r.Lowest, r.Highest);
  box->setDecimals(decimals);
  box->setSingleStep(step);
  box->setSuffix(suffix);
  box->setToolTip(tip);
  box->setKeyboardTracking(false);
  return box;
}

}  // namespace

TEnginePerformance::TEnginePerformance(Workspace& ws, QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws) {
  setWindowTitle("Engine Performance");
  ChestPressure =
      settingBox(kChestPressureRange, 1, 5.0, " psi g", "Steam-chest pressure, psi gauge");
  BackPressure =
      settingBox(kBackPressureRange, 1, 0.5, " psi g", "Exhaust back pressure, psi gauge");
  Superheat = settingBox(kSuperheatRange, 0, 10.0, " F", "Superheat at the chest; 0: saturated");
  FrontClearance = settingBox(kClearanceRange, 1, 0.5, " %",
                              "Front end's clearance volume, percent of the swept volume");
  RearClearance = settingBox(kClearanceRange, 1, 0.5, " %",
                             "Rear end's clearance volume, percent of the swept volume");
  PortLength = settingBox(kPortLengthRange, 3, 0.05, "",
                          "The ports' length across the valve face, in the set's units; 0: 0.8 x "
                          "Cylinder Bore Dia");
  PortLength->setSpecialValueText("0.8 x bore");
  Speed = settingBox(kSpeedRange, 0, 10.0, " rev/min", "Driver revolutions per minute");
  Cylinders = new QSpinBox;
  Cylinders->setRange(static_cast<int>(kCylinderRange.Lowest),
                      static_cast<int>(kCylinderRange.Highest));
  Cylinders->setToolTip("Number of cylinders");
  Cylinders->setKeyboardTracking(false);
  Discharge = settingBox(kDischargeRange, 2, 0.05, "", "The ports' discharge coefficient");
  RailSpeed = new QLabel;
  RailSpeed->setToolTip("The speed on the rail at this driver speed, from Driver Dia in inches");
  Status = new QLabel;
  NotchesEdit = new QLineEdit(QString::fromStdString(notchesText_));
  NotchesEdit->setToolTip(
      "The table's notches: \"default\", the forward notches of the valve events table; or "
      "offsets from the centre separated by commas, e.g. 1.6,0.8,-0.8");
  CardsEdit = new QLineEdit(QString::fromStdString(cardsText_));
  CardsEdit->setToolTip(
      "The notches whose cards are drawn (up to six): \"default\", full gear, a middle notch and "
      "the shortest; or offsets separated by commas. The first is also the speed curve's notch.");
  SaveCsvButton = new QPushButton("Save as CSV");
  ExportButton = new QPushButton("Export...");
  PrintButton = new QPushButton("Print...");
  CopyButton = new QPushButton("Copy");
  CopyButton->setToolTip("Copy the picture to the clipboard");

  auto* settings = new QGridLayout;
  auto add = [settings](int row, int col, const char* label, QWidget* w) {
    settings->addWidget(new QLabel(label), row, 2 * col);
    settings->addWidget(w, row, 2 * col + 1);
  };
  add(0, 0, "Chest", ChestPressure);
  add(0, 1, "Back pressure", BackPressure);
  add(0, 2, "Superheat", Superheat);
  add(1, 0, "Clearance front", FrontClearance);
  add(1, 1, "Clearance rear", RearClearance);
  add(1, 2, "Port length", PortLength);
  add(2, 0, "Speed", Speed);
  add(2, 1, "Cylinders", Cylinders);
  add(2, 2, "Discharge coeff.", Discharge);
  settings->addWidget(RailSpeed, 3, 1, 1, 3);
  settings->addWidget(Status, 3, 4, 1, 2);
  auto* lists = new QHBoxLayout;
  lists->addWidget(new QLabel("Notches"));
  lists->addWidget(NotchesEdit, 2);
  lists->addWidget(new QLabel("Cards"));
  lists->addWidget(CardsEdit, 1);
  lists->addWidget(SaveCsvButton);
  lists->addWidget(ExportButton);
  lists->addWidget(PrintButton);
  lists->addWidget(CopyButton);
  picture_ = new PictureView;
  scroll_ = new QScrollArea;
  scroll_->setWidget(picture_);
  scroll_->setBackgroundRole(QPalette::Base);
  // Small enough to fit a strip of the screen beside the running gear; the picture scrolls.
  scroll_->setMinimumSize(200, 100);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(settings);
  layout->addLayout(lists);
  layout->addWidget(scroll_, 1);
  // As large as the picture wants, but never beyond the screen (at a scale of 2 it would be).
  QSize wanted(1150, 820);
  if (const QScreen* s = screen())
    wanted = wanted.boundedTo(s->availableGeometry().size() - QSize(40, 80));
  resize(wanted);

  showSettings();
  for (QDoubleSpinBox* box : {ChestPressure, BackPressure, Superheat, FrontClearance, RearClearance,
                              PortLength, Speed, Discharge})
    connect(box, &QDoubleSpinBox::valueChanged, this, [this] { settingsEdited(); });
  connect(Cylinders, &QSpinBox::valueChanged, this, [this] { settingsEdited(); });
  connect(NotchesEdit, &QLineEdit::editingFinished, this, &TEnginePerformance::NotchesEditExit);
  connect(CardsEdit, &QLineEdit::editingFinished, this, &TEnginePerformance::CardsEditExit);
  connect(SaveCsvButton, &QPushButton::clicked, this, &TEnginePerformance::SaveCsvClick);
  connect(ExportButton, &QPushButton::clicked, this, &TEnginePerformance::ExportClick);
  connect(PrintButton, &QPushButton::clicked, this, &TEnginePerformance::PrintClick);
  connect(CopyButton, &QPushButton::clicked, this, &TEnginePerformance::CopyClick);

  timer_ = new QTimer(this);
  timer_->setInterval(kPollMs);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (isVisible()) poll();
  });
  timer_->start();
}

TEnginePerformance::~TEnginePerformance() {
  // The worker holds only its own copy of the set; wait for it before the window goes.
  if (running_.valid()) running_.wait();
}

void TEnginePerformance::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  poll();
}

void TEnginePerformance::showSettings() {
  const EngineSettings s = heldSettings(ws_.Engine);
  const QSignalBlocker b1(ChestPressure), b2(BackPressure), b3(Superheat), b4(FrontClearance),
      b5(RearClearance), b6(PortLength), b7(Speed), b8(Cylinders), b9(Discharge);
  ChestPressure->setValue(s.ChestPressure);
  BackPressure->setValue(s.BackPressure);
  Superheat->setValue(s.Superheat);
  FrontClearance->setValue(s.ClearancePct[0]);
  RearClearance->setValue(s.ClearancePct[1]);
  PortLength->setValue(s.PortLength);
  Speed->setValue(s.SpeedRpm);
  Cylinders->setValue(s.Cylinders);
  Discharge->setValue(s.DischargeCoefficient);
  shownSettings_ = s;
  RailSpeed->setText(QString("on the rail %1 mph")
                         .arg(railSpeedMph(s.SpeedRpm, ws_.Frame[dim::DriverDia]), 0, 'f', 1));
}

void TEnginePerformance::settingsEdited() {
  EngineSettings s;
  s.ChestPressure = ChestPressure->value();
  s.BackPressure = BackPressure->value();
  s.Superheat = Superheat->value();
  s.ClearancePct = {FrontClearance->value(), RearClearance->value()};
  s.PortLength = PortLength->value();
  s.SpeedRpm = Speed->value();
  s.Cylinders = Cylinders->value();
  s.DischargeCoefficient = Discharge->value();
  // The boxes keep each value in its range; the back pressure is kept under the chest's.
  ws_.Engine = heldSettings(s);
  showSettings();
  poll();
}

bool TEnginePerformance::poll() {
  bool changed = false;
  if (running_.valid() && running_.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    takeResult();
    changed = true;
  }
  // An opened set brings its own settings.
  if (heldSettings(ws_.Engine) != shownSettings_) showSettings();
  WorkingSetFingerprint now = fingerprintOf(ws_);
  const bool setChanged = !last_ || !sameWorkingSet(*last_, now);
  if (setChanged) {
    // A changed gear has its own default notches, and the rail speed its own driver.
    RailSpeed->setText(
        QString("on the rail %1 mph")
            .arg(railSpeedMph(shownSettings_.SpeedRpm, ws_.Frame[dim::DriverDia]), 0, 'f', 1));
    if (defaultNotches_) notches_ = performanceNotches(ws_);
    if (defaultCards_) cardNotches_ = defaultCardNotches(notches_);
  }
  const bool stale = setChanged || ws_.Engine != lastSettings_ || notches_ != lastNotches_ ||
                     cardNotches_ != lastCards_;
  if (!stale || running_.valid()) {
    Status->setText(running_.valid() ? "computing..." : "");
    return changed;
  }
  last_ = std::move(now);
  lastSettings_ = ws_.Engine;
  lastNotches_ = notches_;
  lastCards_ = cardNotches_;
  // Notches the arm cannot reach (a changed gear) are left out rather than shown as figures.
  PerformanceInput in{ws_, {}, {}};
  const OffsetRange reach = ReachableOffsets(ws_);
  for (double x : notches_)
    if (reach.contains(x)) in.notches.push_back(x);
  for (double x : cardNotches_)
    if (reach.contains(x)) in.cardNotches.push_back(x);
  running_ =
      std::async(std::launch::async, [in = std::move(in)] { return computePerformancePage(in); });
  Status->setText("computing...");
  return changed;
}

void TEnginePerformance::finish() {
  if (running_.valid()) {
    running_.wait();
    takeResult();
  }
  // Changes made while it ran are computed now, and waited for too.
  poll();
  if (running_.valid()) {
    running_.wait();
    takeResult();
  }
}

void TEnginePerformance::takeResult() {
  page_ = running_.get();
  Status->setText("");
  const PerformancePage page = page_;
  picture_->show(performancePageSize(page), [page](Canvas& c) { drawPerformancePage(c, page); });
}

bool TEnginePerformance::saveCsv(const QString& typed, QString* message) {
  finish();
  const auto failed = writeCsvFile(typed, performanceCsv(page_.report));
  if (failed && message) *message = *failed;
  return !failed;
}

void TEnginePerformance::SaveCsvClick() {
  saveCsvAsked(this, pictureInfo().title,
               [this](const QString& path, QString* message) { return saveCsv(path, message); });
}

PictureInfo TEnginePerformance::pictureInfo() const {
  return {performancePageSize(page_),
          QStringLiteral("Engine Performance: %1").arg(QString::fromStdString(ws_.DimSetName))};
}

ExportResult TEnginePerformance::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(), [this](Canvas& c) { drawPerformancePage(c, page_); });
}

void TEnginePerformance::ExportClick() {
  finish();
  exportPictureAsked(this, "Export", pictureInfo().title,
                     [this](const QString& path) { return exportTo(path); });
}

void TEnginePerformance::PrintClick() {
  finish();
  printPictureAsked(this, pictureInfo(), [this](Canvas& c) { drawPerformancePage(c, page_); });
}

void TEnginePerformance::CopyClick() {
  finish();
  const CanvasSize size = performancePageSize(page_);
  QImage image(size.width, size.height, QImage::Format_RGB32);
  {
    QPainterCanvas canvas(image);
    drawPerformancePage(canvas, page_);
  }
  QApplication::clipboard()->setImage(image);
}

void TEnginePerformance::NotchesEditExit() {
  const std::string text = NotchesEdit->text().toStdString();
  if (text == notchesText_) return;
  std::vector<double> offsets;
  bool useDefault = false;
  if (!parseReachableNotches(text, ReachableOffsets(ws_), kMostNotches, offsets, useDefault)) {
    NotchesEdit->setText(QString::fromStdString(notchesText_));
    return;
  }
  notchesText_ = text;
  defaultNotches_ = useDefault;
  notches_ = useDefault ? performanceNotches(ws_) : offsets;
  if (defaultCards_) cardNotches_ = defaultCardNotches(notches_);
  poll();
}

void TEnginePerformance::CardsEditExit() {
  const std::string text = CardsEdit->text().toStdString();
  if (text == cardsText_) return;
  std::vector<double> offsets;
  bool useDefault = false;
  if (!parseReachableNotches(text, ReachableOffsets(ws_), kMostCards, offsets, useDefault)) {
    CardsEdit->setText(QString::fromStdString(cardsText_));
    return;
  }
  cardsText_ = text;
  defaultCards_ = useDefault;
  cardNotches_ = useDefault ? defaultCardNotches(notches_) : offsets;
  poll();
}

}  // namespace vek1
