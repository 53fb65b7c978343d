#include "dimension_row.h"

#include <QColor>
#include <QPalette>
#include <string>
#include <string_view>

#include "dimension_edit.h"
#include "dimensions.h"

namespace vek1 {

namespace {

const QColor kGreyField(192, 192, 192);
const QColor kWhiteField(255, 255, 255);

}  // namespace

DimensionRow::DimensionRow(QWidget& dialog, Workspace& ws, std::function<void()> rangeChanged,
                           QWidget& enterGoesTo, int id, QPoint editAt, QPoint buttonAt)
    : ws_(ws), rangeChanged_(std::move(rangeChanged)), enterGoesTo_(enterGoesTo), id_(id) {
  edit_ = new KeyFilterEdit(&dialog);
  edit_->setFrame(false);
  edit_->setGeometry(editAt.x(), editAt.y(), kEditWidth, kEditHeight);
  // The field colour tells the user which dimensions can become dynamic variables; the text
  // colour is fixed with it so the field reads the same under any desktop theme.
  QPalette colours = edit_->palette();
  colours.setColor(QPalette::Base, grey() ? kGreyField : kWhiteField);
  colours.setColor(QPalette::Text, Qt::black);
  edit_->setPalette(colours);
  edit_->setFilter([this](QChar typed, const QString& text) { return keyPress(typed, text); });
  connect(edit_, &KeyFilterEdit::focusLost, this, &DimensionRow::exit);

  button_ = new QPushButton(&dialog);
  button_->setGeometry(buttonAt.x(), buttonAt.y(), kButtonWidth, kEditHeight);
  connect(button_, &QPushButton::clicked, this, &DimensionRow::buttonClick);
}

bool DimensionRow::grey() const {
  return isEditableDimensionId(id_);
}

void DimensionRow::refill() {
  shown_ = QString::fromStdString(DimensionFieldText(dimensionValue(ws_, id_)));
  edit_->setText(shown_);
}

bool DimensionRow::keyPress(QChar typed, const QString& text) {
  const std::u16string_view current(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
  switch (DimensionRowKey(ws_, typed.unicode(), current, grey())) {
    case RowKey::Accepted:
      return true;
    case RowKey::Refused:
      return false;
    case RowKey::Enter:
      // Enter does not close the dialog: it leaves the field, which commits it, and parks the
      // focus on Close so that a second Enter closes.
      enterGoesTo_.setFocus(Qt::OtherFocusReason);
      return false;
  }
  return false;
}

void DimensionRow::exit() {
  const QString now = edit_->text();
  const bool changed = now != shown_;
  shown_ = now;
  const std::string text = now.toStdString();
  switch (id_) {
    case dim::RevArmToCentNorm:
      if (changed) CommitRevArmNorm(ws_, text);
      break;
    case dim::RevArmToCentMax:
      if (!changed) break;
      CommitRevArmMax(ws_, text);
      if (rangeChanged_) rangeChanged_();
      break;
    default:
      CommitDimensionRow(ws_, id_, text, changed);
      break;
  }
  // The field keeps the text as typed (a Norm cut to Max still shows what was typed) until the
  // dialog is next activated.
}

void DimensionRow::buttonClick() {
  ws_.ShowDimensionId = id_;
}

}  // namespace vek1
