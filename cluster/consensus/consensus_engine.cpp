// Resample, cluster for every k, count: one task per run, the counts over rows afterwards.
#include "cluster/consensus/consensus_engine.hpp"

#include <atomic>
#include <iostream>
#include <mutex>
#include <string>

#include "cluster/consensus/resample.hpp"
#include "lib/diagnostics.hpp"
#include "lib/parallel.hpp"

namespace {

void keep_warning(void* texts, const char* text) {
  static_cast<std::vector<std::string>*>(texts)->push_back(text);
}

}  // namespace

tPairCounts count_runs(const matrix& data, const tConsensusDesign& design,
                       const tResampleClusterer& clusterer, const tRunProgress& progress) {
  const int total = design.end_run - design.first_run;
  std::vector<tRunLabels> runs(static_cast<std::size_t>(total));
  std::atomic<int> done{0};
  std::mutex progress_lock;
  // A run's warnings wait for the end, then come in run order, whatever the threads did.
  std::vector<std::vector<std::string>> warnings(static_cast<std::size_t>(total));
  parallel_for(total, [&](int task) {
    const int run = design.first_run + task;
    divert_warnings(keep_warning, &warnings[static_cast<std::size_t>(task)]);
    const tResample draw = draw_resample(design, run, data.dim1(), data.dim2());
    const matrix rows = resampled_matrix(data, draw);
    tRunLabels& labels = runs[static_cast<std::size_t>(task)];
    labels.rows = draw.rows;
    for (int k = design.k_first; k <= design.k_last; ++k) {
      labels.labels.push_back(clusterer(rows, k, run_draw_seed(design.seed, run)));
      if (labels.labels.back().size() != draw.rows.size())
        error("consensus run %d, k = %d: %zu labels for %zu rows", run, k,
              labels.labels.back().size(), draw.rows.size());
    }
    divert_warnings(nullptr, nullptr);
    if (!progress) return;
    const std::lock_guard<std::mutex> lock(progress_lock);
    progress(++done, total);
  });
  for (const std::vector<std::string>& texts : warnings)
    for (const std::string& text : texts) std::cerr << text << std::flush;
  tPairCounts counts(data.dim1(), design.k_count(), design.runs);
  counts.add_runs(runs);
  return counts;
}

std::vector<tConsensusOfK> consensus_results(const tPairCounts& counts,
                                             const tConsensusDesign& design, double pac_low,
                                             double pac_high) {
  std::vector<tConsensusOfK> results;
  for (int k = design.k_first; k <= design.k_last; ++k)
    results.push_back(consensus_of_k(counts, k - design.k_first, k, pac_low, pac_high));
  fill_deltas(results);
  return results;
}
