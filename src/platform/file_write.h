#pragma once
// The one way a file leaves this program. Every writer (a dimension set, a picture, a table)
// encodes its whole contents in memory first and hands the bytes here; only this code touches
// the file system, so a full disk, a pipe or a device is handled the same way for all of them.
//
// The bytes go to a new file beside the target. Every write's count is checked, the file is
// synced and closed with its errors looked at, and only then is it renamed over the target, so
// the target is either as it was or the complete new file. On any failure the new file is
// removed and the message gives the system's reason, naming the file.
//
// Only a regular file or a new name is written. A folder, a named pipe, a device, a socket or a
// loop of symbolic links is refused before anything is written, naming what it is: replacing
// /dev/null or a pipe another program reads from with a file would be a quiet disaster. A
// symbolic link to a file (or to a name not yet taken) has that file written and stays a link.
// A file without write permission is refused, even where the system would let it be replaced.
// In a folder where no new file may be made, a writable file there is rewritten in place, whole
// and cut to its new length; a failure part way says that the file may be incomplete.
//
// Paths are byte strings, passed to the system as given: a name that is not valid UTF-8 names
// the same file here as in the shell that typed it.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vek1 {

struct FileWriteResult {
  bool ok = false;
  // Empty on success; otherwise one or two sentences for a message box or a command's stderr,
  // starting "Cannot VERB "PATH": " and ending with what became of the file.
  std::string message;
};

// `verb` is the word the message starts with: "save" for a dimension set, "write" for the rest.
FileWriteResult writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                               std::string_view verb = "write");
FileWriteResult writeWholeFile(const std::string& path, std::string_view bytes,
                               std::string_view verb = "write");

// What a path is when it exists and is not something a writer may replace ("a named pipe", "a
// device", "a folder", "a socket", "a loop of symbolic links"); nothing for a regular file, a
// link to one, or a name not yet taken.
std::optional<std::string> notAWritableFileKind(const std::string& path);

// For tests of every writer's failure path: from now on the writes of each file may put at most
// `bytes` bytes on disk, and the write that would go past them fails as on a full disk (ENOSPC);
// nothing lifts the limit again. Tests use ScopedWriteLimit (tests/support), which restores it.
void setFileWriteLimitForTesting(std::optional<std::size_t> bytes);

}  // namespace vek1
