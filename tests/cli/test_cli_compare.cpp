// vek1-cli events --compare as a script sees it: both sets' own events, the differences working
// minus reference, the reference's reasons where it lacks a figure, and the files it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "exit_codes.h"
#include "numbers.h"
#include "valve_events.h"
#include "python_reader.h"

namespace {

using vek1::testing::readWithPython;
using vek1::testing::Result;
using vek1::testing::run;

// The factory set with a longer radius rod, saved where a test can name it.
std::string savedReference(const std::string& name) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.Frame[vek1::dim::RadiusRod] = 5.02f;
  const std::string path = ::testing::TempDir() + name;
  EXPECT_TRUE(vek1::WriteDimensionFile(path, ws).ok);
  return path;
}

TEST(CliCompare, JsonHoldsBothSetsAsEventsPrintsThemAndTheirDifferences) {
  const std::string ref = savedReference("cli_compare_ref.dve");
  const Result r = run({"events", "--notches", "1.6,0.8,0,-0.8", "--set", "16=2.4", "--compare", ref});
  ASSERT_EQ(r.code, 0) << r.err;
  // Each set's events are exactly what events prints for it alone.
  const Result working = run({"events", "--notches", "1.6,0.8,0,-0.8", "--set", "16=2.4"});
  const Result reference = run({"events", "--notches", "1.6,0.8,0,-0.8", "--file", ref});
  std::ofstream(::testing::TempDir() + "cli_compare_w.json") << working.out;
  std::ofstream(::testing::TempDir() + "cli_compare_r.json") << reference.out;
  const std::string dir = ::testing::TempDir();
  EXPECT_EQ(readWithPython(r.out,
                           "w=json.load(open('" + dir + "cli_compare_w.json'))\n"
                           "b=json.load(open('" + dir + "cli_compare_r.json'))\n"
                           "print(data['Working']['Events']==w, data['Reference']['Events']==b)\n"
                           "print(data['Working']['Name'], data['Reference']['Name'])\n"
                           "bad=[]\n"
                           "for n in data['Differences']:\n"
                           "  for end in ('Notch','Front','Rear'):\n"
                           "    for k,f in n[end].items():\n"
                           "      if f['Difference'] is None: continue\n"
                           "      ulp=1e-4 if ('Angle' in k or 'Stroke' in k or 'Degrees' in k) else 1e-6\n"
                           "      if abs(f['Working']-f['Reference']-f['Difference'])>1.01*ulp: bad.append(k)\n"
                           "print(len(data['Differences']), len(bad))\n"
                           "f=data['Differences'][0]['Front']['CutOff.Stroke']\n"
                           "print(f['Working']==w['Notches'][0]['Front']['CutOff']['Stroke'],"
                           " f['Reference']==b['Notches'][0]['Front']['CutOff']['Stroke'],"
                           " abs(f['Difference'])>0.5)"),
            "True True\nNominal cli_compare_ref\n4 0\nTrue True True\n");
}

TEST(CliCompare, CsvAndTextSayWhichSetLacksAFigureAndWhy) {
  // A reference whose reverse arm is too short for the farthest notch.
  vek1::Workspace ws;
  vek1::StartUp(ws);
  vek1::Workspace factory = ws;
  ws.Frame[vek1::dim::ReverseArmLength] -= 0.3f;
  vek1::ComputeReverseArmCentre(ws);
  const std::string ref = ::testing::TempDir() + "cli_compare_short.dve";
  ASSERT_TRUE(vek1::WriteDimensionFile(ref, ws).ok);
  const double far = vek1::ReachableOffsets(ws).Highest + 0.05;
  ASSERT_TRUE(vek1::ReachableOffsets(factory).contains(far));
  const std::string farText = vek1::fixedText(far, 0, 6);
  const Result csv =
      run({"events", "--notches", farText + ",0", "--compare", ref, "--format", "csv"});
  ASSERT_EQ(csv.code, 0) << csv.err;
  EXPECT_EQ(readWithPython(csv.out,
                           "print(len(data), sorted(set(r['End'] for r in data)))\n"
                           "far=[r for r in data if r['Offset']=='" + farText + "']\n"
                           "print(all(r['Reference']=='' and r['Difference']=='' and r['Working']!=''"
                           " and r['Note']=='reference: out of reach' for r in far))\n"
                           "near=[r for r in data if r['Offset']=='0.000000' and r['Figure']=='Lead']\n"
                           "print(len(near), all(r['Note']=='' and r['Difference']!='' for r in near))",
                           "csv"),
            "66 ['Front', 'Notch', 'Rear']\nTrue\n2 True\n");
  const Result text = run({"events", "--notches", farText, "--compare", ref, "--format", "text"});
  ASSERT_EQ(text.code, 0) << text.err;
  EXPECT_NE(text.out.find("reference:   cli_compare_short\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("(reference: out of reach)"), std::string::npos) << text.out;
}

TEST(CliCompare, AFileThatIsNoSetIsRefusedWithOneLine) {
  const std::string junk = ::testing::TempDir() + "cli_compare_junk.dve";
  std::ofstream(junk) << "not a set";
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"events", "--compare", junk},
        {"events", "--compare", junk + ".missing"},
        {"events", "--compare", ::testing::TempDir()}}) {
    const Result r = run(bad);
    EXPECT_EQ(r.code, vek1::kExitInput) << bad[2];
    EXPECT_EQ(r.err.rfind("vek1-cli: --compare: ", 0), 0u) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"events", "--format", "text"}, {"events", "--compare"},
        {"events", "--compare", ""}}) {
    const Result r = run(bad);
    EXPECT_EQ(r.code, vek1::kExitUsage) << r.err;
    EXPECT_TRUE(r.out.empty());
  }
}

}  // namespace
