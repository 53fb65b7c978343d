#include "numbers.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>

namespace vek1 {

std::string fixedText(double x, int width, int decimals) {
  if (decimals < 0) decimals = 0;
  std::string text;
  if (std::isnan(x)) {
    text = "NaN";
  } else if (std::isinf(x)) {
    text = x > 0 ? "+Inf" : "-Inf";
  } else {
    // The longest fixed text of a double is about 310 digits before the point.
    char buffer[400 + 64];
    const int places = decimals > 60 ? 60 : decimals;
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, places);
    text = ec == std::errc() ? std::string(buffer, end) : std::string("?");
  }
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

namespace {

// Length of the longest well-formed number at the start of `s` (no leading blanks), 0 if none.
size_t wellFormedPrefix(std::string_view s) {
  size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    size_t j = i + 1;
    size_t fraction = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++fraction;
    if (digits + fraction > 0) {
      i = j;
      digits += fraction;
    }
  }
  if (digits == 0) return 0;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    size_t exponent = 0;
    while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++exponent;
    if (exponent > 0) i = j;
  }
  return i;
}

// Converts a well-formed number (as accepted by wellFormedPrefix) to a finite double.
double convertWellFormed(std::string_view s) {
  bool negative = false;
  if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  // from_chars does not take a bare leading or trailing point in every library version, so the
  // number is rebuilt with a 0 on each side of a lone point.
  std::string body;
  body.reserve(s.size() + 2);
  for (size_t i = 0; i < s.size(); ++i) {
    const bool point = s[i] == '.';
    if (point && (i == 0)) body.push_back('0');
    body.push_back(s[i]);
    if (point && (i + 1 == s.size() || s[i + 1] == 'e' || s[i + 1] == 'E')) body.push_back('0');
  }
  double value = 0.0;
  auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  (void)end;
  if (ec == std::errc::result_out_of_range) {
    // Either far too large or far too small: decide by the exponent's sign.
    const size_t e = body.find_first_of("eE");
    const bool tiny = e != std::string::npos && e + 1 < body.size() && body[e + 1] == '-';
    value = tiny ? 0.0 : DBL_MAX;
  } else if (ec != std::errc()) {
    value = 0.0;
  }
  if (!std::isfinite(value)) value = DBL_MAX;
  return negative ? -value : value;
}

}  // namespace

double parseNumber(std::string_view text) {
  size_t start = 0;
  while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
  text.remove_prefix(start);
  const size_t n = wellFormedPrefix(text);
  if (n == 0) return 0.0;
  return convertWellFormed(text.substr(0, n));
}

std::optional<double> parseNumberStrict(std::string_view text) {
  if (text.empty()) return std::nullopt;
  const size_t n = wellFormedPrefix(text);
  if (n == 0 || n != text.size()) return std::nullopt;
  const double value = convertWellFormed(text);
  if (std::fabs(value) == DBL_MAX) return std::nullopt;
  return value;
}

std::optional<std::vector<double>> parseNumberList(std::string_view text) {
  std::vector<double> out;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    std::string_view item =
        text.substr(start, comma == std::string_view::npos ? text.npos : comma - start);
    const std::size_t a = item.find_first_not_of(" \t"), b = item.find_last_not_of(" \t");
    if (a == std::string_view::npos) return std::nullopt;
    const std::optional<double> x = parseNumberStrict(item.substr(a, b - a + 1));
    if (!x) return std::nullopt;
    out.push_back(*x);
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return out;
}

std::string singleText(float x) {
  if (std::isnan(x)) return "nan";
  if (std::isinf(x)) return x > 0 ? "inf" : "-inf";
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(x),
                                 std::chars_format::general, 9);
  return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

}  // namespace vek1
