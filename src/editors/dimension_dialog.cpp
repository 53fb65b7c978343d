#include "dimension_dialog.h"

#include <QFont>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QShowEvent>
#include <utility>

#include "dimensions.h"
#include "valve.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

// The layout was drawn for a small 8-point dialog font; 9 pixels (7 points at 96 dpi, the size
// the labels are painted in) keeps "16.000" inside a 40-pixel field and "ResetFrameDim" inside
// its button on any desktop, whatever the desktop's own font.
constexpr int kDialogFontPixels = 9;

}  // namespace

DimensionDialog::DimensionDialog(Workspace& ws, const QString& caption,
                                 QSize client, QRect close1, QWidget* parent)
    : QDialog(parent), ws_(ws) {
  setWindowTitle(caption);
  designClient_ = client;
  setFixedSize(client);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kDialogFontPixels);
  setFont(font);

  Close1 = new QPushButton(QStringLiteral("Close"), this);
  Close1->setGeometry(close1);
  connect(Close1, &QPushButton::clicked, this, &DimensionDialog::Close1Click);
}

DimensionDialog::~DimensionDialog() = default;

void DimensionDialog::addRows(std::span<const DimensionRowPlace> places) {
  for (const DimensionRowPlace& place : places) {
    rows_.push_back(std::make_unique<DimensionRow>(
        *this, ws_, [this] { emit reverseArmRangeChanged(); }, *Close1, place.id, place.edit,
        place.button));
  }
}

void DimensionDialog::setTabChain(const std::vector<QWidget*>& chain) {
  for (std::size_t i = 1; i < chain.size(); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

QPushButton* DimensionDialog::makeResetButton(const QString& caption, QRect place,
                                              std::function<void()> press,
                                              std::function<void()> click) {
  resetButton_ = new QPushButton(caption, this);
  resetButton_->setGeometry(place);
  resetPress_ = std::move(press);
  resetButton_->installEventFilter(this);
  connect(resetButton_, &QPushButton::clicked, this, std::move(click));
  return resetButton_;
}

bool DimensionDialog::eventFilter(QObject* watched, QEvent* event) {
  // The press resets at once, before the button is released; releasing over the button then
  // resets again and also clears the undo history, releasing elsewhere keeps the history.
  if (watched == resetButton_ && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && resetPress_) {
    resetPress_();
  }
  return QDialog::eventFilter(watched, event);
}

void DimensionDialog::FormActivate() {
  // The labels are painted at the text factors; the fields, buttons and the dialog follow them.
  layout_.fitDialog(this, designClient_, ws_.TextScaleX, ws_.TextScaleY);
  update();
  for (const auto& row : rows_) row->refill();
}

void DimensionDialog::closingWork() {
  // The field being left is committed first, so the centre is computed from what was typed.
  for (const auto& row : rows_) {
    if (focusWidget() == row->edit()) row->exit();
  }
  ComputeReverseArmCentre(ws_);
  emit midGearCentreChanged();
  ClearCutOff(ws_);
}

void DimensionDialog::Close1Click() {
  closingWork();
  accept();
}

void DimensionDialog::reject() {
  // Escape and the window's close box end the editing as Close does: an edited gear left with
  // a stale mid-gear centre would run off-centre.
  closingWork();
  QDialog::reject();
}

void DimensionDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the desktop restoring the window, not the dialog being opened.
  if (event->spontaneous()) return;
  FormActivate();
  // Opening with the focus on Close means a stray Enter closes instead of changing a value, and
  // no field is selected as a dynamic variable until the user picks one.
  Close1->setFocus(Qt::OtherFocusReason);
}

void DimensionDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainterCanvas canvas(*this);
  const QColor text = palette().color(QPalette::WindowText);
  canvas.setFontColour(Rgb{text.red(), text.green(), text.blue()});
  drawTexts(canvas);
}

}  // namespace vek1
