#include "sensitivity.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dimensions.h"
#include "numbers.h"
#include "tune.h"

namespace vek1 {

namespace {

// A few thousandths of a unit: the size of the play the worn-gear study looks at, and small
// enough that an admission near dead centre, where the piston hardly moves, is still near linear.
constexpr double kFirstStep = 4e-3;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct FigureName {
  std::string_view key, label;
};
constexpr std::array<FigureName, kEventFigureCount> kFigureNames = {{
    {"Front.Lead", "F lead"},
    {"Front.Admission", "F admission"},
    {"Front.CutOff", "F cut-off"},
    {"Front.Release", "F release"},
    {"Front.Compression", "F compression"},
    {"Rear.Lead", "R lead"},
    {"Rear.Admission", "R admission"},
    {"Rear.CutOff", "R cut-off"},
    {"Rear.Release", "R release"},
    {"Rear.Compression", "R compression"},
    {"ValveTravel", "Valve travel"},
    {"ClosureMargin", "Closure margin"},
}};

// What the event finder resolves of each kind of figure: events to well under 0.001 degree
// (a few ten-thousandths of a percent of stroke near mid stroke), lengths to the rounding of
// the stored singles, the closure margin to about a ten-thousandth of a degree. A change of a
// derivative smaller than this over the step is noise, not instability.
double figureResolution(int figure) {
  if (isLengthFigure(figure)) return 2e-6;
  if (figure == kFrontAdmission || figure == kRearAdmission) return 5e-4;
  return 3e-4;
}

double eventPercent(const std::optional<EventPoint>& e) {
  return e ? percentFromDeadCentre(*e) : kNaN;
}

void endFigures(const EndEvents& e, double* out) {
  out[0] = e.Lead;
  out[1] = e.Admission ? e.Admission->CrankAngle : kNaN;
  out[2] = eventPercent(e.CutOff);
  out[3] = eventPercent(e.Release);
  out[4] = eventPercent(e.Compression);
}

EventFigures centralDifference(const MovedFigures& up, const MovedFigures& down) {
  EventFigures d{};
  const double span = up.Moved - down.Moved;
  for (int k = 0; k < kEventFigureCount; ++k) {
    const double a = up.Figures[k], b = down.Figures[k];
    d[k] = std::isfinite(a) && std::isfinite(b) && span != 0.0 ? (a - b) / span : kNaN;
  }
  return d;
}

// The figures of a copy with one dimension moved by delta.
MovedFigures movedDimension(const Workspace& base, int id, double offset, NotchHeld held,
                            float reverseArmPos, double delta) {
  Workspace ws = base;
  const float value = dimensionValue(base, id);
  const float moved = toSingle(static_cast<double>(value) + delta);
  setDimension(ws, id, moved);
  MovedFigures out;
  out.Moved = static_cast<double>(moved) - value;
  if (held == NotchHeld::AtOffset) {
    ComputeReverseArmCentre(ws);
    out.Figures = eventFigures(ValveEvents(ws, offset));
  } else {
    out.Figures = eventFigures(ValveEventsAt(ws, reverseArmPos));
  }
  return out;
}

}  // namespace

std::string_view eventFigureKey(int figure) {
  return figure >= 0 && figure < kEventFigureCount ? kFigureNames[figure].key : "";
}
std::string_view eventFigureLabel(int figure) {
  return figure >= 0 && figure < kEventFigureCount ? kFigureNames[figure].label : "";
}
int eventFigureByKey(std::string_view key) {
  for (int k = 0; k < kEventFigureCount; ++k)
    if (kFigureNames[k].key == key) return k;
  return -1;
}
bool isLengthFigure(int figure) {
  return figure == kFrontLead || figure == kRearLead || figure == kValveTravel;
}

EventFigures eventFigures(const NotchEvents& n) {
  EventFigures f;
  f.fill(kNaN);
  if (n.OutOfReach) return f;
  endFigures(n.Front, &f[kFrontLead]);
  endFigures(n.Rear, &f[kRearLead]);
  f[kValveTravel] = n.ValveTravel;
  f[kClosureMargin] = n.ClosureMargin.Degrees;
  return f;
}

FigureDerivative centralDerivative(const FiguresAfterMove& at, double firstStep) {
  FigureDerivative out;
  double h = firstStep;
  EventFigures previous = centralDifference(at(h), at(-h));
  out.PerUnit = previous;
  out.Step = h;
  for (int halving = 0; halving < kMaxHalvings; ++halving) {
    h /= 2.0;
    const EventFigures next = centralDifference(at(h), at(-h));
    bool allSettled = true;
    for (int k = 0; k < kEventFigureCount; ++k) {
      if (out.Stable[k]) continue;
      out.PerUnit[k] = next[k];
      const double a = previous[k], b = next[k];
      if (!std::isfinite(a) || !std::isfinite(b)) {
        // An event that comes and goes within the step has no derivative worth the name.
        allSettled = allSettled && !std::isfinite(a) && !std::isfinite(b);
        continue;
      }
      const double change = std::fabs(a - b);
      if (change <= 0.01 * std::fabs(b) || change <= figureResolution(k) / h)
        out.Stable[k] = true;
      else
        allSettled = false;
    }
    previous = next;
    out.Step = h;
    if (allSettled) break;
  }
  return out;
}

double firstSensitivityStep(float value) {
  return std::min(kFirstStep, 0.01 * std::max(0.1, std::fabs(static_cast<double>(value))));
}

FigureDerivative dimensionDerivative(const Workspace& ws, int id, double offset, NotchHeld held) {
  const float pos = held == NotchHeld::AtPosition ? ValveEvents(ws, offset).ReverseArmPos : 0.0f;
  return centralDerivative(
      [&](double delta) { return movedDimension(ws, id, offset, held, pos, delta); },
      firstSensitivityStep(dimensionValue(ws, id)));
}

FigureDerivative reverseArmDerivative(const Workspace& ws, double offset) {
  const float pos = ValveEvents(ws, offset).ReverseArmPos;
  return centralDerivative(
      [&](double delta) {
        const float moved = toSingle(static_cast<double>(pos) + delta);
        return MovedFigures{eventFigures(ValveEventsAt(ws, moved)),
                            static_cast<double>(moved) - pos};
      },
      firstSensitivityStep(1.0f));
}

std::vector<int> sensitivityDimensions() {
  std::vector<int> ids;
  for (int id = 1; id <= 122; ++id)
    if (isEditableDimensionId(id)) ids.push_back(id);
  return ids;
}

SensitivityTable ComputeSensitivity(const Workspace& ws, const std::vector<double>& offsets) {
  SensitivityTable table;
  const std::vector<int> ids = sensitivityDimensions();
  for (double offset : offsets) {
    SensitivityNotch notch;
    notch.Offset = offset;
    notch.Events = ValveEvents(ws, offset);
    for (int id : ids) {
      SensitivityRow row;
      row.Id = id;
      row.Value = dimensionValue(ws, id);
      if (isDrawingOnlyDimension(id) || notch.Events.OutOfReach) {
        // A notch the arm cannot reach has no figures to differentiate.
        row.DrawingOnly = isDrawingOnlyDimension(id);
        if (!row.DrawingOnly) {
          row.PerUnit.fill(kNaN);
          row.PerPercent.fill(kNaN);
        }
        row.Stable.fill(row.DrawingOnly);
      } else {
        const FigureDerivative d = dimensionDerivative(ws, id, offset, NotchHeld::AtOffset);
        row.PerUnit = d.PerUnit;
        row.Stable = d.Stable;
        for (int k = 0; k < kEventFigureCount; ++k)
          row.PerPercent[k] = d.PerUnit[k] * 0.01 * row.Value;
      }
      notch.Rows.push_back(row);
    }
    table.Notches.push_back(std::move(notch));
  }
  return table;
}

std::vector<int> rankForFigure(const SensitivityNotch& notch, int figure, bool perPercent) {
  std::vector<int> order(notch.Rows.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (figure < 0 || figure >= kEventFigureCount) return order;
  auto size = [&](int i) {
    const SensitivityRow& r = notch.Rows[static_cast<size_t>(i)];
    const double x = perPercent ? r.PerPercent[figure] : r.PerUnit[figure];
    return std::isfinite(x) ? std::fabs(x) : 0.0;
  };
  auto drawn = [&](int i) { return notch.Rows[static_cast<size_t>(i)].DrawingOnly; };
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (drawn(a) != drawn(b)) return drawn(b);
    return size(a) > size(b);
  });
  return order;
}

std::vector<int> rankForEqualCutOff(const Workspace& ws, const SensitivityTable& table,
                                    std::size_t count) {
  std::vector<std::pair<double, int>> reach;  // (largest move of the difference, id)
  for (int id : sensitivityDimensions()) {
    if (isDrawingOnlyDimension(id)) continue;
    const TuneVariable v = defaultTuneVariable(ws, id);
    const double half = 0.5 * (static_cast<double>(v.Upper) - v.Lower);
    double largest = 0.0;
    for (const SensitivityNotch& n : table.Notches)
      for (const SensitivityRow& r : n.Rows) {
        if (r.Id != id) continue;
        const double d = r.PerUnit[kFrontCutOff] - r.PerUnit[kRearCutOff];
        if (std::isfinite(d)) largest = std::max(largest, std::fabs(d) * half);
      }
    if (largest > 0.0) reach.emplace_back(largest, id);
  }
  std::stable_sort(reach.begin(), reach.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<int> ids;
  for (const auto& [move, id] : reach)
    if (ids.size() < count) ids.push_back(id);
  return ids;
}

double largestDerivative(const SensitivityTable& table, int figure) {
  double largest = 0.0;
  if (figure < 0 || figure >= kEventFigureCount) return largest;
  for (const SensitivityNotch& n : table.Notches)
    for (const SensitivityRow& r : n.Rows)
      if (std::isfinite(r.PerUnit[figure]))
        largest = std::max(largest, std::fabs(r.PerUnit[figure]));
  return largest;
}

}  // namespace vek1
