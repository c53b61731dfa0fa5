// The finished clustering as the pictures read it, and the per-row and per-cluster figures.
#pragma once

#include <vector>

#include "cluster/clustering.hpp"
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
  // rows x cols flags, 1 for a cell the input held no value for (nullptr or empty: none).
  const std::vector<unsigned char>* missing = nullptr;
};

struct tClusterSummary {
  int size = 0;
  double objective = 0;  // sum of its members' scores, members ascending
  double share = 0;      // cluster_share of objective
  int half_sizes[2] = {0, 0};
  double h_ave = 0;  // H_ave of the cluster alone, squared products (NaN when empty)
  double h_min = 0;  // H_min of the cluster alone, plain products (NaN when empty)
};

// The score of every row: its squared product with its cluster's direction, the row's term of the
// k-svd objective; 0 for a row in no cluster.
std::vector<double> row_scores(const tFinishedClustering& clustering);

// One summary per cluster 0 .. k-1; scores as row_scores gives them, shares of objective.
std::vector<tClusterSummary> cluster_summaries(const tFinishedClustering& clustering,
                                               const std::vector<double>& scores, double objective);

// A cluster's share of the k-svd objective: its part (its members' scores summed, members
// ascending) over the objective the clustering reached. The one definition every report uses.
double cluster_share(double part, double objective);
