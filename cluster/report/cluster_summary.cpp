// Scores of rows and clusters for the pictures, from the products and the quality scores.
#include "cluster/report/cluster_summary.hpp"

#include <limits>

#include "algorithms/products.hpp"
#include "algorithms/quality_scores.hpp"

std::vector<double> row_scores(const tFinishedClustering& clustering) {
  std::vector<double> scores(clustering.data.dim1(), 0.0);
  for (int i = 0; i < clustering.clusters.size(); ++i) {
    const tTaxaSet& members = clustering.clusters[i];
    if (members.empty()) continue;
    std::vector<double> products(members.size());
    member_products(clustering.data, members, clustering.means[i], products.data());
    int j = 0;
    for (tItem it = members.first_item(); it != 0; it = members.next_item(it), ++j)
      scores[members.inf(it)] = products[j] * products[j];
  }
  return scores;
}

std::vector<tClusterSummary> cluster_summaries(const tFinishedClustering& clustering,
                                               const std::vector<double>& scores,
                                               double objective) {
  const int k = clustering.clusters.size();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<tClusterSummary> result(k);
  for (int i = 0; i < k; ++i) {
    tClusterSummary& summary = result[i];
    const tTaxaSet& members = clustering.clusters[i];
    summary.size = members.size();
    for (tItem it = members.first_item(); it != 0; it = members.next_item(it))
      summary.objective += scores[members.inf(it)];
    for (int side = 0; side < 2; ++side)
      summary.half_sizes[side] = clustering.halves[2 * i + side].size();
    summary.h_ave = summary.h_min = nan;
    if (members.empty()) continue;
    array<tTaxaSet> alone(1);
    alone[0] = members;
    array<vector> direction(1);
    direction[0] = clustering.means[i];
    summary.h_ave = H_ave(clustering.data, alone, direction, 1);
    summary.h_min = H_min(clustering.data, alone, direction);
  }
  for (tClusterSummary& summary : result)
    summary.share = cluster_share(summary.objective, objective);
  return result;
}

double cluster_share(double part, double objective) {
  return part / objective;
}
