// vek1-cli events as a script sees it: the keys and lines it prints, the notches in the order
// asked, null where an event does not happen, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "python_reader.h"
#include "valve_events.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;

size_t count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) out.push_back(line);
  return out;
}

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
    out.push_back(line.substr(start, comma - start));
  out.push_back(line.substr(start));
  return out;
}

TEST(CliEvents, JsonHasEveryKeyForEachNotchInTheOrderGiven) {
  const Result r = run({"events", "--notches", "1.6,0.8,-0.8"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("{\"Centre\": ", 0), 0u);
  for (const char* key : {"\"Offset\": ", "\"ReverseArmPos\": ", "\"Direction\": ", "\"Error\": ",
                          "\"ValveTravel\": ", "\"DieSlip\": ", "\"ClosureMargin\": {\"Joint\": ",
                          "\"Front\": {\"Lead\": ", "\"Rear\": {\"Lead\": "})
    EXPECT_EQ(count(r.out, key), 3u) << key;
  for (const char* key : {"\"Admission\": {\"CrankAngle\": ", "\"CutOff\": {\"CrankAngle\": ",
                          "\"Release\": {", "\"Compression\": {", "\"SteamEdge\": \"cycles\"",
                          "\"ExhaustEdge\": \"cycles\"", "\"IntoReturnStroke\": false",
                          "\"BlowThrough\": [", "\"SteamLap\": ", "\"ExhaustLap\": ",
                          "\"MaxSteamOpening\": ", "\"MaxExhaustOpening\": ",
                          "\"EffectiveSteamOpening\": ", "\"EffectiveExhaustOpening\": ",
                          "\"OpensFully\": ", "\"ExhaustOpensFully\": "})
    EXPECT_EQ(count(r.out, key), 6u) << key;
  const size_t first = r.out.find("\"Offset\": 1.6"), second = r.out.find("\"Offset\": 0.8"),
               third = r.out.find("\"Offset\": -0.8");
  ASSERT_NE(third, std::string::npos);
  EXPECT_LT(first, second);
  EXPECT_LT(second, third);
  EXPECT_EQ(count(r.out, "\"Direction\": \"Rev\""), 1u);
  // The designer's figure for the factory set at +1.6.
  EXPECT_NE(r.out.find("\"CutOff\": {\"CrankAngle\": 119.31"), std::string::npos) << r.out;
}

// A front valve half cut short keeps the front port open all turn at mid gear: no admission and
// no cut-off, written as null and as empty CSV fields. --set reaches the table.
TEST(CliEvents, EventsThatDoNotHappenAreNullAndEmpty) {
  const std::string shortValve =
      "119=" + std::to_string(vek1::factoryDefault(vek1::dim::ValveLengthFrontHalf) - 0.4);
  const Result json = run({"events", "--notches", "0", "--set", shortValve});
  ASSERT_EQ(json.code, 0) << json.err;
  EXPECT_NE(json.out.find("\"Admission\": null, \"CutOff\": null"), std::string::npos) << json.out;
  // The null says why: the port is open all turn, which is not the same as never opening.
  EXPECT_NE(json.out.find("\"SteamEdge\": \"always open\""), std::string::npos) << json.out;

  const Result csv = run({"events", "--notches", "0", "--set", shortValve, "--format", "csv"});
  ASSERT_EQ(csv.code, 0) << csv.err;
  const auto rows = lines(csv.out);
  ASSERT_EQ(rows.size(), 3u);
  const auto header = fields(rows[0]), front = fields(rows[1]);
  ASSERT_EQ(front.size(), header.size());
  const auto column = [&](const std::string& name) {
    return std::find(header.begin(), header.end(), name) - header.begin();
  };
  EXPECT_EQ(front[column("End")], "Front");
  EXPECT_EQ(front[column("CutOff.Stroke")], "");
  EXPECT_EQ(front[column("Admission.CrankAngle")], "");
  EXPECT_NE(front[column("Release.Stroke")], "");
  EXPECT_EQ(front[column("SteamEdge")], "always open");
  EXPECT_EQ(front[column("IntoReturnStroke")], "true");
}

// CSV: one header, then a front and a rear line for each of the 19 default notches, every line
// as wide as the header; the figures are those of the model.
TEST(CliEvents, CsvHasTwoLinesPerDefaultNotch) {
  const Result r = run({"events", "--format", "csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto rows = lines(r.out);
  ASSERT_EQ(rows.size(), 1u + 2u * vek1::kDefaultNotchCount);
  const auto header = fields(rows[0]);
  EXPECT_EQ(header[0], "Offset");
  EXPECT_EQ(header.back(), "ExhaustOpensFully");
  for (const std::string& row : rows) EXPECT_EQ(fields(row).size(), header.size()) << row;
  EXPECT_EQ(fields(rows[1])[0], fields(rows[2])[0]);  // front and rear of one notch

  vek1::Workspace ws;
  vek1::StartUp(ws);
  const vek1::NotchEvents full = vek1::ValveEvents(ws, 1.6);
  const auto line = fields(rows[3]);  // the second notch, front end: +1.6
  const long cutOff = std::find(header.begin(), header.end(), "CutOff.Stroke") - header.begin();
  EXPECT_NEAR(vek1::parseNumber(line[cutOff]), full.Front.CutOff->Stroke, 1e-4);
}

// Where a notch locks, both formats say so to the same ranges of driver angle: JSON as pairs of
// numbers, CSV in the column after Error as the window writes them, one pair per range. The
// factory set at +3 locks over part of the turn; a short anchor link locks twice at +1.8, once
// through 0 degrees. A notch that closes all turn has no range.
TEST(CliEvents, LockRangesAreInJsonAndCsvAlike) {
  vek1::Workspace factory;
  vek1::StartUp(factory);
  vek1::Workspace shortAnchor = factory;
  vek1::setDimension(shortAnchor, vek1::dim::AnchorLinkLength, 1.0f);
  vek1::ComputeReverseArmCentre(shortAnchor);
  const std::vector<vek1::NotchEvents> notches = {
      vek1::ValveEvents(factory, 3.0), vek1::ValveEvents(factory, 0.0),
      vek1::ValveEvents(shortAnchor, 1.8)};
  ASSERT_EQ(notches[1].ErrorRanges.size(), 0u);
  ASSERT_EQ(notches[2].ErrorRanges.size(), 2u);
  ASSERT_GT(notches[2].ErrorRanges[1].From, notches[2].ErrorRanges[1].To);  // through 0
  const auto text = [](const vek1::NotchEvents& n, int decimals) {
    std::string s;
    for (const vek1::AngleRange& r : n.ErrorRanges)
      s += (s.empty() ? "" : " ") + vek1::fixedText(r.From, 0, decimals) + "-" +
           vek1::fixedText(r.To, 0, decimals);
    return s;
  };
  EXPECT_EQ(text(notches[0], 1), "18.2-126.5");

  const std::vector<std::vector<std::string>> commands = {
      {"events", "--notches", "3,0"}, {"events", "--notches", "1.8", "--set", "13=1"}};
  std::string fromJson, fromCsv, expectedJson, expectedCsv;
  for (const auto& command : commands) {
    const Result json = run(command);
    ASSERT_EQ(json.code, 0) << json.err;
    fromJson += vek1::testing::readWithPython(
        json.out,
        "for n in data['Notches']: print(n['Error'], ' '.join('%.4f-%.4f' % tuple(r) for r in "
        "n['LockRanges']))");
    std::vector<std::string> csvCommand = command;
    csvCommand.insert(csvCommand.end(), {"--format", "csv"});
    const Result csv = run(csvCommand);
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.out.rfind("Offset,ReverseArmPos,Direction,OutOfReach,BeyondFullGear,Error,"
                            "LockRanges,ValveTravel,",
                            0),
              0u);
    fromCsv += vek1::testing::readWithPython(
        csv.out, "for r in data: print(r['End'], r['Error'], repr(r['LockRanges']))", "csv");
  }
  for (const vek1::NotchEvents& n : notches) {
    expectedJson += std::string(n.Error ? "True " : "False ") + text(n, 4) + "\n";
    for (const char* end : {"Front", "Rear"})
      expectedCsv += std::string(end) + (n.Error ? " true '" : " false '") + text(n, 1) + "'\n";
  }
  EXPECT_EQ(fromJson, expectedJson);
  EXPECT_EQ(fromCsv, expectedCsv);
}

// The factory reverse arm (3.0 long, its pivot 0.028 ahead of the centre) reaches offsets -2.972
// to 3.028. A notch beyond is refused by name with that range, not computed from poses the solver
// had to make up; one beyond normal full gear (1.6) but within reach is computed and marked.
TEST(CliEvents, ANotchBeyondTheReverseArmsReachIsRefusedWithTheRange) {
  for (const char* notch : {"3.5", "1e20", "-3", "1.6,3.1"}) {
    const Result r = run({"events", "--notches", notch});
    EXPECT_EQ(r.code, vek1::kExitUsage) << notch;
    EXPECT_TRUE(r.out.empty()) << notch;
    EXPECT_NE(r.err.find("beyond the reverse arm's reach"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("-2.972 to 3.028"), std::string::npos) << r.err;
  }
  const Result within = run({"events", "--notches", "3,1.7,1.6", "--format", "csv"});
  ASSERT_EQ(within.code, 0) << within.err;
  EXPECT_EQ(vek1::testing::readWithPython(within.out,
                                          "print(' '.join(r['BeyondFullGear'] for r in data "
                                          "if r['End'] == 'Front'))",
                                          "csv"),
            "true true false\n");
}

TEST(CliEvents, FileAndBadArgumentsExitWithTwoAndOneLine) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.Frame[vek1::dim::RadiusRod] = 5.25f;
  const std::string path = ::testing::TempDir() + "cli_events_set.dve";
  ASSERT_TRUE(vek1::WriteDimensionFile(path, ws).ok);
  EXPECT_EQ(run({"events", "--file", path, "--notches", "1"}).out,
            run({"events", "--set", "5=5.25", "--notches", "1"}).out);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"events", "--notches", "1,,2"},
        {"events", "--notches", "1.6,x"},
        {"events", "--notches"},
        {"events", "--format", "xml"},
        {"events", "--set", "99=1"},
        {"events", "--set", "183648147404=1"},  // an id far beyond an int
        {"events", "--angle", "3"},
        {"events", "--file", path + ".missing"}}) {
    const Result r = run(bad);
    // A file that cannot be read has its own code; the rest are usage errors.
    EXPECT_EQ(r.code, bad[1] == "--file" ? vek1::kExitInput : vek1::kExitUsage) << bad[1];
    EXPECT_EQ(count(r.err, "\n"), 1u) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  const Result help = run({"events", "--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* option : {"--notches", "--file", "--set", "--format"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
}

}  // namespace
