// The reference holder, the Compare menu items and the Valve Events window with a reference: a
// reference is read into its own copy, a bad file changes neither set, and nothing of comparing
// touches the working set or its undo history.
#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QWidget>
#include <fstream>
#include <string>

#include "compare_menu.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "events_compare_table.h"
#include "numbers.h"
#include "oval_drawing.h"
#include "port_diagram_drawing.h"
#include "reference_ghost.h"
#include "reference_set.h"
#include "sine_drawing.h"
#include "steam_diagram_drawing.h"
#include "untouched.h"
#include "valve_events_window.h"
#include "recording_canvas.h"

namespace vek1 {
namespace {

QString tempPath(const std::string& name) {
  return QString::fromStdString(::testing::TempDir() + name);
}

// The factory set with one dimension moved, saved under `name`.
QString savedSet(const std::string& name, int frameId, float by) {
  Workspace ws;
  StartUp(ws);
  ws.Frame[static_cast<size_t>(frameId)] += by;
  ComputeReverseArmCentre(ws);
  const QString path = tempPath(name);
  EXPECT_TRUE(WriteDimensionFile(QFile::encodeName(path).toStdString(), ws).ok);
  return path;
}

// A working set as a user leaves it: edited, with an undo history.
Workspace editedWorkingSet() {
  Workspace ws;
  StartUp(ws);
  ws.Frame[dim::ValveLeverLower] += 0.01f;
  ComputeReverseArmCentre(ws);
  ws.DimSetName = "Working";
  for (int i = 1; i <= 3; ++i) ws.UndoList[static_cast<size_t>(i)] = {dim::RadiusRod, 5.0f + i, 5.1f + i, "Radius Rod"};
  ws.UndoCount = 3;
  ws.UndoMode = true;
  return ws;
}

void expectSameWorkingSet(const Workspace& before, const Workspace& after) {
  test::expectUntouched(before, after);
  EXPECT_EQ(EncodeDimensionFile(after), EncodeDimensionFile(before));
  EXPECT_EQ(after.DimSetName, before.DimSetName);
  EXPECT_EQ(after.UndoCount, before.UndoCount);
  EXPECT_EQ(after.UndoMode, before.UndoMode);
  for (int i = 0; i < kUndoEntries; ++i) {
    const UndoEntry& a = after.UndoList[static_cast<size_t>(i)];
    const UndoEntry& b = before.UndoList[static_cast<size_t>(i)];
    EXPECT_TRUE(a.Id == b.Id && a.OldValue == b.OldValue && a.NewValue == b.NewValue &&
                a.Name == b.Name)
        << "undo entry " << i;
  }
}

TEST(ReferenceSet, ABadFileLeavesTheReferenceItHadAndSaysWhy) {
  ReferenceSet ref;
  QSignalSpy changed(&ref, &ReferenceSet::changed);
  const QString good = savedSet("ref_good.dve", dim::RadiusRod, 0.02f);
  ASSERT_TRUE(ref.load(good).ok);
  EXPECT_TRUE(ref.active());
  EXPECT_EQ(ref.name(), "ref_good");
  Workspace factory;
  StartUp(factory);
  EXPECT_EQ(ref.set()->Frame[dim::RadiusRod], factory.Frame[dim::RadiusRod] + 0.02f);
  EXPECT_EQ(changed.count(), 1);
  const unsigned revision = ref.revision();

  const QString junk = tempPath("ref_junk.dve");
  std::ofstream(QFile::encodeName(junk).toStdString()) << "not a set";
  for (const QString& bad : {junk, tempPath("ref_missing.dve"), tempPath(""), QString()}) {
    const DimensionFileResult r = ref.load(bad);
    EXPECT_FALSE(r.ok) << bad.toStdString();
    EXPECT_FALSE(r.message.empty());
    EXPECT_EQ(ref.name(), "ref_good");
    EXPECT_EQ(ref.path(), good);
  }
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(ref.revision(), revision);

  // An older file by its extension, whatever its case.
  Workspace dos;
  StartUp(dos);
  dos.Frame[dim::Stroke] += 0.5f;
  const std::vector<std::uint8_t> bytes = EncodeDimensionFile(dos);
  const QString ovk = tempPath("ref_old.OVK");
  std::ofstream(QFile::encodeName(ovk).toStdString(), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), kDosRecords * kRecordBytes);
  ASSERT_TRUE(ref.load(ovk).ok);
  EXPECT_EQ(ref.name(), "ref_old");
  EXPECT_EQ(ref.set()->Frame[dim::Stroke], dos.Frame[dim::Stroke]);

  // The ghost shows only while there is a reference; the switch alone moves no revision.
  ref.setGhostShown(true);
  EXPECT_EQ(ref.ghost(), ref.set());
  EXPECT_EQ(ref.revision(), revision + 1);
  ref.clear();
  EXPECT_FALSE(ref.active());
  EXPECT_EQ(ref.ghost(), nullptr);
  EXPECT_EQ(ref.revision(), revision + 2);
}

TEST(ReferenceSet, ComparingNeverTouchesTheWorkingSetOrItsUndoHistory) {
  Workspace ws = editedWorkingSet();
  ws.RevArmPosCount = 3;
  const Workspace before = ws;
  ReferenceSet ref;
  QWidget parent;
  QMenu file, view;
  QAction* exitItem = file.addAction("Exit");
  CompareMenu menu(ref, &file, exitItem, &view, &parent);
  QString chosen;
  QStringList messages;
  menu.chooseFile = [&] { return chosen; };
  menu.workingFile = [] { return QString(); };
  menu.reportError = [&](const QString&, const QString& m) { messages << m; };
  TValveEvents events(ws);
  events.setReference(&ref);
  EXPECT_FALSE(menu.CompareOff->isEnabled());
  EXPECT_FALSE(menu.ShowGhost->isEnabled());
  // The items stand before Exit.
  EXPECT_EQ(file.actions().indexOf(menu.CompareWith), 0);
  EXPECT_LT(file.actions().indexOf(menu.CompareOff), file.actions().indexOf(exitItem));

  // Never saved: a clear message, no reference.
  menu.CompareLastSavedClick();
  ASSERT_EQ(messages.size(), 1);
  EXPECT_TRUE(messages[0].contains("no saved copy")) << messages[0].toStdString();
  EXPECT_FALSE(ref.active());

  chosen = savedSet("ref_menu.dve", dim::RadiusRod, 0.02f);
  menu.CompareWithClick();
  ASSERT_TRUE(ref.active());
  EXPECT_TRUE(menu.CompareOff->isEnabled());
  EXPECT_TRUE(menu.CompareOff->text().contains("ref_menu"));
  ASSERT_TRUE(events.compared());
  EXPECT_EQ(events.view().rows.size(), 3 * events.table().Notches.size());
  menu.ShowGhost->setChecked(true);
  EXPECT_TRUE(ref.ghostShown());

  // Everything that shows the reference, on the working set as it stands.
  events.poll();
  for (int k = 0; k < 4; ++k) {
    RecordingCanvas canvas;
    if (k == 0) drawSineDiagram(canvas, ws, ref.set());
    if (k == 1) drawOvalDiagram(canvas, ws, ref.set());
    if (k == 2) drawSteamDiagram(canvas, ws, ref.set());
    if (k == 3) drawPortDiagram(canvas, ws, 'R', true, ref.set());
  }
  RecordingCanvas canvas;
  drawReferenceGhost(canvas, ws, *ref.ghost());
  // A bad file keeps the reference there was, and says so.
  chosen = tempPath("ref_menu_missing.dve");
  menu.CompareWithClick();
  ASSERT_EQ(messages.size(), 2);
  EXPECT_TRUE(messages[1].contains("still ref_menu")) << messages[1].toStdString();
  EXPECT_EQ(ref.name(), "ref_menu");
  // The working set's own file compared with itself: the differences are all zero.
  menu.workingFile = [&] { return savedSet("ref_self.dve", dim::ValveLeverLower, 0.01f); };
  menu.CompareLastSavedClick();
  EXPECT_EQ(ref.name(), "ref_self");
  ASSERT_TRUE(events.compared());
  for (const NotchComparison& n : events.compared()->Differences.Notches)
    for (const FigureDifference& f : n.Front) {
      if (f.Difference) {
        EXPECT_EQ(*f.Difference, 0.0) << f.Name;
      }
    }
  menu.CompareOffClick();
  EXPECT_FALSE(ref.active());
  EXPECT_FALSE(events.compared());
  EXPECT_EQ(events.view().rows.size(), events.table().Notches.size());
  expectSameWorkingSet(before, ws);
}

TEST(ReferenceSet, EventsWindowMarksDifferencesByItsOwnTolerances) {
  Workspace ws = editedWorkingSet();
  ReferenceSet ref;
  ASSERT_TRUE(ref.load(savedSet("ref_tol.dve", dim::RadiusRod, 0.02f)).ok);
  TValveEvents events(ws);
  events.setReference(&ref);
  ASSERT_TRUE(events.compared());
  // The columns the differences' row fills are the ones it names.
  const EventsTableView& view = events.view();
  EXPECT_EQ(view.header[3], "Lead Front (units)");
  EXPECT_EQ(view.header[7], "Cut-off Front (%)");
  EXPECT_EQ(view.header[12], "Compression Rear (%)");
  EXPECT_EQ(view.header[17], "Valve travel (units)");
  EXPECT_EQ(view.header[20], "Lock margin (deg)");
  ASSERT_GE(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[1][0].text, kReferenceRowLabel);
  EXPECT_TRUE(view.rows[1][7].reference);
  EXPECT_EQ(view.rows[2][0].text, kDifferenceRowLabel);
  const FigureDifference* cut =
      findFigure(events.compared()->Differences.Notches[0], "Front", "CutOff.Stroke");
  ASSERT_TRUE(cut && cut->Difference && cut->Shift);
  const std::string expected = (*cut->Difference > 0 ? "+" : "") + fixedText(*cut->Difference, 0, 2);
  EXPECT_EQ(view.rows[2][7].text, expected);
  ASSERT_GT(std::fabs(*cut->Shift), 0.5);
  events.StrokeTolerance->setValue(0.1);
  EXPECT_TRUE(events.view().rows[2][7].beyondReference);
  events.StrokeTolerance->setValue(std::fabs(*cut->Shift) + 0.5);
  EXPECT_FALSE(events.view().rows[2][7].beyondReference);
  // The CSV is the comparison's: every figure of both sets with its difference.
  const QString csv = tempPath("ref_tol_events");
  ASSERT_TRUE(events.saveCsv(csv));
  std::ifstream in(QFile::encodeName(csv + ".csv").toStdString());
  std::string header;
  std::getline(in, header);
  EXPECT_EQ(header, "Offset,End,Figure,Working,Reference,Difference,Shift,Note");
}

}  // namespace
}  // namespace vek1
