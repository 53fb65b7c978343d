#include "valve_events_window.h"

#include <QApplication>
#include <QClipboard>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "events_table_drawing.h"
#include "export_dialog.h"
#include "numbers.h"
#include "picture_print.h"
#include "qt_file_write.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

const QColor kDiffers(255, 240, 120);  // front and rear apart beyond the tolerance
const QColor kErrorText(200, 0, 0);    // a notch where the gear cannot close

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

TValveEvents::TValveEvents(Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
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
  SetLabel = new QLabel;
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

void TValveEvents::recompute() {
  table_ = useDefaultNotches_ ? ComputeValveEvents(ws_) : ComputeValveEvents(ws_, offsets_);
  ++recomputes_;
  const std::string laps = lapsText(table_);
  SetLabel->setText(QString::fromStdString("Set: " + ws_.DimSetName + "    mid-gear centre " +
                                           fixedText(table_.Centre, 0, 3) +
                                           (laps.empty() ? "" : "    " + laps) + "\n" +
                                           kEventsConventionText));
  refreshTable();
}

void TValveEvents::refreshTable() {
  view_ = buildEventsTable(table_, {StrokeTolerance->value(), LeadTolerance->value()});
  const int columns = static_cast<int>(view_.header.size());
  const int rows = static_cast<int>(view_.rows.size());
  if (Table->columnCount() != columns) {
    Table->setColumnCount(columns);
    QStringList labels;
    for (const std::string& h : view_.header) labels << QString::fromStdString(h);
    Table->setHorizontalHeaderLabels(labels);
  }
  Table->setRowCount(rows);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < columns && c < static_cast<int>(view_.rows[r].size()); ++c) {
      const EventsCell& cell = view_.rows[r][c];
      QTableWidgetItem* item = Table->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        Table->setItem(r, c, item);
      }
      item->setText(QString::fromStdString(cell.text));
      item->setToolTip(QString::fromStdString(cell.tip));
      item->setBackground(cell.differs ? QBrush(kDiffers) : QBrush());
      item->setForeground(cell.error ? QBrush(kErrorText) : QBrush());
    }
  // Widths follow the texts once, when the table is first filled: columns that jump about while
  // a dimension is being nudged would be hard to read.
  if (!sized_ && rows > 0) {
    Table->resizeColumnsToContents();
    sized_ = true;
  }
}

void TValveEvents::CopyClick() {
  QApplication::clipboard()->setText(QString::fromStdString(tabSeparated(view_)));
}

bool TValveEvents::saveCsv(const QString& path, QString* message) {
  const auto failed = writeWholeFileAt(path, valveEventsCsv(table_));
  if (failed && message) *message = *failed;
  return !failed;
}

void TValveEvents::SaveCsvClick() {
  const QString path = QFileDialog::getSaveFileName(
      this, "Save as CSV", QString::fromStdString(ws_.DimSetName) + "-events.csv",
      "CSV files (*.csv);;All files (*)");
  if (path.isEmpty()) return;
  QString message;
  if (!saveCsv(path, &message)) QMessageBox::warning(this, "Save as CSV", message);
}

PictureInfo TValveEvents::pictureInfo() const {
  return {eventsTablePictureSize(view_),
          QStringLiteral("Valve events: %1").arg(QString::fromStdString(ws_.DimSetName))};
}

ExportResult TValveEvents::exportTo(const QString& path) const {
  return exportPicture(path, pictureInfo(),
                       [this](Canvas& canvas) { drawEventsTable(canvas, view_, ws_.DimSetName); });
}

void TValveEvents::ExportClick() {
  exportPictureAsked(this, "Export", QString::fromStdString(ws_.DimSetName) + "-events",
                     [this](const QString& path) { return exportTo(path); });
}

void TValveEvents::PrintClick() {
  printPictureAsked(this, pictureInfo(),
                    [this](Canvas& canvas) { drawEventsTable(canvas, view_, ws_.DimSetName); });
}

void TValveEvents::NotchesEditExit() {
  const std::string text = NotchesEdit->text().toStdString();
  if (text == notchesText_) return;
  if (!parseNotchList(text, offsets_, useDefaultNotches_)) {
    // Not a list of offsets: the table stays as it was, and so does the field.
    NotchesEdit->setText(QString::fromStdString(notchesText_));
    return;
  }
  notchesText_ = text;
  recompute();
}

}  // namespace vek1
