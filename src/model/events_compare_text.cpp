#include "events_compare_text.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "numbers.h"
#include "valve_events_text.h"

namespace vek1 {

namespace {

int decimalsOf(const FigureDifference& f) {
  return f.Unit == FigureUnit::Length ? kLengthDecimals : kAngleDecimals;
}

std::string number(const std::optional<double>& x, int decimals, const char* none) {
  return x ? fixedText(*x, 0, decimals) : none;
}

// A set's name as a JSON string: names come from file names, which may hold quotes, back
// slashes or control characters.
std::string jsonString(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + '"';
}

// A CSV field: quoted when it holds a comma or a quote.
std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + '"';
}

void jsonFigures(std::ostream& out, const std::vector<FigureDifference>& figures) {
  out << '{';
  bool first = true;
  for (const FigureDifference& f : figures) {
    const int d = decimalsOf(f);
    out << (first ? "" : ", ") << jsonString(f.Name) << ": {\"Working\": "
        << number(f.Working, d, "null") << ", \"Reference\": " << number(f.Reference, d, "null")
        << ", \"Difference\": " << number(f.Difference, d, "null");
    if (!f.Working) out << ", \"WorkingMissing\": " << jsonString(f.WorkingMissing);
    if (!f.Reference) out << ", \"ReferenceMissing\": " << jsonString(f.ReferenceMissing);
    if (f.Shift) out << ", \"Shift\": " << fixedText(*f.Shift, 0, kAngleDecimals);
    out << '}';
    first = false;
  }
  out << '}';
}

std::string withoutFinalNewline(std::string s) {
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

std::string padded(std::string s, size_t width) {
  if (s.size() < width) s.insert(0, width - s.size(), ' ');
  return s;
}

}  // namespace

std::string missingNote(const FigureDifference& f) {
  std::string note;
  if (!f.Working) note = "working set: " + f.WorkingMissing;
  if (!f.Reference) note += (note.empty() ? "" : "; ") + std::string("reference: ") + f.ReferenceMissing;
  return note;
}

std::string eventsComparisonJson(const ComparedEvents& c, const std::string& workingName,
                                 const std::string& referenceName) {
  std::ostringstream out;
  out << "{\"Working\": {\"Name\": " << jsonString(workingName)
      << ", \"Events\": " << withoutFinalNewline(valveEventsJson(c.Working)) << "},\n"
      << "\"Reference\": {\"Name\": " << jsonString(referenceName)
      << ", \"Events\": " << withoutFinalNewline(valveEventsJson(c.Reference)) << "},\n"
      << "\"Differences\": [";
  bool first = true;
  for (const NotchComparison& n : c.Differences.Notches) {
    out << (first ? "\n  " : ",\n  ") << "{\"Offset\": " << fixedText(n.Offset, 0, kLengthDecimals)
        << ",\n   \"Notch\": ";
    jsonFigures(out, n.Notch);
    out << ",\n   \"Front\": ";
    jsonFigures(out, n.Front);
    out << ",\n   \"Rear\": ";
    jsonFigures(out, n.Rear);
    out << '}';
    first = false;
  }
  out << "\n]}\n";
  return out.str();
}

std::string eventsComparisonCsv(const ComparedEvents& c) {
  std::ostringstream out;
  out << "Offset,End,Figure,Working,Reference,Difference,Shift,Note\n";
  for (const NotchComparison& n : c.Differences.Notches) {
    const std::string offset = fixedText(n.Offset, 0, kLengthDecimals);
    for (const auto& [end, figures] :
         {std::pair<const char*, const std::vector<FigureDifference>&>{"Notch", n.Notch},
          std::pair<const char*, const std::vector<FigureDifference>&>{"Front", n.Front},
          std::pair<const char*, const std::vector<FigureDifference>&>{"Rear", n.Rear}})
      for (const FigureDifference& f : figures) {
        const int d = decimalsOf(f);
        out << offset << ',' << end << ',' << f.Name << ',' << number(f.Working, d, "") << ','
            << number(f.Reference, d, "") << ',' << number(f.Difference, d, "") << ','
            << number(f.Shift, kAngleDecimals, "") << ',' << csvField(missingNote(f)) << '\n';
      }
  }
  return out.str();
}

std::string eventsComparisonText(const ComparedEvents& c, const std::string& workingName,
                                 const std::string& referenceName) {
  std::ostringstream out;
  out << "working set: " << workingName << "\nreference:   " << referenceName
      << "\ndifference:  working minus reference\n";
  for (const NotchComparison& n : c.Differences.Notches) {
    out << "\nnotch " << (n.Offset >= 0.0 ? "+" : "") << fixedText(n.Offset, 0, 3) << '\n'
        << "  end   figure                     working   reference  difference\n";
    for (const auto& [end, figures] :
         {std::pair<const char*, const std::vector<FigureDifference>&>{"notch", n.Notch},
          std::pair<const char*, const std::vector<FigureDifference>&>{"front", n.Front},
          std::pair<const char*, const std::vector<FigureDifference>&>{"rear", n.Rear}})
      for (const FigureDifference& f : figures) {
        const int d = f.Unit == FigureUnit::Length ? 4 : 3;
        std::string name = f.Name;
        name.resize(std::max<size_t>(name.size(), 24), ' ');
        std::string diff = number(f.Difference, d, "-");
        if (f.Difference && *f.Difference >= 0.0) diff.insert(0, "+");
        out << "  " << end << std::string(6 - std::string(end).size(), ' ') << name
            << padded(number(f.Working, d, "-"), 10) << padded(number(f.Reference, d, "-"), 12)
            << padded(diff, 12);
        const std::string note = missingNote(f);
        if (!note.empty()) out << "  (" << note << ')';
        out << '\n';
      }
  }
  return out.str();
}

}  // namespace vek1
