#include "tune_figures.h"

#include "engine_performance.h"

#include "valve_events.h"

namespace vek1 {

namespace {

TuneEndFigures endFigures(const EndEvents& e) {
  TuneEndFigures f;
  // A port still open at the next dead centre admits the whole stroke.
  if (e.CutOff) f.CutOff = e.IntoReturnStroke ? 100.0 : e.CutOff->Stroke;
  f.Lead = e.Lead;
  f.TakesSteam = e.SteamEdge != EdgeCycle::NeverOpens && e.MaxSteamOpening > 0.0;
  f.SteamOpening = e.MaxSteamOpening;
  return f;
}

}  // namespace

TuneNotchFigures tuneFiguresFromEvents(const NotchEvents& n, double offset) {
  TuneNotchFigures f;
  f.Offset = offset;
  f.Error = n.Error;
  f.ClosureMargin = n.ClosureMargin.Degrees;
  f.ValveTravel = n.ValveTravel;
  f.Front = endFigures(n.Front);
  f.Rear = endFigures(n.Rear);
  return f;
}

std::vector<TuneNotchFigures> tuneNotchFigures(const GearSet& ws, std::span<const double> offsets) {
  std::vector<TuneNotchFigures> out;
  out.reserve(offsets.size());
  for (double offset : offsets) out.push_back(tuneFiguresFromEvents(ValveEvents(ws, offset), offset));
  return out;
}

void addIndicatedWork(const Workspace& ws, std::vector<TuneNotchFigures>& figures) {
  for (TuneNotchFigures& f : figures) {
    if (f.Front.Work && f.Rear.Work) continue;
    const PerformanceRow row =
        performanceAt(ws, ws.Engine, f.Offset, ws.Engine.SpeedRpm, kPerfStepsPerRev / 2);
    auto work = [](const EndPerformance& e) {
      return e.runs() ? std::optional<double>(e.Work) : std::nullopt;
    };
    f.Front.Work = work(row.Front);
    f.Rear.Work = work(row.Rear);
  }
}

std::vector<double> defaultTuneNotches(const GearSet& ws) {
  std::vector<double> out;
  for (double x : DefaultNotchOffsets(ws))
    if (x > 0.0) out.push_back(x);
  return out;
}

}  // namespace vek1
