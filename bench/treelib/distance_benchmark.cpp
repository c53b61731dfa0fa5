// Distance corrections on large matrices against bare loops over the same logarithms and powers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "treelib/onepdist.hpp"
#include "treelib/twopdist.hpp"

namespace {

// A symmetric matrix of deterministic proportions spread evenly over [0, top).
tMatrix proportions(int n, double top, int salt) {
  tMatrix m(n, n);
  for (int i = 0; i < n; ++i) {
    for (int j = i + 1; j < n; ++j) {
      const double p = top * ((i * 7919 + j * 104729 + salt) % 1000) / 1000.0;
      m(i, j) = p;
      m(j, i) = p;
    }
  }
  return m;
}

void BM_onepdist(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const tMatrix observed = proportions(n, 0.7, 0);
  tMatrix corrected(n, n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(onepdist(observed, corrected, 4));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

// The same distances of the upper triangle, written to the upper triangle only.
void BM_onepdist_bare_loop(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const tMatrix observed = proportions(n, 0.7, 0);
  std::vector<double> out(static_cast<std::size_t>(n) * n);
  const double A = 3.0 / 4;
  const double B = 4.0 / 3;
  for (auto _ : state) {
    const double* p = observed.data();
    for (long i = 0; i < n; ++i) {
      for (long j = i + 1; j < n; ++j) out[i * n + j] = -A * std::log(1 - B * p[i * n + j]);
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

void BM_twopdist(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  tMatrix P = proportions(n, 0.3, 0);
  tMatrix Q = proportions(n, 0.3, 37);
  tMatrix D(n, n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(twopdist(P, Q, D, 4, 0.5));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

void BM_twopdist_bare_loop(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const tMatrix P = proportions(n, 0.3, 0);
  const tMatrix Q = proportions(n, 0.3, 37);
  std::vector<double> out(static_cast<std::size_t>(n) * n);
  const double alpha = 0.5;
  for (auto _ : state) {
    const double* p = P.data();
    const double* q = Q.data();
    for (long i = 0; i < n; ++i) {
      for (long j = i + 1; j < n; ++j) {
        const double w1 = 1 - 2 * p[i * n + j] - q[i * n + j];
        const double w2 = 1 - 2 * q[i * n + j];
        const double e = -1.0 / alpha;
        out[i * n + j] = (alpha / 2) * (std::pow(w1, e) + 0.5 * std::pow(w2, e) - 1.5);
      }
    }
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

}  // namespace

BENCHMARK(BM_onepdist)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_onepdist_bare_loop)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_twopdist)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_twopdist_bare_loop)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
