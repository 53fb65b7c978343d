// The pivot data table's budget: the whole table at the smallest step (0.01 degree, about 36 000
// solved and formatted lines) in under 100 ms, since it is built inside the window's activation.
#include <benchmark/benchmark.h>

#include "dimensions.h"
#include "pivot_table.h"
#include "workspace.h"

namespace {

void BM_PivotDataTable(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.ReverseArmPos = ws.RevArmPositions[2];  // full forward gear
  ws.SelectedStep = 0.01f;
  for (int k = 1; k <= 6; ++k) ws.PivotDataRows[k].Index = static_cast<float>(k + 1);
  for (auto _ : state) {
    std::string text = vek1::BuildPivotDataTable(ws, "01/02/2024", "10:11:12");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_PivotDataTable)->Unit(benchmark::kMillisecond);

}  // namespace
