// Reading speed of the expression data: the clusterer's reader on files named on the command
// line, in bytes of the file per second, on each thread count asked for. A matrix layout file
// goes through the layout's own entry (read_expression_matrix); any other file (a table, gzip
// data) through the reader the program uses, which chooses the format from the content.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "cluster/input/matrix_input.hpp"
#include "lib/parallel.hpp"

namespace {

void BM_read_matrix(benchmark::State& state, const std::string& path, bool any_format,
                    int threads) {
  std::ifstream probe(path, std::ios::binary | std::ios::ate);
  if (!probe) {
    state.SkipWithError("cannot open the matrix file");
    return;
  }
  const long long bytes = static_cast<long long>(probe.tellg());
  std::ostream no_progress(nullptr);
  set_thread_count(threads);
  int rows = 0;
  for (auto _ : state) {
    std::ifstream in(path);
    const tExpressionData d =
        any_format ? read_expression_data(in, path.c_str(), tReadSettings(), no_progress)
                   : read_expression_matrix(in, 0, no_progress);
    rows = d.data.dim1();
    benchmark::DoNotOptimize(d.data.row(0).data());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["rows"] = rows;
  state.counters["threads"] = thread_count();
}

// "1,2" -> {1, 2}; 0 stands for every usable core.
std::vector<int> thread_counts(const char* list) {
  std::vector<int> counts;
  for (const char* p = list; *p != '\0';) {
    char* end = nullptr;
    counts.push_back(static_cast<int>(std::strtol(p, &end, 10)));
    p = *end == ',' ? end + 1 : end + (*end != '\0');
  }
  return counts;
}

}  // namespace

// usage: cluster_read_matrix_benchmark [benchmark flags] [-threads=N[,M...]] MATRIX...
// Without -threads the run's default thread count (every usable core) is used.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::vector<int> counts{0};
  int first = 1;
  if (argc > 1 && std::string(argv[1]).compare(0, 9, "-threads=") == 0) {
    counts = thread_counts(argv[1] + 9);
    first = 2;
  }
  if (argc <= first) {
    std::fprintf(stderr, "usage: %s [benchmark flags] [-threads=N[,M...]] MATRIX...\n", argv[0]);
    return 1;
  }
  for (int a = first; a < argc; ++a) {
    const std::string path = argv[a];
    const bool matrix_layout = path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
    for (int threads : counts)
      benchmark::RegisterBenchmark(
          ("BM_read_matrix/" + path + "/threads:" + std::to_string(threads)).c_str(),
          BM_read_matrix, path, !matrix_layout, threads)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
