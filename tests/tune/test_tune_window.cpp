#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>

#include "dimensions.h"
#include "dynvar.h"
#include "numbers.h"
#include "recording_sound.h"
#include "sensitivity.h"
#include "tune_window.h"

namespace vek1 {
namespace {

using namespace std::chrono_literals;

// Each valve half's length moves its own end's cut-off; the rear starts 5 % later. Equal
// cut-offs want the rear half 0.05 longer than the front.
std::vector<TuneNotchFigures> halves(const Workspace& ws, std::span<const double> offsets) {
  const double front = dimensionValue(ws, dim::ValveLengthFrontHalf);
  const double rear = dimensionValue(ws, dim::ValveLengthRearHalf);
  std::vector<TuneNotchFigures> out;
  for (double x : offsets) {
    TuneNotchFigures f;
    f.Offset = x;
    f.ClosureMargin = 10;
    f.Front.CutOff = 80 - 100 * (front - 0.687);
    f.Rear.CutOff = 85 - 100 * (rear - 0.687);
    out.push_back(f);
  }
  return out;
}

struct TuneWindowTest : ::testing::Test {
  Workspace ws;
  void SetUp() override {
    StartUp(ws);
    DynVarRegisterDimension(ws, dim::ValveLengthRearHalf);
    DynVarRegisterDimension(ws, dim::ValveLengthFrontHalf);
  }
  template <class T>
  T* child(TTuneDesign& w, const char* name) {
    T* c = w.findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  QString status(TTuneDesign& w) { return child<QLabel>(w, "Status")->text(); }
  bool waitForResult(TTuneDesign& w) {
    return QTest::qWaitFor([&] { return !w.searching() && w.result().has_value(); }, 10000);
  }
};

// "Most sensitive" replaces the rows with the sensitivity table's offer for the notches typed,
// each with the bounds the field asks for.
TEST_F(TuneWindowTest, MostSensitiveOffersTheRankedDimensionsForTheTypedNotches) {
  TTuneDesign w(ws);
  w.show();
  auto* dims = child<QTableWidget>(w, "TuneDims");
  ASSERT_EQ(dims->rowCount(), 4);  // the suggested four
  EXPECT_EQ(dims->item(0, 0)->text().toStdString(), dimensionLabel(kSuggestedTuneDimensions[0]));
  child<QLineEdit>(w, "Notches")->setText("1.6,0.4");
  child<QLineEdit>(w, "BoundsPercent")->setText("10");
  child<QPushButton>(w, "MostSensitive")->click();
  EXPECT_TRUE(child<QLabel>(w, "RowsText")->text().contains("most"));
  const std::vector<int> offer = rankForEqualCutOff(ws, ComputeSensitivity(ws, {1.6, 0.4}), 4);
  ASSERT_EQ(offer.size(), 4u);
  ASSERT_EQ(dims->rowCount(), 4);
  for (int r = 0; r < 4; ++r)
    EXPECT_EQ(dims->item(r, 0)->text().toStdString(),
              dimensionLabel(offer[static_cast<size_t>(r)]));
  const float value = dimensionValue(ws, offer[0]);
  EXPECT_FLOAT_EQ(dims->item(0, 2)->text().toFloat(),
                  toSingle(value + 0.1 * std::max(std::fabs(double(value)), 1.0)));
}

TEST_F(TuneWindowTest, RunsBesideTheLiveSetAndAppliesOneUndoableChangePerDimension) {
  TTuneDesign w(ws);
  w.setSearchOptions(TuneSearchOptions{.Figures = halves});
  w.show();
  // The dynamic-variable list is what the user has been nudging: asked for, those are the rows.
  child<QPushButton>(w, "FromBars")->click();
  auto* dims = child<QTableWidget>(w, "TuneDims");
  ASSERT_EQ(dims->rowCount(), 2);
  EXPECT_EQ(dims->item(0, 0)->text().toStdString(), dimensionLabel(dim::ValveLengthFrontHalf));
  child<QLineEdit>(w, "BoundsPercent")->setText("10");
  child<QPushButton>(w, "SetBounds")->click();
  child<QLineEdit>(w, "Notches")->setText("1.6, 0.8");

  const Workspace before = ws;
  int applied = 0;
  w.setAfterApply([&] { ++applied; });
  child<QPushButton>(w, "Run")->click();
  ASSERT_TRUE(waitForResult(w)) << status(w).toStdString();
  EXPECT_TRUE(sameDimensions(ws, before));  // nothing reaches the live set before Apply
  EXPECT_EQ(w.result()->Outcome, TuneOutcome::GoalsMet) << status(w).toStdString();
  EXPECT_EQ(child<QTableWidget>(w, "After")->rowCount(), 2);  // the events of both notches

  child<QPushButton>(w, "Apply")->click();
  EXPECT_EQ(applied, 1);
  const float front = dimensionValue(ws, dim::ValveLengthFrontHalf);
  const float rear = dimensionValue(ws, dim::ValveLengthRearHalf);
  EXPECT_NEAR(rear - front, 0.05f, 0.0015f);
  EXPECT_EQ(ws.UndoCount, before.UndoCount + 2);
  EXPECT_EQ(ws.DynVarList[1].Value, dimensionValue(ws, ws.DynVarList[1].Id));  // list refreshed
  EXPECT_FALSE(child<QPushButton>(w, "Apply")->isEnabled());

  // Undo takes the changes back one dimension at a time (up to the single rounding that the
  // undo's reload of the dynamic variables leaves).
  auto changedCount = [&] {
    return (std::fabs(dimensionValue(ws, dim::ValveLengthFrontHalf) - 0.687f) > 1e-6f) +
           (std::fabs(dimensionValue(ws, dim::ValveLengthRearHalf) - 0.687f) > 1e-6f);
  };
  EXPECT_EQ(changedCount(), 2);
  UndoButtonClick(ws);
  EXPECT_EQ(changedCount(), 1);
  UndoButtonClick(ws);
  EXPECT_EQ(changedCount(), 0);
  EXPECT_EQ(ws.UndoCount, before.UndoCount);
}

// Start and Tuned keep the search's two sets through Apply and through undoing it in the main
// window, and the status says how far the applied changes have been undone.
TEST_F(TuneWindowTest, StartStaysTheSearchedSetThroughApplyAndUndo) {
  TTuneDesign w(ws);
  w.setSearchOptions(TuneSearchOptions{.Figures = halves});
  w.show();
  child<QPushButton>(w, "FromBars")->click();
  child<QLineEdit>(w, "Notches")->setText("1.6");
  child<QPushButton>(w, "Run")->click();
  ASSERT_TRUE(waitForResult(w));
  auto* dims = child<QTableWidget>(w, "TuneDims");
  auto columns = [&](int c) {
    return QStringList{dims->item(0, c)->text(), dims->item(1, c)->text()};
  };
  const QStringList start = columns(3), tuned = columns(4);
  EXPECT_EQ(start, (QStringList{"0.6870", "0.6870"}));
  ASSERT_NE(tuned, start);

  w.ApplyClick();
  EXPECT_EQ(columns(3), start);
  EXPECT_EQ(columns(4), tuned);
  QTest::qWait(700);  // the timer that follows the set has looked at the applied one
  EXPECT_EQ(columns(3), start);
  EXPECT_TRUE(status(w).startsWith("Applied: 2")) << status(w).toStdString();
  EXPECT_FALSE(child<QPushButton>(w, "Apply")->isEnabled());

  UndoButtonClick(ws);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status(w).contains("1 of 2"); }, 2000))
      << status(w).toStdString();
  UndoButtonClick(ws);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status(w).startsWith("Applied changes undone"); }, 2000))
      << status(w).toStdString();
  EXPECT_EQ(columns(3), start);
  EXPECT_EQ(columns(4), tuned);
  // Back at the searched set, the result may be applied again.
  EXPECT_TRUE(child<QPushButton>(w, "Apply")->isEnabled());

  // Any other change withdraws the result, and Start is the set as it stands.
  setDimension(ws, dim::ValveLengthFrontHalf, 0.6f);
  ASSERT_TRUE(QTest::qWaitFor([&] { return status(w).contains("withdrawn"); }, 2000));
  EXPECT_EQ(dims->item(0, 3)->text(), "0.6000");
  EXPECT_EQ(dims->item(0, 4)->text(), "");
  EXPECT_FALSE(child<QPushButton>(w, "Apply")->isEnabled());
}

// The rows start as the suggested four whatever the bars hold; taken from the bars, a dimension
// only the drawing uses is left out by name.
TEST_F(TuneWindowTest, RowsAreTheSuggestedFourOrTheBarsThatMoveTheValveAndSaySo) {
  DynVarRegisterDimension(ws, dim::DriverDia);
  TTuneDesign w(ws);
  w.show();
  auto* dims = child<QTableWidget>(w, "TuneDims");
  ASSERT_EQ(dims->rowCount(), static_cast<int>(kSuggestedTuneDimensions.size()));
  EXPECT_EQ(dims->item(0, 0)->data(Qt::UserRole).toInt(), kSuggestedTuneDimensions[0]);
  EXPECT_TRUE(child<QLabel>(w, "RowsText")->text().contains("suggested four"));

  child<QPushButton>(w, "FromBars")->click();
  EXPECT_EQ(dims->rowCount(), 2);
  const QString said = child<QLabel>(w, "RowsText")->text();
  EXPECT_TRUE(said.contains("bars")) << said.toStdString();
  EXPECT_TRUE(said.contains("Driver Dia")) << said.toStdString();

  Workspace drawingOnly;
  StartUp(drawingOnly);
  DynVarRegisterDimension(drawingOnly, dim::DriverDia);
  TTuneDesign other(drawingOnly);
  other.show();
  other.FromBarsClick();
  EXPECT_EQ(other.findChild<QTableWidget*>("TuneDims")->rowCount(),
            static_cast<int>(kSuggestedTuneDimensions.size()));
  EXPECT_TRUE(other.findChild<QLabel*>("RowsText")->text().startsWith("No dimension on the bars"));
}

TEST_F(TuneWindowTest, CancelStopsQuicklyKeepsTheWindowResponsiveAndChangesNothing) {
  TTuneDesign w(ws);
  // A slow evaluation, as on a loaded machine: 20 ms each.
  w.setSearchOptions(
      TuneSearchOptions{.Figures = [](const Workspace& s, std::span<const double> o) {
        std::this_thread::sleep_for(20ms);
        return halves(s, o);
      }});
  w.show();
  const Workspace before = ws;
  int ticks = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
  tick.start(10);
  child<QPushButton>(w, "Run")->click();
  QTest::qWait(200);
  EXPECT_TRUE(w.searching());
  EXPECT_GE(ticks, 5);  // the event loop kept running beside the search
  EXPECT_TRUE(status(w).startsWith("Searching")) << status(w).toStdString();

  const auto cancelled = std::chrono::steady_clock::now();
  child<QPushButton>(w, "Cancel")->click();
  ASSERT_TRUE(waitForResult(w));
  EXPECT_LT(std::chrono::steady_clock::now() - cancelled, 200ms);
  EXPECT_EQ(w.result()->Outcome, TuneOutcome::Cancelled);
  EXPECT_FALSE(child<QPushButton>(w, "Apply")->isEnabled());
  // The bar shows how far the search got, not a finished one.
  auto* bar = w.findChild<QProgressBar*>();
  ASSERT_NE(bar, nullptr);
  EXPECT_LT(bar->value(), bar->maximum());
  EXPECT_TRUE(bar->text().startsWith("Cancelled after")) << bar->text().toStdString();
  // A cancelled search offers no comparison: its events tables stay empty.
  EXPECT_EQ(child<QTableWidget>(w, "Before")->rowCount(), 0);
  EXPECT_EQ(child<QTableWidget>(w, "After")->rowCount(), 0);
  EXPECT_TRUE(sameDimensions(ws, before));
}

TEST_F(TuneWindowTest, ApplyRefusesASetChangedSinceTheSearchAndBadTextSearchesNothing) {
  TTuneDesign w(ws);
  w.setSearchOptions(TuneSearchOptions{.Figures = halves});
  w.show();
  child<QLineEdit>(w, "Notches")->setText("1.6,,0.8");
  child<QPushButton>(w, "Run")->click();
  EXPECT_FALSE(w.searching());
  EXPECT_TRUE(status(w).contains("notches")) << status(w).toStdString();

  child<QLineEdit>(w, "Notches")->setText("1.6");
  child<QPushButton>(w, "Run")->click();
  ASSERT_TRUE(waitForResult(w));
  ASSERT_TRUE(child<QPushButton>(w, "Apply")->isEnabled());
  setDimension(ws, dim::RadiusRod, 5.01f);  // a bar nudged while the result stood
  const Workspace nudged = ws;
  child<QPushButton>(w, "Apply")->click();
  EXPECT_TRUE(sameDimensions(ws, nudged));
  EXPECT_EQ(ws.UndoCount, nudged.UndoCount);
  EXPECT_TRUE(status(w).contains("changed since")) << status(w).toStdString();
}

TEST_F(TuneWindowTest, SearchesExactlyWhatTheCommandLineSearches) {
  // The suggested four with the default bounds and notches, as `vek1-cli tune` builds them: the
  // table shows the bounds to four places and the notches to three, but the search must get the
  // values themselves, or the two take different paths (and different numbers of sets).
  Workspace factory;
  StartUp(factory);
  DynVarRegisterDimension(factory, dim::DriverDia);  // nudged, but it only draws: not a row
  TTuneDesign w(factory);
  w.show();
  QString problem;
  const std::optional<TuneSettings> s = w.settingsFromControls(&problem);
  ASSERT_TRUE(s.has_value()) << problem.toStdString();
  ASSERT_EQ(s->Vary.size(), kSuggestedTuneDimensions.size());
  for (std::size_t i = 0; i < s->Vary.size(); ++i) {
    const TuneVariable cli = defaultTuneVariable(factory, kSuggestedTuneDimensions[i]);
    EXPECT_EQ(s->Vary[i].Id, cli.Id);
    EXPECT_EQ(s->Vary[i].Lower, cli.Lower) << cli.Id;
    EXPECT_EQ(s->Vary[i].Upper, cli.Upper) << cli.Id;
  }
  EXPECT_EQ(s->Notches, defaultTuneNotches(factory));
  EXPECT_TRUE(s->Limits.Enabled);
  // And so the same search: the same sets tried, the same answer. The figures here follow
  // the four dimensions and the notch offsets, with a ripple in their last digits as the
  // single-precision events have, so that the smallest difference in either shows.
  const TuneSearchOptions options{.Figures = [](const Workspace& g, std::span<const double> o) {
    std::vector<TuneNotchFigures> out = halves(g, o);
    const double sum = dimensionValue(g, dim::AnchorLinkPivotHorz) +
                       dimensionValue(g, dim::ValveLeverLower) -
                       2.4 * dimensionValue(g, dim::CouplerLower);
    for (TuneNotchFigures& f : out)
      f.Rear.CutOff = *f.Rear.CutOff + 3 * f.Offset * (sum - 8.0) +
                      0.2 * std::fmod(1.0e7 * (f.Offset + sum), 1.0);
    return out;
  }};
  w.setSearchOptions(options);
  w.RunClick();
  ASSERT_TRUE(waitForResult(w));
  TuneSettings cli;
  for (int id : kSuggestedTuneDimensions) cli.Vary.push_back(defaultTuneVariable(factory, id));
  cli.Notches = defaultTuneNotches(factory);
  const TuneResult direct = runTuneSearch(factory, cli, options);
  EXPECT_EQ(w.result()->Evaluations, direct.Evaluations);
  EXPECT_EQ(w.result()->Values, direct.Values);
  // A bound typed in is taken as typed.
  child<QTableWidget>(w, "TuneDims")->item(0, 1)->setText("2.4");
  EXPECT_EQ(w.settingsFromControls(&problem)->Vary[0].Lower, 2.4f);
}

TEST_F(TuneWindowTest, BoundsFollowTheSetAndApplyIsOfferedOnlyForABetterSet) {
  TTuneDesign w(ws);
  w.setSearchOptions(TuneSearchOptions{.Figures = halves});
  w.show();
  EXPECT_FALSE(child<QPushButton>(w, "Apply")->isEnabled());  // nothing found yet
  child<QPushButton>(w, "FromBars")->click();
  auto* dims = child<QTableWidget>(w, "TuneDims");
  child<QLineEdit>(w, "Notches")->setText("1.6");
  // Another set comes in (a file opened): the rear half far outside the bounds shown.
  setDimension(ws, dim::ValveLengthRearHalf, 0.9f);
  ComputeReverseArmCentre(ws);
  ASSERT_TRUE(QTest::qWaitFor([&] { return dims->item(1, 3)->text() == "0.9000"; }, 2000));
  EXPECT_EQ(dims->item(1, 1)->text(), "0.8500");  // +-5 % of one unit around the new value
  EXPECT_EQ(dims->item(1, 2)->text(), "0.9500");

  // Changed again and run at once, before the timer: the search still starts inside its bounds
  // from the set as it stands.
  setDimension(ws, dim::ValveLengthFrontHalf, 0.5f);
  child<QPushButton>(w, "Run")->click();
  ASSERT_TRUE(waitForResult(w));
  const TuneResult& r = *w.result();
  EXPECT_EQ(r.Start[0], 0.5f);
  EXPECT_GE(r.Start[0], r.Settings.Vary[0].Lower);
  EXPECT_LE(r.Start[0], r.Settings.Vary[0].Upper);
  ASSERT_TRUE(r.improves()) << r.Message;
  EXPECT_LT(r.After.Objective, r.Before.Objective);
  EXPECT_TRUE(child<QPushButton>(w, "Apply")->isEnabled());
  // The table: start, tuned, change, change % and whether a bound stopped it (both halves want
  // to go further than +-5 % allows).
  const TuneDimensionChange c = tuneDimensionChanges(r)[0];
  EXPECT_EQ(dims->item(0, 4)->text().toFloat(), c.Tuned);
  EXPECT_NEAR(dims->item(0, 5)->text().toDouble(), c.Tuned - 0.5, 1e-4);
  EXPECT_NEAR(dims->item(0, 6)->text().toDouble(), 100.0 * (c.Tuned - 0.5) / 0.5, 0.01);
  EXPECT_EQ(dims->item(0, 7)->text(), "yes");
  EXPECT_FALSE(child<QLabel>(w, "LimitsText")->text().isEmpty());

  // A set that is already the best there is: nothing to apply, and the window says why.
  Workspace best;
  StartUp(best);
  setDimension(best, dim::ValveLengthFrontHalf, 0.687f);
  setDimension(best, dim::ValveLengthRearHalf, 0.737f);  // equal cut-offs
  DynVarRegisterDimension(best, dim::ValveLengthFrontHalf);
  TTuneDesign atBest(best);
  atBest.setSearchOptions(TuneSearchOptions{.Figures = halves});
  atBest.show();
  atBest.RunClick();
  ASSERT_TRUE(waitForResult(atBest));
  EXPECT_TRUE(atBest.result()->StartKept);
  EXPECT_FALSE(child<QPushButton>(atBest, "Apply")->isEnabled());
  EXPECT_TRUE(status(atBest).contains("start is kept")) << status(atBest).toStdString();

  // The limits come from the controls; a limit that is not a number searches nothing.
  child<QCheckBox>(atBest, "Limits")->setChecked(false);
  QString problem;
  EXPECT_FALSE(atBest.settingsFromControls(&problem)->Limits.Enabled);
  child<QLineEdit>(atBest, "MaxLead")->setText("abc");
  EXPECT_FALSE(atBest.settingsFromControls(&problem).has_value());
}

}  // namespace
}  // namespace vek1

#include "main_form.h"
#include "sound.h"

namespace vek1 {
namespace {

TEST(TuneDesignMenu, OpensBesideTheRunningGearAndTheGearKeepsItsNotchAfterApply) {
  Workspace ws;
  RecordingSoundSink sound;
  TMainForm form(ws, sound);
  TTuneDesign tune(ws, &form);
  // The valve lever's upper arm sets the front cut-off here; equal cut-offs want it at 0.479.
  tune.setSearchOptions(
      TuneSearchOptions{.Figures = [](const Workspace& s, std::span<const double> o) {
        std::vector<TuneNotchFigures> out = halves(s, o);
        for (TuneNotchFigures& f : out) {
          f.Front.CutOff = 80 + 100 * (dimensionValue(s, dim::ValveLeverUpper) - 0.459);
          f.Rear.CutOff = 82;
        }
        return out;
      }});
  form.setTuneWindow(&tune);
  tune.setAfterApply(
      [&form] { form.motionStrip->SBRevArmChange(form.motionStrip->SBRevArm->value()); });
  form.show();
  form.motionStrip->FwdClick();
  const float offset = ws.ReverseArmPos - ws.RevArmPositions[0];

  ASSERT_NE(form.TuneDesign, nullptr);
  EXPECT_EQ(form.TuneDesign->text(), "&TuneDesign");
  form.TuneDesign->trigger();
  EXPECT_TRUE(tune.isVisible());
  EXPECT_FALSE(tune.isModal());
  EXPECT_TRUE(form.Timer1->isActive());  // the gear keeps running

  // A dimension that moves the centre, so the reverse arm has a new centre to follow.
  tune.findChild<QLineEdit*>("Notches")->setText("1.6");
  DynVarRegisterDimension(ws, dim::ValveLeverUpper);
  tune.FromBarsClick();
  tune.RunClick();
  ASSERT_TRUE(QTest::qWaitFor([&] { return tune.result().has_value(); }, 10000));
  ASSERT_TRUE(tune.result()->changed()) << tune.result()->Message;
  const float oldCentre = ws.RevArmPositions[0];
  tune.ApplyClick();
  EXPECT_FLOAT_EQ(dimensionValue(ws, dim::ValveLeverUpper), 0.479f);
  EXPECT_NE(ws.RevArmPositions[0], oldCentre);
  EXPECT_FLOAT_EQ(ws.ReverseArmPos - ws.RevArmPositions[0], offset);  // still full forward
}

}  // namespace
}  // namespace vek1
