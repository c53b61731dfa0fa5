// One start of the k-svd clustering on a resample, its progress text discarded.
#include "cluster/consensus/resample_clusterer.hpp"

#include <ostream>

#include "cluster/label_files.hpp"
#include "cluster/matrix_input.hpp"
#include "cluster/options.hpp"
#include "cluster/restarts.hpp"

tResampleClusterer resample_clusterer(const tConsensusDesign& design) {
  return [design](const matrix& rows, int k, std::uint64_t seed) {
    tOptions settings;
    settings.num_clusters = k;
    settings.t1 = design.t1;
    settings.t2 = design.t2;
    matrix prepared = rows;
    if (design.normalize) normalize_rows(prepared);
    tStartsRecord record;
    record.seed = seed;
    std::ostream discarded(nullptr);
    const tStart start =
        best_start(prepared, settings, record, discarded, [](const array<int>&) {});
    const array<int> labels = cluster_labels(start.clusters, prepared.dim1());
    std::vector<int> result(static_cast<std::size_t>(prepared.dim1()));
    for (int i = 0; i < prepared.dim1(); ++i) result[static_cast<std::size_t>(i)] = labels[i];
    return result;
  };
}
