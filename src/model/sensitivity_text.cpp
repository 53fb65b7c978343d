#include "sensitivity_text.h"

#include <charconv>
#include <cmath>
#include <sstream>

#include "dimensions.h"
#include "numbers.h"

namespace vek1 {

namespace {

std::vector<bool> chosen(const std::vector<int>& figures) {
  std::vector<bool> on(kEventFigureCount, figures.empty());
  for (int k : figures)
    if (k >= 0 && k < kEventFigureCount) on[static_cast<size_t>(k)] = true;
  return on;
}

// {"Front": {"Lead": .., ...}, "Rear": {...}, "ValveTravel": .., "ClosureMargin": ..}, holding
// only the chosen figures.
std::string figuresJson(const EventFigures& f, const std::vector<bool>& on) {
  std::string out = "{";
  bool first = true;
  auto comma = [&] {
    if (!first) out += ", ";
    first = false;
  };
  for (int end = 0; end < 2; ++end) {
    const int base = end == 0 ? kFrontLead : kRearLead;
    std::string inner;
    for (int k = base; k < base + 5; ++k) {
      if (!on[static_cast<size_t>(k)]) continue;
      const std::string_view key = eventFigureKey(k);
      if (!inner.empty()) inner += ", ";
      inner += "\"" + std::string(key.substr(key.find('.') + 1)) + "\": " + significantText(f[k]);
    }
    if (inner.empty()) continue;
    comma();
    out += std::string(end == 0 ? "\"Front\": {" : "\"Rear\": {") + inner + "}";
  }
  for (int k : {kValveTravel, kClosureMargin}) {
    if (!on[static_cast<size_t>(k)]) continue;
    comma();
    out += "\"" + std::string(eventFigureKey(k)) + "\": " + significantText(f[k]);
  }
  return out + "}";
}

std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string significantText(double x) {
  if (!std::isfinite(x)) return "null";
  if (x == 0.0) return "0";
  char buffer[32];
  const auto r = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 6);
  return std::string(buffer, r.ptr);
}

std::string dimensionName(int id) {
  std::string out;
  for (char c : dimensionLabel(id)) {
    if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::string sensitivityJson(const SensitivityTable& table, const std::vector<int>& figures) {
  const std::vector<bool> on = chosen(figures);
  std::ostringstream out;
  out << "{\"Notches\": [";
  for (size_t n = 0; n < table.Notches.size(); ++n) {
    const SensitivityNotch& notch = table.Notches[n];
    out << (n ? ",\n  " : "\n  ") << "{\"Offset\": " << significantText(notch.Offset)
        << ", \"Rows\": [";
    for (size_t i = 0; i < notch.Rows.size(); ++i) {
      const SensitivityRow& r = notch.Rows[i];
      out << (i ? ",\n    " : "\n    ") << "{\"Id\": " << r.Id
          << ", \"Name\": " << jsonString(dimensionName(r.Id))
          << ", \"PerUnit\": " << figuresJson(r.PerUnit, on)
          << ", \"PerPercent\": " << figuresJson(r.PerPercent, on) << '}';
    }
    out << "]}";
  }
  out << "]}\n";
  return out.str();
}

std::string sensitivityCsv(const SensitivityTable& table, const std::vector<int>& figures) {
  const std::vector<bool> on = chosen(figures);
  std::ostringstream out;
  out << "Offset,Id,Name";
  for (const char* per : {"PerUnit.", "PerPercent."})
    for (int k = 0; k < kEventFigureCount; ++k)
      if (on[static_cast<size_t>(k)]) out << ',' << per << eventFigureKey(k);
  out << '\n';
  auto field = [](double x) { return std::isfinite(x) ? significantText(x) : std::string(); };
  for (const SensitivityNotch& notch : table.Notches)
    for (const SensitivityRow& r : notch.Rows) {
      out << significantText(notch.Offset) << ',' << r.Id << ',' << csvField(dimensionName(r.Id));
      for (const EventFigures* f : {&r.PerUnit, &r.PerPercent})
        for (int k = 0; k < kEventFigureCount; ++k)
          if (on[static_cast<size_t>(k)]) out << ',' << field((*f)[k]);
      out << '\n';
    }
  return out.str();
}

}  // namespace vek1
