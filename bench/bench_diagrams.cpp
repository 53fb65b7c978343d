// A diagram drawing's budget: the sine diagram (three sweeps of 67 solves each) and the oval
// diagram (three loops of 46 solves each) over the three default positions, drawn into the
// window-sized picture.
#include <benchmark/benchmark.h>

#include <QImage>

#include "canvas.h"
#include "painter_canvas.h"
#include "dimensions.h"
#include "oval_drawing.h"
#include "port_diagram_drawing.h"
#include "sine_drawing.h"
#include "steam_diagram_drawing.h"
#include "workspace.h"

namespace {

// One drawing per iteration of a diagram over the three default reverse-arm positions, into a
// picture of the diagram windows' size.
template <class Draw>
void drawRepeatedly(benchmark::State& state, Draw draw) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.RevArmPosCount = 3;
  QImage picture(640, 480, QImage::Format_RGB32);
  picture.fill(Qt::white);
  for (auto _ : state) {
    vek1::QPainterCanvas canvas(picture);
    benchmark::DoNotOptimize(draw(canvas, ws));
  }
}

void BM_SineDiagram(benchmark::State& state) { drawRepeatedly(state, [](vek1::Canvas& canvas, const vek1::Workspace& ws) {
    return vek1::drawSineDiagram(canvas, ws, nullptr);
  });
}
BENCHMARK(BM_SineDiagram)->Unit(benchmark::kMicrosecond);

void BM_OvalDiagram(benchmark::State& state) { drawRepeatedly(state, [](vek1::Canvas& canvas, const vek1::Workspace& ws) {
    return vek1::drawOvalDiagram(canvas, ws, nullptr);
  });
}
BENCHMARK(BM_OvalDiagram)->Unit(benchmark::kMicrosecond);

// The port events diagram: 19 turns of 91 solves each, forward graph with its cycle legend.
void BM_PortDiagram(benchmark::State& state) {
  drawRepeatedly(state, [](vek1::Canvas& canvas, vek1::Workspace& ws) {
    return vek1::drawPortDiagram(canvas, ws, 'F', true);
  });
}
BENCHMARK(BM_PortDiagram)->Unit(benchmark::kMicrosecond);

// The steam diagram: 150 solves and pressure steps per position.
void BM_SteamDiagram(benchmark::State& state) { drawRepeatedly(state, [](vek1::Canvas& canvas, const vek1::Workspace& ws) {
    return vek1::drawSteamDiagram(canvas, ws, nullptr);
  });
}
BENCHMARK(BM_SteamDiagram)->Unit(benchmark::kMicrosecond);

}  // namespace
