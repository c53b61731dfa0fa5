// The k-svd phase of a clusterer run on matrices and initial assignments named on the command
// line: the initial principal directions and the k-svd clustering through its returned objective,
// exactly as the program computes them (data read by its reader, -t1 20, -t2 0.001), on every
// core and with the widest lanes unless --threads and --lanes list the settings to time.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "algorithms/lanes.hpp"
#include "algorithms/sqkmeans.hpp"
#include "cluster/initial_partition.hpp"
#include "cluster/input/matrix_input.hpp"
#include "cluster/label_files.hpp"
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

// One setting timed: the thread count (0: every core) and the lane width (0: the widest).
struct tSetting {
  int threads;
  int lanes;
};

void BM_ksvd_phase(benchmark::State& state, const std::string& matrix_path,
                   const std::string& init_path, int k, tSetting setting) {
  set_thread_count(setting.threads);
  const int had_lanes = lane_width();
  if (setting.lanes != 0 && use_lane_width(setting.lanes) != setting.lanes)
    state.SkipWithError("no such lanes here");
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
  state.counters["lanes"] = lane_width();
  use_lane_width(had_lanes);
}

// The numbers of a flag "--name=a,b,..." taken out of argv; empty when it is not given.
std::vector<int> list_flag(int& argc, char** argv, const char* name) {
  std::vector<int> values;
  const std::size_t length = std::strlen(name);
  for (int a = 1; a < argc; ++a) {
    if (std::strncmp(argv[a], name, length) != 0 || argv[a][length] != '=') continue;
    for (char* p = argv[a] + length + 1; *p != '\0'; p += *p == ',' ? 1 : 0)
      values.push_back(static_cast<int>(std::strtol(p, &p, 10)));
    for (int b = a; b + 1 < argc; ++b) argv[b] = argv[b + 1];
    --argc;
    break;
  }
  return values;
}

}  // namespace

// usage: cluster_ksvd_phase_benchmark [benchmark flags] [--threads=T,..] [--lanes=L,..]
//        MATRIX INIT K [MATRIX INIT K ...]
// With --threads or --lanes every listed combination is timed, its name ending in
// /threads:T/lanes:L. Without --threads, TOOLKIT_THREADS=N in the environment sets the thread
// count (default: every usable core).
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<int> threads = list_flag(argc, argv, "--threads");
  std::vector<int> lanes = list_flag(argc, argv, "--lanes");
  const bool listed = !threads.empty() || !lanes.empty();
  if (threads.empty()) {
    const char* from_environment = std::getenv("TOOLKIT_THREADS");
    threads.push_back(from_environment ? std::atoi(from_environment) : 0);
  }
  if (lanes.empty()) lanes.push_back(0);
  if (argc < 4 || (argc - 1) % 3 != 0) {
    std::fprintf(stderr, "usage: %s [benchmark flags] MATRIX INIT K [MATRIX INIT K ...]\n",
                 argv[0]);
    return 1;
  }
  for (int a = 1; a + 2 < argc; a += 3)
    for (int t : threads)
      for (int l : lanes) {
        std::string name = std::string("BM_ksvd_phase/") + argv[a] + "/k:" + argv[a + 2];
        if (listed) name += "/threads:" + std::to_string(t) + "/lanes:" + std::to_string(l);
        benchmark::RegisterBenchmark(name.c_str(), BM_ksvd_phase, std::string(argv[a]),
                                     std::string(argv[a + 1]), std::atoi(argv[a + 2]),
                                     tSetting{t, l})
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
      }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
