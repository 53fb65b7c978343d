#pragma once
// Number helpers shared by the whole program. Every conversion of a computed value to whole
// pixels, scroll positions or array indices goes through roundHalfEven; every value stored as a
// single from wider arithmetic goes through toSingle; every typed number goes through
// parseNumber; every number shown as fixed-point text goes through fixedText.

#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vek1 {

// Nearest integer, halves to even. NaN gives 0; values beyond the int range are clamped first,
// because converting an out-of-range or NaN float to int is undefined behaviour. Inline: every
// drawn pixel goes through it.
inline int roundHalfEven(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (x <= static_cast<double>(INT_MIN)) return INT_MIN;
  // nearbyint honours the current rounding mode, which nobody in this program changes from
  // round-to-nearest-even.
  return static_cast<int>(std::nearbyint(x));
}

// Stores a wide intermediate as a single. Finite values beyond the single range saturate at the
// largest single instead of becoming infinite, so finite input keeps finite output.
inline float toSingle(double x) {
  constexpr double kMaxSingle = 3.4028234663852886e38;
  if (x > kMaxSingle) return static_cast<float>(kMaxSingle);
  if (x < -kMaxSingle) return static_cast<float>(-kMaxSingle);
  return static_cast<float>(x);
}

// Fixed-point text with `decimals` decimals, padded on the left with blanks to at least `width`
// characters and never cut. Independent of the process locale (always a '.').
std::string fixedText(double x, int width, int decimals);

// Lenient conversion of typed text: leading blanks are skipped, then the longest well-formed
// prefix [sign] digits [. digits] [e [sign] digits] is converted; text with no such prefix gives 0.
// The result is always finite (overflow saturates at the largest double). Locale independent.
double parseNumber(std::string_view text);

// Strict conversion for command lines: the whole text must be one well-formed finite number.
std::optional<double> parseNumberStrict(std::string_view text);

// A comma-separated list of strict numbers, each with blanks or tabs around it allowed
// ("1.6, 0.8,-0.8"); none when an item is empty or not a number.
std::optional<std::vector<double>> parseNumberList(std::string_view text);

// Shortest text that reads back as the same single (9 significant digits), locale independent.
std::string singleText(float x);

}  // namespace vek1
