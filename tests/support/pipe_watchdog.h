#pragma once
// Keeps a test that opens a named pipe from hanging the test run. If the code under test is still
// blocked after the time limit, the watchdog opens the pipe for writing, which frees a reader
// waiting in open() (it then reads end of file), and the test learns that it waited.

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class PipeWatchdog {
 public:
  explicit PipeWatchdog(std::string fifo, std::chrono::milliseconds limit = std::chrono::seconds(5))
      : fifo_(std::move(fifo)), thread_([this, limit] { watch(limit); }) {}
  PipeWatchdog(const PipeWatchdog&) = delete;
  PipeWatchdog& operator=(const PipeWatchdog&) = delete;
  ~PipeWatchdog() { stop(); }

  // Ends the watch; true when the watchdog had to free a blocked reader.
  bool stop() {
    {
      std::lock_guard lock(mutex_);
      done_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    return fired_;
  }

 private:
  void watch(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, limit, [this] { return done_; })) return;
    fired_ = true;
    // Keep the write end open until the test is done, so the reader sees a writer come and go
    // however late it gets to its open.
    while (!done_) {
      const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
      if (fd >= 0) ::close(fd);
      wake_.wait_for(lock, std::chrono::milliseconds(50), [this] { return done_; });
    }
  }

  std::string fifo_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool done_ = false;
  bool fired_ = false;
  std::thread thread_;
};
