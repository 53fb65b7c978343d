#include "pivot_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "numbers.h"
#include "pivot_names.h"
#include "solver.h"

namespace vek1 {

void appendFixedText(std::string& out, float x, int width, int decimals) {
  // Fast path: a single has a 24-bit significand, so x times 10^decimals (at most 10 bits for
  // up to 3 decimals) is exact in a double, and rounding that product half-to-even is the same
  // correctly rounded result to_chars gives. Only the digits are left to write.
  constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
  if (decimals >= 0 && decimals <= 3 && std::fabs(x) < 1e9f) {
    const double scaled = std::nearbyint(std::fabs(static_cast<double>(x)) * kScale[decimals]);
    auto n = static_cast<unsigned long long>(scaled);
    char buffer[32];
    char* p = buffer + sizeof buffer;
    for (int d = 0; d < decimals; ++d, n /= 10) *--p = static_cast<char>('0' + n % 10);
    if (decimals > 0) *--p = '.';
    do {
      *--p = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    if (std::signbit(x)) *--p = '-';  // to_chars keeps the sign of a negative that rounds to 0
    const auto length = static_cast<int>(buffer + sizeof buffer - p);
    if (length < width) out.append(width - length, ' ');
    out.append(p, length);
    return;
  }
  out += fixedText(x, width, decimals);
}

namespace {

// The PivotTable entry a row shows: its stored index rounded, held to the table so a damaged
// file's index cannot read outside it.
int pivotOfRow(const PivotDataRow& row) {
  return std::clamp(roundHalfEven(row.Index), 0, kPivotCount - 1);
}

}  // namespace

std::string BuildPivotDataTable(const Workspace& ws, const std::string& date,
                                const std::string& time) {
  float step = ws.SelectedStep;
  if (!(step >= kMinTableStep)) step = kMinTableStep;  // also catches NaN
  if (step > kMaxTableStep) step = kMaxTableStep;

  std::array<int, 6> pivot{};
  for (int k = 0; k < 6; ++k) pivot[k] = pivotOfRow(ws.PivotDataRows[k + 1]);

  // A data line is 7 + 6 x 3 + 2 x 7 + 5 x 9 + 6 x 2 = about 100 characters of ordinary values.
  const size_t lines = static_cast<size_t>(360.0f / step) + 2;
  std::string out;
  out.reserve(512 + lines * 104);

  out += "Pivot Data   ";
  out += ws.DimSetName;
  out += "     ";
  out += date;
  out += "   ";
  out += time;
  out += "\n       Reverse Arm ";
  appendFixedText(out, ws.ReverseArmPos, 7, 3);
  out += "      Step Angle ";
  appendFixedText(out, step, 7, 3);
  out +=
      "\n  Driver         No.1                   No.2                   No.3                  "
      "No.4                   No.5                  No.6"
      "\n  Angle     Vert   Horz         Vert   Horz          Vert   Horz         Vert   Horz   "
      "       Vert   Horz         Vert   Horz";

  // The angle is a single that the step is added to, as the driver advances, so a step that
  // does not divide 360 exactly ends where the accumulated singles say.
  const GearDimensions gear = gearOf(ws);
  for (float angle = 0.0f; angle <= 360.0f; angle = angle + step) {
    const GearPose pose = solveGear(gear, angle, ws.ReverseArmPos);
    out += '\n';
    appendFixedText(out, angle, 7, 2);
    for (int k = 0; k < 6; ++k) {
      out += "   ";
      appendFixedText(out, pose.Pivots.V[pivot[k]], k == 0 ? 7 : 9, 3);
      out += "  ";
      appendFixedText(out, pose.Pivots.H[pivot[k]], 7, 3);
    }
  }
  return out;
}

std::vector<int> ChosenPivots(const Workspace& ws) {
  std::vector<int> chosen;
  for (int k = 1; k <= 6; ++k) {
    const PivotDataRow& row = ws.PivotDataRows[k];
    const int pivot = roundHalfEven(row.Index);  // NaN gives 0, a huge value the int limit
    if (!row.InUse || pivot < 1 || pivot >= kPivotCount) continue;
    if (std::find(chosen.begin(), chosen.end(), pivot) == chosen.end()) chosen.push_back(pivot);
  }
  return chosen;
}

std::string BuildPivotDataCsv(const Workspace& ws) {
  float step = ws.SelectedStep;
  if (!(step >= kMinTableStep)) step = kMinTableStep;
  if (step > kMaxTableStep) step = kMaxTableStep;
  const std::vector<int> pivots = ChosenPivots(ws);

  std::string out = "DriverAngle";
  for (int p : pivots) {
    const std::string name(pivotName(p));
    out += ',' + name + "_H," + name + "_V";
  }
  out += "\n";
  // The same angles as the table's lines, the step added to a single as there.
  const GearDimensions gear = gearOf(ws);
  for (float angle = 0.0f; angle <= 360.0f; angle = angle + step) {
    const GearPose pose = solveGear(gear, angle, ws.ReverseArmPos);
    out += singleText(angle);
    for (int p : pivots) {
      out += ',';
      out += singleText(pose.Pivots.H[p]);
      out += ',';
      out += singleText(pose.Pivots.V[p]);
    }
    out += "\n";
  }
  return out;
}

}  // namespace vek1
