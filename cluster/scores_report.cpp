// Scores report: the objective in full, how it divides among clusters, and the quality scores.
#include "cluster/scores_report.hpp"

#include <cstdio>
#include <ostream>

#include "algorithms/products.hpp"
#include "cluster/cluster_summary.hpp"

namespace {

// The part of the k-svd objective that cluster i contributes, its members in increasing order.
double cluster_part(const matrix& data, const tTaxaSet& cluster, const vector& mean) {
  double part = 0.0;
  for (tItem it = cluster.first_item(); it != 0; it = cluster.next_item(it))
    part += dot_prod2(mean, data.row(cluster.inf(it)));
  return part;
}

}  // namespace

void write_scores_report(std::ostream& out, const matrix& data, const array<tTaxaSet>& clusters,
                         const array<vector>& means, double objective, const tQualityScores& q) {
  char full[40];
  std::snprintf(full, sizeof full, "%.17g", objective);
  out << "objective = " << full << '\n';
  for (int i = 0; i < clusters.size(); ++i) {
    const double part = clusters[i].empty() ? 0.0 : cluster_part(data, clusters[i], means[i]);
    out << "cluster " << i << ": size " << clusters[i].size() << ", share " << part / objective
        << '\n';
  }
  out << "S_ave = " << q.s_ave << '\n';
  out << "S_max = " << q.s_max << '\n';
  out << "H_ave = " << q.h_ave << '\n';
  out << "H_min = " << q.h_min << '\n';
}
