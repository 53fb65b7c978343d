// The Sensitivity and Worn Gear windows: live on the working set, saving what the command line
// prints, exporting their pictures, and opened from the DrawGraphs menu.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include "dimensions.h"
#include "main_form.h"
#include "recording_sound.h"
#include "sensitivity_text.h"
#include "sensitivity_window.h"
#include "tune.h"
#include "tune_figures.h"
#include "worn_gear_text.h"
#include "worn_gear_window.h"
#include "window_files.h"
#include "started_set.h"

namespace vek1 {
namespace {

using test::fileText;
using test::tempPath;

// A changed dimension is seen at the next poll and only once; the ranking follows the chosen
// figure; the CSV is the whole notch list as vek1-cli prints it, and the picture exports.
TEST(SensitivityWindow, FollowsTheSetRanksSavesAndExports) {
  Workspace ws = test::startedSet();
  TSensitivity w(ws);
  EXPECT_TRUE(w.poll());
  EXPECT_FALSE(w.poll());
  EXPECT_EQ(w.notches(), defaultTuneNotches(ws));
  EXPECT_EQ(w.NotchBox->count(), 9);
  w.NotchesEdit->setText("0.8,1.6");
  w.NotchesEditExit();
  EXPECT_EQ(w.shown().Offset, 0.8);
  // Ranked for the rear cut-off by default: the first row is the dimension that moves it most.
  const std::vector<int> order = rankForFigure(w.shown(), kRearCutOff, false);
  EXPECT_EQ(w.view().rows[0][1].text,
            std::to_string(w.shown().Rows[static_cast<size_t>(order[0])].Id));

  w.FigureBox->setCurrentIndex(kFrontLead);
  EXPECT_NE(w.view().header[4 + kFrontLead].rfind("> ", 0), std::string::npos);
  const double before = w.shown().Rows[4].PerUnit[kFrontCutOff];
  setDimension(ws, dim::RadiusRod, dimensionValue(ws, dim::RadiusRod) + 0.05f);
  ComputeReverseArmCentre(ws);
  EXPECT_TRUE(w.poll());
  EXPECT_NE(w.shown().Rows[4].PerUnit[kFrontCutOff], before);

  // A notch list the arm cannot reach is refused and the field restored.
  w.NotchesEdit->setText("0.8,9");
  w.NotchesEditExit();
  EXPECT_EQ(w.NotchesEdit->text(), "0.8,1.6");
  EXPECT_EQ(w.notches(), (std::vector<double>{0.8, 1.6}));

  const QString csv = tempPath("sensitivity.csv");
  ASSERT_TRUE(w.saveCsv(csv));
  EXPECT_EQ(fileText(csv), sensitivityCsv(ComputeSensitivity(ws, {0.8, 1.6})));
  QString message;
  EXPECT_FALSE(w.saveCsv(tempPath("no-such-folder/x.csv"), &message));
  EXPECT_FALSE(message.isEmpty());
  const QString svg = tempPath("sensitivity.svg");
  ASSERT_TRUE(w.exportTo(svg).ok);
  EXPECT_NE(fileText(svg).find("Radius Rod"), std::string::npos);
}

// The clearances are the window's: one joint's box, or the box for all, recomputes; all at 0 is
// no spread; the CSV is the study as vek1-cli prints it.
TEST(WornGearWindow, ClearanceBoxesDriveTheStudyAndTheCsv) {
  Workspace ws = test::startedSet();
  TWornGear w(ws);
  EXPECT_TRUE(w.poll());
  EXPECT_FALSE(w.poll());
  ASSERT_EQ(w.study().Notches.size(), 9u);
  EXPECT_EQ(w.clearances(), defaultClearances());

  w.AllClearance->setValue(0.0);
  for (const WearNotch& n : w.study().Notches)
    for (const WearEnvelope& e : n.Envelope) EXPECT_EQ(e.Spread(), 0.0);
  w.JointClearance[kValveStemJoint]->setValue(0.003);
  Clearances only{};
  only[kValveStemJoint] = 0.003;
  EXPECT_EQ(w.study().Clearance, only);
  EXPECT_DOUBLE_EQ(w.study().Notches[0].Joints[kValveStemJoint].Share, 1.0);

  w.NotchesEdit->setText("1.2");
  w.NotchesEditExit();
  ASSERT_EQ(w.study().Notches.size(), 1u);
  const QString csv = tempPath("wear.csv");
  ASSERT_TRUE(w.saveCsv(csv));
  EXPECT_EQ(fileText(csv), wornGearCsv(ComputeWornGear(ws, {1.2}, only)));
  const QString png = tempPath("wear.png");
  EXPECT_TRUE(w.exportTo(png).ok);
  EXPECT_GT(QFile(png).size(), 1000);
}

// The clearances are the set's: the boxes show them, a box typed in changes them (so a save
// keeps them), and another set opened brings its own.
TEST(WornGearWindow, TheClearancesAreKeptWithTheSet) {
  Workspace ws = test::startedSet();
  ws.JointClearances[kCrankPin] = 0.004f;
  TWornGear w(ws);
  w.poll();
  EXPECT_DOUBLE_EQ(w.JointClearance[kCrankPin]->value(), 0.004);
  EXPECT_NEAR(w.study().Clearance[kCrankPin], 0.004, 1e-7);
  w.JointClearance[kCrosshead]->setValue(0.0035);
  EXPECT_EQ(ws.JointClearances[kCrosshead], 0.0035f);
  ws.JointClearances.fill(0.001f);  // as an open of another set does
  w.poll();
  EXPECT_DOUBLE_EQ(w.JointClearance[kDieInLink]->value(), 0.001);
  EXPECT_NEAR(w.study().Clearance[kDieInLink], 0.001, 1e-7);
}

// Both open from the DrawGraphs menu beside the running gear, and a second click shows the same
// window again.
TEST(StudyWindows, OpenFromTheDrawGraphsMenu) {
  Workspace ws;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  const QList<QAction*> graphs = form.DrawGraphsMenu->actions();
  for (QAction* action : {form.Sensitivity, form.WornGear}) {
    ASSERT_TRUE(action);
    ASSERT_TRUE(graphs.contains(action));
    action->trigger();
    EXPECT_TRUE(form.Timer1->isActive());
  }
  const auto windows = form.findChildren<TSensitivity*>();
  ASSERT_EQ(windows.size(), 1);
  EXPECT_TRUE(windows[0]->isVisible());
  windows[0]->hide();
  form.Sensitivity->trigger();
  EXPECT_EQ(form.findChildren<TSensitivity*>().size(), 1);
  EXPECT_TRUE(windows[0]->isVisible());
  ASSERT_EQ(form.findChildren<TWornGear*>().size(), 1);
  EXPECT_TRUE(form.findChildren<TWornGear*>()[0]->isVisible());
}

}  // namespace
}  // namespace vek1
