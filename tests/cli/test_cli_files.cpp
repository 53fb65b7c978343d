// What vek1-cli writes: onto things that are not files, onto a disk that fills part way, into a
// pipe whose reader has gone. Each must end with exit 4 and a reason, never with a cut file or a
// replaced pipe reported as success.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli_run.h"
#include "exit_codes.h"
#include "write_limit.h"

namespace {

namespace fs = std::filesystem;
using vek1::testing::Result;
using vek1::testing::run;

// A quick tune: one dimension, a few sets, so each run takes well under a second.
std::vector<std::string> tuneTo(const std::string& out) {
  return {"tune", "--vary", "119", "--notches", "1.0", "--max-evaluations", "3", "--out", out};
}

fs::path freshDir(const std::string& name) {
  const fs::path dir = fs::path(::testing::TempDir()) / ("cli-files-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(CliFiles, RenderAndTuneRefuseAPipeADeviceAndALinkLoop) {
  const fs::path dir = freshDir("kinds");
  const fs::path pipe = dir / "p.dve", loop = dir / "loop.svg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_symlink("loop.svg", loop);
  std::vector<fs::path> targets = {pipe, loop};
  const fs::path device = dir / "null.dve";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    targets.push_back(device);
  else
    std::cout << "[ SKIPPED  ] the device node: mknod needs root (CI runs as root)\n";
  for (const fs::path& target : targets) {
    const fs::file_type before = fs::symlink_status(target).type();
    for (const std::string ext : {".svg", ".png", ".pdf"}) {
      // render needs a picture's extension; a link or pipe under that name stands for the rest.
      const fs::path named = dir / ("as" + ext);
      fs::remove(named);
      fs::create_symlink(target.filename(), named);
      const Result r = run({"render", "sine", "--out", named.string()});
      EXPECT_EQ(r.code, vek1::kExitWrite) << named << " -> " << target << ": " << r.err;
      EXPECT_NE(r.err.find("Nothing was written"), std::string::npos) << r.err;
    }
    const Result tuned = run(tuneTo(target.string()));
    EXPECT_EQ(tuned.code, vek1::kExitWrite) << target << ": " << tuned.err;
    EXPECT_NE(tuned.err.find(target.string()), std::string::npos) << tuned.err;
    EXPECT_EQ(fs::symlink_status(target).type(), before) << target << " was replaced";
  }
  fs::remove_all(dir);
}

TEST(CliFiles, AFullDiskPartWayLeavesNoCutPictureOrSet) {
  for (const char* name : {"sine.svg", "sine.png", "sine.pdf"})
    vek1::testing::expectShortWritesFailWhole(name, [](const std::string& path) {
      const Result r = run({"render", "sine", "--out", path});
      if (r.code == vek1::kExitOk) return std::optional<std::string>();
      EXPECT_EQ(r.code, vek1::kExitWrite) << r.err;
      return std::optional<std::string>(r.err);
    });
  vek1::testing::expectShortWritesFailWhole("tuned.dve", [](const std::string& path) {
    const Result r = run(tuneTo(path));
    if (r.code == vek1::kExitOk) return std::optional<std::string>();
    EXPECT_EQ(r.code, vek1::kExitWrite) << r.err;
    return std::optional<std::string>(r.err);
  });
}

// A real small file system, nearly full: the system's own ENOSPC, not the test limit.
TEST(CliFiles, ANearlyFullFileSystemFailsEveryRenderWithTheReason) {
  std::string pattern = (fs::temp_directory_path() / "vek1-cli-fs-XXXXXX").string();
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  const fs::path dir = pattern;
  if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=48k,mode=0700") != 0) {
    fs::remove_all(dir);
    GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                 << "); run as root to test a full file system";
  }
  {
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string kib(1024, 'x');
    for (int k = 0; k < 36; ++k) filler << kib;
  }
  // 12 KiB are left. The SVG (about 78 KB) and the PDF do not fit, nor does the PNG drawn at
  // twice the pitch (about 25 KB).
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"render", "sine", "--out", (dir / "sine.svg").string()},
        std::vector<std::string>{"render", "sine", "--out", (dir / "sine.pdf").string()},
        std::vector<std::string>{"render", "sine", "--scale", "2", "--out",
                                 (dir / "sine.png").string()}}) {
    const Result r = run(args);
    EXPECT_EQ(r.code, vek1::kExitWrite) << args.back();
    EXPECT_NE(r.err.find("No space left on device"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(args.back())) << args.back();
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "a temporary file was left";
  // What fits is written whole: the plain PNG (about 10 KB) is the picture, not a part of it.
  const fs::path fits = dir / "sine.png";
  ASSERT_EQ(run({"render", "sine", "--out", fits.string()}).code, vek1::kExitOk);
  const fs::path elsewhere = fs::path(::testing::TempDir()) / "cli-files-sine.png";
  ASSERT_EQ(run({"render", "sine", "--out", elsewhere.string()}).code, vek1::kExitOk);
  EXPECT_EQ(vek1::testing::fileBytes(fits), vek1::testing::fileBytes(elsewhere));
  fs::remove(fits);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), 1) << "a temporary file was left";
  ::umount2(dir.c_str(), MNT_DETACH);
  fs::remove_all(dir);
}

// The real program with its stdout on a pipe whose reader has closed it.
TEST(CliFiles, AClosedPipeOnStdoutExitsWithFourAndSaysSo) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"sweep", "--from", "0", "--to", "360", "--step", "0.01"},
        std::vector<std::string>{"events"}, std::vector<std::string>{"--help"}}) {
    int out[2], err[2];
    ASSERT_EQ(::pipe(out), 0);
    ASSERT_EQ(::pipe(err), 0);
    ::close(out[0]);  // the reader is gone before the first line
    const pid_t child = ::fork();
    if (child == 0) {
      ::dup2(out[1], 1);
      ::dup2(err[1], 2);
      // The shell that starts us may ignore SIGPIPE; the program must not depend on it.
      ::signal(SIGPIPE, SIG_DFL);
      std::vector<char*> argv{const_cast<char*>(VEK1_CLI_PATH)};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(VEK1_CLI_PATH, argv.data());
      ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    std::string message;
    char chunk[256];
    for (ssize_t n; (n = ::read(err[0], chunk, sizeof chunk)) > 0;) message.append(chunk, n);
    ::close(err[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << args[0] << ": killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), vek1::kExitWrite) << args[0];
    EXPECT_NE(message.find("cannot write the output"), std::string::npos) << message;
  }
}

}  // namespace
