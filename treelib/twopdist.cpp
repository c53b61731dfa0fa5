// Kimura two-parameter gamma distance correction with its saturation replacements.
#include "treelib/twopdist.hpp"

#include <cmath>

#include "treelib/pair_passes.hpp"

namespace {

constexpr double kMargin = 1e-7;  // w1 or w2 at or below this counts as saturated

// w2 is examined before w1 is formed.
bool saturated_pair(double p, double q) {
  const double w2 = 1 - 2 * q;
  if (w2 <= kMargin) return true;
  const double w1 = 1 - 2 * p - q;
  return w1 <= kMargin;
}

double k2p_gamma_distance(double p, double q, double alpha) {
  const double w1 = 1 - 2 * p - q;
  const double w2 = 1 - 2 * q;
  const double e = -1.0 / alpha;
  return (alpha / 2) * (std::pow(w1, e) + 0.5 * std::pow(w2, e) - 1.5);
}

// Shared first pass: distances of the correctable pairs, the marker elsewhere; maxd is the
// largest distance written (0.0 if none). Rows in order, each pair's arithmetic as written; only
// the indexing is unchecked.
bool correct_pairs(const tMatrix& P, const tMatrix& Q, tMatrix& D, double alpha, double& maxd) {
  const int n = P.dim1();
  const long wp = checked_stride(P, n);
  const long wq = checked_stride(Q, n);
  D = P;
  const double* p = P.data();
  const double* q = Q.data();
  maxd = 0.0;
  bool saturated = false;
  write_pairs(D, [&](long i, long j) {
    const double pij = p[i * wp + j];
    const double qij = q[i * wq + j];
    if (saturated_pair(pij, qij)) {
      saturated = true;
      return kSaturated;
    }
    const double d = k2p_gamma_distance(pij, qij, alpha);
    if (d > maxd) maxd = d;
    return d;
  });
  return saturated;
}

}  // namespace

bool twopdist(tMatrix& P, tMatrix& Q, tMatrix& D, int s, double alpha) {
  return twopdist_xfix(P, Q, D, s, 1.0, alpha);
}

bool twopdist_xfix(tMatrix& P, tMatrix& Q, tMatrix& D, int, float x, double alpha) {
  double maxd;
  const bool saturated = correct_pairs(P, Q, D, alpha, maxd);
  if (saturated && x >= 0) replace_above(D, x * maxd);
  return !saturated;
}

bool twopdist_cfix(tMatrix& P, tMatrix& Q, tMatrix& D, int, float x, double alpha) {
  double maxd;
  const bool saturated = correct_pairs(P, Q, D, alpha, maxd);
  if (saturated && x >= 0) replace_above(D, x);
  return !saturated;
}

double percent_saturated(const tTaxaSet& taxa, tMatrix& P, tMatrix& Q, int, double) {
  const int m = taxa.size();
  if (m < 2) return 0.0;  // no pair, so none saturated
  int count = 0;
  for (tItem a = taxa.first_item(); a; a = taxa.next_item(a)) {
    for (tItem b = taxa.first_item(); b; b = taxa.next_item(b)) {
      const int i = taxa.inf(a);
      const int j = taxa.inf(b);
      if (saturated_pair(P(i, j), Q(i, j))) ++count;
    }
  }
  return 100.0 * count / (m * m - m);
}
