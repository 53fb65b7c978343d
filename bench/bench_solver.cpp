// The solver's budget: SolveLinkage + ComputeValveState against the floor of the same libm calls
// on the same kind of inputs.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <ctime>
#include <vector>

#include "dimensions.h"
#include "gear.h"
#include "least_of_runs.h"
#include "solver.h"
#include "valve.h"
#include "workspace.h"

namespace {

// The pure core, as the events, the tuning and the diagrams call it: a pose and its valve state.
void solveStep(const vek1::GearDimensions& gear, float angle, float arm) {
  const vek1::GearPose pose = vek1::solveGear(gear, angle, arm);
  const vek1::ValveState valve = vek1::valveStateOf(gear, pose);
  benchmark::DoNotOptimize(pose.Pivots.H[4]);
  benchmark::DoNotOptimize(valve.PistonPos);
}

// The factory gear at full forward gear, as every solver benchmark solves it.
struct FactoryGear {
  vek1::GearDimensions gear;
  float arm = 0.0f;
};
FactoryGear factoryGear() {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  return {vek1::gearOf(ws), ws.RevArmPositions[2]};
}

void BM_SolveGear(benchmark::State& state) {
  const auto [gear, arm] = factoryGear();
  float angle = 0.0f;
  for (auto _ : state) {
    solveStep(gear, angle, arm);
    angle += 1.0f;
    if (angle > 360.0f) angle = 0.0f;
  }
}
BENCHMARK(BM_SolveGear)->Apply(vek1::bench::leastOfRuns);

// The main view's form on the live Workspace, which copies the set in and the pose out.
void BM_SolveLinkageAndValveState(benchmark::State& state) {
  vek1::Workspace ws;
  vek1::StartUp(ws);
  ws.ReverseArmPos = ws.RevArmPositions[2];
  float angle = 0.0f;
  for (auto _ : state) {
    ws.DriverAngle = angle;
    vek1::SolveGearAndValve(ws);
    benchmark::DoNotOptimize(ws.Pivots.H[4]);
    benchmark::DoNotOptimize(ws.PistonPos);
    angle += 1.0f;
    if (angle > 360.0f) angle = 0.0f;
  }
}
BENCHMARK(BM_SolveLinkageAndValveState)->Apply(vek1::bench::leastOfRuns);

// A solve followed by the valve state, as first written (the valve state turning the crank
// again), makes 5 sin/cos pairs, 8 square roots and 6 arctangents on angles of a few radians,
// ratios of a few units and squares of lengths of a few units; BM_SolveGear makes one pair fewer,
// the piston taking the crank's pair from the pose. The solve is a chain (each step's input is
// an earlier step's output), so the floor chains its calls the same way: what it measures is the
// latency of the libm calls the solver cannot avoid.
double floorStep(double angle) {
  const double theta = angle * 0.017453292519943295;
  double x = std::cos(theta) + std::sin(theta);     // crank pin
  x = std::sqrt(81.0 - x * x);                      // crosshead
  x = std::atan(x * 0.1) + std::sqrt(9.0 + x);      // direction and distance to the anchor
  x = std::atan(x * 0.1 / std::sqrt(1.0 - 0.01 * x * x));  // asin by atan
  x = std::sin(x + 1.0) + std::cos(x + 1.0);        // anchor-link end
  x = std::sqrt(9.0 - x * x);                       // reverse-arm end
  x = std::atan(x * 0.01);                          // reverse-arm angle
  x = std::cos(x) + std::sin(x);                    // link centre
  x = std::atan(x * 0.1) + std::sqrt(16.0 + x);     // direction and distance to the link centre
  x = std::atan(x * 0.1 / std::sqrt(1.0 - 0.01 * x * x));  // asin by atan
  x = std::cos(x + 1.0) + std::sin(x + 1.0);        // die block
  x = std::sqrt(25.0 - x * x);                      // valve-stem joint
  x = std::atan(x * 0.1);                           // valve-lever angle
  x = std::sin(theta + x * 1e-9) + std::cos(theta + x * 1e-9);  // piston
  return std::sqrt(81.0 - x * x);
}

void BM_SolverFloor(benchmark::State& state) {
  double angle = 0.0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(floorStep(angle));
    angle += 1.0;
    if (angle > 360.0) angle = 0.0;
  }
}
BENCHMARK(BM_SolverFloor)->Apply(vek1::bench::leastOfRuns);

// The budget's ratio: the solver and its floor in alternating blocks of about a millisecond each,
// the ratio taken block pair by block pair and the median reported. Whatever else the machine
// runs then falls on both alike, where two benchmarks run one after the other can meet it apart.
double threadCpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

void BM_SolverOverFloor(benchmark::State& state) {
  const auto [gear, arm] = factoryGear();
  constexpr int kPerBlock = 4000, kPairs = 600;
  auto solveBlock = [&] {
    const double start = threadCpuSeconds();
    for (int i = 0; i < kPerBlock; ++i) solveStep(gear, static_cast<float>(i % 361), arm);
    return threadCpuSeconds() - start;
  };
  auto floorBlock = [] {
    const double start = threadCpuSeconds();
    for (int i = 0; i < kPerBlock; ++i) benchmark::DoNotOptimize(floorStep(i % 361));
    return threadCpuSeconds() - start;
  };
  std::vector<double> ratios;
  for (auto _ : state) {
    ratios.clear();
    for (int p = 0; p < kPairs; ++p) {
      // Each goes first in every other pair, so that neither always follows the other.
      double solve = 0.0, floor = 0.0;
      if (p % 2 == 0) {
        solve = solveBlock();
        floor = floorBlock();
      } else {
        floor = floorBlock();
        solve = solveBlock();
      }
      if (floor > 0.0) ratios.push_back(solve / floor);
    }
  }
  if (ratios.empty()) return;
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  state.counters["ratio"] = ratios[ratios.size() / 2];
}
BENCHMARK(BM_SolverOverFloor)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
