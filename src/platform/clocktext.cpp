#include "clocktext.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace vek1 {

QString currentDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString currentTimeText() {
  // The long time format with seconds, as the title has always shown it; the time zone that some
  // locales add to their long format ("t") is left out, since a wall clock does not carry it.
  static const QString format = [] {
    QString f = QLocale::system().timeFormat(QLocale::LongFormat);
    f.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*$")));
    f.remove(QRegularExpression(QStringLiteral("^\\s*t+\\s*")));
    return f.trimmed();
  }();
  return QLocale::system().toString(QTime::currentTime(), format);
}

}  // namespace vek1
