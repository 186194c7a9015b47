// Time of one full eigen solution (values and vectors) of a torsional dynamic matrix J^-1*K of a
// free chain of n masses, the matrix the torsional calculation hands to the solver.
#include <benchmark/benchmark.h>

#include <random>

#include "Hessenbergqri.h"

namespace {

TReal2DArray chainDynamicMatrix(int n) {
  std::mt19937 generator(42);
  std::uniform_real_distribution<double> inertia(0.5, 20.0), stiffness(100.0, 5000.0);
  std::vector<double> j(n + 1), c(n + 1, 0.0);
  for (int i = 1; i <= n; ++i) j[i] = inertia(generator);  // kg*m^2
  for (int i = 1; i < n; ++i) c[i] = stiffness(generator);  // kN*m/rad
  TReal2DArray a(n + 1, TReal1DArray(n + 1, 0.0));
  for (int i = 1; i <= n; ++i) {
    const double left = i > 1 ? c[i - 1] : 0.0, right = i < n ? c[i] : 0.0;
    a[i][i] = (left + right) / j[i];
    if (i > 1) a[i][i - 1] = -left / j[i];
    if (i < n) a[i][i + 1] = -right / j[i];
  }
  return a;
}

// A dense non-symmetric matrix with many complex pairs, the general case of the solver.
TReal2DArray randomMatrix(int n) {
  std::mt19937 generator(7);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  TReal2DArray a(n + 1, TReal1DArray(n + 1, 0.0));
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= n; ++k) a[i][k] = entry(generator);
  return a;
}

void run(benchmark::State& state, const TReal2DArray& a) {
  const int n = static_cast<int>(state.range(0));
  TReal1DArray wr, wi;
  TReal2DArray z;
  for (auto _ : state) {
    const bool converged = HessenbergQRIEigen(a, n, wr, z, wi);
    benchmark::DoNotOptimize(converged);
    benchmark::DoNotOptimize(z.data());
  }
}

void BM_TorsionalChain(benchmark::State& state) {
  run(state, chainDynamicMatrix(static_cast<int>(state.range(0))));
}
void BM_RandomDense(benchmark::State& state) {
  run(state, randomMatrix(static_cast<int>(state.range(0))));
}

}  // namespace

BENCHMARK(BM_TorsionalChain)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RandomDense)->Arg(8)->Arg(20)->Arg(100)->Unit(benchmark::kMicrosecond);
