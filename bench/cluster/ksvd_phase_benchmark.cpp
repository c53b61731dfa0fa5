// The k-svd phase of a clusterer run on matrices and initial assignments named on the command
// line: the initial principal directions and the k-svd clustering through its returned objective,
// exactly as the program computes them (data read by its reader, -t1 20, -t2 0.001).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "algorithms/sqkmeans.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "lib/parallel.hpp"

namespace {

const int kSteps = 20;
const double kTolerance = 0.001;

// Counts the passes of a k-svd run.
struct tPassCounter : tRefinementObserver {
  int passes = 0;
  void passed(int pass, double, double) override { passes = pass; }
};

// The number of k-svd passes of one run.
int count_passes(const matrix& data, const array<tTaxaSet>& start, const array<vector>& means) {
  array<tTaxaSet> clusters = start;
  array<vector> m = means;
  tPassCounter counter;
  sqkmeans(data, clusters, m, kTolerance, kSteps, counter);
  return counter.passes;
}

void BM_ksvd_phase(benchmark::State& state, const std::string& matrix_path,
                   const std::string& init_path, int k) {
  std::ifstream in(matrix_path);
  std::ostream no_progress(nullptr);
  const tExpressionData d = read_expression_matrix(in, 0, no_progress);
  const array<tTaxaSet> start =
      clusters_of(read_initial_assignment(init_path.c_str(), d.data.dim1(), k), k);
  const int passes = count_passes(d.data, start, initial_means(d.data, start, kSteps));
  double obj = 0.0;
  for (auto _ : state) {
    state.PauseTiming();
    array<tTaxaSet> clusters = start;
    state.ResumeTiming();
    array<vector> means = initial_means(d.data, clusters, kSteps);
    obj = sqkmeans(d.data, clusters, means, kTolerance, kSteps);
    benchmark::DoNotOptimize(obj);
  }
  state.counters["passes"] = passes;
  state.counters["rows"] = d.data.dim1();
  state.counters["cols"] = d.data.dim2();
  state.counters["k"] = k;
  state.counters["objective"] = obj;
  state.counters["threads"] = thread_count();
}

}  // namespace

// usage: cluster_ksvd_phase_benchmark [benchmark flags] MATRIX INIT K [MATRIX INIT K ...]
// TOOLKIT_THREADS=N in the environment sets the run's thread count (default: every usable core).
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (const char* threads = std::getenv("TOOLKIT_THREADS")) set_thread_count(std::atoi(threads));
  if (argc < 4 || (argc - 1) % 3 != 0) {
    std::fprintf(stderr, "usage: %s [benchmark flags] MATRIX INIT K [MATRIX INIT K ...]\n",
                 argv[0]);
    return 1;
  }
  for (int a = 1; a + 2 < argc; a += 3) {
    const std::string name = std::string("BM_ksvd_phase/") + argv[a] + "/k:" + argv[a + 2];
    benchmark::RegisterBenchmark(name.c_str(), BM_ksvd_phase, std::string(argv[a]),
                                 std::string(argv[a + 1]), std::atoi(argv[a + 2]))
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
