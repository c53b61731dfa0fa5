// Reading speed of the expression data: the clusterer's reader on files named on the command
// line, in bytes of the file per second. A matrix layout file goes through the legacy entry
// (read_expression_matrix); any other file (a table, gzip data) through the reader the program
// uses, which chooses the format from the content.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <ostream>
#include <string>

#include "cluster/matrix_input.hpp"

namespace {

void BM_read_matrix(benchmark::State& state, const std::string& path, bool any_format) {
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
    const tExpressionData d =
        any_format ? read_expression_data(in, path.c_str(), tReadSettings(), no_progress)
                   : read_expression_matrix(in, 0, no_progress);
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
  for (int a = 1; a < argc; ++a) {
    const std::string path = argv[a];
    const bool matrix_layout = path.size() > 4 && path.compare(path.size() - 4, 4, ".txt") == 0;
    benchmark::RegisterBenchmark(("BM_read_matrix/" + path).c_str(), BM_read_matrix, path,
                                 !matrix_layout)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
