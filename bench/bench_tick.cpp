// The animation tick's budget: solve, outlines and a whole 1280 x 1024 frame, with the steam
// display on at its highest density, at the default zoom.
#include <benchmark/benchmark.h>

#include <QImage>
#include <random>

#include "canvas.h"
#include "dimensions.h"
#include "frame_tick.h"
#include "least_of_runs.h"
#include "painter_canvas.h"
#include "sound.h"
#include "workspace.h"

namespace {

void BM_AnimationTick(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.SteamDisplayOn = true;
  ws.FrontDensity = ws.RearDensity = 2000.0f;
  ws.ReverseArmPos = ws.RevArmPositions[2];
  vek1::SilentSoundSink sound;
  std::mt19937 rng(12345);
  QImage frame(vek1::kFrameWidth, vek1::kFrameHeight, QImage::Format_RGB32);
  vek1::DirtyArea dirty;  // the window keeps its frame image, and what it drew, between ticks
  for (auto _ : state) {
    vek1::QPainterCanvas canvas(frame, &dirty);
    vek1::FrameContext context{sound, rng, false};
    benchmark::DoNotOptimize(vek1::AnimationTick(canvas, ws, context));
    // Keep the densities at the top of their range, as a gear at full admission does.
    ws.FrontDensity = ws.RearDensity = 2000.0f;
  }
}
BENCHMARK(BM_AnimationTick)->Unit(benchmark::kMicrosecond)->Apply(vek1::bench::leastOfRuns);

}  // namespace
