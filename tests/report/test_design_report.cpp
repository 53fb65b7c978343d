// The design report read back by poppler's own tools: pdfinfo counts its pages and names its
// paper, pdftotext finds every dimension's name and every figure of the events table as the
// table prints it, and the table's words are set no smaller than the body text.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "design_report.h"
#include "dimensions.h"
#include "engine_performance.h"
#include "numbers.h"
#include "events_table.h"
#include "valve_events.h"
#include "write_limit.h"

namespace vek1 {
namespace {

std::string shell(const std::string& command) {
  std::string output;
  if (FILE* pipe = ::popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
    if (::pclose(pipe) != 0) output += "(failed)";
  }
  return output;
}

Workspace factory() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

std::string written(const Workspace& ws, const Workspace* reference, const ReportOptions& o,
                    const std::string& name, int* pages = nullptr) {
  const std::string path = ::testing::TempDir() + name;
  const ReportWriteResult r = writeDesignReport(path, ws, reference, o);
  EXPECT_TRUE(r.ok) << r.message;
  if (pages) *pages = r.pages;
  return path;
}

std::vector<std::string> tokens(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> out;
  for (std::string t; in >> t;) out.push_back(t);
  return out;
}

TEST(DesignReport, PdfinfoCountsThePagesOnThePaperAsked) {
  const Workspace ws = factory();
  int pages = 0;
  const std::string a4 = written(ws, nullptr, {}, "a4.pdf", &pages);
  // Title, dimensions, the gear, two pages of diagrams, the events table in two parts by its
  // columns, the margins, the engine.
  EXPECT_EQ(pages, 9);
  const std::string info = shell("pdfinfo '" + a4 + "'");
  EXPECT_NE(info.find("Pages:           9\n"), std::string::npos) << info;
  EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;
  EXPECT_NE(info.find("Valve gear design report: Nominal"), std::string::npos) << info;

  ReportOptions letter;
  letter.paper = ReportPaper::Letter;
  letter.notches = std::vector<double>{1.6, 0.0};
  Workspace reference = factory();
  reference.DimSetName = "Last good";
  setDimension(reference, dim::RadiusRod, 5.2f);
  const std::string compared = written(ws, &reference, letter, "letter.pdf", &pages);
  // The reference's events follow the set's, in two parts too, then their differences.
  EXPECT_EQ(pages, 13);
  const std::string info2 = shell("pdfinfo '" + compared + "'");
  EXPECT_NE(info2.find("Pages:           13\n"), std::string::npos) << info2;
  EXPECT_NE(info2.find("612 x 792 pts (letter)"), std::string::npos) << info2;
  const std::string text = shell("pdftotext -layout '" + compared + "' -");
  EXPECT_NE(text.find("compared with Last good"), std::string::npos);
  EXPECT_NE(text.find("Reference set Last good: valve events"), std::string::npos);
  EXPECT_NE(text.find("Page 13 of 13"), std::string::npos);
}

TEST(DesignReport, TextHoldsEveryDimensionAndEveryFigureOfTheEventsTable) {
  Workspace ws = factory();
  ws.DimSetName = "Trial 7";
  setDimension(ws, dim::ValveLengthFrontHalf, 0.7f);
  ReportOptions o;
  o.date = "2031-04-05";
  const std::string text = shell("pdftotext -layout '" + written(ws, nullptr, o, "t.pdf") + "' -");
  EXPECT_NE(text.find("Trial 7"), std::string::npos);
  EXPECT_NE(text.find("Date: 2031-04-05"), std::string::npos);
  EXPECT_NE(text.find("vek1 version " + reportProgramVersion()), std::string::npos);
  // The labels line up on the dialogs with runs of blanks; a word apart is what is read.
  auto oneBlank = [](const std::string& s) {
    std::string out;
    for (const std::string& t : tokens(s)) out += (out.empty() ? "" : " ") + t;
    return out;
  };
  std::istringstream textLines(text);
  std::string readable;
  for (std::string line; std::getline(textLines, line);) readable += oneBlank(line) + "\n";
  int labels = 0;
  for (int id = 1; id <= 122; ++id) {
    if (!isDimensionId(id)) continue;
    const std::string label = oneBlank(std::string(dimensionLabel(id)));
    EXPECT_NE(readable.find(label), std::string::npos) << label;
    ++labels;
  }
  EXPECT_EQ(labels, 40);
  EXPECT_NE(readable.find("119 Valve Length Front Half 0.7000 units"), std::string::npos);
  for (int page = 1; page <= 9; ++page)
    EXPECT_NE(text.find("Page " + std::to_string(page) + " of 9"), std::string::npos) << page;

  // The engine section: each notch's line carries the performance model's figures at the set's
  // own speed, the front end's MEP first.
  const PerformanceRow perf = performanceAt(ws, ws.Engine, 1.6, ws.Engine.SpeedRpm);
  bool engineLine = false;
  std::istringstream engineLines(text.substr(text.find("Engine performance")));
  for (std::string line; std::getline(engineLines, line);) {
    const std::vector<std::string> t = tokens(line);
    if (t.size() < 3 || t[0] != "+1.600") continue;
    engineLine = true;
    EXPECT_EQ(t[1], fixedText(perf.Front.MEP, 0, 1)) << line;
    EXPECT_EQ(t[2], fixedText(perf.Rear.MEP, 0, 1)) << line;
  }
  EXPECT_TRUE(engineLine);

  // Every figure of each notch, as the table prints it, stands on a line of that notch: a
  // line that starts with the notch's offset and running direction.
  const EventsTableView view = buildEventsTable(ComputeValveEvents(ws), EventTolerance{});
  std::istringstream lines(text);
  std::vector<std::vector<std::string>> lineTokens;
  for (std::string line; std::getline(lines, line);) lineTokens.push_back(tokens(line));
  int checked = 0;
  for (const auto& row : view.rows) {
    std::vector<std::string> ofRow;
    for (const auto& t : lineTokens)
      if (t.size() > 2 && t[0] == row[0].text && t[1] == row[1].text)
        ofRow.insert(ofRow.end(), t.begin(), t.end());
    ASSERT_FALSE(ofRow.empty()) << row[0].text;
    for (const EventsCell& cell : row) {
      if (cell.text.empty() || cell.text.find(' ') != std::string::npos) continue;
      EXPECT_NE(std::find(ofRow.begin(), ofRow.end(), cell.text), ofRow.end())
          << "notch " << row[0].text << ": " << cell.text;
      ++checked;
    }
  }
  EXPECT_GT(checked, 19 * 18);
}

// Set no smaller than 8 points: the height pdftotext gives each word of the table pages is the
// font's size times its line height (1.2 for DejaVu Sans), never less than 8.
TEST(DesignReport, TheEventsTableIsSetAtEightPointsOrMore) {
  const std::string path = written(factory(), nullptr, {}, "size.pdf");
  const std::string boxes = shell("pdftotext -f 6 -l 8 -bbox '" + path + "' -");
  std::istringstream in(boxes);
  int words = 0;
  double smallest = 1e9;
  for (std::string line; std::getline(in, line);) {
    double xMin, yMin, xMax, yMax;
    if (std::sscanf(line.c_str(), " <word xMin=\"%lf\" yMin=\"%lf\" xMax=\"%lf\" yMax=\"%lf\"",
                    &xMin, &yMin, &xMax, &yMax) != 4)
      continue;
    ++words;
    smallest = std::min(smallest, yMax - yMin);
  }
  EXPECT_GT(words, 500);
  EXPECT_GE(smallest, 8.0 * 1.15) << boxes.substr(0, 2000);
}

// With a reference, each figure that differs stands on its own line with both sets' values and
// working minus reference; the figures both sets share exactly are not listed.
TEST(DesignReport, AReferenceAddsTheFiguresThatDifferWorkingMinusReference) {
  const Workspace ws = factory();
  Workspace reference = factory();
  reference.DimSetName = "Last good";
  setDimension(reference, dim::ValveLengthFrontHalf, 0.62f);
  ReportOptions o;
  o.notches = std::vector<double>{1.6};
  const std::string text =
      shell("pdftotext -layout '" + written(ws, &reference, o, "diff.pdf") + "' -");
  ASSERT_NE(text.find("Differences from the reference set"), std::string::npos);

  const auto own = ComputeValveEvents(ws, {1.6}).Notches.at(0).Front.CutOff;
  const auto ref = ComputeValveEvents(reference, {1.6}).Notches.at(0).Front.CutOff;
  ASSERT_TRUE(own && ref);
  std::istringstream lines(text);
  bool found = false;
  int rearLines = 0;
  for (std::string line; std::getline(lines, line);) {
    const std::vector<std::string> t = tokens(line);
    // Only the front's valve half changed: the rear end's figures are all the same.
    if (t.size() > 2 && t[0] == "+1.600" && t[1] == "rear") ++rearLines;
    if (t.size() < 9 || t[0] != "+1.600" || t[1] != "front" || t[2] != "CutOff.Stroke") continue;
    found = true;
    // Figure, unit ("%", "of", "stroke"), the set, the reference, the difference.
    EXPECT_NEAR(std::stod(t[6]), own->Stroke, 1e-4);
    EXPECT_NEAR(std::stod(t[7]), ref->Stroke, 1e-4);
    EXPECT_NEAR(std::stod(t[8]), own->Stroke - ref->Stroke, 2e-4);
  }
  EXPECT_TRUE(found) << text;
  EXPECT_EQ(rearLines, 0);
}

TEST(DesignReport, AFullDiskOrADeviceNeverGivesAReportReportedWritten) {
  const Workspace ws = factory();
  ReportOptions o;
  o.notches = std::vector<double>{1.6};
  testing::expectShortWritesFailWhole("design.pdf", [&](const std::string& path) {
    const ReportWriteResult r = writeDesignReport(path, ws, nullptr, o);
    return r.ok ? std::nullopt : std::optional<std::string>(r.message);
  });
  if (std::filesystem::exists("/dev/full")) {
    const ReportWriteResult r = writeDesignReport("/dev/full", ws, nullptr, o);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.pages, 0);
    EXPECT_NE(r.message.find("/dev/full"), std::string::npos) << r.message;
  }
}

// A damaged set still gives a whole report: what cannot be drawn is left out, nothing crashes.
TEST(DesignReport, ADamagedSetStillGivesAReport) {
  Workspace ws = factory();
  ws.Frame[dim::LinkRadius] = std::numeric_limits<float>::quiet_NaN();
  ws.Frame[dim::Stroke] = 0.0f;
  ws.Cyl[cyl::slot<dim::ValveHeight>] = std::numeric_limits<float>::infinity();
  const ReportPdf pdf = designReportPdf(ws, nullptr, {});
  EXPECT_FALSE(pdf.bytes.isEmpty());
  EXPECT_GE(pdf.pages, 7);
}

}  // namespace
}  // namespace vek1
