// The help windows as the user meets them: texts read from the working directory, failures
// reported once, a read-only scrolling text, fixed window sizes, and the shipped texts.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <initializer_list>
#include <string_view>

#include "dimensions.h"
#include "help_windows.h"

namespace vek1 {
namespace {

// The windows read from the current directory; each test works in a directory of its own.
class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = QDir::currentPath();
    ASSERT_TRUE(tmp_.isValid());
    enter(tmp_.path());
  }
  void TearDown() override { QDir::setCurrent(previous_); }

  void enter(const QString& dir) { ASSERT_TRUE(QDir::setCurrent(dir)); }
  void write(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  HelpReporter recorder() {
    return [this](const QString& text) { reports.push_back(text); };
  }

  QStringList reports;

 private:
  QTemporaryDir tmp_;
  QString previous_;
};

TEST_F(HelpTest, UnreadableFileIsReportedOnceAndTheWindowKeepsItsPlaceholder) {
  QFile missing(QStringLiteral("instruct.doc"));
  ASSERT_FALSE(missing.open(QIODevice::ReadOnly));
  ASSERT_TRUE(QDir().mkdir(QStringLiteral("VeOSpIns.doc")));  // there, but not a file

  // Nor beside the program.
  TInst inst(recorder(), nullptr, QDir::currentPath());
  ASSERT_EQ(reports.size(), 1);
  EXPECT_EQ(reports[0], "Error Loading instruct.doc: " + missing.errorString());
  TVeOSpInst special(recorder(), nullptr, QDir::currentPath());
  ASSERT_EQ(reports.size(), 2);
  EXPECT_TRUE(reports[1].startsWith("Error Loading VeOSpIns.doc: ")) << reports[1].toStdString();

  for (InstructionWindow* window : std::initializer_list<InstructionWindow*>{&inst, &special}) {
    EXPECT_EQ(window->Memo1->toPlainText(), "Memo1");
    EXPECT_EQ(window->Label1->text(), "Label1");
  }
}

TEST_F(HelpTest, FileFillsTheTextAndNamesItself) {
  // UTF-8 with a byte-order mark, and Latin-1 with CR LF line ends as older editors wrote.
  write("instruct.doc", "\xEF\xBB\xBFLap \xC3\xA9t lead\nSecond line\n");
  write("VeOSpIns.doc", "Caf\xE9\r\nValve\r\n");
  TInst inst(recorder());
  TVeOSpInst special(recorder());
  EXPECT_TRUE(reports.isEmpty());
  EXPECT_EQ(inst.Memo1->toPlainText(), QString::fromUtf8("Lap \xC3\xA9t lead\nSecond line"));
  EXPECT_EQ(inst.Label1->text(), "instruct.doc");
  EXPECT_EQ(special.Memo1->toPlainText(), QString::fromUtf8("Caf\xC3\xA9\nValve"));
  EXPECT_EQ(special.Label1->text(), "VeOSpIns.doc");
}

TEST_F(HelpTest, TextsBesideTheProgramServeWhenTheWorkingFolderHasNone) {
  QTemporaryDir program;
  ASSERT_TRUE(program.isValid());
  QFile own(program.filePath(QStringLiteral("instruct.doc")));
  ASSERT_TRUE(own.open(QIODevice::WriteOnly));
  own.write("Installed text\n");
  own.close();
  TInst inst(recorder(), nullptr, program.path());
  EXPECT_TRUE(reports.isEmpty());
  EXPECT_EQ(inst.Memo1->toPlainText(), "Installed text");
  EXPECT_EQ(inst.Label1->text(), "instruct.doc");
  // A copy in the working folder comes first.
  write("instruct.doc", "My own notes\n");
  TInst mine(recorder(), nullptr, program.path());
  EXPECT_EQ(mine.Memo1->toPlainText(), "My own notes");
  // With no folder given, the program's own folder is looked in: the build puts the texts
  // beside every program it makes, this test included.
  QFile::remove(QStringLiteral("instruct.doc"));
  TVeOSpInst shipped(recorder());
  EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
  EXPECT_NE(shipped.Memo1->toPlainText(), "Memo1");
}

TEST_F(HelpTest, OversizedFileIsRefusedButOneAtTheLimitIsRead) {
  write("instruct.doc", QByteArray(kMaxInstructionFileBytes, 'a'));
  EXPECT_TRUE(readInstructionFile("instruct.doc").ok);

  write("instruct.doc", QByteArray(kMaxInstructionFileBytes + 1, 'a'));
  TInst inst(recorder());
  ASSERT_EQ(reports.size(), 1);
  EXPECT_TRUE(reports[0].startsWith("Error Loading instruct.doc: ")) << reports[0].toStdString();
  EXPECT_EQ(inst.Memo1->toPlainText(), "Memo1");
}

TEST_F(HelpTest, LongTextScrollsButCannotBeEdited) {
  write("instruct.doc", QByteArray("A line of instructions\n").repeated(200));
  TInst inst(recorder());
  inst.show();
  const QString before = inst.Memo1->toPlainText();
  QTest::keyClicks(inst.Memo1, "typed");
  QTest::keyClick(inst.Memo1, Qt::Key_Backspace);
  QTest::keyClick(inst.Memo1, Qt::Key_Delete);
  EXPECT_EQ(inst.Memo1->toPlainText(), before);

  QScrollBar* bar = inst.Memo1->verticalScrollBar();
  EXPECT_TRUE(bar->isVisible());
  EXPECT_GT(bar->maximum(), 0);
  QTest::keyClick(inst.Memo1, Qt::Key_PageDown);
  EXPECT_GT(bar->value(), 0);
}

TEST_F(HelpTest, WindowsHaveTheirCaptionsAndFixedSizes) {
  TInst inst(recorder());
  TVeOSpInst special(recorder());
  TAboutBox about;
  struct Expected {
    QDialog* window;
    const char* caption;
    QSize size;
  };
  for (const Expected& e : {Expected{&inst, "Instructions", {427, 273}},
                            Expected{&special, "Vek1 Special Instructions", {427, 273}},
                            Expected{&about, "About These Programs", {340, 143}}}) {
    EXPECT_EQ(e.window->windowTitle(), e.caption);
    EXPECT_EQ(e.window->minimumSize(), e.size) << e.caption;
    EXPECT_EQ(e.window->maximumSize(), e.size) << e.caption;
    EXPECT_TRUE(e.window->isModal()) << e.caption;
  }
  EXPECT_EQ(inst.Memo1->geometry(), QRect(0, 0, 427, 273));
  EXPECT_EQ(special.Memo1->geometry(), QRect(0, 0, 427, 273));
  // The file-name label is kept out of sight: the text covers the window.
  inst.show();
  EXPECT_EQ(inst.Label1->pos(), QPoint(8, 8));
  EXPECT_FALSE(inst.Label1->isVisible());
  EXPECT_TRUE(inst.Memo1->isAncestorOf(inst.childAt(10, 10)));

  const int tops[8] = {9, 24, 40, 56, 72, 88, 104, 121};
  for (int i = 0; i < 8; ++i) {
    const QLabel* line = about.Lines[i];
    EXPECT_EQ(line->pos(), QPoint(8, tops[i]));
    EXPECT_TRUE(line->alignment() & Qt::AlignLeft);
    // Each line must be readable whole inside the fixed window.
    EXPECT_LE(8 + line->fontMetrics().horizontalAdvance(line->text()), 340) << i;
  }
  EXPECT_TRUE(about.Lines[7]->text().contains("issue tracker"));
}

// The texts shipped beside the program.
TEST_F(HelpTest, ShippedTextsLoadAndEachLineFitsTheWindowUnwrapped) {
  enter(VEK1_ASSET_DIR);
  TInst inst(recorder());
  TVeOSpInst special(recorder());
  EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();
  for (InstructionWindow* window : std::initializer_list<InstructionWindow*>{&inst, &special}) {
    window->show();
    QTextDocument* doc = window->Memo1->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
      doc->documentLayout()->blockBoundingRect(block);  // lays the line out
      EXPECT_EQ(block.lineCount(), 1)
          << window->fileName().toStdString() << ": " << block.text().toStdString();
    }
  }
}

TEST_F(HelpTest, SpecialInstructionsQuoteEveryFrameDimensionByItsLabel) {
  QFile file(QStringLiteral(VEK1_ASSET_DIR "/VeOSpIns.doc"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(file.readAll());
  // Quotes in this text are kept for dimension names, each on one line.
  QStringList quoted;
  for (const QString& line : text.split('\n')) {
    EXPECT_EQ(line.count('"') % 2, 0) << line.toStdString();
    const QStringList parts = line.split('"');
    for (qsizetype i = 1; i < parts.size(); i += 2) quoted.push_back(parts[i]);
  }
  QStringList labels;
  for (int id = 1; id <= 122; ++id) {
    const std::string_view label = dimensionLabel(id);
    if (isDimensionId(id)) labels.push_back(QString::fromUtf8(label.data(), label.size()));
  }
  for (const QString& name : quoted) EXPECT_TRUE(labels.contains(name)) << name.toStdString();
  for (int i = 0; i < 18; ++i) EXPECT_TRUE(quoted.contains(labels[i])) << labels[i].toStdString();
}

}  // namespace
}  // namespace vek1
