#pragma once
// The pivot data table window: the table as plain text the user can select and copy elsewhere.

#include <QDialog>
#include <QString>
#include <optional>

#include "workspace.h"

class QAction;
class QMenu;
class QPlainTextEdit;

namespace vek1 {

class TDataTable : public QDialog {
  Q_OBJECT
 public:
  explicit TDataTable(Workspace& ws, QWidget* parent = nullptr);

  QPlainTextEdit* DataMemo() const { return memo_; }
  QMenu* Edit1() const { return edit_; }
  QAction* Close1() const { return close_; }
  QAction* Cut1() const { return cut_; }
  QAction* Copy1() const { return copy_; }
  QAction* Past1() const { return paste_; }
  QAction* SelectAll1() const { return selectAll_; }
  QAction* SaveCsv1() const { return saveCsv_; }

  // Rebuilds the table from the model as it is now, with today's date and time.
  void FormActivate();
  void Edit1Click();
  void Cut1Click();
  void Copy1Click();
  void Past1Click();
  void SelectAll1Click();
  // Asks for a file name and writes the table there as CSV.
  void SaveCsv1Click();
  // Writes the table, solved afresh, to `path` as CSV; the message when it failed.
  std::optional<QString> saveCsvTo(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;
  bool event(QEvent* event) override;

 private:
  Workspace& ws_;
  QPlainTextEdit* memo_ = nullptr;
  QMenu* edit_ = nullptr;
  QAction* close_ = nullptr;
  QAction* cut_ = nullptr;
  QAction* copy_ = nullptr;
  QAction* paste_ = nullptr;
  QAction* selectAll_ = nullptr;
  QAction* saveCsv_ = nullptr;
  // Showing builds the table and the activation that follows it must not build it again; only
  // coming back after the window lost the focus does.
  bool deactivatedSinceBuild_ = false;
};

}  // namespace vek1
