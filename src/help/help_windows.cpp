#include "help_windows.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QStringDecoder>
#include <utility>

#ifndef VEK1_VERSION
#define VEK1_VERSION "unknown"
#endif

namespace vek1 {

namespace {

// Client areas of the windows, in pixels.
constexpr QSize kInstructionClient(427, 273);
constexpr QSize kAboutClient(340, 143);

// The windows were laid out for an 8-point dialog font, 11 pixels high at 96 dpi.
constexpr int kDialogFontPixels = 11;

QFont dialogFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(kDialogFontPixels);
  return font;
}

// The about lines stand at fixed tops, left-aligned at x 8.
constexpr int kAboutLeft = 8;
constexpr std::array<int, 8> kAboutTops{9, 24, 40, 56, 72, 88, 104, 121};
// Tall enough for one line of the dialog font, short enough not to cover the next line.
constexpr int kAboutLineHeight = 15;

}  // namespace

HelpReporter messageBoxReporter(QWidget* parent) {
  // The windows outlive nothing they report to, but a guarded pointer costs nothing and keeps a
  // late report from reaching a deleted parent.
  QPointer<QWidget> owner(parent);
  return [owner](const QString& text) {
    QMessageBox::critical(owner.data(), QStringLiteral("Error"), text, QMessageBox::Ok);
  };
}

InstructionFile readInstructionFile(const QString& fileName) {
  InstructionFile result;
  // Anything but a plain file is refused before opening: opening a named pipe would wait for a
  // writer, and the windows load at start-up.
  const QFileInfo info(fileName);
  if (info.exists() && !info.isFile()) {
    result.error = QStringLiteral("Not a plain file");
    return result;
  }
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    result.error = file.errorString();
    return result;
  }
  // One byte beyond the limit tells a file that is too large from one exactly at the limit,
  // without trusting a size the system reported before the read.
  const QByteArray bytes = file.read(kMaxInstructionFileBytes + 1);
  if (file.error() != QFileDevice::NoError) {
    result.error = file.errorString();
    return result;
  }
  if (bytes.size() > kMaxInstructionFileBytes) {
    result.error =
        QStringLiteral("File is larger than %1 MiB").arg(kMaxInstructionFileBytes / (1024 * 1024));
    return result;
  }

  QStringDecoder utf8(QStringConverter::Utf8);
  QString text = utf8.decode(bytes);
  // Any byte sequence is valid Latin-1, so a file that is not UTF-8 still shows, accents and all.
  if (utf8.hasError()) text = QString::fromLatin1(bytes);
  // Files written on other systems end their lines with CR LF or CR alone; the text control
  // would show the stray CR.
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  // The last line's newline ends that line; it does not start an empty one.
  if (text.endsWith(QLatin1Char('\n'))) text.chop(1);

  result.ok = true;
  result.text = std::move(text);
  return result;
}

InstructionWindow::InstructionWindow(const QString& caption, const QString& fileName,
                                     const QRect& memoPlace, const HelpReporter& report,
                                     const QString& programFolder, QWidget* parent)
    : QDialog(parent), fileName_(fileName) {
  setWindowTitle(caption);
  setFixedSize(kInstructionClient);
  setModal(true);
  setFont(dialogFont());

  // The label holds the file's name; the text control covers the whole window, so the label is
  // kept hidden rather than left under it, where it would only take part of the text's room.
  Label1 = new QLabel(QStringLiteral("Label1"), this);
  Label1->move(8, 8);
  Label1->adjustSize();
  Label1->hide();

  Memo1 = new QPlainTextEdit(this);
  Memo1->setGeometry(memoPlace);
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Memo1->setPlainText(QStringLiteral("Memo1"));

  load(report, programFolder);
}

void InstructionWindow::load(const HelpReporter& report, const QString& programFolder) {
  // A text in the working directory comes first: a user's own corrected copy wins over the one
  // installed with the program. When it is not there at all, the program's own copy is read, as
  // the sounds are; any other failure (a folder of that name, a file too large) is reported.
  InstructionFile file = readInstructionFile(fileName_);
  if (!file.ok && !QFileInfo::exists(fileName_)) {
    const QString folder =
        programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder;
    const QString beside = QDir(folder).filePath(fileName_);
    if (QFileInfo(beside).isFile()) file = readInstructionFile(beside);
  }
  if (!file.ok) {
    // The window keeps its placeholder text and stays usable.
    if (report)
      report(QStringLiteral("Error Loading ") + fileName_ + QStringLiteral(": ") + file.error);
    return;
  }
  Memo1->setPlainText(file.text);
  Label1->setText(fileName_);
  Label1->adjustSize();
}

TInst::TInst(const HelpReporter& report, QWidget* parent, const QString& programFolder)
    : InstructionWindow(QStringLiteral("Instructions"), QStringLiteral("instruct.doc"),
                        QRect(QPoint(0, 0), kInstructionClient), report, programFolder, parent) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setBold(true);
  Label1->setFont(font);
  QPalette palette = Label1->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  Label1->setPalette(palette);
  Label1->adjustSize();
}

TVeOSpInst::TVeOSpInst(const HelpReporter& report, QWidget* parent, const QString& programFolder)
    // The text control fills the window, its scroll bar whole inside it.
    : InstructionWindow(QStringLiteral("Vek1 Special Instructions"), QStringLiteral("VeOSpIns.doc"),
                        QRect(QPoint(0, 0), kInstructionClient), report, programFolder, parent) {}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About These Programs"));
  setFixedSize(kAboutClient);
  setModal(true);
  setFont(dialogFont());

  static const char* const kText[8] = {
      "Vek1 Valve Gear Simulator, version " VEK1_VERSION,
      "Vek1 belongs to a family of programs for laying",
      "out the valve gear of steam locomotives. This",
      "one models a radial gear driven from the main",
      "rod, working an outside-admission slide valve.",
      "The family began under DOS, and Vek1 still",
      "reads its .ovk files. Rebuilt in C++ with Qt 6.",
      "Send comments to the project's issue tracker.",
  };
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    QLabel* line = new QLabel(QString::fromUtf8(kText[i]), this);
    line->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    line->setGeometry(kAboutLeft, kAboutTops[i], kAboutClient.width() - 2 * kAboutLeft,
                      kAboutLineHeight);
    Lines[i] = line;
  }
}

}  // namespace vek1
