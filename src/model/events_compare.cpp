#include "events_compare.h"

#include <cmath>

namespace vek1 {

namespace {

constexpr const char* kOutOfReach = "out of reach";
constexpr const char* kLocks = "falls where the linkage cannot close";

// One set's side of a figure: its value, or why it has none.
struct Side {
  std::optional<double> value;
  std::string missing;
};

Side valueOf(const NotchEvents& n, double x) {
  if (n.OutOfReach) return {std::nullopt, kOutOfReach};
  // A value that is not a number is no figure to subtract; the solver keeps its outputs finite,
  // so this is a damaged input, said as such rather than carried into a NaN difference.
  if (!std::isfinite(x)) return {std::nullopt, "not a number"};
  return {x, ""};
}

std::string eventMissing(const NotchEvents& n, EdgeCycle edge) {
  if (n.OutOfReach) return kOutOfReach;
  return edge == EdgeCycle::Cycles ? kLocks : std::string(edgeCycleText(edge));
}

FigureDifference pair(std::string name, FigureUnit unit, Side working, Side reference) {
  FigureDifference d;
  d.Name = std::move(name);
  d.Unit = unit;
  d.Working = working.value;
  d.Reference = reference.value;
  d.WorkingMissing = std::move(working.missing);
  d.ReferenceMissing = std::move(reference.missing);
  if (d.Working && d.Reference) d.Difference = *d.Working - *d.Reference;
  return d;
}

struct EndOf {
  const NotchEvents& notch;
  const EndEvents& end;
};

void addEvent(std::vector<FigureDifference>& out, const char* name,
              const std::optional<EventPoint> EndEvents::*event, EdgeCycle EndEvents::*edge,
              EndOf w, EndOf r) {
  const std::optional<EventPoint>& we = w.end.*event;
  const std::optional<EventPoint>& re = r.end.*event;
  auto side = [edge](EndOf e, const std::optional<EventPoint>& p, double EventPoint::*field) {
    if (e.notch.OutOfReach || !p) return Side{std::nullopt, eventMissing(e.notch, e.end.*edge)};
    return valueOf(e.notch, (*p).*field);
  };
  std::optional<double> shift;
  if (!w.notch.OutOfReach && !r.notch.OutOfReach && we && re) {
    const double s = percentFromDeadCentre(*we) - percentFromDeadCentre(*re);
    if (std::isfinite(s)) shift = s;
  }
  const std::string base(name);
  out.push_back(pair(base + ".CrankAngle", FigureUnit::Degrees,
                     side(w, we, &EventPoint::CrankAngle), side(r, re, &EventPoint::CrankAngle)));
  out.back().Shift = shift;
  out.push_back(pair(base + ".Stroke", FigureUnit::StrokePercent, side(w, we, &EventPoint::Stroke),
                     side(r, re, &EventPoint::Stroke)));
  out.back().Shift = shift;
}

std::vector<FigureDifference> compareEnds(EndOf w, EndOf r) {
  std::vector<FigureDifference> out;
  auto length = [&](const char* name, double EndEvents::*field) {
    out.push_back(pair(name, FigureUnit::Length, valueOf(w.notch, w.end.*field),
                       valueOf(r.notch, r.end.*field)));
  };
  length("Lead", &EndEvents::Lead);
  addEvent(out, "Admission", &EndEvents::Admission, &EndEvents::SteamEdge, w, r);
  addEvent(out, "CutOff", &EndEvents::CutOff, &EndEvents::SteamEdge, w, r);
  addEvent(out, "Release", &EndEvents::Release, &EndEvents::ExhaustEdge, w, r);
  addEvent(out, "Compression", &EndEvents::Compression, &EndEvents::ExhaustEdge, w, r);
  length("SteamLap", &EndEvents::SteamLap);
  length("ExhaustLap", &EndEvents::ExhaustLap);
  length("MaxSteamOpening", &EndEvents::MaxSteamOpening);
  length("MaxExhaustOpening", &EndEvents::MaxExhaustOpening);
  length("EffectiveSteamOpening", &EndEvents::EffectiveSteamOpening);
  length("EffectiveExhaustOpening", &EndEvents::EffectiveExhaustOpening);
  return out;
}

}  // namespace

bool FigureDifference::exceeds(double strokePercentTolerance, double lengthTolerance) const {
  if (inOnlyOne()) return true;
  if (!Difference) return false;
  if (Shift) return std::fabs(*Shift) > strokePercentTolerance;
  switch (Unit) {
    case FigureUnit::Length:
      return std::fabs(*Difference) > lengthTolerance;
    case FigureUnit::StrokePercent:
      return std::fabs(*Difference) > strokePercentTolerance;
    case FigureUnit::Degrees:
      break;
  }
  return false;
}

EventsComparison compareEventsTables(const ValveEventsTable& working,
                                     const ValveEventsTable& reference) {
  EventsComparison c;
  const size_t count = std::min(working.Notches.size(), reference.Notches.size());
  for (size_t i = 0; i < count; ++i) {
    const NotchEvents& w = working.Notches[i];
    const NotchEvents& r = reference.Notches[i];
    NotchComparison n;
    n.Offset = w.Offset;
    n.Notch.push_back(pair("ValveTravel", FigureUnit::Length, valueOf(w, w.ValveTravel),
                           valueOf(r, r.ValveTravel)));
    n.Notch.push_back(
        pair("DieSlip", FigureUnit::Length, valueOf(w, w.DieSlip), valueOf(r, r.DieSlip)));
    n.Notch.push_back(pair("ClosureMargin.Degrees", FigureUnit::Degrees,
                           valueOf(w, w.ClosureMargin.Degrees),
                           valueOf(r, r.ClosureMargin.Degrees)));
    n.Front = compareEnds({w, w.Front}, {r, r.Front});
    n.Rear = compareEnds({w, w.Rear}, {r, r.Rear});
    c.Notches.push_back(std::move(n));
  }
  return c;
}

const FigureDifference* findFigure(const NotchComparison& notch, const std::string& end,
                                   const std::string& name) {
  const std::vector<FigureDifference>* figures = end == "Notch"   ? &notch.Notch
                                                 : end == "Front" ? &notch.Front
                                                 : end == "Rear"  ? &notch.Rear
                                                                  : nullptr;
  if (!figures) return nullptr;
  for (const FigureDifference& f : *figures)
    if (f.Name == name) return &f;
  return nullptr;
}

ComparedEvents compareValveEvents(const GearSet& working, const GearSet& reference,
                                  const std::vector<double>* offsets) {
  ComparedEvents out;
  const std::vector<double> notches = offsets ? *offsets : DefaultNotchOffsets(working);
  out.Working = ComputeValveEvents(working, notches);
  out.Reference = ComputeValveEvents(reference, notches);
  out.Differences = compareEventsTables(out.Working, out.Reference);
  return out;
}

}  // namespace vek1
