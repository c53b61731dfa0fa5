// Homogeneity and separation scores of a finished clustering.
#include "algorithms/quality_scores.hpp"

#include "algorithms/products.hpp"

namespace {

double chosen_product(const vector& u, const vector& v, int squared) {
  return squared ? dot_prod2(u, v) : dot_prod(u, v);
}

}  // namespace

double S_ave(const matrix&, const array<tTaxaSet>& cluster_array, const array<vector>& means,
             int squared) {
  double numerator = 0.0;
  double denominator = 0.0;
  const int k = cluster_array.size();
  for (int i = 0; i < k; ++i) {
    const int ni = cluster_array[i].size();
    if (ni == 0) continue;
    for (int j = i + 1; j < k; ++j) {
      const int nj = cluster_array[j].size();
      if (nj == 0) continue;
      // (s * ni) * nj in floating point, but the weight itself is an exact integer product.
      numerator += chosen_product(means[i], means[j], squared) * ni * nj;
      denominator += ni * nj;
    }
  }
  return numerator / denominator;
}

double S_max(const matrix&, const array<tTaxaSet>& cluster_array, const array<vector>& means) {
  double best = 0.0;
  const int k = cluster_array.size();
  for (int i = 0; i < k; ++i) {
    if (cluster_array[i].empty()) continue;
    for (int j = i + 1; j < k; ++j) {
      if (cluster_array[j].empty()) continue;
      const double s = dot_prod(means[i], means[j]);
      if (s > best) best = s;
    }
  }
  return best;
}

double H_ave(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means,
             int squared) {
  tTaxaSet all;
  double sum = 0.0;
  const int k = cluster_array.size();
  for (int i = 0; i < k; ++i) {
    const tTaxaSet& cluster = cluster_array[i];
    if (cluster.empty()) continue;
    all += cluster;
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it))
      sum += chosen_product(data.row(cluster.inf(it)), means[i], squared);
  }
  // An item in two clusters adds two terms but counts once here.
  return sum / all.size();
}

double H_min(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means) {
  double best = 1000000.0;
  const int k = cluster_array.size();
  for (int i = 0; i < k; ++i) {
    const tTaxaSet& cluster = cluster_array[i];
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it)) {
      const double s = dot_prod(data.row(cluster.inf(it)), means[i]);
      if (s < best) best = s;
    }
  }
  return best;
}
