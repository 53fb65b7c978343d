// A tuning run's budget: the search the README shows (the factory set, the suggested four
// dimensions, equal cut-offs over the forward notches) in under 2 s, so that Run answers while
// the user still waits for it.
#include <benchmark/benchmark.h>

#include "dimensions.h"
#include "tune_figures.h"
#include "tune_search.h"
#include "workspace.h"

namespace {

void BM_TuneFactory(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  vek1::TuneSettings settings;
  for (int id : vek1::kSuggestedTuneDimensions)
    settings.Vary.push_back(vek1::defaultTuneVariable(ws, id));
  settings.Notches = vek1::defaultTuneNotches(ws);
  int evaluations = 0;
  for (auto _ : state) {
    const vek1::TuneResult r = vek1::runTuneSearch(ws, settings);
    evaluations = r.Evaluations;
    benchmark::DoNotOptimize(r.Values.data());
  }
  state.counters["evaluations"] = evaluations;
}
BENCHMARK(BM_TuneFactory)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
