// Initial partition of the rows and the principal directions that start the k-svd clustering.
#include "cluster/initial_partition.hpp"

#include "algorithms/principal_direction.hpp"
#include "lib/parallel.hpp"

array<int> random_assignment(int rows, random_source& draws) {
  array<int> assignment(rows);
  for (int r = 0; r < rows; ++r) assignment[r] = draws();
  return assignment;
}

array<tTaxaSet> clusters_of(const array<int>& assignment, int k) {
  array<tTaxaSet> clusters(k);
  for (int r = 0; r < assignment.size(); ++r) clusters[assignment[r]].insert(r);
  return clusters;
}

array<vector> initial_means(const matrix& data, const array<tTaxaSet>& clusters, int iterations) {
  array<vector> means(clusters.size());
  // One task per cluster: each direction depends on its own members only.
  parallel_for(clusters.size(), [&](int i) {
    if (!clusters[i].empty()) means[i] = principal_direction(data, clusters[i], iterations);
  });
  return means;
}
