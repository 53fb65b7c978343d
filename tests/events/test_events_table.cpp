#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "dimensions.h"
#include "events_table.h"
#include "valve_events.h"
#include "valve_events_text.h"

namespace vek1 {
namespace {

Workspace factorySet() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

int column(const EventsTableView& view, const std::string& name) {
  const auto at = std::find(view.header.begin(), view.header.end(), name);
  EXPECT_NE(at, view.header.end()) << name;
  return static_cast<int>(at - view.header.begin());
}

// At +1.6 the factory gear cuts off at 77.7 % in front and 85.5 % behind, and the leads differ by
// 0.03: both pairs are marked at the default tolerance and neither at a loose one. The mid-gear
// cut-offs (5.5 and 4.9 %) are within 1 % of each other and stay unmarked.
TEST(EventsTable, FrontRearDifferencesBeyondTheToleranceAreMarked) {
  const ValveEventsTable table = ComputeValveEvents(factorySet(), {1.6, 0.0});
  const EventsTableView tight = buildEventsTable(table, {});
  const int cutOff = column(tight, "Cut-off Front (%)"), lead = column(tight, "Lead Front (units)");
  EXPECT_EQ(tight.rows[0][cutOff].text, "77.66");
  EXPECT_EQ(tight.rows[0][cutOff + 1].text, "85.49");
  EXPECT_TRUE(tight.rows[0][cutOff].differs && tight.rows[0][cutOff + 1].differs);
  EXPECT_TRUE(tight.rows[0][lead].differs);
  EXPECT_FALSE(tight.rows[1][cutOff].differs);
  EXPECT_FALSE(tight.rows[1][lead].differs);

  const EventsTableView loose = buildEventsTable(table, {10.0, 0.05});
  EXPECT_FALSE(loose.rows[0][cutOff].differs);
  EXPECT_FALSE(loose.rows[0][lead].differs);
}

// An end whose steam edge never closes has no cut-off; the other end has one, which is the
// biggest difference of all.
TEST(EventsTable, AnEventAtOneEndOnlyIsMarkedAndNamed) {
  Workspace ws = factorySet();
  setDimension(ws, dim::ValveLengthFrontHalf, dimensionValue(ws, dim::ValveLengthFrontHalf) - 0.4f);
  const EventsTableView view = buildEventsTable(ComputeValveEvents(ws, {0.0}), {100.0, 1.0});
  const int cutOff = column(view, "Cut-off Front (%)");
  EXPECT_EQ(view.rows[0][cutOff].text, "open");
  EXPECT_NE(view.rows[0][cutOff].tip.find("always open"), std::string::npos);
  EXPECT_TRUE(view.rows[0][cutOff].differs);
}

// A column with a unit holds figures alone, so that a spreadsheet pasted into reads them as
// numbers: a port that opens fully says so in the notes, not beside its opening. Each column
// has a tip, and the ends are named Front and Rear.
TEST(EventsTable, ColumnsWithAUnitHoldFiguresAloneAndEveryColumnIsExplained) {
  const ValveEventsTable table = ComputeValveEvents(factorySet());
  const EventsTableView view = buildEventsTable(table, {});
  ASSERT_EQ(view.headerTips.size(), view.header.size());
  for (const std::string& tip : view.headerTips) EXPECT_FALSE(tip.empty());
  int numeric = 0, fronts = 0;
  for (std::size_t c = 0; c < view.header.size(); ++c) {
    const std::string& h = view.header[c];
    fronts += h.find(" Front ") != std::string::npos;
    if (h.find(" (") == std::string::npos) continue;
    ++numeric;
    for (const auto& row : view.rows) {
      const std::string& t = row[c].text;
      if (t.empty() || t == "-" || t == "open" || t == "lock" || t == ">100") continue;
      std::size_t used = 0;
      EXPECT_NO_THROW(std::stod(t, &used)) << h << ": " << t;
      EXPECT_EQ(used, t.size()) << h << ": " << t;
    }
  }
  EXPECT_GE(numeric, 18);
  EXPECT_EQ(fronts, 7);
  int full = 0;
  for (std::size_t k = 0; k < table.Notches.size(); ++k) {
    const std::string& notes = view.rows[k][column(view, "Notes")].text;
    EXPECT_EQ(notes.find("front steam port opens fully") != std::string::npos,
              table.Notches[k].Front.OpensFully) << k;
    full += table.Notches[k].Front.OpensFully;
  }
  EXPECT_GT(full, 0);
  // The notch named by its cut-off: the mean of the two ends' at +1.6 (77.66 and 85.49).
  const EventsTableView one = buildEventsTable(ComputeValveEvents(factorySet(), {1.6}), {});
  EXPECT_EQ(one.rows[0][column(one, "Notch cut-off (%)")].text, "81.6");
}

TEST(EventsTable, TabSeparatedHasAHeaderAndOneLinePerNotch) {
  const EventsTableView view = buildEventsTable(ComputeValveEvents(factorySet()), {});
  const std::string text = tabSeparated(view);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + kDefaultNotchCount);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\t'),
            static_cast<long>((view.header.size() - 1) * (1 + kDefaultNotchCount)));
  EXPECT_EQ(text.rfind("Offset (units)\tRunning\tNotch cut-off (%)\t", 0), 0u);
  EXPECT_NE(text.find("\n1.800\tforward\t"), std::string::npos);
  EXPECT_NE(text.find("\n-1.800\treverse\t"), std::string::npos);
}

// The window's Error cell and the CSV's LockRanges say the same: "locks " and then the CSV's
// ranges, for part of a turn (+3) and two ranges of which one runs through 0 (a short anchor
// link at +1.8); a notch that closes has neither.
TEST(EventsTable, ErrorCellShowsTheLockRangesOfTheCsv) {
  Workspace shortAnchor = factorySet();
  setDimension(shortAnchor, dim::AnchorLinkLength, 1.0f);
  ComputeReverseArmCentre(shortAnchor);
  for (const ValveEventsTable& table : {ComputeValveEvents(factorySet(), {3.0, 0.0}),
                                        ComputeValveEvents(shortAnchor, {1.8})}) {
    const EventsTableView view = buildEventsTable(table, {});
    const int error = column(view, "Error");
    std::istringstream csv(valveEventsCsv(table));
    std::string line;
    std::getline(csv, line);
    const std::string header = line;
    ASSERT_EQ(header.rfind("Offset,ReverseArmPos,Direction,OutOfReach,BeyondFullGear,Error,LockRanges,", 0), 0u);
    for (size_t k = 0; k < table.Notches.size(); ++k) {
      std::getline(csv, line);  // the front line; the rear one has the same notch fields
      std::getline(csv, line);
      std::vector<std::string> cells;
      std::stringstream fields(line);
      for (std::string cell; std::getline(fields, cell, ',');) cells.push_back(cell);
      ASSERT_GT(cells.size(), 6u);
      const std::string& cell = view.rows[k][error].text;
      EXPECT_EQ(cell, cells[6].empty() ? "" : "locks " + cells[6]) << k;
      EXPECT_EQ(cells[5], table.Notches[k].Error ? "true" : "false");
    }
  }
  const ValveEventsTable partly = ComputeValveEvents(factorySet(), {3.0, -3.0});
  const EventsTableView view = buildEventsTable(partly, {});
  EXPECT_EQ(view.rows[0][column(view, "Error")].text, "locks 18.2-126.5");
  // -3 is beyond the factory reverse arm's reach: no lock ranges of a made-up pose, but the
  // reach itself beside it.
  EXPECT_EQ(view.rows[1][column(view, "Error")].text, "out of reach");
  EXPECT_EQ(view.rows[1][column(view, "Notes")].text, "the reverse arm reaches -2.972 to 3.028");
  EXPECT_EQ(view.rows[1][column(view, "Cut-off Front (%)")].text, "");
  const EventsTableView two = buildEventsTable(ComputeValveEvents(shortAnchor, {1.8}), {});
  const std::string cell = two.rows[0][column(two, "Error")].text;
  EXPECT_EQ(std::count(cell.begin(), cell.end(), '-'), 2) << cell;
}

// The running gear moves the driver and the reverse arm on every tick; that alone must not look
// like a new working set, or the table would be recomputed ten times a second for nothing.
TEST(EventsTable, FingerprintFollowsTheSetNotTheRunningGear) {
  Workspace ws = factorySet();
  const WorkingSetFingerprint start = fingerprintOf(ws);
  ws.DriverAngle = 123.0f;
  ws.ReverseArmPos += 0.5f;
  ws.Pivots.H[4] += 0.1f;  // a solver output
  EXPECT_TRUE(sameWorkingSet(start, fingerprintOf(ws)));

  for (auto change : {+[](Workspace& w) { setDimension(w, dim::RadiusRod, 5.101f); },
                      +[](Workspace& w) { setDimension(w, dim::LinkPivotHorz, 0.35f); },
                      +[](Workspace& w) { setDimension(w, dim::ValveStem, 2.0f); },
                      +[](Workspace& w) { w.RevArmPositions[0] += 0.001f; },
                      +[](Workspace& w) { w.DimSetName = "Mogul"; }}) {
    Workspace changed = ws;
    change(changed);
    EXPECT_FALSE(sameWorkingSet(start, fingerprintOf(changed)));
  }
}

TEST(EventsTable, NotchListIsDefaultOrOffsetsInOrder) {
  std::vector<double> offsets = {9.0};
  bool useDefault = false;
  ASSERT_TRUE(parseNotchList(" 1.6, 0.8 ,-0.8", offsets, useDefault));
  EXPECT_FALSE(useDefault);
  EXPECT_EQ(offsets, (std::vector<double>{1.6, 0.8, -0.8}));
  for (const char* bad : {"1,,2", "1.6,", "abc", "default x", "1e400"}) {
    EXPECT_FALSE(parseNotchList(bad, offsets, useDefault)) << bad;
    EXPECT_EQ(offsets.size(), 3u) << bad;
  }
  EXPECT_TRUE(parseNotchList("default", offsets, useDefault));
  EXPECT_TRUE(useDefault);
  useDefault = false;
  EXPECT_TRUE(parseNotchList("  ", offsets, useDefault));
  EXPECT_TRUE(useDefault);
}

}  // namespace
}  // namespace vek1
