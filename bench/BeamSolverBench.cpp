// The beam model of the bundled example (8 sections × 2 rows, 720 steps): one step and the
// whole angle loop with the reference and the production solver.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "DynamicCalcUnit.h"
#include "ProjectFileUnit.h"

namespace {

const std::filesystem::path Examples = VEXA_SOURCE_DIR "/examples";

std::unique_ptr<TDynamicCalcStruct> preparedRun(TEngineDataStruct& engine, TSolverKind solver, int threads) {
  LoadProjectFile(engine, Examples / "V16-26-26.vxa");
  TRunSettings settings;
  settings.ProjectDir = Examples;
  settings.Solver = solver;
  settings.Threads = threads;
  auto run = std::make_unique<TDynamicCalcStruct>(engine, settings);
  run->Prepare();
  return run;
}

void solveOneStep(benchmark::State& state, TSolverKind solver) {
  TEngineDataStruct engine;
  auto run = preparedRun(engine, solver, 1);
  int k = 0;
  for (auto _ : state) {
    run->SolveBeamAtStep(k);
    k = (k + 1) % run->NPts();
  }
}

void wholeRun(benchmark::State& state, TSolverKind solver, int threads) {
  TEngineDataStruct engine;
  LoadProjectFile(engine, Examples / "V16-26-26.vxa");
  for (auto _ : state) {
    auto run = preparedRun(engine, solver, threads);
    run->Run();
    benchmark::DoNotOptimize(run->Cranks[0]->Mkks2.data());
  }
}

}  // namespace

BENCHMARK_CAPTURE(solveOneStep, reference, TSolverKind::Dense)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(solveOneStep, production, TSolverKind::Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(wholeRun, reference, TSolverKind::Dense, 0)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(wholeRun, production_1_thread, TSolverKind::Fast, 1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(wholeRun, production_all_cores, TSolverKind::Fast, 0)->Unit(benchmark::kMillisecond);
