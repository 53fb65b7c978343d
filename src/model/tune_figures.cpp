#include "tune_figures.h"

#include "valve_events.h"

namespace vek1 {

namespace {

TuneEndFigures endFigures(const EndEvents& e) {
  TuneEndFigures f;
  // A port still open at the next dead centre admits the whole stroke.
  if (e.CutOff) f.CutOff = e.IntoReturnStroke ? 100.0 : e.CutOff->Stroke;
  f.Lead = e.Lead;
  return f;
}

}  // namespace

std::vector<TuneNotchFigures> tuneNotchFigures(const Workspace& ws,
                                               std::span<const double> offsets) {
  std::vector<TuneNotchFigures> out;
  out.reserve(offsets.size());
  for (double offset : offsets) {
    const NotchEvents n = ValveEvents(ws, offset);
    TuneNotchFigures f;
    f.Offset = offset;
    f.Error = n.Error;
    f.ClosureMargin = n.ClosureMargin.Degrees;
    f.Front = endFigures(n.Front);
    f.Rear = endFigures(n.Rear);
    out.push_back(f);
  }
  return out;
}

std::vector<double> defaultTuneNotches(const Workspace& ws) {
  std::vector<double> out;
  for (double x : DefaultNotchOffsets(ws))
    if (x > 0.0) out.push_back(x);
  return out;
}

}  // namespace vek1
