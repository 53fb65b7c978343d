// The engine performance budgets: a table of the nine forward notches at one speed, the whole
// of what the Engine Performance window recomputes when a dimension is nudged, what its check
// for a change costs the window's thread, and the animation tick while that recomputation runs
// on its worker thread.
#include <benchmark/benchmark.h>

#include <QImage>
#include <atomic>
#include <random>
#include <thread>

#include "canvas.h"
#include "dimensions.h"
#include "engine_performance.h"
#include "events_table.h"
#include "frame.h"
#include "perf_page.h"
#include "sound.h"
#include "painter_canvas.h"
#include "frame_tick.h"

namespace {

vek1::Workspace factorySet() {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  return ws;
}

void BM_PerfTable(benchmark::State& state) {
  const vek1::Workspace ws = factorySet();
  const std::vector<double> notches = vek1::performanceNotches(ws);
  for (auto _ : state)
    benchmark::DoNotOptimize(vek1::performanceTable(ws, ws.Engine, notches, {180.0}));
}
BENCHMARK(BM_PerfTable)->Unit(benchmark::kMillisecond);

void BM_PerfWindowUpdate(benchmark::State& state) {
  vek1::Workspace ws = factorySet();
  const std::vector<double> notches = vek1::performanceNotches(ws);
  const vek1::PerformanceInput in{ws, notches, vek1::defaultCardNotches(notches)};
  for (auto _ : state) benchmark::DoNotOptimize(vek1::computePerformancePage(in));
}
BENCHMARK(BM_PerfWindowUpdate)->Unit(benchmark::kMillisecond);

// The window's thread, every poll: has the set or the settings changed?
void BM_PerfChangeCheck(benchmark::State& state) {
  const vek1::Workspace ws = factorySet();
  const vek1::WorkingSetFingerprint last = vek1::fingerprintOf(ws);
  const vek1::EngineSettings settings = ws.Engine;
  for (auto _ : state) {
    const vek1::WorkingSetFingerprint now = vek1::fingerprintOf(ws);
    benchmark::DoNotOptimize(vek1::sameWorkingSet(last, now) && ws.Engine == settings);
  }
}
BENCHMARK(BM_PerfChangeCheck)->Unit(benchmark::kMicrosecond);

// The tick as BM_AnimationTick runs it, with the window's recomputation running without pause
// beside it (a dimension nudged on every poll): the wall time of a tick, which sets how many
// ticks a second the animation can keep.
void BM_AnimationTickBesidePerfUpdate(benchmark::State& state) {
  vek1::Workspace ws = factorySet();
  ws.SteamDisplayOn = true;
  ws.FrontDensity = ws.RearDensity = 2000.0f;
  ws.ReverseArmPos = ws.RevArmPositions[2];
  std::atomic<bool> stop{false};
  std::atomic<int> pages{0};
  std::thread worker([&, copy = ws] {
    const std::vector<double> notches = vek1::performanceNotches(copy);
    const vek1::PerformanceInput in{copy, notches, vek1::defaultCardNotches(notches)};
    while (!stop) {
      benchmark::DoNotOptimize(vek1::computePerformancePage(in));
      ++pages;
    }
  });
  vek1::SilentSoundSink sound;
  std::mt19937 rng(12345);
  QImage frame(vek1::kFrameWidth, vek1::kFrameHeight, QImage::Format_RGB32);
  vek1::DirtyArea dirty;
  for (auto _ : state) {
    vek1::QPainterCanvas canvas(frame, &dirty);
    vek1::FrameContext context{sound, rng, false};
    benchmark::DoNotOptimize(vek1::AnimationTick(canvas, ws, context));
    ws.FrontDensity = ws.RearDensity = 2000.0f;
  }
  stop = true;
  worker.join();
  state.counters["pages"] = pages.load();
}
BENCHMARK(BM_AnimationTickBesidePerfUpdate)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
