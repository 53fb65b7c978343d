#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "numbers.h"

namespace vek1 {
namespace {

TEST(Numbers, RoundHalfEvenGoesToTheEvenNeighbourAndStaysInRange) {
  const struct {
    double x;
    int expected;
  } cases[] = {{0.5, 0},
               {1.5, 2},
               {2.5, 2},
               {-0.5, 0},
               {-1.5, -2},
               {-2.5, -2},
               {2.4999, 2},
               {-2.5001, -3},
               {NAN, 0},
               {INFINITY, INT_MAX},
               {-INFINITY, INT_MIN},
               {1e300, INT_MAX},
               {-1e300, INT_MIN},
               {3e9, INT_MAX},
               {-3e9, INT_MIN},
               {2147483646.5, 2147483646},
               {-2147483647.5, INT_MIN}};
  for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.x), c.expected) << c.x;
}

TEST(Numbers, FixedTextPadsOnTheLeftAndNeverCuts) {
  EXPECT_EQ(fixedText(5.0, 4, 1), " 5.0");
  EXPECT_EQ(fixedText(-3.14159, 7, 2), "  -3.14");
  EXPECT_EQ(fixedText(-0.25, 3, 3), "-0.250");
  EXPECT_EQ(fixedText(12345.678, 4, 1), "12345.7");
  EXPECT_EQ(fixedText(1e20, 1, 0), "100000000000000000000");  // never an exponent
}

TEST(Numbers, ParseNumberTakesTheLongestWellFormedPrefix) {
  const struct {
    const char* text;
    double value;
  } cases[] = {{"", 0.0},       {"12abc", 12.0},  {".5", 0.5},    {"-.5", -0.5},  {"5.", 5.0},
               {"-", 0.0},      {".", 0.0},       {"-.", 0.0},    {"1e", 1.0},    {"1e-", 1.0},
               {"2.5e2x", 250}, {"  7.25", 7.25}, {"\t-3", -3.0}, {"1.5.3", 1.5}, {"--5", 0.0},
               {"abc", 0.0},    {"+4", 4.0},      {"1e-999", 0.0}};
  for (const auto& c : cases) EXPECT_EQ(parseNumber(c.text), c.value) << '"' << c.text << '"';
  // Overflow saturates instead of becoming infinite.
  EXPECT_TRUE(std::isfinite(parseNumber("1e999")) && parseNumber("1e999") > 1e300);
  EXPECT_TRUE(std::isfinite(parseNumber("-1e999")) && parseNumber("-1e999") < -1e300);
  EXPECT_TRUE(std::isfinite(parseNumber(std::string(400, '9'))));
}

TEST(Numbers, ParseNumberStrictAcceptsOnlyAWholeFiniteNumber) {
  EXPECT_EQ(parseNumberStrict("12.5"), 12.5);
  EXPECT_EQ(parseNumberStrict("-.5"), -0.5);
  EXPECT_EQ(parseNumberStrict("3e2"), 300.0);
  for (const char* bad : {"", "12abc", "12 ", " 12", "-", "1e", "1e999", "-1e999"})
    EXPECT_FALSE(parseNumberStrict(bad).has_value()) << '"' << bad << '"';
}

}  // namespace
}  // namespace vek1
