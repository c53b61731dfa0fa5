// distcorr's stages on random alignments: reading, bit-plane pair counts (one and two threads,
// against a plain per-site loop) and the whole computation from text to matrix text.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "distcorr/alignment_input.hpp"
#include "distcorr/corrected_matrix.hpp"
#include "distcorr/pair_distances.hpp"
#include "distcorr/phylip_matrix.hpp"
#include "distcorr/site_planes.hpp"
#include "lib/parallel.hpp"

namespace {

// n sequences of the given length over ACGT with one N in fifty, as FASTA text (seed fixed).
std::string random_fasta(int n, int length) {
  std::mt19937 random(20261208);
  std::string text;
  for (int i = 0; i < n; ++i) {
    text += ">s" + std::to_string(i) + "\n";
    for (int k = 0; k < length; ++k) text += random() % 50 == 0 ? 'N' : "ACGT"[random() % 4];
    text += '\n';
  }
  return text;
}

void BM_read_alignment(benchmark::State& state) {
  const std::string text = random_fasta(static_cast<int>(state.range(0)), 10000);
  for (auto _ : state) benchmark::DoNotOptimize(read_alignment(text, tFormat::automatic, ""));
  state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}

// The pair loop of one model (range 2: 0 jc, 1 k2p gamma, 2 tn93, 3 logdet) on range 1 threads.
void BM_pair_distances(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const tAlignment a = read_alignment(random_fasta(n, 10000), tFormat::fasta, "");
  const tSitePlanes planes(a.sequences, tDeletion::pairwise);
  const tModel models[] = {tModel::jc, tModel::k2p, tModel::tn93, tModel::logdet};
  tPairSettings settings;
  settings.model = {
      models[state.range(2)], state.range(2) == 1 ? 0.5 : 0.0, 4, {0.25, 0.25, 0.25, 0.25}};
  set_thread_count(static_cast<int>(state.range(1)));
  for (auto _ : state) benchmark::DoNotOptimize(pair_distances(planes, a.names, settings));
  set_thread_count(0);
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

// What a plain loop over the characters costs per pair, for comparison (one thread).
void BM_count_pairs_per_site(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const tAlignment a = read_alignment(random_fasta(n, 10000), tFormat::fasta, "");
  auto code = [](char c) { return c == 'A' ? 0 : c == 'C' ? 1 : c == 'G' ? 2 : c == 'T' ? 3 : 4; };
  for (auto _ : state) {
    long compared = 0, transitions = 0, transversions = 0;
    for (int i = 0; i < n; ++i) {
      for (int j = i + 1; j < n; ++j) {
        const std::string &x = a.sequences[i], &y = a.sequences[j];
        for (std::size_t k = 0; k < x.size(); ++k) {
          const int u = code(x[k]), v = code(y[k]);
          if (u == 4 || v == 4) continue;
          ++compared;
          if (u != v) ++((u ^ v) == 2 ? transitions : transversions);
        }
      }
    }
    benchmark::DoNotOptimize(compared + transitions + transversions);
  }
  state.SetItemsProcessed(state.iterations() * n * (n - 1) / 2);
}

// Everything distcorr does between the bytes of its input and the bytes of its output (pairwise
// deletion: with one N in fifty sites, no site survives global deletion of 1,000 sequences).
void BM_text_to_matrix(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string text = random_fasta(n, 10000);
  tDistcorrOptions jc_fix_x;
  jc_fix_x.deletion = tDeletion::pairwise;
  jc_fix_x.fix.fix = tFix::x;
  for (auto _ : state) {
    const tAlignment a = read_alignment(text, tFormat::automatic, "");
    const tSitePlanes planes(a.sequences, tDeletion::pairwise);
    const tCorrectedMatrix m = corrected_matrix(planes, a.sequences, a.names, jc_fix_x, false);
    benchmark::DoNotOptimize(phylip_matrix(a.names, m.pairs.distances));
  }
}

}  // namespace

BENCHMARK(BM_read_alignment)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_pair_distances)
    ->Args({1000, 1, 0})
    ->Args({1000, 2, 0})
    ->Args({250, 2, 0})
    ->Args({1000, 2, 1})
    ->Args({1000, 2, 2})
    ->Args({1000, 2, 3})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_count_pairs_per_site)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_text_to_matrix)->Arg(250)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
