// Unit-centroid k-means: items go to the mean with the largest scalar product, means become the
// normalised centroids of their members, until a pass gains at most the tolerance.
#include "algorithms/kmeans.hpp"

#include <cassert>
#include <cmath>
#include <vector>

#include "algorithms/lanes.hpp"
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

// sum[c] + r[0][c] + r[1][c] + ... for Count rows: each entry its own sum, rows in their order;
// the entries only run side by side in the lanes.
template <class V, int Count>
TOOLKIT_INLINE void add_rows(double* sum, const double* const* r, int d) {
  int c = 0;
  // Each entry adds the rows in member order, as vector += one row at a time does.
  for (; c + lanes<V> <= d; c += lanes<V>) {
    V s = load<V>(sum + c);
#pragma GCC unroll 4
    for (int k = 0; k < Count; ++k) s = s + load<V>(r[k] + c);
    store(sum + c, s);
  }
  for (; c < d; ++c)
    for (int k = 0; k < Count; ++k) sum[c] = sum[c] + r[k][c];
}

template <class V>
TOOLKIT_INLINE void add_all_rows(double* sum, const std::vector<const double*>& rows, int d) {
  std::size_t i = 0;
  for (; i + 4 <= rows.size(); i += 4) add_rows<V, 4>(sum, rows.data() + i, d);
  for (; i < rows.size(); ++i) add_rows<V, 1>(sum, rows.data() + i, d);
}

TOOLKIT_WIDE void wide_add_all_rows(double* sum, const std::vector<const double*>& rows, int d) {
  add_all_rows<v4d>(sum, rows, d);
}

void narrow_add_all_rows(double* sum, const std::vector<const double*>& rows, int d) {
  add_all_rows<v2d>(sum, rows, d);
}

// The normalised mean of the member rows, summed in member order and scaled by 1/n first.
vector unit_centroid(const matrix& data, const tTaxaSet& members) {
  vector w(data.dim2());
  add_member_rows(data, members, w);
  w = w * (1.0 / members.size());
  return w / w.length();
}

bool all_finite(const vector& v) {
  for (int i = 0; i < v.dim(); ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// One sweep of the items over the offered means gives where each item goes in the next pass
// (-1 where no mean scores above -1000.0) and its product with the mean of the cluster it is
// in now (label, -1 for none), for the objective; both are the dot_prod sums. Indexed by row.
struct tScores {
  std::vector<int> next;
  std::vector<double> own;
};

tScores score_items(const matrix& data, const std::vector<int>& items, const array<vector>& means,
                    const std::vector<int>& offered, const std::vector<int>& label) {
  const int k = static_cast<int>(offered.size());
  tScores scores{std::vector<int>(label.size(), -1), std::vector<double>(label.size(), 0.0)};
  std::vector<int> lane(means.size(), -1);
  for (int t = 0; t < k; ++t) lane[offered[t]] = t;
  const tMeanPanel panel(means, offered, data.dim2());
  std::vector<double> products(static_cast<std::size_t>(tMeanPanel::max_rows) * k);
  for (std::size_t t = 0; t < items.size(); t += tMeanPanel::max_rows) {
    const int count = static_cast<int>(
        items.size() - t < tMeanPanel::max_rows ? items.size() - t : tMeanPanel::max_rows);
    const double* rows[tMeanPanel::max_rows];
    for (int h = 0; h < count; ++h) rows[h] = data.row(items[t + h]).data();
    panel.products(rows, count, products.data());
    for (int h = 0; h < count; ++h) {
      const int x = items[t + h];
      const double* p = products.data() + static_cast<std::size_t>(h) * k;
      scores.next[x] = closest(p, offered);
      if (label[x] >= 0) scores.own[x] = p[lane[label[x]]];
    }
  }
  return scores;
}

// The plain objective from the own products: clusters in order, members ascending.
double objective(const array<tTaxaSet>& cluster_array, const tScores& scores) {
  double obj = 0.0;
  for (const tTaxaSet& cluster : cluster_array)
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it))
      obj = obj + scores.own[cluster.inf(it)];
  return obj;
}

// Sets label[x] to the cluster of every item when no item is in two clusters, every item is a
// row and every mean fits the rows; false otherwise, and then the entry objective is formed
// apart, with the checks of cluster_objective.
bool entry_labels(const matrix& data, const array<tTaxaSet>& cluster_array,
                  const array<vector>& means, std::vector<int>& label) {
  for (const vector& mean : means)
    if (mean.dim() != data.dim2()) return false;
  for (int i = 0; i < cluster_array.size(); ++i)
    for (tItem it = cluster_array[i].first_item(); it; it = cluster_array[i].next_item(it)) {
      const int x = cluster_array[i].inf(it);
      if (x >= data.dim1() || label[x] != -1) return false;
      label[x] = i;
    }
  return true;
}

// Whether a fall of the objective is within what rounding can do to it: each product of a row
// with a unit mean errs by about dim2 units in the last place of the row's length, and summing
// the items adds their count again; two objectives are compared, and the bound is doubled more.
bool within_rounding(double fall, const matrix& data, const std::vector<int>& items) {
  double lengths = 0.0;
  for (int x : items) lengths += data.row(x).length();
  const double terms = static_cast<double>(data.dim2()) + static_cast<double>(items.size()) + 2.0;
  return fall <= 4.0 * terms * std::ldexp(1.0, -53) * lengths;
}

}  // namespace

void add_member_rows(const matrix& data, const tTaxaSet& members, vector& sum) {
  assert(sum.dim() == data.dim2());
  std::vector<const double*> rows;
  for (tItem it = members.first_item(); it; it = members.next_item(it))
    rows.push_back(data.row(members.inf(it)).data());
  if (wide_lanes())
    wide_add_all_rows(sum.data(), rows, data.dim2());
  else
    narrow_add_all_rows(sum.data(), rows, data.dim2());
}

void kmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
            double tolerance) {
  // A negative tolerance could keep the loop from ever ending.
  if (!(tolerance >= 0.0)) tolerance = 0.0;
  const int k = cluster_array.size();
  tTaxaSet item_set;
  for (const tTaxaSet& cluster : cluster_array)
    for (int x : members_of(cluster)) item_set.insert(x);
  const std::vector<int> items = members_of(item_set);
  const std::size_t span = items.empty() ? 0 : items.back() + 1;
  std::vector<int> start_cluster(span, -1), label(span, -1);
  std::vector<bool> retired(k, false);
  std::vector<int> offered;
  for (int i = 0; i < k; ++i) offered.push_back(i);
  // The first placement's products give the entry objective too, where the clusters allow it.
  const bool own_products = entry_labels(data, cluster_array, means, label);
  double obj = 0.0;
  if (!own_products) {
    obj = cluster_objective(data, cluster_array, means, false);
    label.assign(span, -1);
  }
  tScores scores = score_items(data, items, means, offered, label);
  if (own_products) obj = objective(cluster_array, scores);
  // means[i] is what the update made of the members cluster i had before this pass (never the
  // entry means: they come from the caller).
  std::vector<bool> is_update(k, false);
  for (;;) {
    const double prev_obj = obj;
    const array<tTaxaSet> before = cluster_array;
    const array<vector> means_before = means;
    // An item that no mean scores above -1000.0 stays where it was (the lowest such cluster).
    for (int i = k - 1; i >= 0; --i)
      for (int x : members_of(cluster_array[i])) start_cluster[x] = i;
    for (tTaxaSet& cluster : cluster_array) cluster.clear();
    for (int x : items) {
      label[x] = scores.next[x] > -1 ? scores.next[x] : start_cluster[x];
      cluster_array[label[x]].insert(x);
    }
    // A cluster that kept its members keeps its mean: the update would give the same bits again.
    // When no mean and no offer changed, neither did any product.
    bool changed = false;
    offered.clear();
    for (int i = 0; i < k; ++i) {
      if (cluster_array[i].empty()) {
        changed = changed || !retired[i];
        retired[i] = true;
        continue;
      }
      if (retired[i] || !is_update[i] || !(cluster_array[i] == before[i])) {
        // Rows that sum to the zero vector have no centroid direction: the old mean stays.
        const vector w = unit_centroid(data, cluster_array[i]);
        if (all_finite(w)) means[i] = w;
        is_update[i] = true;
        changed = true;
      }
      retired[i] = false;
      offered.push_back(i);
    }
    // The products with the new means give this pass's objective and the next pass's placement.
    if (changed) scores = score_items(data, items, means, offered, label);
    obj = objective(cluster_array, scores);
    // Large rows make rounding worth more than the 1e-7 slack: a fall within rounding means the
    // clustering has settled, so the pass before (the larger objective) is kept.
    if (obj + 0.0000001 < prev_obj && within_rounding(prev_obj - obj, data, items)) {
      cluster_array = before;
      means = means_before;
      return;
    }
    // A mean passed in with entries that are not numbers makes the entry objective one too;
    // there is nothing to compare then. The condition's text, spacing included, is in the report.
    // clang-format off
    if (!std::isnan(prev_obj) && !std::isnan(obj)) assert(obj + 0.0000001>= prev_obj);
    // clang-format on
    if (!(obj - prev_obj > tolerance)) return;
  }
}
