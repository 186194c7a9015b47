// The whole calculate command of the bundled example: the design run, the torsional
// calculation with its resonance search and the twelve resonance runs, on one thread and on
// two; one preparation of a run from scratch and from a run at another speed; and the JSON
// document of all its results.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "JsonResultsUnit.h"
#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"

namespace {

const std::filesystem::path Examples = VEXA_SOURCE_DIR "/examples";

std::unique_ptr<TVexaProject> calculated(benchmark::State& state, int threads) {
  TRunSettings settings;
  settings.ProjectDir = Examples;
  settings.Threads = threads;
  auto project = std::make_unique<TVexaProject>(settings);
  LoadProjectFile(project->EngineData, Examples / "V16-26-26.vxa");
  const auto result = project->CalcDynamicExecute();
  if (!result.Completed || project->Results.size() != 13) state.SkipWithError("the example did not calculate");
  return project;
}

void calculateExample(benchmark::State& state) {
  for (auto _ : state) calculated(state, static_cast<int>(state.range(0)));
}

// One preparation of the example's run at 1.2 times the design speed: from scratch (0), or
// from the run prepared at the design speed (1), as the calculate command prepares its
// resonance runs (diagram, throws and cylinders, beam model, kinematics, forces and loads).
void prepareRun(benchmark::State& state) {
  TRunSettings settings;
  settings.ProjectDir = Examples;
  TEngineDataStruct engine;
  LoadProjectFile(engine, Examples / "V16-26-26.vxa");
  TDynamicCalcStruct design(engine, settings);
  design.Prepare();
  engine.N *= 1.2;
  // The previous run stays while the next one is prepared, as the command keeps its runs: the
  // memory of the one before is reused instead of being returned to the system every time.
  std::unique_ptr<TDynamicCalcStruct> previous;
  for (auto _ : state) {
    auto run = std::make_unique<TDynamicCalcStruct>(engine, settings);
    if (state.range(0) == 0)
      run->Prepare();
    else
      run->PrepareFrom(design);
    benchmark::DoNotOptimize(run->Cranks[0]->Mk.data());
    previous = std::move(run);
  }
}

void writeJson(benchmark::State& state, TJsonContent content) {
  const auto project = calculated(state, 0);
  const auto file = std::filesystem::temp_directory_path() / "vexa-bench-results.json";
  for (auto _ : state) {
    std::ofstream out(file, std::ios::binary);
    WriteResultsJson(out, project->EngineData.ProjectName, project->Results, project->OscillCalc.get(), content);
  }
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(file)) / 1e6;
  std::filesystem::remove(file);
}

}  // namespace

BENCHMARK(calculateExample)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3);
BENCHMARK(prepareRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(writeJson, full, TJsonContent::Full)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(writeJson, summary, TJsonContent::Summary)->Unit(benchmark::kMillisecond)->UseRealTime();
