// vek1-cli wear as a script reads it: the nesting and keys of its JSON, --clearance and --joint
// in the order given, the CSV's numbers those of the JSON, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_run.h"
#include "dimension_file.h"
#include "dimensions.h"
#include "worn_gear.h"
#include "exit_codes.h"
#include "python_reader.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;
using vek1::testing::readWithPython;

TEST(CliWear, JsonHoldsEachEndsEnvelopesLostMotionAndTheJoints) {
  const Result r = run({"wear"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(readWithPython(r.out, R"(
n=data['Notches']
print(len(n), sorted(n[0].keys()))
print(sorted(n[0]['Front'].keys()), sorted(n[0]['Rear']['CutOff'].keys()))
print([j['Name'] for j in n[0]['Joints']][:3], set(j['Clearance'] for j in n[0]['Joints']))
print(all(abs(sum(j['Share'] for j in x['Joints']) - 1) < 1e-5 for x in n))
print(all(e['Min'] <= e['Max'] and abs(e['Max'] - e['Min'] - e['Spread']) < 1e-5 * max(1, abs(e['Max']))
          for x in n for end in ('Front', 'Rear') for e in x[end].values()))
print(all(x['LostMotion'] > 0 for x in n))
)"),
            "9 ['Front', 'Joints', 'LostMotion', 'Offset', 'Rear']\n"
            "['Compression', 'CutOff', 'Lead', 'Release'] ['Max', 'Min', 'Spread']\n"
            "['Crank pin', 'Crosshead', 'Main-rod hanger'] {0.002}\n"
            "True\nTrue\nTrue\n");
}

// A saved set brings its own clearances, which --joint still changes one by one.
TEST(CliWear, ASavedSetBringsItsClearances) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.JointClearances.fill(0.0f);
  ws.JointClearances[vek1::kCrankPin] = 0.005f;
  const std::string path = ::testing::TempDir() + "cli_wear_set.dve";
  ASSERT_TRUE(vek1::WriteDimensionFile(path, ws).ok);
  const Result r = run({"wear", "--notches", "1.2", "--file", path, "--joint", "die=0.001"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(readWithPython(r.out, R"(
print(sorted((j['Name'], round(j['Clearance'], 6)) for j in data['Notches'][0]['Joints'] if j['Clearance']))
)"),
            "[('Crank pin', 0.005), ('Die in link', 0.001)]\n");
}

// --clearance sets every joint, then each --joint one of them: with all but the die at 0 the
// die takes the whole share, and the CSV line carries the JSON's figures.
TEST(CliWear, OneJointAloneTakesTheWholeShareInBothFormats) {
  const std::vector<std::string> ask = {"wear", "--notches", "1.2", "--clearance", "0",
                                        "--joint", "die=0.01", "--joint", "crosshead=0"};
  const Result json = run(ask);
  ASSERT_EQ(json.code, 0) << json.err;
  std::vector<std::string> askCsv = ask;
  askCsv.insert(askCsv.end(), {"--format", "csv"});
  const Result csv = run(askCsv);
  ASSERT_EQ(csv.code, 0) << csv.err;
  const std::string fromJson = readWithPython(json.out, R"(
x=data['Notches'][0]
print([(j['Name'], j['Clearance'], j['Share']) for j in x['Joints'] if j['Share'] != 0])
print(x['Front']['CutOff']['Spread'] > 0, x['Rear']['Release']['Min'], x['LostMotion'])
)");
  EXPECT_EQ(fromJson.substr(0, fromJson.find('\n')), "[('Die in link', 0.01, 1)]");
  EXPECT_EQ(fromJson, readWithPython(csv.out, R"(
x=data[0]
print([('Die in link', float(x['Joint.die.Clearance']), int(x['Joint.die.Share']))])
print(float(x['Front.CutOff.Spread']) > 0, float(x['Rear.Release.Min']), float(x['LostMotion'])))",
                                     "csv"));
}

TEST(CliWear, RefusesUnknownJointsAndClearancesOutOfRange) {
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"wear", "--joint", "Die=0.001"},
        {"wear", "--joint", "die"},
        {"wear", "--joint", "die=-0.001"},
        {"wear", "--clearance", "0.2"},
        {"wear", "--clearance", "nan"},
        {"wear", "--notches", "-9"}}) {
    const Result r = run(bad);
    EXPECT_EQ(r.code, vek1::kExitUsage) << bad[1] << " " << bad[2];
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

}  // namespace
