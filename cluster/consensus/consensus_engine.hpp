// The runs of a consensus design, with the clustering of one resample as a policy.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "cluster/consensus/consensus_statistics.hpp"
#include "cluster/consensus/design.hpp"
#include "cluster/consensus/pair_counts.hpp"
#include "lib/matrix.hpp"

// Clusters the rows of one resample into k groups from this seed; returns the group of every
// row (any numbering). May be called from several threads at once.
using tResampleClusterer =
    std::function<std::vector<int>(const matrix& rows, int k, std::uint64_t seed)>;

// Called after each run of the range with the runs done so far and the runs in the range.
using tRunProgress = std::function<void(int done, int total)>;

// Runs design.first_run <= r < design.end_run over the run's threads, each resample clustered
// for every k of the range from the seed run_draw_seed(design.seed, r), and counts them.
tPairCounts count_runs(const matrix& data, const tConsensusDesign& design,
                       const tResampleClusterer& clusterer, const tRunProgress& progress);

// The statistics of every k of the range, deltas filled.
std::vector<tConsensusOfK> consensus_results(const tPairCounts& counts,
                                             const tConsensusDesign& design, double pac_low,
                                             double pac_high);
