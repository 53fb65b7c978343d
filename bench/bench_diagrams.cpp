// A diagram drawing's budget: the sine diagram over the three default positions (three sweeps of
// 67 solves each), drawn into the window-sized picture.
#include <benchmark/benchmark.h>

#include <QImage>

#include "canvas.h"
#include "dimensions.h"
#include "sine_drawing.h"
#include "workspace.h"

namespace {

void BM_SineDiagram(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.RevArmPosCount = 3;
  QImage picture(640, 480, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (auto _ : state) {
    vek1::QPainterCanvas canvas(picture);
    benchmark::DoNotOptimize(vek1::drawSineDiagram(canvas, ws));
  }
}
BENCHMARK(BM_SineDiagram)->Unit(benchmark::kMicrosecond);

}  // namespace
