#pragma once
// The help windows: the general instructions, the special instructions for this gear and the
// about box. All three are fixed-size modal dialogs, created once at start-up and shown with
// exec() from the Help menu.
//
// The instruction texts are not compiled in: each window reads its plain-text file when it is
// created, from the current working directory or, when it is not there, from the folder that
// holds the program (where the build puts it, beside the sounds), so a user can correct or
// translate them with any text editor and still start the program from anywhere. A file that cannot be read is reported once, through the reporter the window
// was given, and the window then shows its placeholder text and stays usable.

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QString>
#include <array>
#include <functional>

namespace vek1 {

// Receives the text of a load failure ("Error Loading instruct.doc: No such file or directory").
using HelpReporter = std::function<void(const QString&)>;

// The program's reporter: a modal error box with a single OK button over `parent`.
HelpReporter messageBoxReporter(QWidget* parent);

// Instruction texts are a few pages; anything much larger is not an instruction file, and
// reading it whole would only stall the start-up.
inline constexpr qint64 kMaxInstructionFileBytes = 4 * 1024 * 1024;

// The outcome of reading an instruction file: its text, or why it could not be read.
struct InstructionFile {
  bool ok = false;
  QString text;   // lines joined by '\n', without a trailing newline
  QString error;  // the reason, when !ok
};

// Reads `fileName` as plain text: UTF-8, or Latin-1 when the bytes are not valid UTF-8 (older
// instruction files were written that way). Line ends of any kind become '\n'.
InstructionFile readInstructionFile(const QString& fileName);

// What the two instruction windows share: a read-only text over the window, loaded from a file.
class InstructionWindow : public QDialog {
  Q_OBJECT
 public:
  // Beneath Memo1; receives the file name once the file has been read.
  QLabel* Label1 = nullptr;
  // The instruction text, read-only, with a vertical scroll bar.
  QPlainTextEdit* Memo1 = nullptr;

  const QString& fileName() const { return fileName_; }

 protected:
  // `programFolder` empty means the folder of the running program.
  InstructionWindow(const QString& caption, const QString& fileName, const QRect& memoPlace,
                    const HelpReporter& report, const QString& programFolder, QWidget* parent);

 private:
  void load(const HelpReporter& report, const QString& programFolder);

  QString fileName_;
};

// "Instructions": how to use the program, from "instruct.doc".
class TInst : public InstructionWindow {
  Q_OBJECT
 public:
  explicit TInst(const HelpReporter& report, QWidget* parent = nullptr,
                 const QString& programFolder = {});
};

// "Vek1 Special Instructions": what the dimensions mean on this gear, from "VeOSpIns.doc".
class TVeOSpInst : public InstructionWindow {
  Q_OBJECT
 public:
  explicit TVeOSpInst(const HelpReporter& report, QWidget* parent = nullptr,
                      const QString& programFolder = {});
};

// "About These Programs": eight lines of history and where to send comments.
class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // The eight lines, top to bottom.
  std::array<QLabel*, 8> Lines{};
};

}  // namespace vek1
