#pragma once
// What the window tests read back: a file's whole text, and a path in the test's own folder.

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <string>

namespace vek1::test {

inline std::string fileText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "(unreadable)";
  return f.readAll().toStdString();
}

inline QString tempPath(const char* name) {
  return QString::fromStdString(::testing::TempDir()) + name;
}

}  // namespace vek1::test
