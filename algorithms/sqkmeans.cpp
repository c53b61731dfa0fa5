// k-svd clustering: rows go to the direction with the largest squared product, directions are
// the clusters' principal directions, until a pass gains less than the tolerance.
#include "algorithms/sqkmeans.hpp"

#include <cassert>
#include <vector>

#include "algorithms/principal_direction.hpp"
#include "algorithms/refinement.hpp"
#include "lib/assertion.hpp"
#include "lib/diagnostics.hpp"

namespace {

// Squared products, principal directions; a pass gaining less than the tolerance ends the loop
// and a falling one is undone.
struct tDirectionPolicy {
  static constexpr bool squared = true;
  static constexpr double floor = -2.0;
  // A cluster without members on entry has no direction (the driver gives it none): it is
  // retired from the start, which also covers more clusters than rows.
  static constexpr bool offer_empty = false;
  static double score(double product) { return product * product; }

  int iterations;
  double tolerance;

  // A row without any numeric product goes to the lowest offered cluster, not nowhere.
  int unplaced(int, const array<tTaxaSet>&, const std::vector<int>& offered) const {
    return offered.empty() ? -1 : offered[0];
  }
  void check_offer(const array<vector>& means, const std::vector<int>& offered) const {
    for (int j : offered) {
      const vector& w = means[j];
      TOOLKIT_ASSERT(w.length() <= 1 + objective_slack, "w.length() <= 1 + 0.0000001");
    }
  }
  void update(const matrix& data, const tTaxaSet& members, vector& mean) const {
    mean = principal_direction(data, members, iterations);
  }
  tVerdict verdict(double prev_obj, double obj) const {
    // Few principal direction steps can give directions worse than the last ones: keep those.
    if (obj + objective_slack < prev_obj) {
      warning(
          "k-svd clustering: a pass lowered the objective from %g to %g; the clusters from "
          "before that pass are kept (more principal direction steps avoid this)",
          prev_obj, obj);
      return tVerdict::undo;
    }
    const double gain = obj - prev_obj;
    // A pass that gains nothing ends the loop whatever the tolerance, so one of 0 or below
    // cannot keep it going forever.
    return !(gain >= tolerance) || gain <= 0.0 ? tVerdict::stop : tVerdict::next_pass;
  }
};

}  // namespace

double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations, tRefinementObserver& observer) {
  assert(cluster_array.size() == means.size());
  std::vector<int> rows(data.dim1());
  for (int r = 0; r < data.dim1(); ++r) rows[r] = r;
  return refine(data, rows, cluster_array, means, tDirectionPolicy{iterations, tolerance},
                observer);
}

double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations) {
  tRefinementObserver silent;
  return sqkmeans(data, cluster_array, means, tolerance, iterations, silent);
}
