#pragma once
// Checks a writer against a disk that fills part way: with the safe writer's limit set to each
// of several byte counts, the writer must report the failure with the system's reason, and
// leave the file it was writing as it was (or not there at all), with no temporary file beside.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "file_write.h"

namespace vek1::testing {

// Sets the limit for its lifetime.
class ScopedWriteLimit {
 public:
  explicit ScopedWriteLimit(std::size_t bytes) { setFileWriteLimitForTesting(bytes); }
  ~ScopedWriteLimit() { setFileWriteLimitForTesting(std::nullopt); }
  ScopedWriteLimit(const ScopedWriteLimit&) = delete;
  ScopedWriteLimit& operator=(const ScopedWriteLimit&) = delete;
};

inline std::string fileBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes the file at `path`; nothing on success, else the message it reports to the user.
using Writer = std::function<std::optional<std::string>(const std::string& path)>;

// Runs `write` into a fresh folder under the test's temporary folder, once without a limit to
// learn the size, then at 0, 1, half, all but one byte, and after an old file was written there.
inline void expectShortWritesFailWhole(const std::string& name, const Writer& write) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::path(::testing::TempDir()) / ("short-write-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path target = dir / name;
  ASSERT_EQ(write(target.string()), std::nullopt) << name << ": the writer fails without a limit";
  const std::string whole = fileBytes(target);
  ASSERT_GT(whole.size(), 2u) << name;
  const std::string old = "the file that was here before";
  for (const bool existed : {false, true}) {
    for (const std::size_t limit :
         {std::size_t{0}, std::size_t{1}, whole.size() / 2, whole.size() - 1}) {
      fs::remove(target);
      if (existed) std::ofstream(target, std::ios::binary) << old;
      std::optional<std::string> failed;
      {
        ScopedWriteLimit full(limit);
        failed = write(target.string());
      }
      const std::string where = name + " after " + std::to_string(limit) + " bytes" +
                                (existed ? " over an old file" : "");
      ASSERT_NE(failed, std::nullopt) << where << ": reported success";
      EXPECT_NE(failed->find("No space left on device"), std::string::npos) << *failed;
      EXPECT_NE(failed->find(name), std::string::npos) << *failed;
      if (existed)
        EXPECT_EQ(fileBytes(target), old) << where;
      else
        EXPECT_FALSE(fs::exists(target)) << where << ": a cut file was left";
      EXPECT_EQ(std::distance(fs::directory_iterator(dir), {}), existed ? 1 : 0)
          << where << ": a temporary file was left";
    }
  }
  fs::remove_all(dir);
}

}  // namespace vek1::testing
