// The pivot data table: its text line by line, and the window that shows it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QEvent>
#include <QFontInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "data_table_window.h"
#include "dimensions.h"
#include "numbers.h"
#include "pivot_names.h"
#include "pivot_table.h"
#include "solver.h"
#include "write_limit.h"

namespace vek1 {
namespace {

const std::string kLine3 =
    "  Driver         No.1                   No.2                   No.3                  No.4    "
    "               No.5                  No.6";
const std::string kLine4 =
    "  Angle     Vert   Horz         Vert   Horz          Vert   Horz         Vert   Horz         "
    " Vert   Horz         Vert   Horz";

Workspace started() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> table(Workspace& ws, float step) {
  ws.SelectedStep = step;
  return lines(BuildPivotDataTable(ws, "1/2/2024", "10:11:12"));
}

// The data line as laid out, from a solve of its own and the program's number text.
std::string expectedLine(Workspace ws, float angle) {
  ws.DriverAngle = angle;
  SolveLinkage(ws);
  std::string line = fixedText(angle, 7, 2);
  for (int k = 1; k <= 6; ++k) {
    const int p = std::clamp(roundHalfEven(ws.PivotDataRows[k].Index), 0, kPivotCount - 1);
    line += "   " + fixedText(ws.Pivots.V[p], k == 1 ? 7 : 9, 3) + "  " +
            fixedText(ws.Pivots.H[p], 7, 3);
  }
  return line;
}

TEST(PivotTableText, FastNumberTextIsTheProgramsNumberText) {
  std::vector<float> values = {0.0f,     -0.0f,     0.0625f, -0.0625f, 0.125f, 2.5f,   0.0005f,
                               -0.0005f, 999.9995f, 1e9f,    -1e9f,    3e38f,  1e-40f, -1e-40f};
  for (int k = -4096; k <= 4096; ++k) values.push_back(k / 64.0f);  // exact halves and ties
  std::mt19937 rng(7);
  for (int i = 0; i < 20000; ++i) {
    const uint32_t bits = rng();
    float x;
    std::memcpy(&x, &bits, sizeof x);
    values.push_back(std::isfinite(x) && std::fabs(x) < 1e12f ? x : std::ldexp(float(bits), -20));
  }
  values.push_back(std::nanf(""));
  values.push_back(-std::numeric_limits<float>::infinity());
  for (float x : values)
    for (int decimals : {0, 2, 3, 5})
      for (int width : {0, 7, 9}) {
        std::string out = "x";
        appendFixedText(out, x, width, decimals);
        ASSERT_EQ(out, "x" + fixedText(x, width, decimals)) << x << " " << decimals;
      }
}

TEST(PivotTableText, LineCountFollowsTheStepAndIncludes360WhenLandedOn) {
  Workspace ws = started();
  auto t = table(ws, 10.0f);
  ASSERT_EQ(t.size(), 4u + 37u);
  EXPECT_EQ(t.back().substr(0, 7), " 360.00");
  EXPECT_EQ(table(ws, 45.0f).size(), 4u + 9u);
  t = table(ws, 7.0f);
  ASSERT_EQ(t.size(), 4u + 52u);
  EXPECT_EQ(t.back().substr(0, 7), " 357.00");
  // No trailing newline: the last line is a data line.
  EXPECT_NE(BuildPivotDataTable(ws, "d", "t").back(), '\n');
}

TEST(PivotTableText, HeaderLinesAreExact) {
  Workspace ws = started();
  ws.DimSetName = "Big Boy";
  ws.ReverseArmPos = 0.5f;
  const auto t = table(ws, 10.0f);
  EXPECT_EQ(t[0], "Pivot Data   Big Boy     1/2/2024   10:11:12");
  EXPECT_EQ(t[1], "       Reverse Arm   0.500      Step Angle  10.000");
  EXPECT_EQ(t[2], kLine3);
  EXPECT_EQ(t[3], kLine4);
  ws.ReverseArmPos = -12345.25f;  // a longer number is never cut
  EXPECT_EQ(table(ws, 10.0f)[1], "       Reverse Arm -12345.250      Step Angle  10.000");
}

TEST(PivotTableText, UnpickedRowsShowTheOriginAndRowOneHasWidthSeven) {
  Workspace ws = started();
  auto t = table(ws, 45.0f);
  std::string origin =
      "   0.00"
      "   "
      "  0.000"
      "  "
      "  0.000";
  for (int k = 2; k <= 6; ++k)
    origin +=
        "   "
        "    0.000"
        "  "
        "  0.000";
  EXPECT_EQ(t[4], origin);
  for (size_t i = 4; i < t.size(); ++i) EXPECT_EQ(t[i].substr(7), t[4].substr(7)) << i;

  ws.PivotDataRows[1].Index = 5.0f;  // the link pivot, a dimension the solver only reads
  ws.Pivots.V[5] = 1.5f;
  t = table(ws, 45.0f);
  EXPECT_EQ(t[4].substr(0, 7 + 3 + 7), "   0.00     1.500");
}

TEST(PivotTableText, DataLinesMatchTheSolverAtEveryAngle) {
  Workspace ws = started();
  ws.ReverseArmPos = ws.RevArmPositions[2];
  // Halves round to even, and indices outside the table (or NaN) are held to it.
  const float idx[7] = {0, 4.0f, 2.6f, 2.5f, -5.0f, 99.0f, std::nanf("")};
  for (int k = 1; k <= 6; ++k) ws.PivotDataRows[k].Index = idx[k];
  // Values the fast formatter must write as the program's number text does.
  ws.Pivots.V[19] = -0.0004f;
  ws.Pivots.H[19] = 1e30f;
  ws.Pivots.V[20] = std::numeric_limits<float>::infinity();
  ws.Pivots.H[20] = std::nanf("");
  ws.PivotDataRows[4].Index = 19.4f;
  ws.PivotDataRows[6].Index = 20.0f;
  const auto t = table(ws, 7.0f);
  float angle = 0.0f;
  for (size_t i = 4; i < t.size(); ++i, angle += 7.0f) EXPECT_EQ(t[i], expectedLine(ws, angle));
  EXPECT_NE(t[4].find("-0.000"), std::string::npos);
  EXPECT_NE(t[4].find("+Inf"), std::string::npos);
  EXPECT_NE(t[4].find("NaN"), std::string::npos);
}

TEST(PivotTableText, BorrowsDriverAndStepAngleAndHoldsABadStep) {
  Workspace ws = started();
  ws.DriverAngle = 123.5f;
  ws.StepAngle = 7.0f;
  EXPECT_EQ(table(ws, 1000.0f).size(), 4u + 9u);  // held to 45
  EXPECT_EQ(ws.DriverAngle, 123.5f);
  EXPECT_EQ(ws.StepAngle, 7.0f);
  EXPECT_EQ(ws.SelectedStep, 1000.0f);  // the model's setting itself is not changed
  // Held to 0.01, the build finishes. The angle is a single the step is added to, so the
  // rounding of 0.01 decides how many lines there are, not 360 / 0.01.
  size_t count = 0;
  float last = 0.0f;
  for (float a = 0.0f; a <= 360.0f; a = a + 0.01f) last = a, ++count;
  for (float bad : {std::nanf(""), 0.0f, -3.0f}) {
    const auto t = table(ws, bad);
    EXPECT_EQ(t[1].substr(t[1].size() - 7), "  0.010");
    ASSERT_EQ(t.size(), 4u + count);
    EXPECT_EQ(t.back().substr(0, 7), fixedText(last, 7, 2));
  }
}

class DataTableWindow : public ::testing::Test {
 protected:
  Workspace ws = started();
  TDataTable window{ws};
  QPlainTextEdit* memo() { return window.DataMemo(); }
};

TEST_F(DataTableWindow, ShowsTheTableOnShowAndRebuildsOnReactivation) {
  EXPECT_EQ(window.windowTitle(), "Pivot Data Table");
  EXPECT_EQ(window.size(), QSize(620, 400));
  EXPECT_EQ(memo()->font().pixelSize(), 12);
  window.show();
  EXPECT_EQ(memo()->blockCount(), 4 + 37);
  EXPECT_TRUE(memo()->toPlainText().startsWith("Pivot Data   Nominal     "));

  memo()->setPlainText("edited");
  ws.SelectedStep = 45.0f;
  QEvent deactivate(QEvent::WindowDeactivate), activate(QEvent::WindowActivate);
  QApplication::sendEvent(&window, &deactivate);
  QApplication::sendEvent(&window, &activate);
  EXPECT_EQ(memo()->blockCount(), 4 + 9);
  window.hide();
  ws.SelectedStep = 10.0f;
  window.show();
  EXPECT_EQ(memo()->blockCount(), 4 + 37);
}

TEST_F(DataTableWindow, EditMenuEnabling) {
  window.show();
  EXPECT_FALSE(window.Cut1()->isEnabled());
  EXPECT_FALSE(window.Copy1()->isEnabled());
  EXPECT_TRUE(window.SelectAll1()->isEnabled());
  window.Edit1Click();  // nothing selected: stays off
  EXPECT_FALSE(window.Copy1()->isEnabled());

  window.SelectAll1()->trigger();
  EXPECT_TRUE(window.Cut1()->isEnabled());
  EXPECT_TRUE(window.Copy1()->isEnabled());
  EXPECT_FALSE(window.SelectAll1()->isEnabled());
  window.Copy1()->trigger();
  EXPECT_TRUE(window.SelectAll1()->isEnabled());
  EXPECT_EQ(QApplication::clipboard()->text(), memo()->toPlainText());

  window.FormActivate();  // a rebuild starts over
  EXPECT_FALSE(window.Cut1()->isEnabled());
  QTextCursor cursor = memo()->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(5, QTextCursor::KeepAnchor);
  memo()->setTextCursor(cursor);
  window.Edit1Click();
  EXPECT_TRUE(window.Cut1()->isEnabled());
  window.Cut1()->trigger();
  EXPECT_EQ(QApplication::clipboard()->text(), "Pivot");
  EXPECT_TRUE(memo()->toPlainText().startsWith(" Data"));
  window.Past1()->trigger();
  EXPECT_TRUE(memo()->toPlainText().startsWith("Pivot Data"));

  QStringList texts;
  for (QAction* a : window.Edit1()->actions()) texts << (a->isSeparator() ? "-" : a->text());
  EXPECT_EQ(texts, QStringList({"Cu&t", "&Copy", "&Paste", "-", "Select&All"}));
  EXPECT_EQ(window.Close1()->text(), "&Close ");
  window.Close1()->trigger();
  EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vek1

namespace vek1 {
namespace {

// Runs a Python snippet with the standard csv module on `path`; what it prints.
std::string pythonCsv(const std::string& path, const std::string& code) {
  const std::string command =
      "python3 -c \"import csv,sys\nrows=list(csv.DictReader(open(sys.argv[1], newline='')))\n" +
      code + "\" '" + path + "'";
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (pclose(pipe) != 0) output += "(failed)";
  }
  return output;
}

TEST(PivotTableCsv, AStandardCsvReaderGetsNamedColumnsAndFullPrecision) {
  Workspace ws;
  StartUp(ws);
  ws.SelectedStep = 10.0f;
  ws.PivotDataRows[1] = {4.0f, true};  // valve-stem joint
  ws.PivotDataRows[2] = {8.4f, true};  // die block, the index rounded
  TDataTable window(ws);
  const std::string path = ::testing::TempDir() + "pivots.csv";
  ASSERT_FALSE(window.saveCsvTo(QString::fromStdString(path)));
  EXPECT_EQ(pythonCsv(path, "print(','.join(rows[0].keys()))"),
            "DriverAngle,ValveStemJoint_H,ValveStemJoint_V,DieBlock_H,DieBlock_V\n");
  EXPECT_EQ(pythonCsv(path, "print(len(rows), len(set(len(r) for r in rows)))"), "37 1\n");
  // The line at 30 degrees holds the solver's values, each exactly as a single reads back.
  const std::string line =
      pythonCsv(path, "r=rows[3]\nprint(r['DriverAngle'], r['ValveStemJoint_H'], r['DieBlock_V'])");
  Workspace solved;
  StartUp(solved);
  solved.DriverAngle = 30.0f;
  SolveLinkage(solved);
  EXPECT_EQ(line,
            "30 " + singleText(solved.Pivots.H[4]) + " " + singleText(solved.Pivots.V[8]) + "\n");
  // The table borrowed the angles and gave them back.
  EXPECT_EQ(ws.DriverAngle, started().DriverAngle);

  const auto failed = window.saveCsvTo(QString::fromStdString(::testing::TempDir()));
  ASSERT_TRUE(failed);
  EXPECT_TRUE(failed->startsWith("Cannot write"));
  EXPECT_EQ(window.SaveCsv1()->text(), "Save as &CSV...");
  // The text box's columns line up: its face is fixed-pitch.
  EXPECT_TRUE(QFontInfo(window.DataMemo()->font()).fixedPitch());
}

// Only rows with a pivot picked have columns, named as the sweep names the pivot, H before V:
// not a row never clicked, nor one clicked and still waiting for its pivot (entry 0), nor one
// holding a value no entry has. A pivot in two rows is written once, at its first row. The
// fixed points a sweep leaves out have names of their own.
TEST(PivotTableCsv, ColumnsAreTheChosenPivotsByName) {
  Workspace ws = started();
  ws.SelectedStep = 45.0f;
  ws.PivotDataRows[1] = {2.0f, true};   // crank pin
  ws.PivotDataRows[2] = {0.0f, true};   // clicked, never picked
  ws.PivotDataRows[3] = {8.0f, false};  // never clicked
  ws.PivotDataRows[4] = {1.0f, true};   // driver centre
  ws.PivotDataRows[5] = {2.0f, true};   // the crank pin again
  ws.PivotDataRows[6] = {12.0f, true};  // the anchor-link pivot as entered
  const std::vector<std::string> csv = lines(BuildPivotDataCsv(ws));
  ASSERT_EQ(csv.size(), 10u);  // header and 0, 45, ... 360
  EXPECT_EQ(csv[0],
            "DriverAngle,CrankPin_H,CrankPin_V,DriverCentre_H,DriverCentre_V,"
            "AnchorLinkPivotAsEntered_H,AnchorLinkPivotAsEntered_V");
  Workspace solved = started();
  solved.DriverAngle = 90.0f;
  SolveLinkage(solved);
  EXPECT_EQ(csv[3], "90," + singleText(solved.Pivots.H[2]) + "," + singleText(solved.Pivots.V[2]) +
                        ",0,0," + singleText(solved.Pivots.H[12]) + "," +
                        singleText(solved.Pivots.V[12]));

  // Nothing chosen, or only values that name no entry: the angles alone.
  ws.PivotDataRows[1] = {std::numeric_limits<float>::quiet_NaN(), true};
  ws.PivotDataRows[4] = {1e30f, true};
  ws.PivotDataRows[5] = {-3.0f, true};
  ws.PivotDataRows[6] = {0.4f, true};
  const std::vector<std::string> bare = lines(BuildPivotDataCsv(ws));
  ASSERT_EQ(bare.size(), 10u);
  EXPECT_EQ(bare[0], "DriverAngle");
  EXPECT_EQ(bare[2], "45");

  // Every entry a row can pick has a name of its own, so no two pivots share a column.
  std::vector<std::string_view> names;
  for (int i = 0; i < kPivotCount; ++i) {
    EXPECT_FALSE(pivotName(i).empty()) << i;
    EXPECT_EQ(std::count(names.begin(), names.end(), pivotName(i)), 0) << pivotName(i);
    names.push_back(pivotName(i));
  }
  EXPECT_TRUE(pivotName(kPivotCount).empty());
  EXPECT_TRUE(pivotName(-1).empty());
}

}  // namespace
}  // namespace vek1

namespace vek1 {
namespace {

TEST(PivotTableCsv, AFullDiskLeavesNoCutTable) {
  Workspace ws;
  StartUp(ws);
  ws.SelectedStep = 10.0f;
  TDataTable window(ws);
  testing::expectShortWritesFailWhole("pivots.csv", [&](const std::string& path) {
    const auto failed = window.saveCsvTo(QString::fromStdString(path));
    return failed ? std::optional<std::string>(failed->toStdString()) : std::nullopt;
  });
}

}  // namespace
}  // namespace vek1
