// The valve events table: 19 notches, both ends, everything it reports, against the same events
// found the slow way, by a sweep of every notch at 0.01 degree.
#include <benchmark/benchmark.h>

#include "dimensions.h"
#include "events_sweep.h"
#include "valve_events.h"
#include "workspace.h"

namespace {

void BM_ValveEvents(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  for (auto _ : state) {
    vek1::ValveEventsTable table = vek1::ComputeValveEvents(ws);
    benchmark::DoNotOptimize(table.Notches.data());
  }
}
BENCHMARK(BM_ValveEvents)->Unit(benchmark::kMillisecond);

void BM_ValveEventsSweep(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  const float centre = ws.RevArmPositions[0];
  const std::vector<double> offsets = vek1::DefaultNotchOffsets(ws);
  for (auto _ : state) {
    for (double offset : offsets) {
      vek1::test::SweptNotch swept =
          vek1::test::sweepNotch(ws, vek1::toSingle(centre + offset), offset >= 0.0, 0.01, 0.01);
      benchmark::DoNotOptimize(swept.edges.data());
    }
  }
}
BENCHMARK(BM_ValveEventsSweep)->Unit(benchmark::kMillisecond);

}  // namespace
