#include "clocktext.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace vek1 {

QString currentDateText() {
  return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

QString currentTimeText() {
  return QLocale::system().toString(QTime::currentTime(), QLocale::LongFormat);
}

}  // namespace vek1
