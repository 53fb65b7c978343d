// Where every file dialog opens and what it offers: the folder of the set last opened or saved,
// before it the folder last written to, never the program's own; a name made of the window's
// title; the extension added once.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "file_dialogs.h"

namespace vek1 {
namespace {

TEST(FileDialogs, OpenBesideTheSetAndOfferTheTitleWithItsExtension) {
  EXPECT_EQ(setFolder(), QDir::homePath());  // nothing opened or written yet in this run
  QTemporaryDir written, sets, later;
  rememberWrittenFile(written.filePath("a.png"));
  EXPECT_EQ(setFolder(), written.path());
  rememberSetFile(sets.filePath("Mogul.dim"));
  rememberWrittenFile(later.filePath("b.csv"));  // a picture saved elsewhere moves nothing
  EXPECT_EQ(setFolder(), sets.path());
  EXPECT_EQ(offeredFilePath("Sine diagram: Mogul/2", "png"),
            QDir(sets.path()).filePath("Sine diagram - Mogul-2.png"));

  EXPECT_EQ(withExtension("/x/events", "csv"), "/x/events.csv");
  EXPECT_EQ(withExtension("/x/events.CSV", "csv"), "/x/events.CSV");
  EXPECT_EQ(withExtension("/x/events.csv.txt", "csv"), "/x/events.csv.txt.csv");
  EXPECT_EQ(withExtension("", "csv"), "");  // a cancelled dialog stays cancelled
}

}  // namespace
}  // namespace vek1
