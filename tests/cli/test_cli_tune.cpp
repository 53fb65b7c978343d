// vek1-cli tune as a script sees it: its exit codes, the saved set, and that the JSON it prints
// agrees with the set it saves.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "exit_codes.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "numbers.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;

double after(const std::string& json, int id) {
  const std::string key = "{\"Id\": " + std::to_string(id) + ",";
  const std::size_t at = json.find(key);
  if (at == std::string::npos) return NAN;
  const std::size_t value = json.find("\"After\": ", at) + 9;
  return vek1::parseNumber(json.substr(value));
}

TEST(CliTune, SavesTheTunedSetItPrints) {
  const std::string path = ::testing::TempDir() + "tuned.dve";
  const Result r =
      run({"tune", "--vary", "119", "--notches", "1.0", "--format", "json", "--out", path});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"Outcome\": \"GoalsMet\""), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"Events\": {\"Before\": {\"Centre\""), std::string::npos);
  const double tuned = after(r.out, 119);
  EXPECT_NE(tuned, 0.687);
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ASSERT_TRUE(vek1::ReadDimensionFile(path, ws).ok);
  EXPECT_EQ(vek1::dimensionValue(ws, 119), static_cast<float>(tuned));
  EXPECT_EQ(vek1::dimensionValue(ws, 118), 0.687f);  // only the varied dimension moved
}

TEST(CliTune, NoClosingSetExitsWithOneAndSavesNothing) {
  // An anchor link far too short locks the gear at every notch, whatever the valve halves do.
  const std::string path = ::testing::TempDir() + "never.dve";
  std::remove(path.c_str());
  const Result r = run({"tune", "--set", "13=1", "--vary", "118,119", "--out", path});
  EXPECT_EQ(r.code, 1) << r.out;
  EXPECT_NE(r.err.find("nothing changed"), std::string::npos) << r.err;
  vek1::Workspace ws;
  EXPECT_FALSE(vek1::ReadDimensionFile(path, ws).ok);
}

TEST(CliTune, BadCommandLinesExitWithTwo) {
  std::string manyNotches = "1";
  for (int i = 0; i < 100; ++i) manyNotches += ",1";  // 101: more than a search should try
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"tune", "--vary", "17"},   // an offset of the reverse arm, not a dimension
           {"tune", "--vary", "5,5"},  // twice
           {"tune", "--vary", "5.5"},
           {"tune", "--bounds", "0"},
           {"tune", "--goal", "equal"},
           {"tune", "--goal", "cutoff=abc"},
           {"tune", "--notches", "1.6,,0.8"},
           {"tune", "--method", "newton"},
           {"tune", "--max-evaluations", "1.5"},
           {"tune", "--format", "xml"},
           {"tune", "--goal", "constant-lead", "--notches", "1.6"},
           {"tune", "--goal", "cutoff=75", "--notches", "-1.6"},
           {"tune", "--set", "183648147404=1"},  // an id far beyond an int
           {"tune", "--notches", manyNotches},
           {"tune", "--goal", "cutoff=200"},  // beyond the stroke
           {"tune", "--goal", "cutoff=-10"},
           {"tune", "--vary", "10,1"},        // the driver's diameter only draws
           {"tune", "--max-seconds", "0"},
           {"tune", "--max-travel", "-5"},
           {"tune", "--keep-cutoff-range", "many"},
       }) {
    const Result r = run(args);
    EXPECT_EQ(r.code, 2) << args[1] << ' ' << args[2];
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_EQ(run({"tune", "--help"}).code, 0);
  const Result drawn = run({"tune", "--vary", "103"});
  EXPECT_NE(drawn.err.find("does not move the valve"), std::string::npos) << drawn.err;
}

// The output without the line that differs from run to run.
std::string withoutSeconds(std::string out) {
  const std::size_t at = out.find("\"Seconds\"");
  if (at != std::string::npos) out.erase(at, out.find('\n', at) - at);
  return out;
}

TEST(CliTune, ShowsTheObjectiveTheLimitsAndWhatEachDimensionDid) {
  const Result r = run({"tune", "--vary", "119,15", "--bounds", "1000", "--max-evaluations", "12",
                        "--notches", "default", "--format", "json"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"Objective\": \"largest front/rear cut-off difference"), std::string::npos);
  EXPECT_NE(r.out.find("\"Limits\": [\"every varied length stays above 0.001\", \"lead at most"),
            std::string::npos)
      << r.out.substr(0, 800);
  // A length never reaches 0, however wide the bounds; a position may.
  EXPECT_NE(r.out.find("\"Lower\": 0.00100000005,"), std::string::npos);
  EXPECT_NE(r.out.find("\"Lower\": -82.862999"), std::string::npos) << r.out.substr(0, 1500);
  EXPECT_NE(r.out.find("\"ChangePercent\": "), std::string::npos);
  EXPECT_NE(r.out.find("\"AtBound\": false"), std::string::npos);
  EXPECT_NE(r.out.find("\"Objective\": 9.0"), std::string::npos);  // the start's, 9.02 %
  // "default" is the forward notches, as when --notches is left out.
  const Result same = run({"tune", "--vary", "119,15", "--bounds", "1000", "--max-evaluations",
                           "12", "--format", "json"});
  EXPECT_EQ(withoutSeconds(same.out), withoutSeconds(r.out));

  const Result text = run({"tune", "--vary", "2", "--max-evaluations", "3", "--no-limits"});
  ASSERT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.err.find("warning: dimension 2 (Stroke)"), std::string::npos) << text.err;
  EXPECT_NE(text.out.find("Start      Tuned     Change  Change %  At bound"), std::string::npos)
      << text.out;
  EXPECT_NE(text.out.find("no design limits"), std::string::npos);
}

TEST(CliTune, UnreadableSetAndUnwritableOutHaveTheirOwnCodes) {
  const Result missing = run({"tune", "--file", ::testing::TempDir() + "no-such-set.dve"});
  EXPECT_EQ(missing.code, vek1::kExitInput) << missing.err;
  const Result unwritable = run({"tune", "--vary", "118", "--max-evaluations", "3", "--out",
                                 ::testing::TempDir() + "no-such-dir/tuned.dve"});
  EXPECT_EQ(unwritable.code, vek1::kExitWrite) << unwritable.err;
  EXPECT_EQ(std::count(unwritable.err.begin(), unwritable.err.end(), '\n'), 1) << unwritable.err;
}

}  // namespace
