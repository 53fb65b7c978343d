#pragma once
// A file descriptor closed on every path out, for the plain POSIX file code.

#include <unistd.h>

#include <utility>

namespace vek1 {

struct Fd {
  int fd = -1;
  explicit Fd(int f) : fd(f) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
  // Closes now, reporting the error a late write-back may show only here.
  bool close() {
    const int f = std::exchange(fd, -1);
    return ::close(f) == 0;
  }
};

}  // namespace vek1
