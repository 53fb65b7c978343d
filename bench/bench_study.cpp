// The two studies of a set over the forward notches (9 on the factory set): the sensitivity of
// every event to every dimension, and the worn gear at the default clearance.
#include <benchmark/benchmark.h>

#include "dimensions.h"
#include "sensitivity.h"
#include "tune_figures.h"
#include "workspace.h"
#include "worn_gear.h"

namespace {

void BM_SensitivityTable(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  const std::vector<double> notches = vek1::defaultTuneNotches(ws);
  for (auto _ : state) {
    vek1::SensitivityTable table = vek1::ComputeSensitivity(ws, notches);
    benchmark::DoNotOptimize(table.Notches.data());
  }
  state.counters["notches"] = static_cast<double>(notches.size());
}
BENCHMARK(BM_SensitivityTable)->Unit(benchmark::kMillisecond);

void BM_WornGear(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  const std::vector<double> notches = vek1::defaultTuneNotches(ws);
  for (auto _ : state) {
    vek1::WearStudy study = vek1::ComputeWornGear(ws, notches, vek1::defaultClearances());
    benchmark::DoNotOptimize(study.Notches.data());
  }
  state.counters["notches"] = static_cast<double>(notches.size());
}
BENCHMARK(BM_WornGear)->Unit(benchmark::kMillisecond);

}  // namespace
