// vek1-cli as a script sees it: the text it prints, its exit codes, and that what it prints is
// the model's pose for the options given.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "pipe_watchdog.h"
#include "python_reader.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;

// The value of a scalar field of the pose object.
double field(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\": ";
  const size_t at = json.find(key);
  if (at == std::string::npos) ADD_FAILURE() << "no field " << name;
  return at == std::string::npos ? NAN : vek1::parseNumber(json.substr(at + key.size()));
}

// Element i of the array field H or V.
double element(const std::string& json, const std::string& name, int i) {
  size_t at = json.find("\"" + name + "\": [");
  if (at == std::string::npos) return NAN;
  at = json.find('[', at) + 1;
  for (int k = 0; k < i; ++k) at = json.find(',', at) + 1;
  return vek1::parseNumber(json.substr(at));
}

std::vector<std::map<std::string, std::string>> csvRows(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  std::vector<std::string> names;
  std::stringstream header(line);
  for (std::string name; std::getline(header, name, ',');) names.push_back(name);
  std::vector<std::map<std::string, std::string>> rows;
  while (std::getline(in, line)) {
    std::stringstream cells(line);
    std::map<std::string, std::string> row;
    size_t k = 0;
    for (std::string cell; std::getline(cells, cell, ','); ++k)
      row[k < names.size() ? names[k] : "extra"] = cell;
    EXPECT_EQ(k, names.size()) << line;
    rows.push_back(row);
  }
  return rows;
}

TEST(CliPose, FactoryDefaultsAtMidGear) {
  const Result r = run({"pose", "--angle", "0"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NEAR(element(r.out, "H", 2), 1.5, 1e-6);
  EXPECT_NEAR(element(r.out, "H", 3), 10.5, 1e-5);
  EXPECT_NEAR(element(r.out, "H", 10), 7.707, 1e-5);
  EXPECT_NEAR(element(r.out, "H", 4), 11.03, 0.005);
  EXPECT_NEAR(field(r.out, "FrontSteamOpen"), 0.02, 0.005);
  EXPECT_NEAR(field(r.out, "RearSteamOpen"), -0.33, 0.01);
  EXPECT_NEAR(field(r.out, "FrontSteamLap"), 0.1565, 1e-6);
  EXPECT_EQ(field(r.out, "Centre"), field(r.out, "ReverseArmPos"));
  EXPECT_NE(r.out.find("\"Error\": false"), std::string::npos);
  for (const char* name :
       {"ReverseArmAngle", "ValveLeverAngle", "PistonPos", "FrontExhOpen", "RearExhOpen",
        "FrontSteamEdge", "FrontPortFull", "FrontExhEdge", "RearSteamEdge", "RearPortFull",
        "RearExhEdge", "ValveDisplacement", "RearOpenJoint", "FrontOpenJoint", "RearSteamLap",
        "FrontExhLap", "RearExhLap"})
    EXPECT_TRUE(std::isfinite(field(r.out, name))) << name;
}

TEST(CliPose, SetUsesTheDialogPathAndRecentres) {
  // "Link Pivot Horz" moves both copies of the link pivot, and the centre follows it.
  const Result moved = run({"pose", "--angle", "30", "--set", "8=6.5"});
  const Result base = run({"pose", "--angle", "30"});
  ASSERT_EQ(moved.code, 0) << moved.err;
  EXPECT_EQ(element(moved.out, "H", 5), 6.5);
  EXPECT_EQ(element(moved.out, "H", 6), 6.5);
  EXPECT_NEAR(field(moved.out, "Centre") - field(base.out, "Centre"), 6.5 - 6.207, 1e-5);
  // The valve-stem line follows "Valve Stem CL to Cyl CL" and "Cyl CL above Driver ctr".
  const Result stem = run({"pose", "--angle", "0", "--set", "102=0.5", "--set", "109=2.0"});
  EXPECT_NEAR(element(stem.out, "V", 3), 0.5, 1e-7);
  EXPECT_NEAR(element(stem.out, "V", 4), 2.5, 1e-6);
}

TEST(CliPose, ReverseArmOffsetAndAbsolute) {
  const double centre = field(run({"pose", "--angle", "0"}).out, "Centre");
  const Result offset = run({"pose", "--angle", "0", "--revarm-offset", "1.6"});
  EXPECT_NEAR(field(offset.out, "ReverseArmPos"), centre + 1.6, 1e-5);
  EXPECT_NEAR(element(offset.out, "H", 18), centre + 1.6, 1e-5);
  const Result absolute = run({"pose", "--angle", "0", "--revarm", "7.25"});
  EXPECT_EQ(field(absolute.out, "ReverseArmPos"), 7.25);
  EXPECT_EQ(field(absolute.out, "Centre"), centre);
}

TEST(CliPose, ErrorIsReportedForAGearThatCannotClose) {
  const Result r = run({"pose", "--angle", "45", "--set", "13=0.1"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("\"Error\": true"), std::string::npos);
  EXPECT_TRUE(std::isfinite(element(r.out, "H", 11)));
}

TEST(CliSweep, RowsHeaderAndRoundTrip) {
  const Result r = run({"sweep", "--from", "0", "--to", "1", "--step", "0.25"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto rows = csvRows(r.out);
  ASSERT_EQ(rows.size(), 5u);  // 0, 0.25, 0.5, 0.75 and 1 itself
  EXPECT_EQ(rows.back().at("DriverAngle"), "1");
  EXPECT_EQ(rows[0].at("Error"), "false");
  // Named columns only, none for the fixed origin or the unused entries of the table.
  EXPECT_FALSE(rows[0].count("H[26]") || rows[0].count("V[0]") || rows[0].count("DriverCentre_H"));
  // Every printed single reads back as the very same single, and each quantity of pose is there.
  const Result pose = run({"pose", "--angle", "0.75"});
  const std::pair<const char*, int> pivots[] = {
      {"CrankPin", 2},         {"Crosshead", 3},      {"ValveStemJoint", 4},
      {"LinkPivot", 6},        {"ValveLeverTop", 7},  {"DieBlock", 8},
      {"CouplerPoint", 9},     {"MainRodHanger", 10}, {"CouplerLowerEnd", 11},
      {"AnchorLinkPivot", 13}, {"LinkCentre", 14},    {"ReverseArmEnd", 18}};
  for (const auto& [name, index] : pivots) {
    for (const char* axis : {"H", "V"}) {
      const std::string column = std::string(name) + "_" + axis;
      ASSERT_TRUE(rows[3].count(column)) << column;
      EXPECT_EQ(static_cast<float>(vek1::parseNumber(rows[3].at(column))),
                static_cast<float>(element(pose.out, axis, index)))
          << column;
    }
  }
  for (const char* name :
       {"ReverseArmPos",  "ReverseArmAngle", "ValveLeverAngle",   "PistonPos",
        "FrontSteamOpen", "FrontExhOpen",    "RearSteamOpen",     "RearExhOpen",
        "FrontSteamEdge", "FrontPortFull",   "FrontExhEdge",      "RearSteamEdge",
        "RearPortFull",   "RearExhEdge",     "ValveDisplacement", "RearOpenJoint",
        "FrontOpenJoint", "FrontSteamLap",   "RearSteamLap",      "FrontExhLap",
        "RearExhLap",     "Centre"}) {
    ASSERT_TRUE(rows[3].count(name)) << name;
    EXPECT_EQ(static_cast<float>(vek1::parseNumber(rows[3].at(name))),
              static_cast<float>(field(pose.out, name)))
        << name;
  }
}

TEST(CliSweep, ReverseArmSweepAtOneAngle) {
  const Result r = run({"sweep", "--angle", "30", "--revarm-sweep", "-1:1:0.5"});
  ASSERT_EQ(r.code, 0) << r.err;
  const auto rows = csvRows(r.out);
  ASSERT_EQ(rows.size(), 5u);  // -1, -0.5, 0, 0.5, 1
  for (size_t k = 0; k < rows.size(); ++k) {
    EXPECT_EQ(rows[k].at("DriverAngle"), "30");
    const double offset =
        vek1::parseNumber(rows[k].at("ReverseArmPos")) - vek1::parseNumber(rows[k].at("Centre"));
    EXPECT_NEAR(offset, -1.0 + 0.5 * static_cast<double>(k), 1e-5);
  }
  // Each line is the pose at that offset.
  const Result pose = run({"pose", "--angle", "30", "--revarm-offset", "0.5"});
  EXPECT_EQ(rows[3].at("ValveStemJoint_H"),
            vek1::singleText(static_cast<float>(element(pose.out, "H", 4))));
  EXPECT_EQ(rows[3].at("PistonPos"),
            vek1::singleText(static_cast<float>(field(pose.out, "PistonPos"))));
  // Different offsets move the valve.
  EXPECT_NE(rows[0].at("ValveStemJoint_H"), rows[4].at("ValveStemJoint_H"));
}

// JSON holds the rows of the CSV: the same fields in the same order (each pivot an object of H
// and V where the CSV has NAME_H and NAME_V), the same values and the same true/false. At +3 the
// factory gear locks from 18.2 to 126.5 degrees, so both values of Error are there.
TEST(CliSweep, JsonHasTheFieldsAndValuesOfTheCsv) {
  const std::vector<std::string> sweep = {"sweep", "--from",          "0", "--to", "180", "--step",
                                          "30",    "--revarm-offset", "3"};
  const Result csv = run(sweep);
  std::vector<std::string> asJson = sweep;
  asJson.insert(asJson.end(), {"--format", "json"});
  const Result json = run(asJson);
  ASSERT_EQ(json.code, 0) << json.err;
  ASSERT_TRUE(json.err.empty()) << json.err;
  // Python flattens each row the CSV's way: its header line, then each row's values.
  const std::string flat = vek1::testing::readWithPython(
      json.out,
      "rows=data['Rows']\n"
      "def flat(r):\n"
      "  out=[]\n"
      "  for k, v in r.items():\n"
      "    out += [(k+'_H', v['H']), (k+'_V', v['V'])] if isinstance(v, dict) else [(k, v)]\n"
      "  return out\n"
      "print(','.join(k for k, v in flat(rows[0])))\n"
      "for r in rows:\n"
      "  print(','.join(str(v).lower() if isinstance(v, bool) else repr(v) for k, v in flat(r)))");
  ASSERT_EQ(flat.find("(failed)"), std::string::npos) << flat;
  const auto fromJson = csvRows(flat), fromCsv = csvRows(csv.out);
  EXPECT_EQ(flat.substr(0, flat.find('\n')), csv.out.substr(0, csv.out.find('\n')));
  ASSERT_EQ(fromJson.size(), 7u);
  ASSERT_EQ(fromCsv.size(), 7u);
  for (size_t k = 0; k < fromCsv.size(); ++k) {
    for (const auto& [name, cell] : fromCsv[k]) {
      ASSERT_TRUE(fromJson[k].count(name)) << name;
      if (name == "Error")
        EXPECT_EQ(fromJson[k].at(name), cell) << k;
      else
        EXPECT_EQ(static_cast<float>(vek1::parseNumber(fromJson[k].at(name))),
                  static_cast<float>(vek1::parseNumber(cell)))
            << name << " in row " << k;
    }
  }
  EXPECT_EQ(fromCsv[0].at("Error"), "false");
  EXPECT_EQ(fromCsv[1].at("Error"), "true");  // 30 degrees
  EXPECT_EQ(fromCsv[6].at("Error"), "false");
  // A sweep of no rows is still a whole JSON document.
  EXPECT_EQ(run({"sweep", "--from", "1", "--to", "0", "--step", "1", "--format", "json"}).out,
            "{\"Rows\": []}\n");
}

TEST(CliSweep, MidGearTravelAndNoErrorOverATurn) {
  const auto rows = csvRows(run({"sweep", "--from", "0", "--to", "360", "--step", "2"}).out);
  ASSERT_EQ(rows.size(), 181u);
  double lo = 1, hi = -1;
  for (const auto& row : rows) {
    EXPECT_EQ(row.at("Error"), "false") << row.at("DriverAngle");
    const double x = vek1::parseNumber(row.at("ValveDisplacement"));
    lo = std::min(lo, x);
    hi = std::max(hi, x);
  }
  EXPECT_NEAR(lo, -0.18, 0.01);
  EXPECT_NEAR(hi, 0.18, 0.01);
}

TEST(CliUsage, BadCommandLinesExitWithTwoAndOneLine) {
  const std::vector<std::vector<std::string>> bad = {
      {"spin"},
      {"sweep", "--from", "0", "--to", "1", "--step", "1", "--format", "xml"},
      {"sweep", "--from", "0", "--to", "1", "--step", "1", "--format"},
      {"pose", "--angle", "1", "--format", "json"},
      {"render", "gear", "--help"},
      {"pose"},
      {"pose", "--angle"},
      {"pose", "--angle", "ten"},
      {"pose", "--angle", "1", "--bogus"},
      {"pose", "--angle", "1", "--set", "19=1"},
      {"pose", "--angle", "1", "--set", "2.5=1"},
      {"pose", "--angle", "1", "--set", "5"},
      {"pose", "--angle", "1", "--set", "5=1x"},
      {"pose", "--angle", "1e999"},
      {"pose", "--angle", "1", "--revarm", "6", "--revarm-offset", "1"},
      {"sweep", "--from", "0", "--to", "10"},
      {"sweep", "--from", "0", "--to", "10", "--step", "0"},
      {"sweep", "--from", "0", "--to", "1e30", "--step", "1e-30"},
      {"pose", "--from", "0"},
      {"sweep", "--angle", "3", "--from", "0", "--to", "1", "--step", "1"},
      {"sweep", "--revarm-sweep", "0:1:0.5"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1:0"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1:x"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1:1:1"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1:1", "--revarm-offset", "1"},
      {"sweep", "--angle", "3", "--revarm-sweep", "0:1:1", "--from", "0"},
      {"pose", "--angle", "1", "--set", "1e30=1"},
      {"render"},
      {"render", "gear", "--out", "x.png"},
      {"render", "sine"},
      {"render", "sine", "--out", "x.gif"},
      {"render", "sine", "--out", "x.svg", "--graph", "F"},
      {"render", "port", "--out", "x.svg", "--graph", "Q"},
      {"render", "oval", "--out", "x.svg", "--positions", "1,2,3,4,5,6,7,8,9,10"},
      {"render", "oval", "--out", "x.svg", "--positions", "1,,2"},
      {"render", "main", "--out", "x.svg", "--positions", "1"},
  };
  for (const auto& args : bad) {
    const Result r = run(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.code, vek1::kExitUsage) << joined;
    EXPECT_TRUE(r.out.empty()) << joined;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << joined << r.err;
  }
}

TEST(CliFile, StartsFromASavedSet) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.Frame[vek1::dim::RadiusRod] = 5.25f;
  const std::string path = ::testing::TempDir() + "cli_set.dve";
  ASSERT_TRUE(vek1::WriteDimensionFile(path, ws).ok);
  const Result loaded = run({"pose", "--angle", "10", "--file", path});
  const Result typed = run({"pose", "--angle", "10", "--set", "5=5.25"});
  ASSERT_EQ(loaded.code, 0) << loaded.err;
  EXPECT_EQ(element(loaded.out, "H", 4), element(typed.out, "H", 4));
  // --set applies on top of the file.
  const Result both = run({"pose", "--angle", "10", "--file", path, "--set", "5=5.0"});
  EXPECT_EQ(element(both.out, "H", 4), element(run({"pose", "--angle", "10"}).out, "H", 4));
  const Result missing = run({"pose", "--angle", "10", "--file", path + ".missing"});
  EXPECT_EQ(missing.code, vek1::kExitInput);
  EXPECT_EQ(std::count(missing.err.begin(), missing.err.end(), '\n'), 1) << missing.err;
}

TEST(CliPose, AnglesOfAnySizeGiveThePoseOfTheirReducedAngle) {
  const Result at280 = run({"pose", "--angle", "280"});
  for (const char* angle : {"1e9", "3600280", "-80", "640", "-1e9"}) {
    const Result r = run({"pose", "--angle", angle});
    ASSERT_EQ(r.code, 0) << r.err;
    // -1e9 is 80 degrees, the others are 280.
    const Result& same = std::string(angle) == "-1e9" ? run({"pose", "--angle", "80"}) : at280;
    EXPECT_EQ(field(r.out, "PistonPos"), field(same.out, "PistonPos")) << angle;
    EXPECT_EQ(field(r.out, "DriverAngle"), field(same.out, "DriverAngle")) << angle;
    EXPECT_EQ(element(r.out, "H", 4), element(same.out, "H", 4)) << angle;
  }
  // Just under a whole turn is not 360 in the model.
  const Result nearlyTurn = run({"pose", "--angle", "-1e-12"});
  EXPECT_LT(field(nearlyTurn.out, "DriverAngle"), 360.0);
  const auto rows = csvRows(run({"sweep", "--from", "719", "--to", "721", "--step", "1"}).out);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].at("DriverAngle"), "359");
  EXPECT_EQ(rows[1].at("DriverAngle"), "0");
  EXPECT_EQ(
      rows[1].at("PistonPos"),
      csvRows(run({"sweep", "--from", "0", "--to", "0", "--step", "1"}).out)[0].at("PistonPos"));
}

TEST(CliPose, ReverseArmLimitsKeepNormWithinMax) {
  // Norm above Max is held at Max, with a note; the pose is that of the held value.
  const Result high = run({"pose", "--angle", "0", "--set", "17=5", "--revarm-offset", "0"});
  ASSERT_EQ(high.code, 0) << high.err;
  EXPECT_EQ(std::count(high.err.begin(), high.err.end(), '\n'), 1) << high.err;
  EXPECT_NE(high.err.find("1.8"), std::string::npos) << high.err;
  // Max below Norm is raised to Norm; in order, raising Max first lets a larger Norm through.
  const Result low = run({"pose", "--angle", "0", "--set", "18=1"});
  EXPECT_NE(low.err.find("1.6"), std::string::npos) << low.err;
  EXPECT_NE(run({"events", "--notches", "1", "--set", "17=5"}).err.find("1.800"),
            std::string::npos);
  const Result ordered = run({"pose", "--angle", "0", "--set", "18=3", "--set", "17=2.5"});
  EXPECT_TRUE(ordered.err.empty()) << ordered.err;
  EXPECT_EQ(run({"pose", "--angle", "0", "--set", "17=1"}).err, "");
}

// A stream whose every write fails, as a full disk or a closed descriptor does.
class FailingBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(CliOutput, AFailedWriteIsReportedWithItsOwnCode) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"pose", "--angle", "0"},
        std::vector<std::string>{"sweep", "--from", "0", "--to", "1e6", "--step", "0.1"},
        std::vector<std::string>{"sweep", "--from", "0", "--to", "1e6", "--step", "0.1", "--format",
                                 "json"},
        std::vector<std::string>{"events", "--notches", "1.6"}, std::vector<std::string>{"--help"},
        std::vector<std::string>{"help"}, std::vector<std::string>{"render", "main", "--help"}}) {
    FailingBuffer buffer;
    std::ostream out(&buffer);
    std::ostringstream err;
    EXPECT_EQ(vek1::runCli(args, out, err), vek1::kExitWrite) << args[0];
    const std::string message = err.str();
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find("cannot write"), std::string::npos) << message;
  }
}

// Runs the real vek1-cli with its standard output on `fd` (-1: closed); returns the exit code
// and what it wrote on stderr.
std::pair<int, std::string> runProgram(const std::vector<std::string>& args, int fd) {
  int errPipe[2];
  if (pipe(errPipe) != 0) return {-1, "pipe"};
  const pid_t child = fork();
  if (child == 0) {
    dup2(errPipe[1], 2);
    if (fd >= 0)
      dup2(fd, 1);
    else
      close(1);
    std::vector<char*> argv{const_cast<char*>(VEK1_CLI_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(VEK1_CLI_PATH, argv.data());
    _exit(127);
  }
  close(errPipe[1]);
  std::string err;
  char chunk[256];
  for (ssize_t n; (n = read(errPipe[0], chunk, sizeof chunk)) > 0;) err.append(chunk, n);
  close(errPipe[0]);
  int status = 0;
  waitpid(child, &status, 0);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, err};
}

TEST(CliOutput, FullDiskAndClosedStdoutFailTheRealProgram) {
  const int full = open("/dev/full", O_WRONLY);
  if (full < 0) GTEST_SKIP() << "no /dev/full on this machine";
  for (const int fd : {full, -1}) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"pose", "--angle", "0"},
          std::vector<std::string>{"sweep", "--from", "0", "--to", "360", "--step", "1"},
          std::vector<std::string>{"sweep", "--from", "0", "--to", "360", "--step", "1", "--format",
                                   "json"}}) {
      const auto [code, err] = runProgram(args, fd);
      EXPECT_EQ(code, vek1::kExitWrite) << args[0] << (fd < 0 ? " closed" : " full") << err;
      EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    }
  }
  close(full);
  // The same command into a working stream succeeds.
  const int null = open("/dev/null", O_WRONLY);
  EXPECT_EQ(runProgram({"pose", "--angle", "0"}, null).first, vek1::kExitOk);
  close(null);
}

// Found by fuzzing: an id beyond the int range was converted to int before it was checked.
TEST(CliUsage, ADimensionIdBeyondTheIntRangeIsRefusedNotConverted) {
  for (const char* id : {"21474836485", "4294967397", "-2147483649", "1e300"}) {
    const Result r = run({"pose", "--angle", "0", "--set", std::string(id) + "=1"});
    EXPECT_EQ(r.code, vek1::kExitUsage) << id;
    EXPECT_NE(r.err.find("unknown dimension id"), std::string::npos) << r.err;
  }
}

TEST(CliFile, APipeAFolderOrADeviceIsRefusedWithoutWaiting) {
  std::string dir = ::testing::TempDir() + "cli-XXXXXX";
  ASSERT_NE(::mkdtemp(dir.data()), nullptr);
  const std::string pipe = dir + "/p.dve";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& path : {pipe, dir, std::string("/dev/zero")}) {
    PipeWatchdog watchdog(pipe);
    const Result r = run({"pose", "--angle", "0", "--file", path});
    EXPECT_FALSE(watchdog.stop()) << path << ": vek1-cli waited on the pipe";
    EXPECT_NE(r.code, vek1::kExitOk) << path;
    EXPECT_TRUE(vek1::isDocumentedExitCode(r.code)) << r.code;
    EXPECT_TRUE(r.out.empty()) << path;
    EXPECT_NE(r.err.find("not a dimension file"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  ::unlink(pipe.c_str());
  ::rmdir(dir.c_str());
}

TEST(CliUsage, HelpNamesEveryOption) {
  const Result r = run({"--help"});
  EXPECT_EQ(r.code, 0);
  for (const char* option : {"--angle", "--from", "--to", "--step", "--revarm-offset", "--revarm ",
                             "--file", "--set", "--help"})
    EXPECT_NE(r.out.find(option), std::string::npos) << option;
  // Each exit code is explained.
  for (const char* code : {"  0  ", "  2  ", "  3  ", "  4  "})
    EXPECT_NE(r.out.find(code), std::string::npos) << code;
}

// "help" and --help print the same usage on stdout, naming every command; no command at
// all is a usage error that answers with that usage on stderr. Each command's own --help
// prints its usage and runs nothing: render draws no picture, wherever --help stands.
TEST(CliUsage, HelpListsEveryCommandAndEachCommandHasItsOwn) {
  const Result help = run({"help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(help.err.empty()) << help.err;
  for (const char* command :
       {"pose", "sweep", "events", "sensitivity", "wear", "tune", "render", "report"}) {
    EXPECT_NE(help.out.find("vek1-cli " + std::string(command) + " "), std::string::npos)
        << command;
    EXPECT_NE(help.out.find("\n" + std::string(command) + " "), std::string::npos) << command;
  }
  EXPECT_EQ(run({"--help"}).out, help.out);
  const Result none = run({});
  EXPECT_EQ(none.code, vek1::kExitUsage);
  EXPECT_TRUE(none.out.empty());
  EXPECT_EQ(none.err, help.out);

  const std::string picture = ::testing::TempDir() + "cli_render_help.svg";
  std::remove(picture.c_str());
  const Result render = run({"render", "--help"});
  EXPECT_EQ(render.code, 0) << render.err;
  for (const char* option : {"--out", "--angle", "--positions", "--graph", "--file", "--set"})
    EXPECT_NE(render.out.find(option), std::string::npos) << option;
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"render", "main", "--help"},
        std::vector<std::string>{"render", "port", "-h"},
        std::vector<std::string>{"render", "sine", "--out", picture, "--help"}}) {
    const Result r = run(args);
    EXPECT_EQ(r.code, 0) << args[1] << r.err;
    EXPECT_EQ(r.out, render.out) << args[1];
    EXPECT_TRUE(r.err.empty()) << r.err;
  }
  EXPECT_FALSE(std::ifstream(picture).good()) << "render --help drew a picture";
  for (const char* command : {"events", "tune"}) {
    const Result r = run({command, "--help"});
    EXPECT_EQ(r.code, 0) << command;
    EXPECT_EQ(r.out.rfind("usage: vek1-cli " + std::string(command), 0), 0u) << command;
  }
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(CliRender, WritesEachPictureInEachFormat) {
  const std::string dir = ::testing::TempDir();
  for (const char* picture : {"main", "sine", "oval", "steam", "port"}) {
    const std::string base = dir + "cli_render_" + picture;
    const Result svg = run({"render", picture, "--out", base + ".svg"});
    ASSERT_EQ(svg.code, 0) << picture << svg.err;
    EXPECT_TRUE(svg.out.empty() && svg.err.empty()) << svg.err;
    const std::string text = slurp(base + ".svg");
    EXPECT_EQ(text.rfind("<?xml", 0), 0u) << picture;
    EXPECT_NE(text.find("<polyline"), std::string::npos) << picture;
    ASSERT_EQ(run({"render", picture, "--out", base + ".png"}).code, 0);
    EXPECT_EQ(slurp(base + ".png").rfind("\x89PNG", 0), 0u) << picture;
    ASSERT_EQ(run({"render", picture, "--out", base + ".pdf"}).code, 0);
    EXPECT_EQ(slurp(base + ".pdf").rfind("%PDF", 0), 0u) << picture;
  }
}

TEST(CliRender, OptionsChangeThePicture) {
  const std::string dir = ::testing::TempDir();
  const auto svg = [&](std::vector<std::string> args) {
    const std::string path = dir + "cli_render_option.svg";
    args.push_back("--out");
    args.push_back(path);
    const Result r = run(args);
    EXPECT_EQ(r.code, 0) << r.err;
    return slurp(path);
  };
  const std::string plain = svg({"render", "main"});
  EXPECT_EQ(svg({"render", "main", "--angle", "0"}), plain);    // the same picture each time
  EXPECT_EQ(svg({"render", "main", "--angle", "720"}), plain);  // a whole number of turns on
  EXPECT_NE(svg({"render", "main", "--angle", "90"}), plain);
  EXPECT_NE(svg({"render", "main", "--set", "5=5.2"}), plain);
  const std::string sine = svg({"render", "sine"});
  EXPECT_NE(svg({"render", "sine", "--positions", "0,1.6"}), sine);
  EXPECT_NE(svg({"render", "port", "--graph", "B"}), svg({"render", "port", "--graph", "F"}));
}

TEST(CliRender, AFailedWriteExitsWithTheWriteCode) {
  const std::string dir = ::testing::TempDir();
  for (const std::string& out :
       {dir + "no/such/folder/x.png", dir + "no/such/folder/x.svg", dir + "no/such/folder/x.pdf"}) {
    const Result r = run({"render", "sine", "--out", out});
    EXPECT_EQ(r.code, 4) << out;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    EXPECT_NE(r.err.find(out), std::string::npos) << r.err;
  }
}

}  // namespace
