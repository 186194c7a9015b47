// The beam model of the bundled example (8 sections × 2 rows, 720 steps): one step, the angle
// loop and the whole strength run (preparation included) with each solver, on one thread and
// on two.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "DynamicCalcUnit.h"
#include "ShaftFrameUnit.h"
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
  run->SolveBeamAtStep(0);  // the solver's own preparation
  int k = 0;
  for (auto _ : state) {
    run->SolveBeamAtStep(k);
    k = (k + 1) % run->NPts();
  }
}

// The angle loop of a prepared run, the solver's preparation included.
void angleLoop(benchmark::State& state, TSolverKind solver, int threads) {
  TEngineDataStruct engine;
  for (auto _ : state) {
    state.PauseTiming();
    auto run = preparedRun(engine, solver, threads);
    state.ResumeTiming();
    run->RunAngleLoop();
    benchmark::DoNotOptimize(run->Cranks[0]->Mkks2.data());
  }
}

void wholeRun(benchmark::State& state, TSolverKind solver, int threads) {
  TEngineDataStruct engine;
  for (auto _ : state) {
    auto run = preparedRun(engine, solver, threads);
    run->Run();
    benchmark::DoNotOptimize(run->Cranks[0]->Mkks2.data());
  }
}

// The condensation of the shaft's stiffness that the shaft-frame solver does once per run.
void condenseShaftFrame(benchmark::State& state) {
  TEngineDataStruct engine;
  auto run = preparedRun(engine, TSolverKind::Shaft, 1);
  for (auto _ : state) benchmark::DoNotOptimize(BuildShaftFrame(*run));
}

}  // namespace

BENCHMARK_CAPTURE(solveOneStep, reference, TSolverKind::Dense)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(solveOneStep, sparse, TSolverKind::Fast)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(solveOneStep, shaft_frame, TSolverKind::Shaft)->Unit(benchmark::kMicrosecond);
BENCHMARK(condenseShaftFrame)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(angleLoop, sparse_1_thread, TSolverKind::Fast, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(angleLoop, sparse_2_threads, TSolverKind::Fast, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(angleLoop, shaft_frame_1_thread, TSolverKind::Shaft, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(angleLoop, shaft_frame_2_threads, TSolverKind::Shaft, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(wholeRun, reference_2_threads, TSolverKind::Dense, 2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_CAPTURE(wholeRun, sparse_1_thread, TSolverKind::Fast, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(wholeRun, sparse_2_threads, TSolverKind::Fast, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(wholeRun, shaft_frame_1_thread, TSolverKind::Shaft, 1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(wholeRun, shaft_frame_2_threads, TSolverKind::Shaft, 2)->Unit(benchmark::kMillisecond)->UseRealTime();
