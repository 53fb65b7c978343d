// vek1-bench: the performance budgets, measured in one run. Besides Google Benchmark's table it
// prints each budgeted benchmark as a ratio against its floor, measured in the same run. Every
// budget is in CPU time: the table's "Time" column is the wall clock, which on a shared machine
// grows with whatever else runs (a valve events table of 2.1 ms of CPU has shown 4.7 ms there
// beside two builds).
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // A benchmark run several times is judged by its least run, under its own name.
      const bool least = run.run_type == Run::RT_Aggregate && run.aggregate_name == "least";
      if (run.run_type != Run::RT_Iteration && !least) continue;
      const std::string name = least ? run.run_name.function_name : run.benchmark_name();
      const auto ratio = run.counters.find("ratio");
      if (ratio != run.counters.end()) ratios_[run.run_name.function_name] = ratio->second;
      nsPerIteration_[name] =
          run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
      wallNs_[name] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void printRatios() const {
    const auto solver = nsPerIteration_.find("BM_SolveGear");
    const auto wrapped = nsPerIteration_.find("BM_SolveLinkageAndValveState");
    const auto floor = nsPerIteration_.find("BM_SolverFloor");
    const auto alternating = ratios_.find("BM_SolverOverFloor");
    if (alternating != ratios_.end())
      std::printf("solver / floor = %.2f, the median of alternating blocks (budget: at most 1.3)\n",
                  alternating->second);
    if (solver != nsPerIteration_.end() && floor != nsPerIteration_.end() && floor->second > 0)
      std::printf("solver / floor, least runs = %.2f\n", solver->second / floor->second);
    if (wrapped != nsPerIteration_.end() && floor != nsPerIteration_.end() && floor->second > 0)
      std::printf("solver on the live set / floor, least runs = %.2f\n",
                  wrapped->second / floor->second);
    const auto tick = nsPerIteration_.find("BM_AnimationTick");
    if (tick != nsPerIteration_.end())
      std::printf("animation tick = %.3f ms of CPU (budget: at most 0.25 ms)\n", tick->second / 1e6);
    const auto events = nsPerIteration_.find("BM_ValveEvents");
    const auto sweep = nsPerIteration_.find("BM_ValveEventsSweep");
    if (events != nsPerIteration_.end() && sweep != nsPerIteration_.end() && events->second > 0)
      std::printf(
          "valve events = %.3f ms of CPU (budget: under 5 ms), 0.01 degree sweep / events = %.1f "
          "(at least 20)\n",
          events->second / 1e6, sweep->second / events->second);
    // The same table in solver floors of this run: on a loaded machine the milliseconds grow
    // while this stays, which tells a slow machine from a slow table.
    if (events != nsPerIteration_.end() && floor != nsPerIteration_.end() && floor->second > 0)
      std::printf("valve events / solver floor = %.0f\n", events->second / floor->second);
    const auto sensitivity = nsPerIteration_.find("BM_SensitivityTable");
    if (sensitivity != nsPerIteration_.end())
      std::printf("sensitivity table, 9 notches = %.0f ms (budget: under 1000 ms)\n",
                  sensitivity->second / 1e6);
    const auto wear = nsPerIteration_.find("BM_WornGear");
    if (wear != nsPerIteration_.end())
      std::printf("worn gear, 9 notches = %.0f ms (budget: under 2000 ms)\n", wear->second / 1e6);
    const auto perf = nsPerIteration_.find("BM_PerfTable");
    if (perf != nsPerIteration_.end())
      std::printf("performance table, 9 notches at one speed = %.1f ms of CPU (budget: under "
                  "100 ms)\n",
                  perf->second / 1e6);
    const auto update = nsPerIteration_.find("BM_PerfWindowUpdate");
    if (update != nsPerIteration_.end())
      std::printf("performance window update = %.1f ms of CPU, on its worker thread\n",
                  update->second / 1e6);
    const auto beside = wallNs_.find("BM_AnimationTickBesidePerfUpdate/real_time");
    if (beside != wallNs_.end() && beside->second > 0)
      std::printf("animation tick beside the performance update = %.3f ms, %.0f ticks a second "
                  "at most (budget: at least 55)\n",
                  beside->second / 1e6, 1e9 / beside->second);
  }

 private:
  std::map<std::string, double> nsPerIteration_;
  std::map<std::string, double> wallNs_;
  std::map<std::string, double> ratios_;  // a benchmark's own "ratio" counter
};

}  // namespace

int main(int argc, char** argv) {
  // Text rendering needs a GUI application; no window is shown, so no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.printRatios();
  benchmark::Shutdown();
  return 0;
}
