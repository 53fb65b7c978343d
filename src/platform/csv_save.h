#pragma once
// Saving a window's table as CSV, the same from every window: the file is asked for beside the
// set, written whole through the one safe writer, and a failure is said in a warning.

#include <QString>
#include <functional>
#include <optional>
#include <string_view>

class QWidget;

namespace vek1 {

// Writes `csv` to `typed` (".csv" added when the name lacks it; a spreadsheet offers to open
// nothing else), whole or not at all; on success the folder is remembered for the next file
// dialog. Returns the failure's message, or none.
std::optional<QString> writeCsvFile(const QString& typed, std::string_view csv);

// "Save as CSV": asks for the file, offering `title` as its name, and writes it with `write`
// (a window's own saveCsv); a failure is shown in a warning. Cancel writes nothing.
void saveCsvAsked(QWidget* parent, const QString& title,
                  const std::function<bool(const QString& path, QString* message)>& write);

}  // namespace vek1
