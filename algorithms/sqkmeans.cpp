// k-svd clustering: rows go to the direction with the largest squared product, directions are
// the clusters' principal directions, until a pass gains less than the tolerance.
#include "algorithms/sqkmeans.hpp"

#include <cassert>
#include <iostream>
#include <vector>

#include "algorithms/principal_direction.hpp"
#include "algorithms/products.hpp"
#include "lib/diagnostics.hpp"

namespace {

void progress(int verbosity, const char* line) {
  if (verbosity > 3) std::cout << line << std::endl;
}

// The offered mean with the largest squared product (the lowest on ties); a row without any
// numeric product goes to the lowest offered cluster rather than nowhere.
int closest(const std::vector<double>& products, const std::vector<int>& offered) {
  double best = -2.0;
  int closest_mean = -1;
  for (std::size_t t = 0; t < offered.size(); ++t) {
    const double score = products[t] * products[t];
    if (score > best) {
      best = score;
      closest_mean = offered[t];
    }
  }
  if (closest_mean == -1 && !offered.empty()) closest_mean = offered[0];
  assert(closest_mean > -1);
  return closest_mean;
}

// Places every row of data, two rows per sweep over the offered means.
void place_rows(const matrix& data, array<tTaxaSet>& cluster_array, const array<vector>& means,
                const std::vector<int>& offered) {
  const int rows = data.dim1();
  if (rows == 0) return;
  for (int j : offered) {
    const vector& w = means[j];
    assert(w.length() <= 1 + 0.0000001);
  }
  const tMeanPanel panel(means, offered, data.dim2());
  std::vector<double> pa(offered.size()), pb(offered.size());
  for (int r = 0; r < rows; r += 2) {
    const int s = r + 1 < rows ? r + 1 : r;
    panel.products(data.row(r).data(), data.row(s).data(), pa.data(), pb.data());
    cluster_array[closest(pa, offered)].insert(r);
    if (s != r) cluster_array[closest(pb, offered)].insert(s);
  }
}

}  // namespace

double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations, int verbosity) {
  assert(cluster_array.size() == means.size());
  const int k = cluster_array.size();
  // A cluster without members on entry has no direction (the driver gives it none): it is
  // retired from the start, which also covers more clusters than rows.
  std::vector<bool> retired(k);
  for (int i = 0; i < k; ++i) retired[i] = cluster_array[i].empty();
  double obj = cluster_objective(data, cluster_array, means, true);
  for (;;) {
    const double prev_obj = obj;
    progress(verbosity, "reset clusters for next round");
    const array<tTaxaSet> kept_clusters = cluster_array;
    const array<vector> kept_means = means;
    std::vector<int> offered;
    for (int i = 0; i < k; ++i) {
      cluster_array[i].clear();
      if (!retired[i]) offered.push_back(i);
    }
    place_rows(data, cluster_array, means, offered);
    progress(verbosity, "update the means");
    for (int i = 0; i < k; ++i) {
      if (cluster_array[i].empty())
        retired[i] = true;
      else
        means[i] = principal_direction(data, cluster_array[i], iterations);
    }
    obj = cluster_objective(data, cluster_array, means, true);
    if (verbosity > 3) std::cout << prev_obj << ' ' << obj << std::endl;
    // Few principal direction steps can give directions worse than the last ones: keep those.
    if (obj + 0.0000001 < prev_obj) {
      warning(
          "k-svd clustering: a pass lowered the objective from %g to %g; the clusters from "
          "before that pass are kept (more principal direction steps avoid this)",
          prev_obj, obj);
      cluster_array = kept_clusters;
      means = kept_means;
      return prev_obj;
    }
    const double gain = obj - prev_obj;
    // A pass that gains nothing ends the loop whatever the tolerance, so one of 0 or below
    // cannot keep it going forever.
    if (!(gain >= tolerance) || gain <= 0.0) return obj;
  }
}
