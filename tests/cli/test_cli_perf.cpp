// vek1-cli perf as a script reads it: the JSON's nesting and keys, the CSV's columns carrying
// the same numbers, the options reaching the model, the text table, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "python_reader.h"

namespace {

using vek1::testing::readWithPython;
using vek1::testing::Result;
using vek1::testing::run;

TEST(CliPerf, JsonHasTheSettingsAndOneRowPerNotchAndSpeedWithBothEnds) {
  const Result r = run({"perf", "--notches", "1.8,0.6", "--speed", "180,600,60"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(readWithPython(r.out, R"(
s=data['Settings']; rows=data['Rows']
print(s['ChestPressure'], s['BackPressure'], s['PressureUnit'], s['PortLength'], s['Cylinders'])
print(len(rows), [(x['Offset'], x['SpeedRpm']) for x in rows][:4])
print(sorted(rows[0].keys()))
print(sorted(rows[0]['Front'].keys()) == sorted(rows[0]['Rear'].keys()), sorted(rows[0]['Front'].keys()))
f=rows[0]['Front']
print(f['Status'], 80 < f['MEP'] < 100, f['PeakPressure'] <= 101, f['ReleasePressure'] < 100)
print(abs(rows[0]['WorkRatio'] - f['Work'] / rows[0]['Rear']['Work']) < 1e-5)
)"),
            "100 2 psi gauge 1.7 2\n"
            "6 [(1.8, 180), (1.8, 600), (1.8, 60), (0.6, 180)]\n"
            "['Front', 'IHP', 'Offset', 'Rear', 'SpeedRpm', 'SteamPerHour', 'TractiveEffort', "
            "'WaterRate', 'WorkRatio']\n"
            "True ['CompressionAboveChest', 'CompressionPeak', 'MEP', 'PeakPressure', "
            "'ReleasePressure', 'Status', 'Work']\n"
            "runs True True True\nTrue\n");
}

TEST(CliPerf, CsvCarriesTheJsonsNumbersUnderDottedColumns) {
  const std::vector<std::string> ask = {"perf", "--notches", "1.2", "--speed", "300"};
  const Result json = run(ask);
  std::vector<std::string> askCsv = ask;
  askCsv.insert(askCsv.end(), {"--format", "csv"});
  const Result csv = run(askCsv);
  ASSERT_EQ(json.code, 0) << json.err;
  ASSERT_EQ(csv.code, 0) << csv.err;
  const std::string fromJson = readWithPython(json.out, R"(
r=data['Rows'][0]
print(r['Front']['MEP'], r['Rear']['CompressionPeak'], r['IHP'], r['SteamPerHour'], r['WaterRate'])
)");
  const std::string fromCsv = readWithPython(csv.out, R"(
r=data[0]
print(float(r['Front.MEP']), float(r['Rear.CompressionPeak']), float(r['IHP']), float(r['SteamPerHour']), float(r['WaterRate']))
print(len(data), len(r), r['Front.Status'])
)",
                                             "csv");
  EXPECT_EQ(fromCsv, fromJson + "1 21 runs\n");
}

TEST(CliPerf, OptionsReachTheModel) {
  auto figure = [](std::vector<std::string> extra, const char* expr) {
    std::vector<std::string> a = {"perf", "--notches", "0.8", "--format", "json"};
    a.insert(a.end(), extra.begin(), extra.end());
    const Result r = run(a);
    EXPECT_EQ(r.code, 0) << r.err;
    return std::stod(readWithPython(r.out, std::string("r=data['Rows'][0]\nprint(") + expr + ")"));
  };
  const double ihp = figure({}, "r['IHP']");
  EXPECT_NEAR(figure({"--cylinders", "1"}, "r['IHP']"), ihp / 2, 1e-4 * ihp);
  EXPECT_GT(figure({"--pressure", "150"}, "r['Front']['MEP']"),
            1.3 * figure({}, "r['Front']['MEP']"));
  EXPECT_GT(figure({"--back-pressure", "10"}, "r['Front']['CompressionPeak']"),
            figure({}, "r['Front']['CompressionPeak']"));
  // A narrower port throttles more at speed.
  EXPECT_LT(figure({"--port-length", "0.3", "--speed", "900"}, "r['IHP']"),
            figure({"--speed", "900"}, "r['IHP']"));
  EXPECT_LT(figure({"--superheat", "150"}, "r['WaterRate']"), figure({}, "r['WaterRate']"));
  EXPECT_LT(figure({"--discharge", "0.2", "--speed", "900"}, "r['IHP']"),
            figure({"--speed", "900"}, "r['IHP']"));
  // One clearance sets both ends; two set front and rear.
  EXPECT_EQ(figure({"--clearance", "20"}, "r['Rear']['CompressionPeak']"),
            figure({"--clearance", "5,20"}, "r['Rear']['CompressionPeak']"));
  EXPECT_NE(figure({"--clearance", "20"}, "r['Front']['CompressionPeak']"),
            figure({"--clearance", "5,20"}, "r['Front']['CompressionPeak']"));
}

TEST(CliPerf, TextTableSaysNoneForAnEndThatNeverOpens) {
  const std::string longer =
      "119=" + std::to_string(vek1::factoryDefault(vek1::dim::ValveLengthFrontHalf) + 1.0f);
  const Result r = run({"perf", "--notches", "1.8,1.0", "--set", longer, "--format", "text"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("psi gauge"), std::string::npos);
  EXPECT_NE(r.out.find("front never opens"), std::string::npos) << r.out;
  EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4 + 2 + 2 + 2) << r.out;
  const Result json = run({"perf", "--notches", "1.8", "--set", longer});
  EXPECT_EQ(readWithPython(json.out, R"(
r=data['Rows'][0]
print(r['Front']['Status'], r['Front']['MEP'], r['WorkRatio'], r['Rear']['Status'], r['IHP'] > 0)
)"),
            "never opens None None runs True\n");
}

TEST(CliPerf, StartsFromTheSettingsSavedWithTheSet) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.Engine.ChestPressure = 150.0;
  ws.Engine.SpeedRpm = 90.0;
  ws.Engine.Cylinders = 3;
  const std::string path = ::testing::TempDir() + "perf-settings.dve";
  const auto bytes = vek1::EncodeDimensionFile(ws);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  const Result r = run({"perf", "--file", path, "--notches", "1.0", "--cylinders", "2"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(readWithPython(r.out, R"(
s=data['Settings']; r=data['Rows'][0]
print(s['ChestPressure'], s['SpeedRpm'], s['Cylinders'], r['SpeedRpm'])
)"),
            "150 90 2 90\n");
}

TEST(CliPerf, TuneTakesTheEqualWorkGoal) {
  const Result r = run({"tune", "--goal", "equal-work", "--notches", "1.4,0.4", "--vary", "12",
                        "--max-evaluations", "8", "--format", "json"});
  ASSERT_TRUE(r.code == 0 || r.code == vek1::kExitNoClosingSet) << r.err;
  EXPECT_EQ(readWithPython(r.out, R"(
b=data['Before']['Goals']; a=data['After']['Goals']
print(b['MaxWorkDiff'] > 1, a['MaxWorkDiff'] <= b['MaxWorkDiff'], b['MaxCutOffDiff'])
)"),
            "True True None\n");
  const Result bad = run({"tune", "--goal", "equal-works"});
  EXPECT_EQ(bad.code, vek1::kExitUsage);
  EXPECT_NE(bad.err.find("equal-work)"), std::string::npos) << bad.err;
}

TEST(CliPerf, RefusesBadSettingsAndNotchesOutOfReachWithOneLine) {
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"perf", "--pressure", "nan"},
        {"perf", "--pressure", "0"},
        {"perf", "--back-pressure", "100"},
        {"perf", "--pressure", "10", "--back-pressure", "9.8"},
        {"perf", "--speed", "180,0"},
        {"perf", "--speed", "1e9"},
        {"perf", "--clearance", "10,10,10"},
        {"perf", "--clearance", "-1"},
        {"perf", "--cylinders", "2.5"},
        {"perf", "--cylinders", "0"},
        {"perf", "--superheat", "inf"},
        {"perf", "--discharge", "2"},
        {"perf", "--port-length", "-1"},
        {"perf", "--notches", "9"},
        {"perf", "--format", "xml"},
        {"perf", "--speed"},
        {"perf", "--notches", "1,1,1,1,1,1,1,1,1,1,1", "--speed",
         "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32,"
         "33,34,35,36,37,38,39,40,41,42,43,44,45,46"},
        {"perf", "--bogus", "1"}}) {
    const Result r = run(bad);
    EXPECT_EQ(r.code, vek1::kExitUsage) << bad[1];
    EXPECT_TRUE(r.out.empty()) << bad[1];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  const Result help = run({"perf", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("--back-pressure"), std::string::npos);
}

}  // namespace
