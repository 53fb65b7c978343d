#include "cli_sweep_text.h"

#include <cmath>
#include <ostream>
#include <string>

#include "numbers.h"
#include "pivot_names.h"

namespace vek1::cli {

namespace {

using Named = std::pair<const char*, float>;

// The fields before the pivots, and those after them, in column order.
std::vector<Named> leadingFields(const Workspace& ws) {
  return {{"DriverAngle", ws.DriverAngle}, {"ReverseArmPos", ws.ReverseArmPos}};
}
std::vector<Named> trailingFields(const Workspace& ws) {
  std::vector<Named> fields = {{"ReverseArmAngle", ws.ReverseArmAngle},
                               {"ValveLeverAngle", ws.ValveLeverAngle},
                               {"PistonPos", ws.PistonPos},
                               {"FrontSteamOpen", ws.FrontSteamOpen},
                               {"FrontExhOpen", ws.FrontExhOpen},
                               {"RearSteamOpen", ws.RearSteamOpen},
                               {"RearExhOpen", ws.RearExhOpen}};
  for (const Named& port : portFields(ws)) fields.push_back(port);
  fields.push_back({"Centre", ws.RevArmPositions[0]});
  return fields;
}

// A single as JSON: its shortest exact text, or null for a value JSON has no number for.
std::string jsonNumber(float x) {
  return std::isfinite(x) ? singleText(x) : "null";
}

void csvRow(std::ostream& out, const Workspace& ws, bool error) {
  for (const auto& [name, value] : leadingFields(ws)) out << singleText(value) << ',';
  for (int p : kSweepPivots)
    out << singleText(ws.Pivots.H[p]) << ',' << singleText(ws.Pivots.V[p]) << ',';
  for (const auto& [name, value] : trailingFields(ws)) out << singleText(value) << ',';
  out << (error ? "true" : "false") << '\n';
}

void jsonRow(std::ostream& out, const Workspace& ws, bool error) {
  out << '{';
  for (const auto& [name, value] : leadingFields(ws))
    out << '"' << name << "\": " << jsonNumber(value) << ", ";
  for (int p : kSweepPivots)
    out << '"' << pivotName(p) << "\": {\"H\": " << jsonNumber(ws.Pivots.H[p])
        << ", \"V\": " << jsonNumber(ws.Pivots.V[p]) << "}, ";
  for (const auto& [name, value] : trailingFields(ws))
    out << '"' << name << "\": " << jsonNumber(value) << ", ";
  out << "\"Error\": " << (error ? "true" : "false") << '}';
}

}  // namespace

std::vector<std::pair<const char*, float>> poseFields(const Workspace& ws) {
  std::vector<Named> fields = leadingFields(ws);
  for (const Named& field : trailingFields(ws)) fields.push_back(field);
  return fields;
}

std::vector<std::pair<const char*, float>> portFields(const Workspace& ws) {
  const PortConstants& p = ws.Ports;
  return {{"FrontSteamEdge", p.FrontSteamEdge},
          {"FrontPortFull", p.FrontPortFull},
          {"FrontExhEdge", p.FrontExhEdge},
          {"RearSteamEdge", p.RearSteamEdge},
          {"RearPortFull", p.RearPortFull},
          {"RearExhEdge", p.RearExhEdge},
          {"ValveDisplacement", p.ValveDisplacement},
          {"RearOpenJoint", p.RearOpenJoint},
          {"FrontOpenJoint", p.FrontOpenJoint},
          {"FrontSteamLap", p.FrontSteamLap},
          {"RearSteamLap", p.RearSteamLap},
          {"FrontExhLap", p.FrontExhLap},
          {"RearExhLap", p.RearExhLap}};
}

SweepWriter::SweepWriter(std::ostream& out, TableFormat format, const Workspace& ws)
    : out_(out), format_(format) {
  if (format_ == TableFormat::Json) {
    out_ << "{\"Rows\": [";
    return;
  }
  for (const auto& [name, value] : leadingFields(ws)) out_ << name << ',';
  for (int p : kSweepPivots) out_ << pivotName(p) << "_H," << pivotName(p) << "_V,";
  for (const auto& [name, value] : trailingFields(ws)) out_ << name << ',';
  out_ << "Error\n";
}

void SweepWriter::row(const Workspace& ws, bool error) {
  if (format_ == TableFormat::Csv) {
    csvRow(out_, ws, error);
    return;
  }
  out_ << (first_ ? "\n  " : ",\n  ");
  first_ = false;
  jsonRow(out_, ws, error);
}

void SweepWriter::finish() {
  if (format_ == TableFormat::Json) out_ << (first_ ? "]}\n" : "\n]}\n");
}

}  // namespace vek1::cli
