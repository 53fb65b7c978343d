#include "entry_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

namespace vek1 {

EntryDialog::EntryDialog(const QString& caption, const QStringList& labels, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(caption);
  setModal(true);
  auto* column = new QVBoxLayout(this);
  for (const QString& text : labels) {
    auto* label = new QLabel(text, this);
    labels_.push_back(label);
    column->addWidget(label);
  }
  Edit1 = new KeyFilterEdit(this);
  column->addWidget(Edit1);
  auto* buttons = new QHBoxLayout;
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  column->addLayout(buttons);
  // Enter presses the focused button; in the edit it answers "OK". Escape is "Cancel".
  OKButton->setAutoDefault(true);
  CancelButton->setAutoDefault(true);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, [this] {
    OKClick();
    accept();
  });
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void EntryDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FormActivate();
  // The focus starts on "Cancel", so a stray Enter changes nothing.
  CancelButton->setFocus();
}

}  // namespace vek1
