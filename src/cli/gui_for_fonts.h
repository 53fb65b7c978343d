#pragma once
// The commands that draw (render, report) need a GUI application for their fonts, though they
// show nothing.

#include <QGuiApplication>
#include <memory>

namespace vek1::cli {

// Texts need a GUI application for their fonts, though nothing is shown: without a platform of
// the user's choosing it runs on the offscreen one, so no display is needed. Qt's own notes
// (a missing runtime folder and the like) would only clutter a tool whose errors are one line.
class GuiForFonts {
 public:
  GuiForFonts() {
    previous_ = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }
  ~GuiForFonts() {
    app_.reset();
    qInstallMessageHandler(previous_);
  }
  GuiForFonts(const GuiForFonts&) = delete;
  GuiForFonts& operator=(const GuiForFonts&) = delete;
  bool usable() const { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()); }

 private:
  inline static char name_[] = "vek1-cli";
  inline static char* argv_[] = {name_, nullptr};
  inline static int argc_ = 1;
  std::unique_ptr<QGuiApplication> app_;
  QtMessageHandler previous_ = nullptr;
};

}  // namespace vek1::cli
