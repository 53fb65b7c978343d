// A tuning run's budget: the factory set, the suggested four dimensions, equal cut-offs over the
// forward notches, in under 2 s at any bounds, so that Run answers while the user still waits
// for it. Arguments: the bounds in percent, and whether the design limits are kept; the counters
// give the largest front/rear gap reached and the sets tried.
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
    settings.Vary.push_back(vek1::defaultTuneVariable(ws, id, static_cast<double>(state.range(0))));
  settings.Notches = vek1::defaultTuneNotches(ws);
  settings.Limits.Enabled = state.range(1) != 0;
  int evaluations = 0;
  double gap = 0.0;
  for (auto _ : state) {
    const vek1::TuneResult r = vek1::runTuneSearch(ws, settings);
    evaluations = r.Evaluations;
    gap = r.After.Goals.MaxCutOffDiff.value_or(-1.0);
    benchmark::DoNotOptimize(r.Values.data());
  }
  state.counters["evaluations"] = evaluations;
  state.counters["largest_gap_pct"] = gap;
}
BENCHMARK(BM_TuneFactory)
    ->ArgsProduct({{5, 10, 20, 50}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
