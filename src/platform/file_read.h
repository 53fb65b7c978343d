#pragma once
// The one whole-file reader: plain POSIX, no Qt, so the fuzz build and the command line have it
// as the windows do. Only a regular file is read: a folder, a named pipe or a device is refused
// before it is opened (opening a pipe waits for a writer that may never come; opening a device
// may act on it), and the open does not block either, in case the path was swapped for a pipe
// after the look: what was opened is looked at again.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vek1 {

struct FileReadResult {
  bool ok = false;
  std::string message;  // empty on success; names the file and the reason otherwise
};

// Reads the whole of `path` into `bytes`, at most `maxBytes` (a file that grows past it while it
// is read is refused too). `what` names the kind of file in messages ("a dimension file").
FileReadResult readWholeRegularFile(const std::string& path, std::size_t maxBytes,
                                    const std::string& what, std::vector<std::uint8_t>& bytes);

}  // namespace vek1
