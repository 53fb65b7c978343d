// The one safe file writer: what it refuses to replace, and what a full disk leaves behind.
#include "file_write.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "picture_export.h"
#include "write_limit.h"

namespace vek1 {
namespace {

namespace fs = std::filesystem;
using testing::expectShortWritesFailWhole;
using testing::fileBytes;

fs::path freshDir(const std::string& name) {
  const fs::path dir = fs::path(::testing::TempDir()) / ("file-write-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

TEST(FileWrite, WhatIsNotAFileIsRefusedAndLeftAsItWas) {
  const fs::path dir = freshDir("kinds");
  const fs::path pipe = dir / "p.dve", loop = dir / "loop.png", folder = dir / "sub";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_symlink("loop.png", loop);
  fs::create_directory(folder);
  // A socket, as a program listening on a path leaves one.
  const fs::path socketPath = dir / "s.csv";
  const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "%s", socketPath.c_str());
  ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  struct Case {
    fs::path path;
    const char* kind;
  };
  std::vector<Case> cases = {{pipe, "a named pipe"},
                             {loop, "a loop of symbolic links"},
                             {folder, "a folder"},
                             {socketPath, "a socket"}};
  // A device node like /dev/null's: only root may make one, and as root a careless writer would
  // replace it with a file.
  const fs::path device = dir / "null.dve";
  if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    cases.push_back({device, "a device"});
  // A link to any of them is refused for what it leads to.
  const fs::path toPipe = dir / "to-pipe.svg";
  fs::create_symlink(pipe, toPipe);
  cases.push_back({toPipe, "a named pipe"});
  for (const Case& c : cases) {
    const fs::file_status before = fs::symlink_status(c.path);
    const FileWriteResult r = writeWholeFile(c.path.string(), std::string_view("data"));
    EXPECT_FALSE(r.ok) << c.path;
    EXPECT_NE(r.message.find(c.kind), std::string::npos) << r.message;
    EXPECT_NE(r.message.find(c.path.string()), std::string::npos) << r.message;
    EXPECT_EQ(fs::symlink_status(c.path).type(), before.type()) << c.path << " was replaced";
  }
  if (!fs::exists(device))
    std::cout << "[ SKIPPED  ] the device case: mknod needs root (CI runs as root)\n";
  ::close(sock);
  fs::remove_all(dir);
}

TEST(FileWrite, NamesAreKeptByteForByteAndLinksToFilesStayLinks) {
  const fs::path dir = freshDir("names");
  // Latin-1 bytes, not valid UTF-8: the file must carry exactly these bytes as its name.
  const std::string name = "loco-\xe9t\xe9.svg";
  const std::string path = dir.string() + "/" + name;
  ASSERT_TRUE(writeWholeFile(path, std::string_view("<svg/>")).ok);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{name});

  const fs::path real = dir / "real.dve", link = dir / "link.dve";
  std::ofstream(real) << "old";
  fs::create_symlink("real.dve", link);
  ASSERT_TRUE(writeWholeFile(link.string(), std::string_view("new")).ok);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fileBytes(real), "new");
  fs::remove_all(dir);
}

TEST(FileWrite, ShortWritesOfEveryPictureFormatLeaveNoCutFile) {
  const auto draw = [](Canvas& canvas) {
    canvas.clear(Rgb{255, 255, 255});
    canvas.moveTo(2, 2);
    canvas.lineTo(60, 40);
    canvas.textOut(4, 20, "Offset");
  };
  const PictureInfo info{{64, 48}, QStringLiteral("test picture")};
  for (const char* name : {"p.png", "p.svg", "p.pdf"}) {
    expectShortWritesFailWhole(name, [&](const std::string& path) -> std::optional<std::string> {
      const ExportResult r = exportPicture(path, info, draw);
      if (r.ok) return std::nullopt;
      return r.message.toStdString();
    });
  }
  // The main window's frame goes out through its own PNG path.
  QImage frame(32, 32, QImage::Format_RGB32);
  frame.fill(Qt::blue);
  expectShortWritesFailWhole("frame.png",
                             [&](const std::string& path) -> std::optional<std::string> {
                               const ExportResult r = exportFrame(path, frame, 1.0, info, draw);
                               if (r.ok) return std::nullopt;
                               return r.message.toStdString();
                             });
}

}  // namespace
}  // namespace vek1
