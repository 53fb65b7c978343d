// Every window but the main one, walked in the normal and the large font (and, as a second run
// of this program, at QT_SCALE_FACTOR=2): from the widgets' geometry, every control lies inside
// its window, no two controls side by side overlap where one of them has a text, and no text a
// window paints itself runs under a control or out of the window. The diagrams' bars stand
// beside their painted names, and the positions dialog's painted labels are letters, not dots.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>

#include "all_windows.h"
#include "dialog_texts.h"
#include "dimensions.h"
#include "dynvar.h"
#include "icons.h"
#include "keyfilteredit.h"
#include "placed_texts.h"
#include "recording_canvas.h"
#include "screen_data_drawing.h"
#include "tune_window.h"

namespace vek1 {
namespace {

QString where(const QWidget* w) {
  QString path;
  for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget()) {
    const QString name = p->objectName().isEmpty()
                             ? QString::fromLatin1(p->metaObject()->className())
                             : p->objectName();
    path = path.isEmpty() ? name : name + "/" + path;
  }
  if (const auto* b = qobject_cast<const QAbstractButton*>(w); b && !b->text().isEmpty())
    path += " \"" + b->text() + "\"";
  if (const auto* l = qobject_cast<const QLabel*>(w); l && !l->text().isEmpty())
    path += " \"" + l->text().left(30) + "\"";
  return path;
}

bool hasText(const QWidget* w) {
  if (const auto* b = qobject_cast<const QAbstractButton*>(w))
    return !b->text().isEmpty() || !b->icon().isNull();
  if (const auto* l = qobject_cast<const QLabel*>(w)) return !l->text().isEmpty();
  if (const auto* g = qobject_cast<const QGroupBox*>(w)) return !g->title().isEmpty();
  return qobject_cast<const QLineEdit*>(w) != nullptr;
}

// Inside a scroll area the widgets are its own machinery (viewport, bars, headers), laid out by
// it and clipped to it.
bool insideScrollArea(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(p)) return true;
  return false;
}

std::vector<QWidget*> controls(QWidget* window) {
  std::vector<QWidget*> out;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->isWindow() || !w->isVisibleTo(window) || insideScrollArea(w, window) ||
        testing::isOverlay(w))
      continue;
    out.push_back(w);
  }
  return out;
}

// Where a control's text stands, in its parent's coordinates: a label's text may be narrower
// than the label; any other control's text is the control.
QRect textPlace(const QWidget* w) {
  if (const auto* l = qobject_cast<const QLabel*>(w)) {
    const QFontMetrics fm(l->font());
    const int flags = static_cast<int>(l->alignment()) | (l->wordWrap() ? Qt::TextWordWrap : 0);
    return fm.boundingRect(l->contentsRect(), flags, l->text())
        .intersected(l->rect())
        .translated(l->pos());
  }
  return w->geometry();
}

QRect inWindow(const QWidget* w, const QWidget* window) {
  return QRect(w->mapTo(window, QPoint(0, 0)), w->size());
}

void expectControlsFit(QWidget* window) {
  const QRect client = window->rect();
  const std::vector<QWidget*> all = controls(window);
  for (QWidget* w : all) {
    EXPECT_TRUE(client.contains(inWindow(w, window)))
        << where(w).toStdString() << " at " << inWindow(w, window).x() << ","
        << inWindow(w, window).y() << " " << w->width() << "x" << w->height() << " outside a "
        << client.width() << "x" << client.height() << " window";
    for (QWidget* s : all) {
      // Controls on the strips of one drawing stand side by side on it.
      if (s == w || testing::hostOf(s) != testing::hostOf(w) || !hasText(w)) continue;
      const QPoint origin = w->parentWidget()->mapTo(testing::hostOf(w), QPoint(0, 0));
      const QPoint sOrigin = s->parentWidget()->mapTo(testing::hostOf(s), QPoint(0, 0));
      if (textPlace(w).translated(origin).intersects(s->geometry().translated(sOrigin)))
        ADD_FAILURE() << where(s).toStdString() << " covers the text of " << where(w).toStdString();
    }
  }
}

// Texts a window paints, in the window's coordinates: inside it and under no control.
void expectPaintedTextsClear(QWidget* window, const std::vector<testing::PlacedText>& texts,
                             QPoint offset) {
  ASSERT_FALSE(texts.empty());
  const std::vector<QWidget*> all = controls(window);
  for (const testing::PlacedText& t : texts) {
    const QRect box = t.box.translated(offset);
    EXPECT_TRUE(window->rect().contains(box))
        << "\"" << t.text << "\" at " << box.x() << "," << box.y() << " outside a "
        << window->width() << "x" << window->height() << " window";
    for (QWidget* w : all)
      EXPECT_FALSE(inWindow(w, window).intersects(box))
          << "\"" << t.text << "\" at " << box.x() << "," << box.y() << " runs under "
          << where(w).toStdString();
  }
}

// Of the dark pixels of a picture, the share with a dark neighbour to the right or below:
// letters drawn at the screen's pitch are strokes; letters plotted one device pixel for each
// pixel of the drawing, on a screen of twice the pitch, are dots with none.
double joinedInk(const QImage& picture) {
  const QImage image = picture.convertToFormat(QImage::Format_RGB32);
  const auto dark = [&](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
  int ink = 0, joined = 0;
  for (int y = 0; y + 1 < image.height(); ++y)
    for (int x = 0; x + 1 < image.width(); ++x) {
      if (!dark(x, y)) continue;
      ++ink;
      joined += dark(x + 1, y) || dark(x, y + 1);
    }
  return ink ? static_cast<double>(joined) / ink : 0.0;
}

class WindowGeometry : public ::testing::Test {
 protected:
  AllWindows all;
  TTuneDesign tune{all.ws, &all.main};
  QWidget* current = nullptr;
  QTimer dismiss;

  void SetUp() override {
    // A diagram asks for its positions as it opens; each window is looked at on its own.
    QObject::connect(&dismiss, &QTimer::timeout, [this] {
      if (auto* asked = qobject_cast<QDialog*>(QApplication::activeModalWidget());
          asked && asked != current)
        asked->reject();
    });
    dismiss.start(10);
    // The diagrams with their bars, names and undo line showing.
    for (int id : {dim::RadiusRod, dim::ValveLeverUpper, dim::CouplerLower, dim::Stroke})
      DynVarRegisterDimension(all.ws, id);
    all.ws.DynVarShown = all.ws.UndoMode = true;
  }

  std::vector<QWidget*> windows() {
    std::vector<QWidget*> out;
    for (QWidget* w : all.windows())
      if (w != &all.main) out.push_back(w);
    out.push_back(&tune);
    return out;
  }

  void open(QWidget* window) {
    current = window;
    window->show();
    QTest::qWait(5);
  }

  void walk() {
    for (QWidget* window : windows()) {
      SCOPED_TRACE(window->metaObject()->className());
      open(window);
      expectControlsFit(window);
      if (auto* d = dynamic_cast<DiagramWindow*>(window)) expectDiagram(*d);
      window->hide();
    }
    for (auto [dialog, draw] : {std::pair<DimensionDialog*, void (*)(Canvas&, const Workspace&)>{
                                    &all.frameDi, &drawFrameDialogTexts},
                                {&all.cylDimen, &drawCylinderDialogTexts}}) {
      SCOPED_TRACE(dialog->windowTitle().toStdString());
      open(dialog);
      RecordingCanvas canvas(dialog->width(), dialog->height());
      draw(canvas, all.ws);
      expectPaintedTextsClear(dialog, testing::placedTexts(canvas), {});
      dialog->hide();
    }
    SCOPED_TRACE("Set Reverse Arm Positions");
    open(&all.setRevArm);
    RevArmRowsShown rows;
    const auto edits = all.setRevArm.findChildren<KeyFilterEdit*>();
    for (int k = 1; k <= 9 && k <= edits.size(); ++k)
      rows.Visible[static_cast<std::size_t>(k)] = edits[k - 1]->isVisibleTo(&all.setRevArm);
    RecordingCanvas canvas(all.setRevArm.width(), all.setRevArm.height());
    drawRevArmPositionsTexts(canvas, all.ws, rows);
    expectPaintedTextsClear(&all.setRevArm, testing::placedTexts(canvas), {});
    // The labels' column, left of the fields.
    const QImage shown = all.setRevArm.grab().toImage();
    const double ratio = shown.devicePixelRatio();
    const QRect labels(0, static_cast<int>(20 * ratio), static_cast<int>(90 * ratio),
                       static_cast<int>(60 * ratio));
    EXPECT_GT(joinedInk(shown.copy(labels)), 0.5) << "at a pixel ratio of " << ratio;
    all.setRevArm.hide();
  }

  void expectDiagram(DiagramWindow& d) {
    RecordingCanvas canvas(d.width(), d.height());
    d.drawShownPicture(canvas);
    // The picture stands below the window's menu bar.
    const QPoint below(0, d.Menu->height());
    expectPaintedTextsClear(&d, testing::placedTexts(canvas), below);
    // Each bar beside its dimension's painted name, centre to centre.
    const std::vector<testing::PlacedText> texts = testing::placedTexts(canvas);
    for (int slot = 1; slot <= 4; ++slot) {
      const QString name = QString::fromStdString(all.ws.DynVarList[slot].Name).trimmed();
      const auto text = std::find_if(texts.begin(), texts.end(), [&](const testing::PlacedText& t) {
        return QString::fromStdString(t.text).trimmed() == name;
      });
      ASSERT_NE(text, texts.end()) << name.toStdString();
      ASSERT_TRUE(d.SBDynVar[slot]->isVisible());
      EXPECT_NEAR(d.SBDynVar[slot]->geometry().center().y(),
                  text->box.translated(below).center().y(), 3)
          << name.toStdString();
    }
  }
};

TEST_F(WindowGeometry, EveryWindowFitsInTheNormalFont) {
  walk();
}

// The main window, in both fonts: its strip's controls inside the window and clear of each
// other's captions, and the screen-data texts it paints (beside the strip) under no control.
TEST_F(WindowGeometry, TheMainWindowFitsInBothFonts) {
  for (bool large : {false, true}) {
    SCOPED_TRACE(large ? "large font" : "normal font");
    if (large) all.main.LargeFont->trigger();
    open(&all.main);
    // The window opens at the size that shows the strip whole.
    EXPECT_GE(all.main.Surface->width(), all.main.Surface->minimumWidth());
    EXPECT_GE(all.main.Surface->height(), all.main.Surface->minimumHeight());
    expectControlsFit(&all.main);
    // The strip stands on the drawing, which paints the screen data beside it.
    expectControlsFit(all.main.Surface);
    RecordingCanvas canvas(all.main.Surface->width(), all.main.Surface->height());
    drawScreenData(canvas, all.ws, CutOffDisplay{true, true, true});
    expectPaintedTextsClear(all.main.Surface, testing::placedTexts(canvas), {});
    all.main.hide();
  }
}

TEST_F(WindowGeometry, EveryWindowFitsInTheLargeFont) {
  all.main.LargeFont->trigger();
  ASSERT_GT(all.ws.TextScaleY, 1.0f);
  walk();
}

// The toolbar's steam button, which turns the steam display on, must not look switched off:
// its picture differs from the greyed one the style makes for a disabled button about as much
// as the other buttons' pictures do.
TEST(ToolBarIcons, TheSteamButtonDoesNotLookDisabled) {
  const auto greyness = [](const QIcon& icon) {
    const QImage on = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage off =
        icon.pixmap(16, 16, QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    double diff = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) {
        const QRgb a = on.pixel(x, y), b = off.pixel(x, y);
        diff += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
      }
    return diff;
  };
  const double steam = greyness(icons::steam());
  const double others = std::min({greyness(icons::driverAngle()), greyness(icons::reverseArm()),
                                  greyness(icons::midGear()), greyness(icons::undo())});
  EXPECT_GT(steam, 0.6 * others) << steam << " against " << others;
}

}  // namespace
}  // namespace vek1
