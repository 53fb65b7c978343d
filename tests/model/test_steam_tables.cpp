// The steam tables against the IAPWS-IF97 implementation of Python's iapws module (Debian's),
// over the pressures an engine's chest and exhaust see.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

#include "steam_tables.h"

namespace vek1 {
namespace {

constexpr double kPaPerPsi = 6894.757293168;

// Runs a Python program on Debian's interpreter; what it printed, "(failed)" on an error.
std::string runPython(const std::string& program) {
  const std::string path = ::testing::TempDir() + "vek1-steam.py";
  if (FILE* f = std::fopen(path.c_str(), "w")) {
    std::fputs(program.c_str(), f);
    std::fclose(f);
  }
  std::string out;
  if (FILE* pipe = ::popen(("/usr/bin/python3 '" + path + "' 2>&1").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    if (::pclose(pipe) != 0) out += "(failed)";
  }
  std::remove(path.c_str());
  return out;
}

TEST(SteamTables, AgreeWithIapwsWithinATenthOfAPercentFrom15To300Psia) {
  // Each row: pressure (MPa), superheat (K; 0 for dry saturated), then our T, v, h, s, cp and
  // isentropic exponent. Python recomputes them and prints the worst relative difference.
  std::ostringstream rows;
  rows.precision(12);
  int count = 0;
  for (double psia = 15.0; psia <= 300.0; psia += 15.0) {
    for (double superheat : {0.0, 30.0, 150.0}) {
      const double p = psia * kPaPerPsi * 1e-6;
      const steam::VapourState s =
          superheat == 0.0 ? steam::saturatedVapour(p)
                           : steam::vapour(p, steam::saturationTemperature(p) + superheat);
      rows << "(" << p << "," << superheat << "," << s.Temperature << "," << s.Volume << ","
           << s.Enthalpy << "," << s.Entropy << "," << s.Cp << "," << s.IsentropicExponent
           << "),\n";
      ++count;
      // The saturation line both ways.
      EXPECT_NEAR(steam::saturationPressure(steam::saturationTemperature(p)), p, 1e-9 * p);
    }
  }
  const std::string program =
      "from iapws import IAPWS97\n"
      "rows = [\n" +
      rows.str() +
      "]\n"
      "worst = (0.0, '')\n"
      "for p, dt, T, v, h, s, cp, k in rows:\n"
      "    ref = IAPWS97(P=p, x=1) if dt == 0 else IAPWS97(P=p, T=IAPWS97(P=p, x=1).T + dt)\n"
      "    for name, ours, theirs in (('T', T, ref.T), ('v', v, ref.v), ('h', h, ref.h),\n"
      "                               ('s', s, ref.s), ('cp', cp, ref.cp),\n"
      "                               ('k', k, ref.w**2 / (p * 1e6 * ref.v))):\n"
      "        d = abs(ours - theirs) / abs(theirs)\n"
      "        if d > worst[0]: worst = (d, '%s at %g MPa +%g K: %r vs %r' % (name, p, dt, ours, "
      "theirs))\n"
      "print('rows', len(rows))\n"
      "print('ok' if worst[0] < 1e-3 else 'worst ' + worst[1])\n";
  const std::string out = runPython(program);
  EXPECT_EQ(out, "rows " + std::to_string(count) + "\nok\n");
}

TEST(SteamTables, KnownPointsAndBadInput) {
  // The formulation's own check values: region 4 at 500 K and 10 MPa, region 2 at 700 K, 30 MPa.
  EXPECT_NEAR(steam::saturationPressure(500.0), 2.63889776, 1e-8);
  EXPECT_NEAR(steam::saturationTemperature(10.0), 584.149488, 1e-6);
  EXPECT_NEAR(steam::vapour(30.0, 700.0).Volume, 0.00542946619, 1e-11);
  EXPECT_NEAR(steam::vapour(0.0035, 700.0).Cv, 1.61978333, 1e-8);
  // Outside the saturation line's range, or non-finite: NaN, never a number made up.
  EXPECT_TRUE(std::isnan(steam::saturationTemperature(30.0)));
  EXPECT_TRUE(std::isnan(steam::saturationTemperature(NAN)));
  EXPECT_TRUE(std::isnan(steam::saturationPressure(700.0)));
  EXPECT_TRUE(std::isnan(steam::saturatedVapour(-1.0).Volume));
  EXPECT_TRUE(std::isnan(steam::vapour(INFINITY, 500.0).Enthalpy));
}

}  // namespace
}  // namespace vek1
