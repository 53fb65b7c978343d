#pragma once
// The safe file writer (file_write.h) for the windows, which hold paths as QString: the path is
// turned back into the bytes the file system uses, so a name the file dialog read is the name
// written.

#include <QString>
#include <optional>
#include <string_view>

namespace vek1 {

// Nothing on success; otherwise the message for the user, naming the file and the reason.
std::optional<QString> writeWholeFileAt(const QString& path, std::string_view bytes);

}  // namespace vek1
