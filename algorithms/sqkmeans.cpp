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

// The offered mean with the largest squared product (the lowest on ties), -1 when none is
// offered; a row without any numeric product goes to the lowest offered cluster, not nowhere.
int closest(const double* products, const std::vector<int>& offered) {
  double best = -2.0;
  int choice = -1;
  for (std::size_t t = 0; t < offered.size(); ++t) {
    const double score = products[t] * products[t];
    if (score > best) {
      best = score;
      choice = offered[t];
    }
  }
  if (choice == -1 && !offered.empty()) choice = offered[0];
  return choice;
}

// One sweep over the rows with the offered means gives both where each row goes in the next pass
// and its product with the mean of the cluster it is in now (label), for the objective; the
// products are the dot_prod sums, so both agree bit for bit with computing them apart.
struct tScores {
  std::vector<int> next;    // cluster for the next pass
  std::vector<double> own;  // product with the own cluster's mean; 0.0 for label -1
};

tScores score_rows(const matrix& data, const array<vector>& means, const std::vector<int>& offered,
                   const std::vector<int>& label) {
  const int rows = data.dim1(), k = static_cast<int>(offered.size());
  tScores scores{std::vector<int>(rows), std::vector<double>(rows, 0.0)};
  std::vector<int> lane(means.size(), -1);
  for (int t = 0; t < k; ++t) lane[offered[t]] = t;
  const tMeanPanel panel(means, offered, data.dim2());
  std::vector<double> products(static_cast<std::size_t>(tMeanPanel::max_rows) * k);
  for (int r = 0; r < rows; r += tMeanPanel::max_rows) {
    const int count = rows - r < tMeanPanel::max_rows ? rows - r : tMeanPanel::max_rows;
    const double* row_data[tMeanPanel::max_rows];
    for (int h = 0; h < count; ++h) row_data[h] = data.row(r + h).data();
    panel.products(row_data, count, products.data());
    for (int h = 0; h < count; ++h) {
      const double* p = products.data() + static_cast<std::size_t>(h) * k;
      scores.next[r + h] = closest(p, offered);
      if (label[r + h] >= 0) scores.own[r + h] = p[lane[label[r + h]]];
    }
  }
  return scores;
}

// Sets label to the cluster of every row (-1 for rows in none) when no row is in two clusters,
// every member is a row and every offered mean fits the rows; false otherwise, and then the entry
// objective is formed apart, with the checks of cluster_objective.
bool entry_labels(const matrix& data, const array<tTaxaSet>& cluster_array,
                  const array<vector>& means, const std::vector<int>& offered,
                  std::vector<int>& label) {
  const int rows = data.dim1();
  label.assign(rows, -1);
  for (int j : offered)
    if (means[j].dim() != data.dim2()) return false;
  for (int i = 0; i < cluster_array.size(); ++i)
    for (tItem it = cluster_array[i].first_item(); it; it = cluster_array[i].next_item(it)) {
      const int x = cluster_array[i].inf(it);
      if (x >= rows || label[x] != -1) return false;
      label[x] = i;
    }
  return true;
}

// The squared objective of clusters in which every row has one label, from its own products.
double objective(const array<tTaxaSet>& cluster_array, const tScores& scores) {
  double obj = 0.0;
  for (const tTaxaSet& cluster : cluster_array)
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it)) {
      const double p = scores.own[cluster.inf(it)];
      obj = obj + p * p;
    }
  return obj;
}

}  // namespace

double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations, int verbosity) {
  assert(cluster_array.size() == means.size());
  const int k = cluster_array.size(), rows = data.dim1();
  // A cluster without members on entry has no direction (the driver gives it none): it is
  // retired from the start, which also covers more clusters than rows.
  std::vector<bool> retired(k);
  std::vector<int> offered;
  for (int i = 0; i < k; ++i) {
    retired[i] = cluster_array[i].empty();
    if (!retired[i]) offered.push_back(i);
  }
  // The first placement's products give the entry objective too, where the clusters allow it.
  std::vector<int> label;
  const bool own_products = entry_labels(data, cluster_array, means, offered, label);
  double obj = 0.0;
  if (!own_products) {
    obj = cluster_objective(data, cluster_array, means, true);
    label.assign(rows, -1);
  }
  tScores scores = score_rows(data, means, offered, label);
  if (own_products) obj = objective(cluster_array, scores);
  // means[i] is the principal direction of the members cluster i had before this pass (never of
  // the entry clusters: their means come from the caller).
  std::vector<bool> is_direction(k, false);
  for (;;) {
    const double prev_obj = obj;
    progress(verbosity, "reset clusters for next round");
    const array<tTaxaSet> kept_clusters = cluster_array;
    const array<vector> kept_means = means;
    for (tTaxaSet& cluster : cluster_array) cluster.clear();
    if (rows > 0) {
      for (int j : offered) {
        const vector& w = means[j];
        assert(w.length() <= 1 + 0.0000001);
      }
    }
    for (int r = 0; r < rows; ++r) {
      const int closest_mean = scores.next[r];
      assert(closest_mean > -1);
      cluster_array[closest_mean].insert(r);
      label[r] = closest_mean;
    }
    progress(verbosity, "update the means");
    // A cluster that kept its members keeps its direction: the iteration would give the same
    // bits again. When no mean and no offer changed, neither did any product.
    bool changed = false;
    offered.clear();
    for (int i = 0; i < k; ++i) {
      if (cluster_array[i].empty()) {
        changed = changed || !retired[i];
        retired[i] = true;
        continue;
      }
      if (!is_direction[i] || !(cluster_array[i] == kept_clusters[i])) {
        means[i] = principal_direction(data, cluster_array[i], iterations);
        is_direction[i] = true;
        changed = true;
      }
      offered.push_back(i);
    }
    // The products with the new means give this pass's objective and the next pass's placement.
    if (changed) scores = score_rows(data, means, offered, label);
    obj = objective(cluster_array, scores);
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
