#include "valve_events_text.h"

#include <array>
#include <cmath>
#include <optional>
#include <sstream>
#include <utility>

#include "numbers.h"

namespace vek1 {

namespace {

// Fixed-point text, or `none` for a value that is not a number a reader could use.
std::string number(double x, int decimals, const char* none) {
  return std::isfinite(x) ? fixedText(x, 0, decimals) : none;
}
std::string angle(double x, const char* none) {
  return number(x, kAngleDecimals, none);
}
std::string length(double x, const char* none) {
  return number(x, kLengthDecimals, none);
}
const char* boolText(bool b) {
  return b ? "true" : "false";
}

struct NamedEvent {
  const char* name;
  const std::optional<EventPoint>& point;
};
std::array<NamedEvent, 4> eventsOf(const EndEvents& e) {
  return {{{"Admission", e.Admission},
           {"CutOff", e.CutOff},
           {"Release", e.Release},
           {"Compression", e.Compression}}};
}

std::string rangesJson(const std::vector<AngleRange>& ranges) {
  std::string out = "[";
  for (size_t k = 0; k < ranges.size(); ++k)
    out += (k ? ", [" : "[") + angle(ranges[k].From, "null") + ", " + angle(ranges[k].To, "null") +
           ']';
  return out + ']';
}

void jsonEnd(std::ostream& out, const EndEvents& e) {
  out << "{\"Lead\": " << length(e.Lead, "null");
  for (const auto& [name, point] : eventsOf(e)) {
    out << ", \"" << name << "\": ";
    if (point)
      out << "{\"CrankAngle\": " << angle(point->CrankAngle, "null")
          << ", \"Stroke\": " << angle(point->Stroke, "null") << '}';
    else
      out << "null";
  }
  out << ", \"SteamEdge\": \"" << edgeCycleText(e.SteamEdge) << "\", \"ExhaustEdge\": \""
      << edgeCycleText(e.ExhaustEdge) << "\", \"IntoReturnStroke\": " << boolText(e.IntoReturnStroke)
      << ", \"BlowThrough\": " << rangesJson(e.BlowThrough)
      << ", \"SteamLap\": " << length(e.SteamLap, "null")
      << ", \"ExhaustLap\": " << length(e.ExhaustLap, "null")
      << ", \"MaxSteamOpening\": " << length(e.MaxSteamOpening, "null")
      << ", \"MaxExhaustOpening\": " << length(e.MaxExhaustOpening, "null")
      << ", \"EffectiveSteamOpening\": " << length(e.EffectiveSteamOpening, "null")
      << ", \"EffectiveExhaustOpening\": " << length(e.EffectiveExhaustOpening, "null")
      << ", \"OpensFully\": " << boolText(e.OpensFully)
      << ", \"ExhaustOpensFully\": " << boolText(e.ExhaustOpensFully) << '}';
}

}  // namespace

std::string rangesText(const std::vector<AngleRange>& ranges) {
  std::string text;
  for (const AngleRange& r : ranges) {
    if (!text.empty()) text += ' ';
    text += number(r.From, 1, "?") + "-" + number(r.To, 1, "?");
  }
  return text;
}

std::string valveEventsJson(const ValveEventsTable& table) {
  std::ostringstream out;
  out << "{\"Centre\": " << length(table.Centre, "null") << ", \"Notches\": [";
  bool first = true;
  for (const NotchEvents& n : table.Notches) {
    out << (first ? "\n  " : ",\n  ");
    first = false;
    out << "{\"Offset\": " << length(n.Offset, "null")
        << ", \"ReverseArmPos\": " << length(n.ReverseArmPos, "null") << ", \"Direction\": \""
        << n.Direction << "\", \"OutOfReach\": " << boolText(n.OutOfReach)
        << ", \"BeyondFullGear\": " << boolText(n.BeyondFullGear)
        << ", \"Error\": " << boolText(n.Error) << ", \"LockRanges\": " << rangesJson(n.ErrorRanges)
        << ", \"ValveTravel\": " << length(n.ValveTravel, "null")
        << ", \"DieSlip\": " << length(n.DieSlip, "null") << ", \"ClosureMargin\": {\"Joint\": \""
        << jointName(n.ClosureMargin.Joint)
        << "\", \"Degrees\": " << angle(n.ClosureMargin.Degrees, "null") << "},\n   \"Front\": ";
    jsonEnd(out, n.Front);
    out << ",\n   \"Rear\": ";
    jsonEnd(out, n.Rear);
    out << '}';
  }
  out << "\n]}\n";
  return out.str();
}

std::string valveEventsCsv(const ValveEventsTable& table) {
  std::ostringstream out;
  out << "Offset,ReverseArmPos,Direction,OutOfReach,BeyondFullGear,Error,LockRanges,ValveTravel,"
         "DieSlip,ClosureMargin.Joint,ClosureMargin.Degrees,End,Lead";
  for (const char* name : {"Admission", "CutOff", "Release", "Compression"})
    out << ',' << name << ".CrankAngle," << name << ".Stroke";
  out << ",SteamEdge,ExhaustEdge,IntoReturnStroke,BlowThrough,SteamLap,ExhaustLap,"
         "MaxSteamOpening,MaxExhaustOpening,EffectiveSteamOpening,EffectiveExhaustOpening,"
         "OpensFully,ExhaustOpensFully\n";
  for (const NotchEvents& n : table.Notches) {
    for (const auto& [endName, e] : {std::pair<const char*, const EndEvents&>{"Front", n.Front},
                                     std::pair<const char*, const EndEvents&>{"Rear", n.Rear}}) {
      out << length(n.Offset, "") << ',' << length(n.ReverseArmPos, "") << ',' << n.Direction << ','
          << boolText(n.OutOfReach) << ',' << boolText(n.BeyondFullGear) << ','
          << boolText(n.Error) << ',' << rangesText(n.ErrorRanges) << ','
          << length(n.ValveTravel, "") << ',' << length(n.DieSlip, "") << ','
          << jointName(n.ClosureMargin.Joint) << ',' << angle(n.ClosureMargin.Degrees, "") << ','
          << endName << ',' << length(e.Lead, "");
      for (const auto& [name, point] : eventsOf(e)) {
        if (point)
          out << ',' << angle(point->CrankAngle, "") << ',' << angle(point->Stroke, "");
        else
          out << ",,";
      }
      out << ',' << edgeCycleText(e.SteamEdge) << ',' << edgeCycleText(e.ExhaustEdge) << ','
          << boolText(e.IntoReturnStroke) << ',' << rangesText(e.BlowThrough) << ','
          << length(e.SteamLap, "") << ',' << length(e.ExhaustLap, "") << ','
          << length(e.MaxSteamOpening, "") << ',' << length(e.MaxExhaustOpening, "") << ','
          << length(e.EffectiveSteamOpening, "") << ',' << length(e.EffectiveExhaustOpening, "")
          << ',' << boolText(e.OpensFully) << ',' << boolText(e.ExhaustOpensFully) << '\n';
    }
  }
  return out.str();
}

}  // namespace vek1
