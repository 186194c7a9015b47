// Time of the torsional calculation: natural frequencies and modes of an engine-like chain of n
// masses, and the resonances of the bundled V16 example (one load preparation per resonance).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

#include "MotorMassUnit.h"
#include "OscillCalcUnit.h"
#include "ProjectFileUnit.h"

namespace {

std::filesystem::path exampleProject() {
  return std::filesystem::path(__FILE__).parent_path().parent_path() / "examples" / "V16-26-26.vxa";
}

void CalcFrequencies(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TEngineDataStruct engine;
  engine.ResizeTorsionalModel(n);
  std::mt19937 generator(42);
  std::uniform_real_distribution<double> inertia(0.5, 20.0), stiffness(100.0, 5000.0);
  for (int i = 0; i < n; ++i) engine.IMass[i] = inertia(generator);  // kg·m²
  for (int i = 0; i + 1 < n; ++i) engine.CMatrix[i][i + 1] = engine.CMatrix[i + 1][i] = stiffness(generator);
  TOscillCalcStruct oscill(engine);
  for (auto _ : state) benchmark::DoNotOptimize(oscill.CalcFrequencies());
}
BENCHMARK(CalcFrequencies)->Arg(10)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);

// Pulley, eight throws from the geometry, flywheel; 100 … 1100 rpm holds four resonances.
void CalcResonancesOfTheExample(benchmark::State& state) {
  TEngineDataStruct engine;
  LoadProjectFile(engine, exampleProject());
  engine.ResizeTorsionalModel(10);
  engine.NFirstMass = 2;
  MotorMass::Fill(engine);
  engine.IMass[0] = 2;
  engine.IMass[9] = 60;
  engine.CMatrix[0][1] = engine.CMatrix[1][0] = engine.CMatrix[8][9] = engine.CMatrix[9][8] = engine.CMatrix[1][2];
  engine.nMin = 100;
  engine.nMax = 1100;
  TRunSettings settings;
  settings.ProjectDir = exampleProject().parent_path();
  TOscillCalcStruct oscill(engine, settings);
  oscill.CalcFrequencies();
  for (auto _ : state) oscill.CalcResonances();
}
BENCHMARK(CalcResonancesOfTheExample)->Unit(benchmark::kMillisecond);

}  // namespace
