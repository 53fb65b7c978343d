// Every caption and text of every window can be read whole with the program's own fonts: no
// caption is cut by its control, and no text lies over a button of the same window. The main
// window's strip is left to the main window's own tests.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include "all_windows.h"

namespace vek1 {
namespace {

QString where(const QWidget* w) {
  QString path;
  for (const QWidget* p = w; p; p = p->parentWidget()) {
    const QString name = p->objectName().isEmpty() ? QString::fromLatin1(p->metaObject()->className())
                                                   : p->objectName();
    path = path.isEmpty() ? name : name + "/" + path;
  }
  return path;
}

// The room a control leaves for its caption, as the style lays it out.
int captionRoom(QAbstractButton* b) {
  QStyleOptionButton opt;
  opt.initFrom(b);
  opt.text = b->text();
  opt.icon = b->icon();
  opt.iconSize = b->iconSize();
  if (qobject_cast<QRadioButton*>(b))
    return b->style()->subElementRect(QStyle::SE_RadioButtonContents, &opt, b).width();
  if (qobject_cast<QCheckBox*>(b))
    return b->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, b).width();
  const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, b);
  const QRect contents = b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
  return qMin(contents.width(), b->width() - margin);
}

// The text a label shows, where it shows it, in its parent's coordinates.
QRect labelText(const QLabel* l) {
  const QFontMetrics fm(l->font());
  const QRect inside = l->contentsRect();
  const QRect text = fm.boundingRect(inside, static_cast<int>(l->alignment()), l->text());
  return text.translated(l->pos());
}


std::vector<QString> misfits(QWidget* window) {
  std::vector<QString> found;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(window)) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty()) {
      const int needed = QFontMetrics(b->font()).horizontalAdvance(b->text().remove('&'));
      if (needed > captionRoom(b))
        found.push_back(where(w) + " \"" + b->text() + "\" needs " + QString::number(needed) +
                        " px, has " + QString::number(captionRoom(b)));
    } else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty() && !l->wordWrap()) {
      const QRect text = labelText(l);
      const QRect room = l->geometry();
      if (text.width() > room.width() || QFontMetrics(l->font()).height() > room.height() + 1)
        found.push_back(where(w) + " \"" + l->text() + "\" is cut");
      // A text over a button hides part of it and takes its clicks.
      for (QWidget* s : l->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (s != l && s->isVisibleTo(window) && qobject_cast<QAbstractButton*>(s) &&
            s->geometry().intersects(room))
          found.push_back(where(w) + " \"" + l->text() + "\" lies over " + where(s));
      }
    } else if (auto* g = qobject_cast<QGroupBox*>(w); g && !g->title().isEmpty()) {
      QStyleOptionGroupBox opt;
      opt.initFrom(g);
      opt.text = g->title();
      opt.subControls = QStyle::SC_GroupBoxLabel;
      const QRect label =
          g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
      if (label.right() >= g->width()) found.push_back(where(w) + " title is cut");
    }
  }
  return found;
}

TEST(Windows, EveryCaptionAndTextFitsItsControl) {
  AllWindows all;
  // A diagram asks for its positions as it opens; each window is looked at on its own.
  QWidget* current = nullptr;
  QTimer dismiss;
  QObject::connect(&dismiss, &QTimer::timeout, [&] {
    if (auto* asked = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        asked && asked != current)
      asked->reject();
  });
  dismiss.start(10);
  // The main window's own strip is checked with the main window.
  for (QWidget* window : all.windows()) {
    if (window == &all.main) continue;
    current = window;
    window->show();
    QTest::qWait(1);
    for (const QString& m : misfits(window)) ADD_FAILURE() << m.toStdString();
    window->hide();
  }
}

}  // namespace
}  // namespace vek1
