// vek1-cli report and render main --out FILE.dxf: their command lines, their exit codes, and the
// files they leave (or do not leave) behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli_run.h"
#include "exit_codes.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;
namespace fs = std::filesystem;

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string temp(const std::string& name) {
  const std::string path = ::testing::TempDir() + name;
  fs::remove(path);
  return path;
}

TEST(CliReport, WritesTheReportAndTheDrawingBesideIt) {
  const std::string pdf = temp("cli-report.pdf"), dxf = temp("cli-report.dxf");
  const Result r = run({"report", "--out", pdf, "--notches", "1.6,-1.6", "--paper", "letter",
                        "--dxf", dxf, "--units", "mm"});
  ASSERT_EQ(r.code, vek1::kExitOk) << r.err;
  EXPECT_EQ(r.out, "pages 9\n");
  EXPECT_EQ(contents(pdf).substr(0, 5), "%PDF-");
  const std::string drawing = contents(dxf);
  EXPECT_NE(drawing.find("$INSUNITS\n 70\n4\n"), std::string::npos);
  // One die path for each of the two notches.
  std::size_t paths = 0;
  for (std::size_t at = 0; (at = drawing.find("LWPOLYLINE\n", at)) != std::string::npos; ++at)
    paths += drawing.compare(drawing.find("\n  8\n", at) + 5, 6, "paths\n") == 0;
  EXPECT_EQ(paths, 2u);
}

TEST(CliReport, HelpNamesEveryOption) {
  const Result help = run({"report", "--help"});
  EXPECT_EQ(help.code, vek1::kExitOk) << help.err;
  for (const char* option :
       {"--out", "--notches", "--file", "--set", "--compare", "--paper", "--dxf", "--units"})
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  const Result render = run({"render", "--help"});
  for (const char* option : {"FILE.dxf", "--units", "--notches"})
    EXPECT_NE(render.out.find(option), std::string::npos) << option;
}

TEST(CliReport, ABadCommandLineWritesNothing) {
  const std::string pdf = temp("cli-bad.pdf");
  const std::vector<std::vector<std::string>> bad = {
      {"report"},
      {"report", "--out", temp("cli-bad.png")},
      {"report", "--out", pdf, "--paper", "a3"},
      {"report", "--out", pdf, "--units", "mm"},
      {"report", "--out", pdf, "--dxf", temp("cli-bad.svg")},
      {"report", "--out", pdf, "--notches", "9"},
      {"report", "--out", pdf, "--colour"},
      {"render", "main", "--out", temp("cli-bad-main.png"), "--units", "mm"},
      {"render", "main", "--out", temp("cli-bad-main.dxf"), "--units", "feet"},
      {"render", "main", "--out", temp("cli-bad-main.dxf"), "--notches", "12"},
      {"render", "main", "--out", temp("cli-bad-main.dxf"), "--caption"},
      {"render", "sine", "--out", temp("cli-bad-sine.dxf")},
  };
  for (const auto& args : bad) {
    const Result r = run(args);
    EXPECT_EQ(r.code, vek1::kExitUsage) << args.back() << ": " << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_FALSE(fs::exists(::testing::TempDir() + "cli-bad-main.dxf"));
  const Result missing = run({"report", "--out", pdf, "--file", temp("no-such-set.dve")});
  EXPECT_EQ(missing.code, vek1::kExitInput) << missing.err;
  // A reference that is no set refuses the report before anything is written.
  const std::string notASet = temp("cli-not-a-set.dve");
  std::ofstream(notASet) << "not a set";
  const Result badReference = run({"report", "--out", pdf, "--compare", notASet});
  EXPECT_EQ(badReference.code, vek1::kExitInput) << badReference.err;
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_FALSE(fs::exists(pdf));
}

TEST(CliReport, AFileThatCannotBeWrittenExitsWithFour) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  // The names must end in .pdf and .dxf: links of those names lead to the device.
  const std::string fullPdf = temp("full.pdf"), fullDxf = temp("full.dxf");
  fs::create_symlink("/dev/full", fullPdf);
  fs::create_symlink("/dev/full", fullDxf);
  const Result report = run({"report", "--out", fullPdf});
  EXPECT_EQ(report.code, vek1::kExitWrite) << report.err;
  EXPECT_NE(report.err.find("device"), std::string::npos) << report.err;
  const std::string pdf = temp("cli-dxf-fails.pdf");
  const Result dxf = run({"report", "--out", pdf, "--dxf",
                          fs::path(::testing::TempDir()) / "no-such-folder" / "gear.dxf"});
  EXPECT_EQ(dxf.code, vek1::kExitWrite) << dxf.err;
  EXPECT_NE(dxf.err.find("gear.dxf"), std::string::npos) << dxf.err;
  const Result render = run({"render", "main", "--out", fullDxf});
  EXPECT_EQ(render.code, vek1::kExitWrite) << render.err;
  EXPECT_TRUE(fs::is_symlink(fullPdf) && fs::is_symlink(fullDxf));
  fs::remove(fullPdf);
  fs::remove(fullDxf);
}

TEST(CliRenderDxf, TheDrawingIsAtThePoseAsked) {
  const std::string a = temp("cli-pose-a.dxf"), b = temp("cli-pose-b.dxf");
  ASSERT_EQ(run({"render", "main", "--out", a, "--angle", "0"}).code, vek1::kExitOk);
  ASSERT_EQ(run({"render", "main", "--out", b, "--angle", "90", "--revarm-offset", "1.6"}).code,
            vek1::kExitOk);
  const std::string first = contents(a), second = contents(b);
  EXPECT_NE(first.find("\nARC\n"), std::string::npos);
  EXPECT_NE(first.find("$INSUNITS\n 70\n1\n"), std::string::npos);
  EXPECT_NE(first, second);
  // The crank pin of the factory set (stroke 3) at 90 degrees stands 1.5 below the driver
  // centre: a circle there on the rods layer.
  EXPECT_NE(second.find("\n 20\n-1.5\n 30\n0\n 40\n0.35"), std::string::npos);
  EXPECT_EQ(first.find("\n 20\n-1.5\n 30\n0\n 40\n0.35"), std::string::npos);
}

}  // namespace
