#include "file_dialogs.h"
#include "data_table_window.h"

#include <QAction>
#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "clocktext.h"
#include "pivot_table.h"
#include "qt_file_write.h"

namespace vek1 {

TDataTable::TDataTable(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setWindowTitle("Pivot Data Table");
  resize(620, 400);

  // The text box scrolls itself rather than being a fixed tall box inside a scrolled window: a
  // table of a small step has tens of thousands of lines, far more than any fixed height holds,
  // and the box's own scroll bars reach every one of them. Lines are not wrapped, so each table
  // line stays one text line.
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName("DataMemo");
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // A fixed-pitch face, so that the columns, laid out with blanks, line up under their headers.
  QFont font("DejaVu Sans Mono");
  font.setStyleHint(QFont::Monospace);
  font.setPixelSize(12);
  memo_->setFont(font);

  auto* bar = new QMenuBar(this);
  close_ = bar->addAction("&Close ");
  // A blank item only spaces the Edit menu away from Close.
  bar->addAction(QString(14, QLatin1Char(' ')))->setEnabled(false);
  edit_ = bar->addMenu("&Edit");
  cut_ = edit_->addAction("Cu&t");
  copy_ = edit_->addAction("&Copy");
  paste_ = edit_->addAction("&Paste");
  edit_->addSeparator();
  selectAll_ = edit_->addAction("Select&All");
  // Beside the Edit menu, which keeps the text box's own commands.
  saveCsv_ = bar->addAction("Save as &CSV...");

  connect(close_, &QAction::triggered, this, &QDialog::close);
  connect(edit_, &QMenu::aboutToShow, this, &TDataTable::Edit1Click);
  connect(cut_, &QAction::triggered, this, &TDataTable::Cut1Click);
  connect(copy_, &QAction::triggered, this, &TDataTable::Copy1Click);
  connect(paste_, &QAction::triggered, this, &TDataTable::Past1Click);
  connect(selectAll_, &QAction::triggered, this, &TDataTable::SelectAll1Click);
  connect(saveCsv_, &QAction::triggered, this, &TDataTable::SaveCsv1Click);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setMenuBar(bar);
  layout->addWidget(memo_);
}

void TDataTable::FormActivate() {
  cut_->setEnabled(false);
  copy_->setEnabled(false);
  selectAll_->setEnabled(true);
  // Any edits the user made are discarded: the table always shows the mechanism as it is now.
  memo_->setPlainText(QString::fromStdString(
      BuildPivotDataTable(ws_, currentDateText().toStdString(), currentTimeText().toStdString())));
  deactivatedSinceBuild_ = false;
}

void TDataTable::Edit1Click() {
  if (memo_->textCursor().hasSelection()) {
    cut_->setEnabled(true);
    copy_->setEnabled(true);
  }
}

void TDataTable::Cut1Click() {
  memo_->cut();
  selectAll_->setEnabled(true);
}

void TDataTable::Copy1Click() {
  memo_->copy();
  selectAll_->setEnabled(true);
}

void TDataTable::Past1Click() {
  memo_->paste();
}

void TDataTable::SelectAll1Click() {
  memo_->selectAll();
  cut_->setEnabled(true);
  copy_->setEnabled(true);
  selectAll_->setEnabled(false);
}

std::optional<QString> TDataTable::saveCsvTo(const QString& path) {
  // The table as the model gives it now, at full precision, not the text box's rounded text.
  return writeWholeFileAt(path, BuildPivotDataCsv(ws_));
}

void TDataTable::SaveCsv1Click() {
  const QString path =
      askSaveFile(this, QStringLiteral("Save as CSV"),
                  QStringLiteral("Pivot data - %1").arg(QString::fromStdString(ws_.DimSetName)),
                  QStringLiteral("CSV files"), QStringLiteral("csv"));
  if (path.isEmpty()) return;
  if (const auto failed = saveCsvTo(path))
    QMessageBox::warning(this, QStringLiteral("Save as CSV"), *failed);
  else
    rememberWrittenFile(path);
}

void TDataTable::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

bool TDataTable::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) {
    deactivatedSinceBuild_ = true;
  } else if (event->type() == QEvent::WindowActivate && deactivatedSinceBuild_) {
    FormActivate();
  }
  return QDialog::event(event);
}

}  // namespace vek1
