#include "set_rev_arm_dialog.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPaintEvent>
#include <QPalette>
#include <QShowEvent>
#include <algorithm>
#include <string>

#include "numbers.h"
#include "painter_canvas.h"

namespace vek1 {

namespace {

// The form's layout is kept in its design units, laid out at 120 pixels per inch, while its texts
// are placed in pixels at 96 per inch; scaling the layout by 96/120 puts each field level with its
// label (position 1 at 47 units = 38 pixels, beside its label at 38).
int px(int designUnits) {
  return roundHalfEven(designUnits * 96.0 / 120.0);
}

constexpr int kClientWidth = 409;
constexpr int kClientHeight = 154;
constexpr int kEditWidth = 49;
constexpr int kEditHeight = 13;
constexpr int kRowUnits = 16;
// Edit1..Edit10, in that order. The scale field heads the first column, above position 1.
constexpr std::array<QPoint, 10> kEditPlaces = {{
    {138, 47},
    {138, 63},
    {138, 79},
    {138, 95},  // positions 1..4
    {333, 31},
    {333, 47},
    {333, 63},
    {333, 79},
    {333, 95},  // positions 5..9
    {138, 31},  // vertical scale
}};
constexpr int kScaleEdit = 10;
constexpr QRect kClose1Place{158, 114, 92, 31};

// A 9-pixel font keeps "-1.600" inside the 49-pixel fields and matches the painted texts.
constexpr int kDialogFontPixels = 9;
constexpr int kTextPoints = 7;

const QColor kFieldColour(192, 192, 192);

// Where the label of position k (1..9) goes, in unscaled text coordinates: positions 1..4 down the
// first column below the scale label, 5..9 down the second column from its top.
QPoint labelPlace(int k) {
  constexpr int kRowPitch = 13;
  if (k <= 4) return {13, 38 + (k - 1) * kRowPitch};
  return {165, 25 + (k - 5) * kRowPitch};
}

std::string fieldText(float v) {
  return fixedText(v, 5, 3);
}

// A limit in the header: its label and value together, cut to `room` characters.
std::string headerText(const char* label, double value, std::size_t room) {
  std::string text = label + fixedText(value, 5, 3);
  if (text.size() > room) text.resize(room);
  return text;
}

}  // namespace

void drawRevArmPositionsTexts(Canvas& canvas, const Workspace& ws, const RevArmRowsShown& rows) {
  const double fx = ws.TextScaleX;
  const double fy = ws.TextScaleY;
  const auto x = [fx](int v) { return roundHalfEven(v * fx); };
  const auto y = [fy](int v) { return roundHalfEven(v * fy); };
  canvas.setFontColour(colour::Black);
  canvas.setFontSize(kTextPoints);
  canvas.setFontStyle({});

  // The header stays on the top line in either font mode; only its columns spread.
  const double centre = ws.RevArmPositions[0];
  const double norm = ws.Frame[dim::RevArmToCentNorm];
  const double max = ws.Frame[dim::RevArmToCentMax];
  constexpr int kHeaderY = 4;
  constexpr std::size_t kHeaderRoom = 14;
  canvas.textOut(x(10), kHeaderY, headerText("Min ", centre - max, kHeaderRoom));
  canvas.textOut(x(75), kHeaderY, headerText("Rev ", centre - norm, kHeaderRoom));
  // "Cent " is a letter longer than the others.
  canvas.textOut(x(140), kHeaderY, headerText("Cent ", centre, kHeaderRoom + 1));
  canvas.textOut(x(205), kHeaderY, headerText("Fwd ", centre + norm, kHeaderRoom));
  canvas.textOut(x(270), kHeaderY, headerText("Max ", centre + max, kHeaderRoom));

  canvas.textOut(x(13), y(25), "Vertical Scale");
  canvas.textOut(x(13), y(98), "Max of 9 Positions");
  for (int k = 1; k <= 9; ++k) {
    if (!rows.shown(k)) continue;
    const QPoint at = labelPlace(k);
    canvas.textOut(x(at.x()), y(at.y()), "Rev Arm Position  " + std::to_string(k));
  }
}

TSetRevArm::TSetRevArm(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setWindowTitle(QStringLiteral("Set Reverse Arm Positions"));
  setFixedSize(px(kClientWidth), px(kClientHeight));
  QPalette background = palette();
  background.setColor(QPalette::Window, Qt::white);
  setPalette(background);
  setAutoFillBackground(true);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kDialogFontPixels);
  setFont(font);

  for (int n = 1; n <= 10; ++n) {
    auto* edit = new KeyFilterEdit(this);
    const QPoint at = kEditPlaces[static_cast<std::size_t>(n - 1)];
    // The fields keep a text line's height, which the scaled 13 units would not give, but end
    // where the next row's field starts (the rows are 16 units apart).
    edit->setGeometry(px(at.x()), px(at.y()), px(kEditWidth),
                      std::min(kEditHeight, px(at.y() + kRowUnits) - px(at.y())));
    edit->setFrame(false);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, kFieldColour);
    colours.setColor(QPalette::Text, Qt::black);
    edit->setPalette(colours);
    // Positions 1..8 open the next row on every key, refused or not: typing anything into the last
    // row shown is how the user asks for another position.
    const bool opensNext = n <= 8;
    edit->setFilter([this, n, opensNext](QChar typed, const QString& text) {
      const std::u16string_view current(reinterpret_cast<const char16_t*>(text.utf16()),
                                        static_cast<std::size_t>(text.size()));
      const bool accepted = PositionKeyAccepted(typed.unicode(), current);
      if (opensNext) revealRow(n + 1);
      return accepted;
    });
    connect(edit, &KeyFilterEdit::focusLost, this, [this, n] { editExit(n); });
    edits_[static_cast<std::size_t>(n - 1)] = edit;
  }

  Close1 = new QPushButton(QStringLiteral("Close"), this);
  Close1->setGeometry(px(kClose1Place.x()), px(kClose1Place.y()), px(kClose1Place.width()),
                      px(kClose1Place.height()));
  connect(Close1, &QPushButton::clicked, this, &TSetRevArm::Close1Click);

  // Showing the dialog refreshes it; until then only the first row is there.
  rows_.Visible[1] = true;
  for (int k = 2; k <= 9; ++k) edit(k)->hide();
}

TSetRevArm::~TSetRevArm() {
  // QDialog's destructor hides the window, which takes the focus from a field; that must not run
  // a commit on a dialog that is half gone.
  for (KeyFilterEdit* e : edits_) disconnect(e, nullptr, this, nullptr);
}

void TSetRevArm::editExit(int n) {
  const std::string text = edit(n)->text().toStdString();
  if (n == kScaleEdit) {
    CommitVerticalScale(ws_, text);
  } else {
    CommitRevArmPosition(ws_, n, text);
  }
}

void TSetRevArm::revealRow(int n) {
  if (n < 2 || n > 9 || rows_.shown(n)) return;
  rows_.Visible[static_cast<std::size_t>(n)] = true;
  edit(n)->show();
  update();
}

void TSetRevArm::RefreshPositionsDialog() {
  // Parking the focus first makes a field that still holds typed text commit it before the model
  // is read back into the fields.
  Close1->setFocus(Qt::OtherFocusReason);
  rows_ = RefreshPositions(ws_);
  for (int k = 1; k <= 9; ++k) {
    edit(k)->setText(QString::fromStdString(fieldText(ws_.RevArmPositions[k])));
    edit(k)->setVisible(rows_.shown(k));
  }
  edit(kScaleEdit)->setText(QString::fromStdString(fieldText(ws_.VerticalScale)));
  update();
}

void TSetRevArm::FormActivate() {
  // The labels are written at the text factors; the fields and the dialog follow them.
  layout_.fitDialog(this, QSize(px(kClientWidth), px(kClientHeight)), ws_.TextScaleX,
                    ws_.TextScaleY);
  // The second pass sees the list as the first one left it.
  RefreshPositionsDialog();
  RefreshPositionsDialog();
  Close1->setFocus(Qt::OtherFocusReason);
}

void TSetRevArm::Close1Click() {
  close();
  RefreshPositionsDialog();
}

void TSetRevArm::done(int result) {
  QDialog::done(result);
  ws_.RepaintPending = true;
}

void TSetRevArm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // A spontaneous show is the desktop restoring the window, not the dialog being opened.
  if (!event->spontaneous()) FormActivate();
}

void TSetRevArm::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // The canvas plots its glyphs pixel by pixel: straight onto a scaled screen each pixel would
  // be a single device pixel, the letters dots. Drawn at the screen's pitch into a picture,
  // they keep their shape and come out sharp.
  const double ratio = std::clamp(devicePixelRatioF(), 1.0, 8.0);
  QImage picture(QSize(roundHalfEven(width() * ratio), roundHalfEven(height() * ratio)),
                 QImage::Format_RGB32);
  picture.fill(Qt::white);
  {
    QPainterCanvas canvas(picture, nullptr, ratio);
    drawRevArmPositionsTexts(canvas, ws_, rows_);
  }
  QPainter painter(this);
  painter.drawImage(QRectF(rect()), picture, QRectF(picture.rect()));
}

}  // namespace vek1
