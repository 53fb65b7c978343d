#pragma once
// The shape shared by the small typed-entry dialogs (reverse-arm position, driver angle, step
// angle, graphic zoom): a few labels, one filtered edit, "OK" and "Cancel". Each dialog fills its
// labels when it is shown and acts on "OK"; "Cancel" changes nothing.

#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "keyfilteredit.h"

namespace vek1 {

class EntryDialog : public QDialog {
  Q_OBJECT
 public:
  EntryDialog(const QString& caption, const QStringList& labels, QWidget* parent = nullptr);

  KeyFilterEdit* Edit1 = nullptr;
  QPushButton* OKButton = nullptr;
  QPushButton* CancelButton = nullptr;
  // Label1, Label2, ... in the order given.
  QLabel* label(int number) const { return labels_.at(number - 1); }

 protected:
  // Runs each time the dialog is shown: fill the labels and the edit.
  virtual void FormActivate() {}
  // "OK": the dialog's effect. The dialog closes afterwards.
  virtual void OKClick() {}
  void showEvent(QShowEvent* event) override;

 private:
  std::vector<QLabel*> labels_;
};

}  // namespace vek1
