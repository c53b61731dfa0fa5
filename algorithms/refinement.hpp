// The refinement engine shared by kmeans and sqkmeans: the pass loop, the retirement of empty
// clusters, the offering of means, the scoring of items and the objective. A policy gives the
// rest:
//   static constexpr bool squared;       the objective's form (cluster_objective's flag)
//   static constexpr double floor;       a mean must score above it to win an item
//   static constexpr bool offer_empty;   clusters empty on entry offer their means in pass 1
//   static double score(double product); how well a product places an item (also its objective)
//   int unplaced(int item, const array<tTaxaSet>& before, const std::vector<int>& offered) const;
//                                        cluster of an item no mean wins (-1: none, which fails)
//   void check_offer(const array<vector>& means, const std::vector<int>& offered) const;
//   void update(const matrix& data, const tTaxaSet& members, vector& mean) const;
//   tVerdict verdict(double prev_obj, double obj) const;  after every pass
#pragma once

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <vector>

#include "algorithms/products.hpp"
#include "algorithms/refinement_observer.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/parallel.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// How far the objective may fall from one pass to the next, and a direction's length exceed 1,
// before rounding alone cannot explain it.
constexpr double objective_slack = 0.0000001;

// What follows a pass: another one, the end, or the end with the pass undone.
enum class tVerdict { next_pass, stop, undo };

// Places items (ascending, every one a row of data) into the clusters by their best-scoring offered
// mean (the lowest index on ties) and updates the means until the policy's verdict ends the
// loop. Clusters that end a pass empty are retired: never offered again, their means kept.
// Returns the objective of the clustering left in place.
template <class Policy>
double refine(const matrix& data, const std::vector<int>& items, array<tTaxaSet>& cluster_array,
              array<vector>& means, const Policy& policy, tRefinementObserver& observer);

namespace refinement {

std::vector<int> members_of(const tTaxaSet& s);

// Sets label[x] to the cluster of every member when no item is in two clusters, every item is a
// row and every offered mean fits the rows; false otherwise, and then the entry objective is
// formed apart, with the checks of cluster_objective.
bool entry_labels(const matrix& data, const array<tTaxaSet>& cluster_array,
                  const array<vector>& means, const std::vector<int>& offered,
                  std::vector<int>& label);

// Where each item goes in the next pass (-1 where no mean wins) and its product with the mean of
// the cluster it is in now (label, -1 for none), for the objective; both from one sweep of
// dot_prod sums. Indexed by item.
struct tScores {
  std::vector<int> next;
  std::vector<double> own;
};

// The offered mean scoring best above the floor (the lowest on ties), or -1.
template <class Policy>
int closest(const double* products, const std::vector<int>& offered) {
  double best = Policy::floor;
  int chosen = -1;
  for (std::size_t t = 0; t < offered.size(); ++t) {
    const double score = Policy::score(products[t]);
    if (score > best) {
      best = score;
      chosen = offered[t];
    }
  }
  return chosen;
}

// Rows per task of the parallel sweep: a multiple of the panel's rows.
constexpr int rows_per_task = 64 * tMeanPanel::max_rows;

// Each item's decision and own product depend on that item alone, so blocks of items are scored
// side by side; every product is still the one dot_prod sum.
template <class Policy>
tScores score_items(const matrix& data, const std::vector<int>& items, const array<vector>& means,
                    const std::vector<int>& offered, const std::vector<int>& label) {
  const int k = static_cast<int>(offered.size());
  tScores scores{std::vector<int>(label.size(), -1), std::vector<double>(label.size(), 0.0)};
  std::vector<int> lane(means.size(), -1);
  for (int t = 0; t < k; ++t) lane[offered[t]] = t;
  const tMeanPanel panel(means, offered, data.dim2());
  const int n = static_cast<int>(items.size());
  parallel_for((n + rows_per_task - 1) / rows_per_task, [&](int task) {
    std::vector<double> products(static_cast<std::size_t>(tMeanPanel::max_rows) * k);
    const int end = std::min(n, (task + 1) * rows_per_task);
    for (int t = task * rows_per_task; t < end; t += tMeanPanel::max_rows) {
      const int count = std::min(end - t, tMeanPanel::max_rows);
      const double* rows[tMeanPanel::max_rows];
      for (int h = 0; h < count; ++h) rows[h] = data.row(items[t + h]).data();
      panel.products(rows, count, products.data());
      for (int h = 0; h < count; ++h) {
        const int x = items[t + h];
        const double* p = products.data() + static_cast<std::size_t>(h) * k;
        scores.next[x] = closest<Policy>(p, offered);
        if (label[x] >= 0) scores.own[x] = p[lane[label[x]]];
      }
    }
  });
  return scores;
}

// The objective from the own products: clusters in order, members ascending.
template <class Policy>
double objective(const array<tTaxaSet>& cluster_array, const tScores& scores) {
  double obj = 0.0;
  for (const tTaxaSet& cluster : cluster_array)
    for (tItem it = cluster.first_item(); it; it = cluster.next_item(it))
      obj = obj + Policy::score(scores.own[cluster.inf(it)]);
  return obj;
}

}  // namespace refinement

template <class Policy>
double refine(const matrix& data, const std::vector<int>& items, array<tTaxaSet>& cluster_array,
              array<vector>& means, const Policy& policy, tRefinementObserver& observer) {
  using namespace refinement;
  const int k = cluster_array.size();
  const std::size_t span = items.empty() ? 0 : items.back() + 1;
  std::vector<bool> retired(k);
  std::vector<int> offered;
  for (int i = 0; i < k; ++i) {
    retired[i] = !Policy::offer_empty && cluster_array[i].empty();
    if (!retired[i]) offered.push_back(i);
  }
  // The first placement's products give the entry objective too, where the clusters allow it.
  std::vector<int> label(span, -1);
  const bool own_products = entry_labels(data, cluster_array, means, offered, label);
  double obj = 0.0;
  if (!own_products) {
    obj = cluster_objective(data, cluster_array, means, Policy::squared);
    label.assign(span, -1);
  }
  tScores scores = score_items<Policy>(data, items, means, offered, label);
  if (own_products) obj = objective<Policy>(cluster_array, scores);
  // means[i] is what the update made of the members cluster i had before this pass (never the
  // entry means: they come from the caller).
  std::vector<bool> is_update(k, false);
  for (int pass = 1;; ++pass) {
    const double prev_obj = obj;
    observer.placing(pass);
    const array<tTaxaSet> kept_clusters = cluster_array;
    const array<vector> kept_means = means;
    for (tTaxaSet& cluster : cluster_array) cluster.clear();
    if (!items.empty()) policy.check_offer(means, offered);
    for (int x : items) {
      const int closest_mean =
          scores.next[x] > -1 ? scores.next[x] : policy.unplaced(x, kept_clusters, offered);
      assert(closest_mean > -1);
      cluster_array[closest_mean].insert(x);
      label[x] = closest_mean;
    }
    observer.updating(pass);
    // A cluster that kept its members keeps its mean: the update would give the same bits again.
    // When no mean and no offer changed, neither did any product.
    bool changed = false;
    offered.clear();
    std::vector<int> updated;
    for (int i = 0; i < k; ++i) {
      if (cluster_array[i].empty()) {
        changed = changed || !retired[i];
        retired[i] = true;
        continue;
      }
      if (!is_update[i] || !(cluster_array[i] == kept_clusters[i])) {
        updated.push_back(i);
        is_update[i] = true;
        changed = true;
      }
      offered.push_back(i);
    }
    // Each update reads only its own cluster: one task per cluster.
    parallel_for(static_cast<int>(updated.size()),
                 [&](int u) { policy.update(data, cluster_array[updated[u]], means[updated[u]]); });
    // The products with the new means give this pass's objective and the next pass's placement.
    if (changed) scores = score_items<Policy>(data, items, means, offered, label);
    obj = objective<Policy>(cluster_array, scores);
    observer.passed(pass, prev_obj, obj);
    const tVerdict verdict = policy.verdict(prev_obj, obj);
    if (verdict == tVerdict::undo) {
      cluster_array = kept_clusters;
      means = kept_means;
      return prev_obj;
    }
    if (verdict == tVerdict::stop) return obj;
  }
}
