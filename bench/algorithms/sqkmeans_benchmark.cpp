// Benchmarks of the k-svd clustering and of the principal direction iteration it repeats.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "algorithms/lanes.hpp"
#include "algorithms/principal_direction.hpp"
#include "algorithms/sqkmeans.hpp"

namespace {

// Rows near k random directions with random signs and scales, as expression data behave.
matrix planted_matrix(int rows, int cols, int k) {
  std::mt19937 gen(20261207);
  std::normal_distribution<double> normal(0.0, 1.0);
  std::uniform_int_distribution<int> pick(0, k - 1);
  std::uniform_real_distribution<double> scale(1.0, 5.0);
  matrix centres(k, cols);
  for (int g = 0; g < k; ++g) {
    vector d(cols);
    for (int c = 0; c < cols; ++c) d[c] = normal(gen);
    centres.row(g) = d / d.length();
  }
  matrix m(rows, cols);
  const double noise = 0.5 / std::sqrt(static_cast<double>(cols));
  for (int r = 0; r < rows; ++r) {
    const int g = pick(gen);
    const double s = (pick(gen) % 2 ? -1.0 : 1.0) * scale(gen);
    for (int c = 0; c < cols; ++c) m(r, c) = s * centres(g, c) + noise * normal(gen);
  }
  return m;
}

// The kernels' vector width for one benchmark: 8 lanes (AVX-512F), 4 (AVX2) or 2, where the
// processor has it.
class tLanes {
 public:
  tLanes(benchmark::State& state, int count) : had_(lane_width()) {
    if (use_lane_width(count) != count) state.SkipWithError("no such lanes here");
    state.counters["lanes"] = count;
  }
  ~tLanes() { use_lane_width(had_); }

 private:
  int had_;
};

void BM_principal_direction(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
  const int steps = static_cast<int>(state.range(2));
  const tLanes lanes(state, static_cast<int>(state.range(3)));
  const matrix data = planted_matrix(rows, cols, 8);
  tTaxaSet members;
  for (int r = 0; r < rows; ++r) members.insert(r);
  for (auto _ : state) benchmark::DoNotOptimize(principal_direction(data, members, steps));
  state.SetItemsProcessed(state.iterations() * rows * cols * steps);
}
BENCHMARK(BM_principal_direction)
    ->ArgsProduct({{125}, {100}, {20}, {2, 4, 8}})
    ->ArgsProduct({{375}, {300}, {20}, {2, 4, 8}})
    ->ArgsProduct({{875}, {1000}, {20}, {2, 4, 8}})
    ->ArgsProduct({{6999}, {1000}, {20}, {2, 4, 8}})
    ->Unit(benchmark::kMillisecond);

// Whole k-svd calls from a fixed random partition with its principal directions as means.
void BM_sqkmeans(benchmark::State& state) {
  const int rows = static_cast<int>(state.range(0)), cols = static_cast<int>(state.range(1));
  const int k = static_cast<int>(state.range(2));
  const tLanes lanes(state, static_cast<int>(state.range(3)));
  const matrix data = planted_matrix(rows, cols, k);
  std::mt19937 gen(7);
  std::uniform_int_distribution<int> pick(0, k - 1);
  array<tTaxaSet> start_clusters(k);
  array<vector> start_means(k);
  for (int r = 0; r < rows; ++r) start_clusters[pick(gen)].insert(r);
  for (int i = 0; i < k; ++i)
    if (!start_clusters[i].empty())
      start_means[i] = principal_direction(data, start_clusters[i], 20);
  double obj = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    array<tTaxaSet> clusters = start_clusters;
    array<vector> means = start_means;
    state.ResumeTiming();
    obj = sqkmeans(data, clusters, means, 0.001, 20);
    benchmark::DoNotOptimize(obj);
  }
  state.counters["objective"] = obj;
}
BENCHMARK(BM_sqkmeans)
    ->ArgsProduct({{1000}, {100}, {8}, {2, 4, 8}})
    ->ArgsProduct({{3000}, {300}, {8}, {2, 4, 8}})
    ->ArgsProduct({{6999}, {1000}, {8}, {2, 4, 8}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
