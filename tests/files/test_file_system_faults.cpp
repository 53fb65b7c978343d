// Saving onto a file system that is full or read-only: the save fails, says why, and the file that
// was there stays whole. Each test mounts a small tmpfs of its own, which needs root (CI runs as
// root); elsewhere the tests are skipped with the reason.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "dimension_file.h"
#include "dimensions.h"

namespace vek1 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

class SmallFileSystem : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vek1-fs-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=16k,mode=0700") != 0)
      GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno)
                   << "); run as root to test a full and a read-only file system";
    mounted = true;
    StartUp(ws);
    // The set already saved there, which a failed save must leave as it was.
    target = dir / "loco.dve";
    ws.Frame[dim::RadiusRod] = 5.25f;
    ASSERT_TRUE(WriteDimensionFile(target.string(), ws).ok);
    saved = contents(target);
    ws.Frame[dim::RadiusRod] = 6.5f;
  }
  void TearDown() override {
    if (mounted) ::umount2(dir.c_str(), MNT_DETACH);
    fs::remove_all(dir);
  }
  std::size_t entries() const { return std::distance(fs::directory_iterator(dir), {}); }

  fs::path dir, target;
  bool mounted = false;
  Workspace ws;
  Bytes saved;
};

TEST_F(SmallFileSystem, AFullFileSystemFailsTheSaveAndKeepsTheOldFile) {
  // Fill what is left, a page at a time, until the file system refuses.
  {
    std::ofstream filler(dir / "filler", std::ios::binary);
    const std::string page(4096, 'x');
    while (filler.write(page.data(), page.size()) && filler.flush()) {
    }
  }
  const DimensionFileResult r = WriteDimensionFile(target.string(), ws);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("No space left on device"), std::string::npos) << r.message;
  EXPECT_NE(r.message.find(target.string()), std::string::npos) << r.message;
  EXPECT_EQ(contents(target), saved);
  EXPECT_EQ(entries(), 2u) << "the temporary file was left behind";
}

TEST_F(SmallFileSystem, AReadOnlyFileSystemFailsTheSaveAndKeepsTheOldFile) {
  ASSERT_EQ(::mount(nullptr, dir.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
      << std::strerror(errno);
  const DimensionFileResult r = WriteDimensionFile(target.string(), ws);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("Read-only file system"), std::string::npos) << r.message;
  EXPECT_EQ(contents(target), saved);
  EXPECT_EQ(entries(), 1u);
  // The set can still be read from there.
  Workspace reread;
  StartUp(reread);
  ASSERT_TRUE(ReadDimensionFile(target.string(), reread).ok);
  EXPECT_EQ(reread.Frame[dim::RadiusRod], 5.25f);
}

}  // namespace
}  // namespace vek1
