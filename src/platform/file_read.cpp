#include "file_read.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "unique_fd.h"

namespace vek1 {

namespace {

std::string quoted(const std::string& path) {
  return "\"" + path + "\"";
}

std::string systemReason() {
  return std::strerror(errno);
}

FileReadResult failure(std::string message) {
  return {false, std::move(message)};
}

// What a path that is no plain file is, in the words of a message.
std::string_view fileKind(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "something else";
}

FileReadResult notAFile(const std::string& path, mode_t mode, const std::string& what) {
  return failure("Cannot read " + quoted(path) + ": it is " + std::string(fileKind(mode)) +
                 ", not " + what + ".");
}

}  // namespace

FileReadResult readWholeRegularFile(const std::string& path, std::size_t maxBytes,
                                    const std::string& what, std::vector<std::uint8_t>& bytes) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))
    return notAFile(path, info.st_mode, what);
  Fd file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.fd < 0) return failure("Cannot open " + quoted(path) + ": " + systemReason() + ".");
  if (::fstat(file.fd, &info) != 0)
    return failure("Cannot read " + quoted(path) + ": " + systemReason() + ".");
  if (!S_ISREG(info.st_mode)) return notAFile(path, info.st_mode, what);
  if (static_cast<std::uintmax_t>(info.st_size) > maxBytes)
    return failure("Cannot read " + quoted(path) + ": at " + std::to_string(info.st_size) +
                   " bytes it is far too large for " + what + ".");
  bytes.clear();
  std::array<std::uint8_t, 4096> chunk;
  for (;;) {
    const ssize_t got = ::read(file.fd, chunk.data(), chunk.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return failure("Cannot read " + quoted(path) + ": " + systemReason() + ".");
    }
    if (got == 0) break;
    bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    // The file may grow while it is read; the limit holds all the same.
    if (bytes.size() > maxBytes)
      return failure("Cannot read " + quoted(path) + ": it is far too large for " + what + ".");
  }
  return {true, {}};
}

}  // namespace vek1
