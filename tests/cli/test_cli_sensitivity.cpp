// vek1-cli sensitivity as a script reads it: the nesting and keys of its JSON, the same numbers
// in its CSV, the figures --events picks, and what it refuses.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_run.h"
#include "exit_codes.h"
#include "python_reader.h"

namespace {

using vek1::testing::Result;
using vek1::testing::run;
using vek1::testing::readWithPython;

TEST(CliSensitivity, JsonNestsNotchesRowsAndBothEndsAsDocumented) {
  const Result r = run({"sensitivity"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string read = readWithPython(r.out, R"(
n=data['Notches']
print(len(n), len(n[0]['Rows']))
row=[x for x in n[0]['Rows'] if x['Id']==5][0]
print(row['Name'], sorted(row['PerUnit'].keys()), sorted(row['PerUnit']['Rear'].keys()))
print(sorted(row['PerPercent'].keys()) == sorted(row['PerUnit'].keys()))
print(all(o > 0 for o in [x['Offset'] for x in n]), n[0]['Offset'] > n[-1]['Offset'])
drawn=[x for x in n[3]['Rows'] if x['Id'] in (1, 103, 117)]
print(all(v == 0 for x in drawn for e in ('Front', 'Rear') for v in x['PerUnit'][e].values()))
)");
  EXPECT_EQ(read,
            "9 38\n"
            "Radius Rod ['ClosureMargin', 'Front', 'Rear', 'ValveTravel'] ['Admission', "
            "'Compression', 'CutOff', 'Lead', 'Release']\n"
            "True\nTrue True\nTrue\n");
}

TEST(CliSensitivity, EventsPicksTheFiguresAndCsvCarriesTheJsonsNumbers) {
  const std::vector<std::string> ask = {"sensitivity", "--notches", "0.8,-0.8", "--events",
                                        "Rear.CutOff,ValveTravel"};
  const Result json = run(ask);
  ASSERT_EQ(json.code, 0) << json.err;
  std::vector<std::string> askCsv = ask;
  askCsv.insert(askCsv.end(), {"--format", "csv"});
  const Result csv = run(askCsv);
  ASSERT_EQ(csv.code, 0) << csv.err;
  // Only the two figures, Front left out altogether; the radius rod's row at -0.8 the same in
  // both formats.
  EXPECT_EQ(readWithPython(json.out, R"(
r=[x for x in data['Notches'][1]['Rows'] if x['Id']==5][0]
print(list(r['PerUnit'].keys()), list(r['PerPercent'].keys()))
print(data['Notches'][1]['Offset'], r['PerUnit']['Rear']['CutOff'], r['PerPercent']['ValveTravel'])
)"),
            "['Rear', 'ValveTravel'] ['Rear', 'ValveTravel']\n" +
                readWithPython(csv.out, R"(
r=[x for x in data if x['Offset']=='-0.8' and x['Id']=='5'][0]
print(float(r['Offset']), float(r['PerUnit.Rear.CutOff']), float(r['PerPercent.ValveTravel'])))",
                               "csv"));
  EXPECT_EQ(readWithPython(csv.out, "print(len(data), list(data[0].keys()))", "csv"),
            "76 ['Offset', 'Id', 'Name', 'PerUnit.Rear.CutOff', 'PerUnit.ValveTravel', "
            "'PerPercent.Rear.CutOff', 'PerPercent.ValveTravel']\n");
}

TEST(CliSensitivity, RefusesUnknownFiguresAndNotchesOutOfReach) {
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"sensitivity", "--events", "Rear.Cutoff"},
        {"sensitivity", "--events", "Front.CutOff,"},
        {"sensitivity", "--notches", "9"},
        {"sensitivity", "--format", "xml"}}) {
    const Result r = run(bad);
    EXPECT_EQ(r.code, vek1::kExitUsage) << bad[1] << " " << bad[2];
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
  }
}

}  // namespace
