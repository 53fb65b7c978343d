#include "lines_dialog.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <algorithm>
#include <vector>

#include "numbers.h"
#include "overlay.h"
#include "reference_points.h"

namespace vek1 {

namespace {

// The layout is kept in its design units, laid out at 120 pixels per inch; the dialog is shown
// at 96.
int px(int designUnits) {
  return roundHalfEven(designUnits * 96.0 / 120.0);
}
QRect pxRect(int x, int y, int w, int h) {
  return {px(x), px(y), px(w), px(h)};
}

constexpr int kDialogFontPixels = 11;
constexpr std::array<int, kOverlayItems> kRowTops = {123, 140, 158, 175, 192, 209, 226,
                                                     244, 261, 278, 295, 313, 330, 347,
                                                     364, 382, 399, 416, 433, 450};
constexpr std::array<int, 4> kEditLefts = {207, 272, 351, 416};
constexpr int kCircleRadiusEdit = 3;
constexpr int kButtonWidth = 70;  // the circle's third number is not the user's to type

// A couple of pixels beyond what the style says a caption needs, for the focus frame.
constexpr int kCaptionSlack = 2;

const QColor kGroupColour(192, 192, 192);
const QColor kCurrentRowColour(0, 255, 255);

QString qs(const std::string& s) {
  return QString::fromStdString(s);
}

void fillBackground(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, colour);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

// A silver box of radio buttons in `columns` columns.
QButtonGroup* makeGroup(QWidget* parent, const QString& caption, QRect place,
                        const std::vector<QString>& items, int columns,
                        std::vector<QRadioButton*>& buttons) {
  auto* box = new QGroupBox(caption, parent);
  box->setGeometry(place);
  fillBackground(box, kGroupColour);
  auto* group = new QButtonGroup(box);
  const int count = static_cast<int>(items.size());
  const int rows = (count + columns - 1) / columns;
  const int cellH = (place.height() - 18) / rows;
  // Each column is as wide as its longest caption needs, and the room left over is shared out,
  // so that "Yellow" and "Piv1/Piv2" are not cut where equal columns would cut them.
  QStyleOptionButton opt;
  opt.initFrom(box);
  const int indicator = box->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, &opt, box) +
                        box->style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, &opt, box) +
                        kCaptionSlack;
  const QFontMetrics fm(box->font());
  std::vector<int> widths(static_cast<std::size_t>(columns), 0);
  for (int i = 0; i < count; ++i) {
    int& w = widths[static_cast<std::size_t>(i / rows)];
    w = std::max(w, indicator + fm.horizontalAdvance(items[static_cast<std::size_t>(i)]));
  }
  constexpr int kInnerMargin = 4;
  int used = 0;
  for (int w : widths) used += w;
  const int spare = std::max(0, place.width() - 2 * kInnerMargin - used) / columns;
  int x = kInnerMargin;
  for (int c = 0; c < columns; ++c) {
    const int w = widths[static_cast<std::size_t>(c)] + spare;
    for (int r = 0; r < rows && c * rows + r < count; ++r) {
      const int i = c * rows + r;
      auto* b = new QRadioButton(items[static_cast<std::size_t>(i)], box);
      b->setGeometry(x, 16 + r * cellH, w, cellH);
      group->addButton(b, i);
      buttons.push_back(b);
    }
    x += w;
  }
  return group;
}

}  // namespace

TDrawLines::TDrawLines(Workspace& ws, SoundSink& sound, QWidget* parent)
    : QDialog(parent), ws_(ws), sound_(sound) {
  setWindowTitle(QStringLiteral("Draw Lines"));
  resize(px(592), px(501));
  fillBackground(this, Qt::white);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kDialogFontPixels);
  setFont(font);

  std::vector<QRadioButton*> buttons;
  RadioGroup1 = makeGroup(this, QStringLiteral("  Type    "), pxRect(11, 9, 84, 67),
                          {QStringLiteral("Line"), QStringLiteral("Circle")}, 1, buttons);
  std::copy(buttons.begin(), buttons.end(), typeButtons_.begin());
  buttons.clear();
  std::vector<QString> colours;
  for (const char* c : kOverlayColourCaptions) colours.push_back(QString::fromLatin1(c));
  RadioGroup2 =
      makeGroup(this, QStringLiteral("  Color  "), pxRect(101, 9, 209, 67), colours, 3, buttons);
  std::copy(buttons.begin(), buttons.end(), colourButtons_.begin());
  buttons.clear();
  RadioGroup3 = makeGroup(this, QStringLiteral("  Referenced to  "), pxRect(316, 9, 179, 67),
                          {QStringLiteral("0,0"), QStringLiteral("Pivot1"),
                           QStringLiteral("Piv1/0,0"), QStringLiteral("Piv1/Piv2")},
                          2, buttons);
  std::copy(buttons.begin(), buttons.end(), refButtons_.begin());
  connect(RadioGroup1, &QButtonGroup::idClicked, this, [this](int id) {
    ws_.OverlayTypeChoice = id;
    RadioGroup1Click();
  });
  connect(RadioGroup2, &QButtonGroup::idClicked, this, [this](int id) {
    ws_.OverlayColourChoice = id;
    RadioGroup2Click();
  });
  connect(RadioGroup3, &QButtonGroup::idClicked, this, [this](int id) {
    ws_.OverlayRefChoice = id;
    RadioGroup3Click();
  });

  const auto button = [this](const QString& caption, QRect place) {
    auto* b = new QPushButton(caption, this);
    b->setGeometry(place);
    // Enter in an edit must not press a button.
    b->setAutoDefault(false);
    return b;
  };
  // The buttons are a little wider than drawn, reaching towards the window's right edge, so that
  // "Draw Close" and "Clear Line" show whole in our font; Close keeps its right edge with them.
  const int buttonsRight = px(500) + kButtonWidth;
  DrawBut = button(QStringLiteral("Draw Close"), {px(500), px(9), kButtonWidth, px(30)});
  DrawBut->setEnabled(false);
  ClearLine = button(QStringLiteral("Clear Line"), {px(500), px(43), kButtonWidth, px(31)});
  CloseBut = button(QStringLiteral("Close"), {buttonsRight - px(52), px(78), px(52), px(30)});
  LinesData = button(QString(), pxRect(0, 0, 11, 11));
  LinesData->setVisible(false);
  connect(DrawBut, &QPushButton::clicked, this, &TDrawLines::DrawButClick);
  connect(ClearLine, &QPushButton::clicked, this, &TDrawLines::ClearLineClick);
  connect(CloseBut, &QPushButton::clicked, this, &TDrawLines::CloseButClick);
  connect(LinesData, &QPushButton::clicked, this, &TDrawLines::LinesDataClick);

  // Column titles never take a click meant for a button they come near.
  const auto title = [this](const QString& text, int x, int y) {
    auto* l = new QLabel(text, this);
    l->setAttribute(Qt::WA_TransparentForMouseEvents);
    l->move(x, y);
    l->adjustSize();
    return l;
  };
  title(QStringLiteral("Item"), px(44), px(84));
  // The second title line stands a font height below the first, so the two do not overlap.
  title(QStringLiteral("No."), px(48), px(100));
  title(QStringLiteral("Type     Color     Ref to"), px(82), px(92));
  // The number columns are titled word by word, each word centred over its own column: as one
  // run of words spaced with blanks, the line ran under the Close button in our wider font.
  const std::array<const char*, 4> lineTitles = {"Line1Vert", "Line1Horz", "Line2Vert",
                                                 "Line2Horz"};
  const std::array<const char*, 4> circleTitles = {"CirCentV", "CirCentH", "", "CirRadius"};
  for (std::size_t n = 0; n < 4; ++n) {
    const int centre = px(39 + kEditLefts[n]) + px(51) / 2;
    for (const auto& [text, y] :
         {std::pair(lineTitles[n], px(84)), std::pair(circleTitles[n], px(100))}) {
      if (*text == '\0') continue;
      QLabel* l = title(QString::fromLatin1(text), 0, y);
      // A pixel smaller than the dialog's font, so neighbouring words keep a gap between them.
      QFont smaller = l->font();
      smaller.setPixelSize(kDialogFontPixels - 1);
      l->setFont(smaller);
      l->adjustSize();
      l->move(centre - l->width() / 2, y);
    }
  }

  for (int k = 1; k <= kOverlayItems; ++k) {
    Row& row = rows_[static_cast<std::size_t>(k)];
    row.panel = new QFrame(this);
    row.panel->setFrameShape(QFrame::NoFrame);
    row.panel->setGeometry(pxRect(39, kRowTops[static_cast<std::size_t>(k - 1)], 480, 16));
    fillBackground(row.panel, Qt::white);
    const auto label = [&row](const QString& text, int x, int w) {
      auto* l = new QLabel(text, row.panel);
      l->setGeometry(px(x), 0, px(w), px(16));
      return l;
    };
    row.number = label(k < 10 ? QStringLiteral("%1  ").arg(k) : QString::number(k), 10, 30);
    row.number->installEventFilter(this);
    row.type = label({}, 46, 44);
    row.colour = label({}, 91, 50);
    row.ref = label({}, 143, 62);
    for (int n = 1; n <= 4; ++n) {
      auto* e = new KeyFilterEdit(row.panel);
      e->setGeometry(px(kEditLefts[static_cast<std::size_t>(n - 1)]), 0, px(51), px(16));
      e->setFrame(false);
      QPalette p = e->palette();
      p.setColor(QPalette::Base, kGroupColour);
      e->setPalette(p);
      QLabel* typeText = row.type;
      e->setFilter([typeText, n](QChar typed, const QString& text) {
        if (n == kCircleRadiusEdit && typeText->text() == QStringLiteral("Circle")) return false;
        const char16_t c = typed.unicode();
        if (c == KeyFilterEdit::kBackspace) return true;
        if (c == u'-' || c == u'.') return !text.contains(typed);
        return c >= u'0' && c <= u'9';
      });
      connect(e, &KeyFilterEdit::focusLost, this, [this, k, n] { editExit(k, n); });
      row.edits[static_cast<std::size_t>(n - 1)] = e;
    }
  }
  HighlightCurrentItem();
}

int TDrawLines::currentItem() {
  ws_.CurrentOverlayItem = clampOverlayItem(ws_.CurrentOverlayItem);
  return ws_.CurrentOverlayItem;
}

bool TDrawLines::allChosen() const {
  return ws_.OverlayTypeChoice >= 0 && ws_.OverlayColourChoice >= 0 && ws_.OverlayRefChoice >= 0;
}

void TDrawLines::clearGroup(QButtonGroup* group, int& choice) {
  // An exclusive group will not let its checked button go; lift that for the moment.
  group->setExclusive(false);
  for (QAbstractButton* b : group->buttons()) b->setChecked(false);
  group->setExclusive(true);
  choice = -1;
}

void TDrawLines::clearGroups() {
  clearGroup(RadioGroup1, ws_.OverlayTypeChoice);
  clearGroup(RadioGroup2, ws_.OverlayColourChoice);
  clearGroup(RadioGroup3, ws_.OverlayRefChoice);
}

void TDrawLines::showTexts(int row, const std::array<std::string, 4>& texts) {
  for (int n = 0; n < 4; ++n)
    rows_[static_cast<std::size_t>(row)].edits[static_cast<std::size_t>(n)]->setText(
        qs(texts[static_cast<std::size_t>(n)]));
}

void TDrawLines::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

bool TDrawLines::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    for (int k = 1; k <= kOverlayItems; ++k) {
      if (watched == rows_[static_cast<std::size_t>(k)].number) {
        RowLabelClick(k);
        return true;
      }
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TDrawLines::FormActivate() {
  const int mode = ws_.OverlayRefChoice;
  if (mode < 0) {
    ref1SnapH_ = ws_.Pivots.H[kRefPoint1];
    ref1SnapV_ = ws_.Pivots.V[kRefPoint1];
  }
  if (mode < 1 || mode > 3) {
    currentItem();
    return;
  }
  // The item was stepped back when the dialog closed for the pivot to be picked.
  ws_.CurrentOverlayItem =
      ws_.CurrentOverlayItem >= kOverlayItems ? kOverlayItems : ws_.CurrentOverlayItem + 1;
  OverlayItem& item = ws_.Overlay[static_cast<std::size_t>(currentItem())];
  const int p1 = nearestOverlayPivot(ws_.Pivots, kRefPoint1);
  item.Piv1Index = static_cast<float>(p1);
  item.Piv1SnapH = ws_.Pivots.H[static_cast<std::size_t>(p1)];
  item.Piv1SnapV = ws_.Pivots.V[static_cast<std::size_t>(p1)];
  if (mode == 3) {
    const int p2 = nearestOverlayPivot(ws_.Pivots, kRefPoint2);
    item.Piv2Index = static_cast<float>(p2);
    item.Piv2SnapH = ws_.Pivots.H[static_cast<std::size_t>(p2)];
    item.Piv2SnapV = ws_.Pivots.V[static_cast<std::size_t>(p2)];
  }
}

void TDrawLines::RadioGroup1Click() {
  if (ws_.Pivots.H[kRefPoint1] == 0.0f && ws_.Pivots.V[kRefPoint1] == 0.0f &&
      ws_.Pivots.H[kRefPoint2] == 0.0f && ws_.Pivots.V[kRefPoint2] == 0.0f) {
    sound_.beep();
    done(QDialog::Rejected);
    clearGroup(RadioGroup1, ws_.OverlayTypeChoice);
    return;
  }
  if (ws_.OverlayTypeChoice < 0) return;
  rows_[static_cast<std::size_t>(currentItem())].type->setText(
      ws_.OverlayTypeChoice == kOverlayCircle ? QStringLiteral("Circle") : QStringLiteral("Line"));
  if (allChosen()) DrawBut->setEnabled(true);
}

void TDrawLines::RadioGroup2Click() {
  if (ws_.OverlayTypeChoice < 0) {
    clearGroup(RadioGroup2, ws_.OverlayColourChoice);
    sound_.beep();
    return;
  }
  const int c = ws_.OverlayColourChoice;
  if (c < 0 || c >= kOverlayColourCount) return;
  rows_[static_cast<std::size_t>(currentItem())].colour->setText(
      QString::fromLatin1(kOverlayColourCaptions[static_cast<std::size_t>(c)]));
}

void TDrawLines::RadioGroup3Click() {
  if (ws_.OverlayTypeChoice < 0 || ws_.OverlayColourChoice < 0) {
    clearGroup(RadioGroup3, ws_.OverlayRefChoice);
    sound_.beep();
    return;
  }
  const int k = currentItem();
  OverlayItem& item = ws_.Overlay[static_cast<std::size_t>(k)];
  item.Line1Vert = ws_.Pivots.V[kRefPoint1];
  item.Line1Horz = ws_.Pivots.H[kRefPoint1];
  item.Line2Vert = ws_.Pivots.V[kRefPoint2];
  item.Line2Horz = ws_.Pivots.H[kRefPoint2];
  const int mode = ws_.OverlayRefChoice;
  const bool line = ws_.OverlayTypeChoice == kOverlayLine;
  QLabel* refText = rows_[static_cast<std::size_t>(k)].ref;
  if (mode == 0 || mode == 1 || (mode == 2 && line) || mode == 3) {
    if (mode > 0) ws_.PivotSelectPending = true;
    refText->setText(qs(*overlayRefText(static_cast<float>(mode))));
    item.ItemRef = static_cast<float>(mode);
  }
  if (allChosen()) DrawBut->setEnabled(true);
  if ((mode == 2 || mode == 3) && !line) {
    // A circle is carried by one pivot at most.
    sound_.beep();
    ClearLineClick();
    return;
  }
  if (mode >= 1 && mode <= 3) {
    // The main view must be usable for picking the pivot; the activation that follows the pick
    // steps forward again. The choices stay armed for that activation.
    done(QDialog::Rejected);
    --ws_.CurrentOverlayItem;
  }
}

void TDrawLines::DrawButClick() {
  const int k = currentItem();
  OverlayItem& item = ws_.Overlay[static_cast<std::size_t>(k)];
  const int c = ws_.OverlayColourChoice;
  if (c >= 0 && c < kOverlayColourCount)
    item.ItemColour = static_cast<float>(kOverlayColourValues[static_cast<std::size_t>(c)]);
  item.ItemType = static_cast<float>(ws_.OverlayTypeChoice < 0 ? -1 : ws_.OverlayTypeChoice);
  if (allChosen())
    showTexts(k, CommitItemGeometry(ws_, k, ws_.OverlayTypeChoice, ws_.OverlayRefChoice, false,
                                    ref1SnapH_, ref1SnapV_));
  done(QDialog::Accepted);
  if (k >= kOverlayItems) {
    sound_.beep();
  } else {
    ws_.CurrentOverlayItem = k + 1;
  }
  HighlightCurrentItem();
  DrawBut->setEnabled(false);
  ws_.PivotSelectPending = false;
  clearGroups();
}

void TDrawLines::ClearLineClick() {
  const int k = currentItem();
  showTexts(k, CommitItemGeometry(ws_, k, ws_.OverlayTypeChoice, ws_.OverlayRefChoice, true,
                                  ref1SnapH_, ref1SnapV_));
  const Row& row = rows_[static_cast<std::size_t>(k)];
  row.type->clear();
  row.colour->clear();
  row.ref->clear();
  ClearOverlayItem(ws_, k);
  ResetItemChoices();
  ws_.PivotSelectPending = false;
}

void TDrawLines::CloseButClick() {
  reject();
}

void TDrawLines::reject() {
  // Escape and the window's close box end as Close does: with the choices left armed, the next
  // press on the drawing would open the dialog again for a pivot nobody is picking.
  clearGroups();
  QDialog::reject();
  ws_.PivotSelectPending = false;
}

void TDrawLines::RowLabelClick(int row) {
  ws_.CurrentOverlayItem = clampOverlayItem(row);
  HighlightCurrentItem();
  ResetItemChoices();
}

void TDrawLines::HighlightCurrentItem() {
  const int k = currentItem();
  for (int r = 1; r <= kOverlayItems; ++r)
    fillBackground(rows_[static_cast<std::size_t>(r)].panel,
                   r == k ? kCurrentRowColour : QColor(Qt::white));
}

void TDrawLines::ResetItemChoices() {
  clearGroups();
  DrawBut->setEnabled(false);
}

void TDrawLines::editExit(int row, int n) {
  OverlayItem& item = ws_.Overlay[static_cast<std::size_t>(row)];
  const std::array<float*, 4> fields = {&item.Line1Vert, &item.Line1Horz, &item.Line2Vert,
                                        &item.Line2Horz};
  const QString text =
      rows_[static_cast<std::size_t>(row)].edits[static_cast<std::size_t>(n - 1)]->text();
  *fields[static_cast<std::size_t>(n - 1)] = toSingle(parseNumber(text.toStdString()));
}

void TDrawLines::ClearRowLabels() {
  for (int k = 1; k <= kOverlayItems; ++k) {
    const Row& row = rows_[static_cast<std::size_t>(k)];
    row.type->clear();
    row.colour->clear();
    row.ref->clear();
  }
}

void TDrawLines::DimensionFileOpened() {
  // A label left from the set before (a "Circle" over an item that is now empty) would refuse
  // keys in that row and name an item that is not there.
  ClearRowLabels();
  LinesDataClick();
  HighlightCurrentItem();
}

void TDrawLines::LinesDataClick() {
  for (int k = 1; k <= kOverlayItems; ++k) {
    const OverlayItem& item = ws_.Overlay[static_cast<std::size_t>(k)];
    const Row& row = rows_[static_cast<std::size_t>(k)];
    showTexts(k, overlayRowTexts(item));
    if (auto t = overlayTypeText(item.ItemType)) row.type->setText(qs(*t));
    if (auto t = overlayColourText(item.ItemColour)) row.colour->setText(qs(*t));
    if (auto t = overlayRefText(item.ItemRef)) row.ref->setText(qs(*t));
  }
}

}  // namespace vek1
