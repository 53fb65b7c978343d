#include "ref_points_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

#include "numbers.h"
#include "reference_points.h"

namespace vek1 {

namespace {

// Digits, "-", "." and Backspace, nothing else; only "." is limited to one, as a misplaced "-"
// merely parses short.
bool refPointKey(QChar typed, const QString& currentText) {
  const char16_t c = typed.unicode();
  if (c == KeyFilterEdit::kBackspace) return true;
  if ((c >= u'0' && c <= u'9') || c == u'-') return true;
  if (c == u'.') return !currentText.contains(typed);
  return false;
}

float typed(const KeyFilterEdit* edit) {
  return toSingle(parseNumber(edit->text().toStdString()));
}

QString shown(float value) {
  return QString::fromStdString(fixedText(value, 5, 3));
}

}  // namespace

TRefPnts::TRefPnts(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setWindowTitle(QStringLiteral("Reference Points"));
  setModal(true);
  auto* column = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  const char* captions[] = {"RefPt V1", "RefPt H1", "RefPt V2", "RefPt H2"};
  KeyFilterEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(QString::fromLatin1(captions[i]), this), i, 0);
    *edits[i] = new KeyFilterEdit(this);
    (*edits[i])->setFilter(refPointKey);
    grid->addWidget(*edits[i], i, 1);
  }
  column->addLayout(grid);
  auto* buttons = new QHBoxLayout;
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  ZeroButton = new QPushButton(QStringLiteral("Zero"), this);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  // Every button here changes the modes, and the focus starts on Cancel: Enter answers none of
  // them, so a stray Enter cannot turn the reference points and pivot data off (or, with OK as
  // the default, on). A button is pressed with the mouse or with Space.
  for (QPushButton* b : {OKButton, ZeroButton, CancelButton}) {
    b->setAutoDefault(false);
    b->setDefault(false);
    buttons->addWidget(b);
  }
  column->addLayout(buttons);
  connect(OKButton, &QPushButton::clicked, this, [this] {
    OKClick();
    accept();
  });
  connect(ZeroButton, &QPushButton::clicked, this, [this] {
    ZeroClick();
    accept();
  });
  connect(CancelButton, &QPushButton::clicked, this, &TRefPnts::reject);
}

void TRefPnts::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  FormActivate();
  // The focus starts on "Cancel", so a stray Enter changes nothing.
  CancelButton->setFocus();
}

void TRefPnts::FormActivate() {
  Outcome = RefPntsOutcome{};
  Edit1->setText(shown(ws_.Pivots.V[kRefPoint1]));
  Edit2->setText(shown(ws_.Pivots.H[kRefPoint1]));
  Edit3->setText(shown(ws_.Pivots.V[kRefPoint2]));
  Edit4->setText(shown(ws_.Pivots.H[kRefPoint2]));
}

void TRefPnts::OKClick() {
  ws_.Pivots.V[kRefPoint1] = typed(Edit1);
  ws_.Pivots.H[kRefPoint1] = typed(Edit2);
  ws_.Pivots.V[kRefPoint2] = typed(Edit3);
  ws_.Pivots.H[kRefPoint2] = typed(Edit4);
  // A point typed as (0, 0) leaves its zero button as it was.
  Outcome.enableRef1Zero = ws_.Pivots.V[kRefPoint1] != 0.0f || ws_.Pivots.H[kRefPoint1] != 0.0f;
  Outcome.enableRef2Zero = ws_.Pivots.V[kRefPoint2] != 0.0f || ws_.Pivots.H[kRefPoint2] != 0.0f;
  SetRefPointsMode(ws_, true);
}

void TRefPnts::ZeroClick() {
  ZeroRefPoint(ws_, 1);
  ZeroRefPoint(ws_, 2);
  Outcome.disableZeros = true;
  SetRefPointsMode(ws_, false);
}

void TRefPnts::CancelClick() {
  SetRefPointsMode(ws_, false);
}

void TRefPnts::reject() {
  CancelClick();
  QDialog::reject();
}

}  // namespace vek1
