// The finished clustering as the pictures read it, and the per-row and per-cluster figures.
#pragma once

#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// The data as clustered, the k clusters with their directions and the 2k halves (2i, 2i+1).
struct tFinishedClustering {
  const matrix& data;
  const tNames& names;
  const array<tTaxaSet>& clusters;
  const array<vector>& means;
  const array<tTaxaSet>& halves;
};

struct tClusterSummary {
  int size = 0;
  double objective = 0;  // sum of its members' scores, members ascending
  double share = 0;      // objective / the sum over all clusters (NaN when that is 0)
  int half_sizes[2] = {0, 0};
  double h_ave = 0;  // H_ave of the cluster alone, squared products (NaN when empty)
  double h_min = 0;  // H_min of the cluster alone, plain products (NaN when empty)
};

// S_ave (squared), S_max, H_ave (squared) and H_min of the whole clustering.
struct tQualityScores {
  double s_ave, s_max, h_ave, h_min;
};

// The score of every row: its squared product with its cluster's direction, the row's term of the
// k-svd objective; 0 for a row in no cluster.
std::vector<double> row_scores(const tFinishedClustering& clustering);

// One summary per cluster 0 .. k-1; scores as row_scores gives them.
std::vector<tClusterSummary> cluster_summaries(const tFinishedClustering& clustering,
                                               const std::vector<double>& scores);

tQualityScores quality_scores(const matrix& data, const array<tTaxaSet>& clusters,
                              const array<vector>& means);
