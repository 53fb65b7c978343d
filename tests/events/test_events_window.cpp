#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QFontMetrics>
#include <QHeaderView>
#include <QToolBar>

#include "recording_sound.h"
#include "dimensions.h"
#include "file_dialogs.h"
#include "main_form.h"
#include "solver.h"
#include "sound.h"
#include "valve.h"
#include "valve_events_text.h"
#include "valve_events_window.h"

namespace vek1 {
namespace {

Workspace factorySet() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

QString cell(const TValveEvents& w, int row, const std::string& header) {
  const auto& h = w.view().header;
  const int c = static_cast<int>(std::find(h.begin(), h.end(), header) - h.begin());
  const QTableWidgetItem* item = w.Table->item(row, c);
  return item ? item->text() : QString("no cell %1 of %2").arg(row).arg(header.c_str());
}

// The window stands beside the running gear: it is not modal, and it recomputes when a dimension
// is nudged, but not for the ticks of the animation in between.
TEST(ValveEventsWindow, RecomputesWhenTheSetChangesAndOnlyThen) {
  Workspace ws = factorySet();
  TValveEvents w(ws);
  w.show();
  EXPECT_FALSE(w.isModal());
  ASSERT_EQ(w.Table->rowCount(), kDefaultNotchCount);
  const int computed = w.recomputeCount();
  const QString cutOff = cell(w, 1, "Cut-off Front (%)");  // +1.6
  EXPECT_EQ(cutOff, "77.66");

  for (int tick = 0; tick < 5; ++tick) {
    ws.DriverAngle += 10.0f;
    SolveLinkage(ws);
    ComputeValveState(ws);
    EXPECT_FALSE(w.poll());
  }
  EXPECT_EQ(w.recomputeCount(), computed);

  setDimension(ws, dim::RadiusRod, dimensionValue(ws, dim::RadiusRod) + 0.05f);
  // The window's own timer notices within a few polls.
  QTest::qWait(3 * TValveEvents::kPollMs);
  EXPECT_EQ(w.recomputeCount(), computed + 1);
  EXPECT_NE(cell(w, 1, "Cut-off Front (%)"), cutOff);
}

TEST(ValveEventsWindow, CopyAndSaveAsCsvGiveTheTable) {
  Workspace ws = factorySet();
  TValveEvents w(ws);
  w.show();
  w.CopyButton->click();
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("Offset (units)\tRunning\t"));
  EXPECT_EQ(copied.count('\n'), 1 + kDefaultNotchCount);

  const QString path = QDir::temp().filePath("vek1-events-test.csv");
  ASSERT_TRUE(w.saveCsv(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), valveEventsCsv(w.table()));
  file.close();
  QFile::remove(path);

  QString message;
  EXPECT_FALSE(w.saveCsv(QDir::temp().filePath("no-such-dir-vek1/x.csv"), &message));
  EXPECT_FALSE(message.isEmpty());

  // A name typed without the extension gets it; one with it, in any case, is kept.
  QTemporaryDir dir;
  ASSERT_TRUE(w.saveCsv(dir.filePath("Nominal events")));
  EXPECT_TRUE(QFile::exists(dir.filePath("Nominal events.csv")));
  EXPECT_FALSE(QFile::exists(dir.filePath("Nominal events")));
  ASSERT_TRUE(w.saveCsv(dir.filePath("upper.CSV")));
  EXPECT_TRUE(QFile::exists(dir.filePath("upper.CSV")));
  EXPECT_FALSE(QFile::exists(dir.filePath("upper.CSV.csv")));
  // And the next file dialog opens there, offering the window's name.
  EXPECT_EQ(offeredFilePath("Valve events: Nominal", "csv"),
            dir.filePath("Valve events - Nominal.csv"));
}

// Typed notches come out in the order typed; text that is not a list leaves the table as it
// was and says why beside the field, and a notch beyond the reverse arm's reach is named there.
TEST(ValveEventsWindow, TypedNotchesReplaceTheDefaultOnes) {
  Workspace ws = factorySet();
  TValveEvents w(ws);
  w.show();
  w.NotchesEdit->setText("1.6,-0.8");
  w.NotchesEditExit();
  ASSERT_EQ(w.Table->rowCount(), 2);
  EXPECT_EQ(cell(w, 0, "Offset (units)"), "1.600");
  EXPECT_EQ(cell(w, 1, "Running"), "reverse");
  EXPECT_TRUE(w.NotchesProblem->isHidden());

  for (const char* bad : {"1.6,,x", "abc"}) {
    w.NotchesEdit->setText(bad);
    w.NotchesEditExit();
    EXPECT_EQ(w.Table->rowCount(), 2);
    EXPECT_EQ(w.NotchesEdit->text(), bad);  // kept, to be mended
    EXPECT_FALSE(w.NotchesProblem->isHidden()) << bad;
    EXPECT_TRUE(w.NotchesProblem->text().contains(QString("\"%1\" is not a list").arg(bad)))
        << w.NotchesProblem->text().toStdString();
  }
  w.NotchesEdit->setText("9,1.6");
  w.NotchesEditExit();
  ASSERT_EQ(w.Table->rowCount(), 2);
  EXPECT_EQ(w.NotchesProblem->text(),
            "Beyond the reverse arm's reach (-2.972 to 3.028): 9.000");
  w.NotchesEdit->setText("1.6");
  w.NotchesEditExit();
  EXPECT_TRUE(w.NotchesProblem->isHidden());
}

// The window opens tall enough for the default notches, and a column grows when a later table
// has a longer text than the first (an Error cell that appears when a notch locks).
TEST(ValveEventsWindow, EveryRowShowsAndNoCellIsCut) {
  Workspace ws = factorySet();
  TValveEvents w(ws);
  w.show();
  ASSERT_EQ(w.Table->rowCount(), kDefaultNotchCount);
  EXPECT_GE(w.Table->viewport()->height(), w.Table->verticalHeader()->length());
  w.NotchesEdit->setText("3,0");
  w.NotchesEditExit();
  ASSERT_EQ(cell(w, 0, "Error"), "locks 18.2-126.5");
  const QFontMetrics fm(w.Table->font());
  for (int c = 0; c < w.Table->columnCount(); ++c)
    for (int r = 0; r < w.Table->rowCount(); ++r)
      EXPECT_GE(w.Table->columnWidth(c), fm.horizontalAdvance(w.Table->item(r, c)->text()) + 6)
          << w.view().header[static_cast<std::size_t>(c)];
  for (int c = 0; c < w.Table->columnCount(); ++c)
    EXPECT_FALSE(w.Table->horizontalHeaderItem(c)->toolTip().isEmpty()) << c;
}

}  // namespace
}  // namespace vek1

namespace vek1 {
namespace {

// "&ValveEvents" in the DrawGraphs menu and its tool button open the window without stopping the
// gear: the animation timer keeps running while the window is up.
TEST(ValveEventsWindow, OpensFromTheMenuAndTheToolBarBesideTheRunningGear) {
  Workspace ws;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  TValveEvents events(ws, &form);
  form.setEventsWindow(&events);
  ASSERT_TRUE(form.ValveEvents);
  EXPECT_EQ(form.ValveEvents->text(), "&ValveEvents");
  const QList<QAction*> graphs = form.DrawGraphsMenu->actions();
  ASSERT_TRUE(graphs.contains(form.ValveEvents));

  form.ValveEvents->trigger();
  EXPECT_TRUE(events.isVisible());
  EXPECT_TRUE(form.Timer1->isActive());
  events.hide();

  QAction* button = nullptr;
  for (QAction* a : form.ToolBar1->actions())
    if (a->toolTip() == "View Valve Events at Each Notch") button = a;
  ASSERT_TRUE(button);
  button->trigger();
  EXPECT_TRUE(events.isVisible());
  EXPECT_EQ(events.Table->rowCount(), kDefaultNotchCount);
}

}  // namespace
}  // namespace vek1
