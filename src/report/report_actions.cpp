#include "report_actions.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QLocale>
#include <QMessageBox>

#include "design_report.h"
#include "file_dialogs.h"
#include "gear_dxf.h"
#include "workspace.h"

namespace vek1 {

namespace {

QString titleOf(const char* what, const Workspace& set) {
  return QStringLiteral("%1 - %2").arg(QLatin1String(what), QString::fromStdString(set.DimSetName));
}

}  // namespace

void askDesignReport(QWidget* parent, const Workspace& set, const Workspace* reference) {
  const QString caption = QStringLiteral("Design Report");
  const QString path = askSaveFile(parent, caption, titleOf("Design report", set),
                                   QStringLiteral("PDF documents"), QStringLiteral("pdf"));
  if (path.isEmpty()) return;
  ReportOptions options;
  options.paper = QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                      ? ReportPaper::Letter
                      : ReportPaper::A4;
  QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  const ReportWriteResult written =
      writeDesignReport(QFile::encodeName(path).toStdString(), set, reference, options);
  QApplication::restoreOverrideCursor();
  if (written.ok)
    rememberWrittenFile(path);
  else
    QMessageBox::warning(parent, caption, QString::fromStdString(written.message));
}

void askGearDxf(QWidget* parent, const Workspace& set) {
  const QString caption = QStringLiteral("Export DXF");
  const QString path = askSaveFile(parent, caption, titleOf("Gear", set),
                                   QStringLiteral("DXF drawings"), QStringLiteral("dxf"));
  if (path.isEmpty()) return;
  const FileWriteResult written =
      writeGearDxf(QFile::encodeName(path).toStdString(),
                   gearCadDrawingOf(set, standingDieNotches(set)), DxfUnits::Inches);
  if (written.ok)
    rememberWrittenFile(path);
  else
    QMessageBox::warning(parent, caption, QString::fromStdString(written.message));
}

}  // namespace vek1
