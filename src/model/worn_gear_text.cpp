#include "worn_gear_text.h"

#include <cmath>
#include <sstream>

#include "sensitivity_text.h"

namespace vek1 {

namespace {

constexpr std::array<const char*, 4> kEventNames = {"Lead", "CutOff", "Release", "Compression"};

std::string envelopeJson(const WearEnvelope& e) {
  if (!std::isfinite(e.Nominal)) return "null";
  return "{\"Min\": " + significantText(e.Min) + ", \"Max\": " + significantText(e.Max) +
         ", \"Spread\": " + significantText(e.Spread()) + "}";
}

std::string field(double x) { return std::isfinite(x) ? significantText(x) : std::string(); }

}  // namespace

std::string wornGearJson(const WearStudy& study) {
  std::ostringstream out;
  out << "{\"Notches\": [";
  for (size_t i = 0; i < study.Notches.size(); ++i) {
    const WearNotch& n = study.Notches[i];
    out << (i ? ",\n  " : "\n  ") << "{\"Offset\": " << significantText(n.Offset);
    for (int end = 0; end < 2; ++end) {
      out << (end == 0 ? ", \"Front\": {" : ", \"Rear\": {");
      const int base = end == 0 ? kWearFrontLead : kWearRearLead;
      for (int k = 0; k < 4; ++k)
        out << (k ? ", \"" : "\"") << kEventNames[k] << "\": " << envelopeJson(n.Envelope[base + k]);
      out << '}';
    }
    out << ", \"LostMotion\": " << significantText(n.LostMotion) << ", \"Joints\": [";
    for (size_t j = 0; j < n.Joints.size(); ++j) {
      const WearJointShare& s = n.Joints[j];
      out << (j ? ", " : "") << "{\"Name\": \"" << wearJointInfo(s.Joint).Name
          << "\", \"Clearance\": " << significantText(s.Clearance)
          << ", \"Share\": " << significantText(s.Share) << '}';
    }
    out << "]}";
  }
  out << "]}\n";
  return out.str();
}

std::string wornGearCsv(const WearStudy& study) {
  std::ostringstream out;
  out << "Offset";
  for (const char* end : {"Front.", "Rear."})
    for (const char* event : kEventNames)
      for (const char* part : {".Min", ".Max", ".Spread"}) out << ',' << end << event << part;
  out << ",LostMotion";
  for (int j = 0; j < kWearJointCount; ++j)
    for (const char* part : {".Clearance", ".Share"})
      out << ",Joint." << wearJointInfo(j).Key << part;
  out << '\n';
  for (const WearNotch& n : study.Notches) {
    out << significantText(n.Offset);
    for (int k = kWearFrontLead; k <= kWearRearCompression; ++k) {
      const WearEnvelope& e = n.Envelope[k];
      const bool there = std::isfinite(e.Nominal);
      out << ',' << (there ? field(e.Min) : "") << ',' << (there ? field(e.Max) : "") << ','
          << (there ? field(e.Spread()) : "");
    }
    out << ',' << field(n.LostMotion);
    for (const WearJointShare& s : n.Joints)
      out << ',' << field(s.Clearance) << ',' << field(s.Share);
    out << '\n';
  }
  return out.str();
}

}  // namespace vek1
