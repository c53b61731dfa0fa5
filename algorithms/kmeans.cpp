// Unit-centroid k-means: items go to the mean with the largest scalar product, means become the
// normalised centroids of their members, until a pass gains at most the tolerance.
#include "algorithms/kmeans.hpp"

#include <cassert>
#include <cmath>
#include <vector>

#include "algorithms/lanes.hpp"
#include "algorithms/refinement.hpp"
#include "lib/assertion.hpp"

namespace {

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

TOOLKIT_WIDEST void widest_add_all_rows(double* sum, const std::vector<const double*>& rows,
                                        int d) {
  add_all_rows<v8d>(sum, rows, d);
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

// Whether a fall of the objective is within what rounding can do to it: each product of a row
// with a unit mean errs by about dim2 units in the last place of the row's length, and summing
// the items adds their count again; two objectives are compared, and the bound is doubled more.
bool within_rounding(double fall, const matrix& data, const std::vector<int>& items) {
  double lengths = 0.0;
  for (int x : items) lengths += data.row(x).length();
  const double terms = static_cast<double>(data.dim2()) + static_cast<double>(items.size()) + 2.0;
  return fall <= 4.0 * terms * std::ldexp(1.0, -53) * lengths;
}

// Plain products, unit centroids; a pass gaining at most the tolerance ends the loop.
struct tCentroidPolicy {
  static constexpr bool squared = false;
  static constexpr double floor = -1000.0;
  static constexpr bool offer_empty = true;
  static double score(double product) { return product; }

  const matrix& data;
  const std::vector<int>& items;
  double tolerance;

  // An item that no mean scores above the floor stays where it was (the lowest such cluster).
  int unplaced(int item, const array<tTaxaSet>& before, const std::vector<int>&) const {
    for (int i = 0; i < before.size(); ++i)
      if (before[i].member(item)) return i;
    return -1;
  }
  void check_offer(const array<vector>&, const std::vector<int>&) const {}
  // Rows that sum to the zero vector have no centroid direction: the old mean stays.
  void update(const matrix& rows, const tTaxaSet& members, vector& mean) const {
    const vector w = unit_centroid(rows, members);
    if (all_finite(w)) mean = w;
  }
  tVerdict verdict(double prev_obj, double obj) const {
    // Large rows make rounding worth more than the 1e-7 slack: a fall within rounding means the
    // clustering has settled, so the pass before (the larger objective) is kept.
    if (obj + objective_slack < prev_obj && within_rounding(prev_obj - obj, data, items))
      return tVerdict::undo;
    // A mean passed in with entries that are not numbers makes the entry objective one too;
    // there is nothing to compare then.
    if (!std::isnan(prev_obj) && !std::isnan(obj))
      TOOLKIT_ASSERT(obj + objective_slack >= prev_obj, "obj + 0.0000001>= prev_obj");
    return obj - prev_obj > tolerance ? tVerdict::next_pass : tVerdict::stop;
  }
};

}  // namespace

void add_member_rows(const matrix& data, const tTaxaSet& members, vector& sum) {
  assert(sum.dim() == data.dim2());
  std::vector<const double*> rows;
  for (tItem it = members.first_item(); it; it = members.next_item(it))
    rows.push_back(data.row(members.inf(it)).data());
  const int width = lane_width();
  const auto add = width == 8   ? widest_add_all_rows
                   : width == 4 ? wide_add_all_rows
                                : narrow_add_all_rows;
  add(sum.data(), rows, data.dim2());
}

void kmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
            double tolerance) {
  tTaxaSet item_set;
  for (const tTaxaSet& cluster : cluster_array)
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it))
      item_set.insert(cluster.inf(it));
  const std::vector<int> items = refinement::members_of(item_set);
  // A negative tolerance could keep the loop from ever ending.
  const tCentroidPolicy policy{data, items, tolerance >= 0.0 ? tolerance : 0.0};
  tRefinementObserver silent;
  refine(data, items, cluster_array, means, policy, silent);
}
