// Run time of one indicator diagram: the whole converged cycle of the example engine.
#include <benchmark/benchmark.h>

#include "CycleSimulationUnit.h"
#include "QinInputUnit.h"

namespace {

// The example engine (16-cylinder V diesel, bore and stroke 0.26 m, rod 0.58 m, 1000 rpm)
// with the default working-process data.
qinu::TQinInput ExampleEngine() {
  qinu::TQinInput in;
  in.D = 0.26;
  in.S = 0.26;
  in.Lam = 0.13 / 0.58;
  in.N = 1000;
  in.Q = 16;
  return in;
}

void BM_DefaultDiagram(benchmark::State& state) {
  const qinu::TQinInput in = ExampleEngine();
  for (auto _ : state) benchmark::DoNotOptimize(qinu::SimulateCycle(in));
}
BENCHMARK(BM_DefaultDiagram)->Unit(benchmark::kMillisecond);

void BM_TurbochargedRatedDiagram(benchmark::State& state) {
  qinu::TQinInput in = ExampleEngine();
  in.V = 1;
  in.QC = 0.000942;
  for (auto _ : state) benchmark::DoNotOptimize(qinu::SimulateCycle(in));
}
BENCHMARK(BM_TurbochargedRatedDiagram)->Unit(benchmark::kMillisecond);

void BM_MotoredDiagram(benchmark::State& state) {
  qinu::TQinInput in = ExampleEngine();
  in.QC = 0;
  for (auto _ : state) benchmark::DoNotOptimize(qinu::SimulateCycle(in));
}
BENCHMARK(BM_MotoredDiagram)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
