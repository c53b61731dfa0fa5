// Reading speed of the expression matrix text: the clusterer's reader on a file named on the
// command line, in bytes of text per second.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>

#include "cluster/matrix_input.hpp"

namespace {

void BM_read_matrix(benchmark::State& state, const std::string& path) {
  std::ifstream probe(path, std::ios::binary | std::ios::ate);
  if (!probe) {
    state.SkipWithError("cannot open the matrix file");
    return;
  }
  const long long bytes = static_cast<long long>(probe.tellg());
  std::ostream no_progress(nullptr);
  int rows = 0;
  for (auto _ : state) {
    std::ifstream in(path);
    const tExpressionData d = read_expression_matrix(in, 0, no_progress);
    rows = d.data.dim1();
    benchmark::DoNotOptimize(d.data.row(0).data());
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.counters["rows"] = rows;
}

}  // namespace

// usage: cluster_read_matrix_benchmark [benchmark flags] MATRIX...
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s [benchmark flags] MATRIX...\n", argv[0]);
    return 1;
  }
  for (int a = 1; a < argc; ++a)
    benchmark::RegisterBenchmark(("BM_read_matrix/" + std::string(argv[a])).c_str(), BM_read_matrix,
                                 std::string(argv[a]))
        ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
