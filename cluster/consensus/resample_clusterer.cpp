// One start of the clustering on a resample, through cluster_rows, writing nothing.
#include "cluster/consensus/resample_clusterer.hpp"

#include "cluster/clustering.hpp"

tResampleClusterer resample_clusterer(const tConsensusDesign& design) {
  return [design](const matrix& rows, int k, std::uint64_t seed) {
    tClusteringSettings settings;
    settings.num_clusters = k;
    settings.t1 = design.t1;
    settings.t2 = design.t2;
    settings.normalize = design.normalize;
    settings.restarts = 1;
    settings.seed = seed;
    settings.bisect = false;  // the k clusters are all a consensus run counts
    tClusteringObserver quiet;
    return cluster_rows(rows, settings, quiet).labels;
  };
}
