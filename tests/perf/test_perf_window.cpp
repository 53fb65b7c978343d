// The Engine Performance window: it follows the set and its own settings without holding up the
// window's thread, keeps the settings with the set, saves what the command line prints, exports
// its picture, and opens from the DrawGraphs menu and the tool bar.
#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolBar>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "engine_performance_text.h"
#include "main_form.h"
#include "perf_window.h"
#include "recording_sound.h"
#include "window_files.h"
#include "started_set.h"

namespace vek1 {
namespace {

using test::fileText;
using test::tempPath;

TEST(PerfWindow, RecomputesOffTheWindowsThreadWhenTheSetChanges) {
  Workspace ws = test::startedSet();
  TEnginePerformance w(ws);
  w.poll();
  EXPECT_TRUE(w.computing());
  w.finish();
  EXPECT_FALSE(w.computing());
  ASSERT_EQ(w.page().report.Rows.size(), 9u);
  EXPECT_FALSE(w.poll());
  EXPECT_FALSE(w.computing());  // nothing changed, nothing run
  const double before = w.page().report.Rows[4].Front.MEP;

  // A nudged dimension starts a new run at once, and the poll that starts it returns at once:
  // the figures come from a copy of the set on another thread.
  setDimension(ws, dim::RadiusRod, dimensionValue(ws, dim::RadiusRod) + 0.05f);
  ComputeReverseArmCentre(ws);
  QElapsedTimer clock;
  clock.start();
  w.poll();
  EXPECT_LT(clock.elapsed(), 50);
  EXPECT_TRUE(w.computing());
  // Further changes while it runs wait for it, and are computed after.
  setDimension(ws, dim::RadiusRod, dimensionValue(ws, dim::RadiusRod) + 0.05f);
  ComputeReverseArmCentre(ws);
  w.poll();
  w.finish();
  EXPECT_NE(w.page().report.Rows[4].Front.MEP, before);
  const PerformanceReport now =
      performanceReport(ws, ws.Engine, performanceNotches(ws), {ws.Engine.SpeedRpm});
  EXPECT_EQ(performanceCsv(w.page().report), performanceCsv(now));
}

TEST(PerfWindow, TheSettingsAreTheSetsAndTheBoxesKeepThemValid) {
  Workspace ws = test::startedSet();
  ws.Engine.ChestPressure = 120.0;
  TEnginePerformance w(ws);
  w.finish();
  EXPECT_DOUBLE_EQ(w.ChestPressure->value(), 120.0);
  EXPECT_EQ(w.page().report.Settings.ChestPressure, 120.0);
  const double mep = w.page().report.Rows[0].Front.MEP;

  w.ChestPressure->setValue(150.0);
  EXPECT_EQ(ws.Engine.ChestPressure, 150.0);  // a save keeps it
  w.finish();
  EXPECT_GT(w.page().report.Rows[0].Front.MEP, 1.2 * mep);

  // A back pressure typed above the chest's is held under it, box and set alike.
  w.ChestPressure->setValue(20.0);
  w.BackPressure->setValue(40.0);
  EXPECT_LT(ws.Engine.BackPressure, ws.Engine.ChestPressure);
  EXPECT_DOUBLE_EQ(w.BackPressure->value(), ws.Engine.BackPressure);
  w.Cylinders->setValue(1);
  w.finish();
  EXPECT_TRUE(settingsValid(w.page().report.Settings));
  EXPECT_EQ(w.page().report.Settings.Cylinders, 1);

  // Another set opened brings its own settings into the boxes.
  ws.Engine = EngineSettings{};
  ws.Engine.SpeedRpm = 240.0;
  w.poll();
  EXPECT_DOUBLE_EQ(w.Speed->value(), 240.0);
  EXPECT_DOUBLE_EQ(w.ChestPressure->value(), 100.0);
  w.finish();
  EXPECT_EQ(w.page().report.Rows[0].SpeedRpm, 240.0);
}

TEST(PerfWindow, NotchListsSaveAndExport) {
  Workspace ws = test::startedSet();
  TEnginePerformance w(ws);
  w.NotchesEdit->setText("1.6,0.8");
  w.NotchesEditExit();
  w.CardsEdit->setText("0.8");
  w.CardsEditExit();
  w.finish();
  ASSERT_EQ(w.page().report.Rows.size(), 2u);
  ASSERT_EQ(w.page().cards.rows.size(), 1u);
  EXPECT_EQ(w.page().curves.bySpeed.front().Offset, 0.8);
  // Out of reach, or too many cards: refused, the field restored.
  w.NotchesEdit->setText("1.6,9");
  w.NotchesEditExit();
  EXPECT_EQ(w.NotchesEdit->text(), "1.6,0.8");
  w.CardsEdit->setText("1,1,1,1,1,1,1");
  w.CardsEditExit();
  EXPECT_EQ(w.CardsEdit->text(), "0.8");
  EXPECT_EQ(w.cardNotches(), (std::vector<double>{0.8}));

  const QString csv = tempPath("perf.csv");
  ASSERT_TRUE(w.saveCsv(csv));
  EXPECT_EQ(fileText(csv),
            performanceCsv(performanceReport(ws, ws.Engine, {1.6, 0.8}, {ws.Engine.SpeedRpm})));
  QString message;
  EXPECT_FALSE(w.saveCsv(tempPath("no-such-folder/x.csv"), &message));
  EXPECT_FALSE(message.isEmpty());
  const QString svg = tempPath("perf.svg");
  ASSERT_TRUE(w.exportTo(svg).ok);
  EXPECT_NE(fileText(svg).find("Indicator cards"), std::string::npos);
}

// vek1-cli render perf draws the window's picture, pixel for pixel, from a saved set with its
// own settings.
TEST(PerfWindow, RenderPerfDrawsWhatTheWindowExports) {
  Workspace ws = test::startedSet();
  ws.Engine.SpeedRpm = 300.0;
  ws.Engine.ClearancePct = {6.0, 14.0};
  const std::string set = ::testing::TempDir() + "perf-render.dve";
  const auto bytes = EncodeDimensionFile(ws);
  QFile f(QString::fromStdString(set));
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
  f.close();
  ASSERT_TRUE(ReadDimensionFile(set, ws).ok);  // the name, as an open gives it
  TEnginePerformance w(ws);
  w.finish();
  const QString exported = tempPath("perf-window.png");
  ASSERT_TRUE(w.exportTo(exported).ok);
  const std::string out = ::testing::TempDir() + "perf-render.png";
  const testing::Result r = testing::run({"render", "perf", "--file", set, "--out", out});
  ASSERT_EQ(r.code, 0) << r.err;
  const QImage a(exported), b(QString::fromStdString(out));
  ASSERT_FALSE(a.isNull());
  EXPECT_EQ(a.size(), b.size());
  EXPECT_TRUE(a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32));
}

TEST(PerfWindow, OpensFromTheDrawGraphsMenuAndTheToolBar) {
  Workspace ws;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  ASSERT_TRUE(form.EnginePerformance);
  EXPECT_TRUE(form.DrawGraphsMenu->actions().contains(form.EnginePerformance));
  EXPECT_EQ(form.EnginePerformance->text(), "&EnginePerformance");
  QAction* button = nullptr;
  for (QAction* a : form.ToolBar1->actions())
    if (a->toolTip().startsWith("View Engine Performance")) button = a;
  ASSERT_TRUE(button);
  EXPECT_FALSE(button->icon().isNull());
  button->trigger();
  EXPECT_TRUE(form.Timer1->isActive());
  auto windows = form.findChildren<TEnginePerformance*>();
  ASSERT_EQ(windows.size(), 1);
  EXPECT_TRUE(windows[0]->isVisible());
  windows[0]->hide();
  form.EnginePerformance->trigger();
  EXPECT_EQ(form.findChildren<TEnginePerformance*>().size(), 1);
  EXPECT_TRUE(windows[0]->isVisible());
  windows[0]->finish();
}

}  // namespace
}  // namespace vek1
