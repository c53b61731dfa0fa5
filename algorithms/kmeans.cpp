// Unit-centroid k-means: items go to the mean with the largest scalar product, means become the
// normalised centroids of their members, until a pass gains at most the tolerance.
#include "algorithms/kmeans.hpp"

#include <cassert>
#include <cmath>
#include <vector>

#include "algorithms/products.hpp"

namespace {

std::vector<int> members_of(const tTaxaSet& s) {
  std::vector<int> members;
  for (tItem it = s.first_item(); it; it = s.next_item(it)) members.push_back(s.inf(it));
  return members;
}

// The offered mean with the largest product above -1000.0 (the lowest on ties), or -1.
int closest(const double* products, const std::vector<int>& offered) {
  double best = -1000.0;
  int chosen = -1;
  for (std::size_t t = 0; t < offered.size(); ++t) {
    if (products[t] > best) {
      best = products[t];
      chosen = offered[t];
    }
  }
  return chosen;
}

// The normalised mean of the member rows, summed in member order and scaled by 1/n first.
vector unit_centroid(const matrix& data, const tTaxaSet& members) {
  vector w(data.dim2());
  for (tItem it = members.first_item(); it; it = members.next_item(it))
    w += data.row(members.inf(it));
  w = w * (1.0 / members.size());
  return w / w.length();
}

bool all_finite(const vector& v) {
  for (int i = 0; i < v.dim(); ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

}  // namespace

void kmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
            double tolerance) {
  // A negative tolerance could keep the loop from ever ending.
  if (!(tolerance >= 0.0)) tolerance = 0.0;
  const int k = cluster_array.size();
  tTaxaSet item_set;
  for (const tTaxaSet& cluster : cluster_array)
    for (int x : members_of(cluster)) item_set.insert(x);
  const std::vector<int> items = members_of(item_set);
  std::vector<int> start_cluster(items.empty() ? 0 : items.back() + 1, -1);
  std::vector<bool> retired(k, false);
  double obj = cluster_objective(data, cluster_array, means, false);
  std::vector<double> pa, pb;
  for (;;) {
    const double prev_obj = obj;
    // An item that no mean scores above -1000.0 stays where it was (the lowest such cluster).
    for (int i = k - 1; i >= 0; --i)
      for (int x : members_of(cluster_array[i])) start_cluster[x] = i;
    std::vector<int> offered;
    for (int i = 0; i < k; ++i) {
      cluster_array[i].clear();
      if (!retired[i]) offered.push_back(i);
    }
    const tMeanPanel panel(means, offered, data.dim2());
    pa.resize(offered.size());
    pb.resize(offered.size());
    for (std::size_t t = 0; t < items.size(); t += 2) {
      const int x = items[t], y = items[t + 1 < items.size() ? t + 1 : t];
      panel.products(data.row(x).data(), data.row(y).data(), pa.data(), pb.data());
      const int cx = closest(pa.data(), offered), cy = closest(pb.data(), offered);
      cluster_array[cx > -1 ? cx : start_cluster[x]].insert(x);
      cluster_array[cy > -1 ? cy : start_cluster[y]].insert(y);
    }
    for (int i = 0; i < k; ++i) {
      if (cluster_array[i].empty()) {
        retired[i] = true;
        continue;
      }
      // Rows that sum to the zero vector have no centroid direction: the old mean stays.
      const vector w = unit_centroid(data, cluster_array[i]);
      if (all_finite(w)) means[i] = w;
      retired[i] = false;
    }
    obj = cluster_objective(data, cluster_array, means, false);
    // A mean passed in with entries that are not numbers makes the entry objective one too;
    // there is nothing to compare then. The condition's text, spacing included, is in the report.
    // clang-format off
    if (!std::isnan(prev_obj) && !std::isnan(obj)) assert(obj + 0.0000001>= prev_obj);
    // clang-format on
    if (!(obj - prev_obj > tolerance)) return;
  }
}
