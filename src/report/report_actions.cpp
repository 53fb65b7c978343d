#include "report_actions.h"

#include <QApplication>
#include <QCursor>
#include <QFile>
#include <QLocale>
#include <QMessageBox>
#include <algorithm>
#include <cmath>
#include <vector>

#include "design_report.h"
#include "file_dialogs.h"
#include "gear_dxf.h"
#include "workspace.h"

namespace vek1 {

namespace {

QString titleOf(const char* what, const Workspace& set) {
  return QStringLiteral("%1 - %2").arg(QLatin1String(what), QString::fromStdString(set.DimSetName));
}

// The die paths a drawing office wants beside the pose: where the gear stands, mid gear and
// the two normal full gears, each once.
std::vector<double> dxfNotches(const Workspace& set) {
  const double here = static_cast<double>(set.ReverseArmPos) - set.RevArmPositions[0];
  const double full = set.Frame[dim::RevArmToCentNorm];
  std::vector<double> notches;
  for (const double n : {here, full, 0.0, -full})
    if (std::none_of(notches.begin(), notches.end(),
                     [n](double m) { return std::fabs(m - n) < 1e-4; }))
      notches.push_back(n);
  return notches;
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
  const FileWriteResult written = writeGearDxf(
      QFile::encodeName(path).toStdString(), gearCadDrawingOf(set, dxfNotches(set)),
      DxfUnits::Inches);
  if (written.ok)
    rememberWrittenFile(path);
  else
    QMessageBox::warning(parent, caption, QString::fromStdString(written.message));
}

}  // namespace vek1
