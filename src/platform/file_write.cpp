#include "file_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <utility>

#include "unique_fd.h"

namespace vek1 {

namespace {

namespace fs = std::filesystem;

// No limit: the writes go on until the bytes are out or the system refuses.
constexpr long long kNoLimit = -1;
std::atomic<long long> writeLimit{kNoLimit};

std::string quoted(const std::string& path) {
  return "\"" + path + "\"";
}
std::string systemReason() {
  return std::strerror(errno);
}

FileWriteResult failure(std::string_view verb, const std::string& path, const std::string& why) {
  return {false, "Cannot " + std::string(verb) + " " + quoted(path) + ": " + why};
}

// Writes every byte, or fails with errno set; a write that puts fewer bytes than asked goes on
// from where it stopped. The test limit acts as a disk that fills after so many bytes.
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
  const long long limit = writeLimit.load();
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t ask = bytes.size() - done;
    if (limit >= 0) {
      if (static_cast<long long>(done) >= limit) {
        errno = ENOSPC;
        return false;
      }
      ask = std::min<std::size_t>(ask, static_cast<std::size_t>(limit) - done);
    }
    const ssize_t put = ::write(fd, bytes.data() + done, ask);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (put == 0) {
      // A write that takes nothing and reports no error would loop for ever.
      errno = EIO;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

// The file a path names, following symbolic links (also one whose file does not exist yet), so
// that a write through a link writes that file and keeps the link. Nothing when the links go
// round in a loop.
constexpr int kMaxLinks = 40;
std::optional<fs::path> followLinks(fs::path target) {
  for (int n = 0; n < kMaxLinks; ++n) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return target;
    std::error_code ec;
    const fs::path next = fs::read_symlink(target, ec);
    if (ec) return target;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return std::nullopt;
}

std::string kindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// What the end of a chain of links is, when it is not something a writer may replace; nothing
// for a regular file or a name not yet taken. `target` is empty for a loop.
std::optional<std::string> kindOfTarget(const std::optional<fs::path>& target) {
  if (!target) return "a loop of symbolic links";
  struct stat info {};
  if (::stat(target->c_str(), &info) != 0)
    return errno == ELOOP ? std::optional<std::string>("a loop of symbolic links") : std::nullopt;
  if (S_ISREG(info.st_mode)) return std::nullopt;
  return kindOf(info.st_mode);
}

// Writes the bytes over the file itself, for a folder where no new file may be made. The file is
// rewritten whole and cut to the new length; a failure part way is reported as such.
FileWriteResult writeInPlace(std::string_view verb, const std::string& path, const fs::path& target,
                             std::span<const std::uint8_t> bytes) {
  Fd file(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK));
  if (file.fd < 0) return failure(verb, path, systemReason() + ". Nothing was written.");
  struct stat info {};
  if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
    return failure(verb, path, "it is " + kindOf(info.st_mode) + ". Nothing was written.");
  if (!writeAll(file.fd, bytes) || ::ftruncate(file.fd, static_cast<off_t>(bytes.size())) != 0 ||
      ::fsync(file.fd) != 0 || !file.close())
    return failure(verb, path,
                   systemReason() + ". The file may now be incomplete; write it again elsewhere.");
  return {true, {}};
}

}  // namespace

std::optional<std::string> notAWritableFileKind(const std::string& path) {
  return kindOfTarget(followLinks(fs::path(path)));
}

FileWriteResult writeWholeFile(const std::string& path, std::string_view bytes,
                               std::string_view verb) {
  return writeWholeFile(path,
                        std::span<const std::uint8_t>(
                            reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                        verb);
}

FileWriteResult writeWholeFile(const std::string& path, std::span<const std::uint8_t> bytes,
                               std::string_view verb) {
  if (path.empty()) return failure(verb, path, "no file name was given.");
  const std::optional<fs::path> followed = followLinks(fs::path(path));
  if (const auto kind = kindOfTarget(followed))
    return failure(verb, path, "it is " + *kind + ", not a file. Nothing was written.");
  const fs::path& target = *followed;

  // A file the user has made read-only is his decision, even where the system would let the
  // write replace it (the folder is writable, or the user is root).
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  const bool denied = exists && (old.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) != 0;
  // A writable file on a file system mounted read-only: the system's own reason says it best.
  if (denied && errno == EROFS)
    return failure(verb, path, systemReason() + ". It was left as it was; write it elsewhere.");
  if (exists && ((old.st_mode & 0222) == 0 || denied))
    return failure(verb, path,
                   "the file is read-only. It was left as it was; use another name or make it "
                   "writable first.");

  // The new bytes go to a hidden file in the same folder (so the rename stays on one file
  // system); O_EXCL with a fresh number keeps two writes from sharing it. A number already taken
  // (left by a write that was cut short) moves on to the next.
  Fd file(-1);
  fs::path temp;
  constexpr int kTempAttempts = 100;
  for (int attempt = 0; attempt < kTempAttempts && file.fd < 0; ++attempt) {
    temp = target.parent_path() /
           (".vek1-save-" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp");
    file.fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (file.fd < 0 && errno != EEXIST) break;
  }
  if (file.fd < 0) {
    // A folder the user may not write can still hold a file he may: write that file itself.
    if ((errno == EACCES || errno == EPERM) && exists)
      return writeInPlace(verb, path, target, bytes);
    return failure(verb, path, systemReason() + ". Nothing was written.");
  }

  // A replaced file keeps its permissions; a new one gets the usual ones (0666 less the umask).
  // Failing to copy them is no reason to refuse the write.
  if (exists) static_cast<void>(::fchmod(file.fd, old.st_mode & 07777));

  auto abandon = [&](const std::string& reason) {
    if (file.fd >= 0) file.close();
    ::unlink(temp.c_str());
    return failure(verb, path,
                   reason + (exists ? ". The file was left as it was." : ". No file was made."));
  };
  if (!writeAll(file.fd, bytes) || ::fsync(file.fd) != 0) return abandon(systemReason());
  if (!file.close()) return abandon(systemReason());
  std::error_code ec;
  fs::rename(temp, target, ec);
  if (ec) return abandon(ec.message());
  // The rename itself reaches the disk with the folder; the file's bytes already have.
  if (Fd folder(::open(target.parent_path().empty() ? "." : target.parent_path().c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC));
      folder.fd >= 0)
    static_cast<void>(::fsync(folder.fd));
  return {true, {}};
}

void setFileWriteLimitForTesting(std::optional<std::size_t> bytes) {
  writeLimit.store(bytes ? static_cast<long long>(*bytes) : kNoLimit);
}

}  // namespace vek1
