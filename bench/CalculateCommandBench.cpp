// The whole calculate command of the bundled example: the design run, the torsional
// calculation with its resonance search and the twelve resonance runs.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "ProjectCalcUnit.h"
#include "ProjectFileUnit.h"

namespace {

const std::filesystem::path Examples = VEXA_SOURCE_DIR "/examples";

void calculateExample(benchmark::State& state) {
  for (auto _ : state) {
    TRunSettings settings;
    settings.ProjectDir = Examples;
    TVexaProject project(settings);
    LoadProjectFile(project.EngineData, Examples / "V16-26-26.vxa");
    const auto result = project.CalcDynamicExecute();
    if (!result.Completed || project.Results.size() != 13) state.SkipWithError("the example did not calculate");
  }
}

}  // namespace

BENCHMARK(calculateExample)->Unit(benchmark::kMillisecond)->MinTime(5);
