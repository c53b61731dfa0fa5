// Scalar products of items with representatives, and the cluster objective built on them.
#pragma once

#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// Sum of u[i] * v[i] from the lowest index up. REQUIRES: u.dim() == v.dim()
double dot_prod(const vector& u, const vector& v);
// The square of dot_prod: a row and its negation are equally close to a direction.
double dot_prod2(const vector& u, const vector& v);

// Sum over clusters i and members x (ascending) of the product of means[i] with row x,
// squared when squared is true. Empty clusters add nothing.
double cluster_objective(const matrix& data, const array<tTaxaSet>& cluster_array,
                         const array<vector>& means, bool squared);

// A chosen subset of means laid side by side, so that one sweep over a row yields its products
// with all of them; each product is still the dot_prod sum, from the lowest index up.
class tMeanPanel {
 public:
  // Copies means[j] for every j of offered, in that order. REQUIRES: each has dimension dim.
  tMeanPanel(const array<vector>& means, const std::vector<int>& offered, int dim);

  int size() const { return count_; }
  // out_a[t] = dot_prod(mean t, row_a) and out_b[t] likewise for row_b (which may be row_a);
  // rows hold dim entries, outputs size() entries.
  void products(const double* row_a, const double* row_b, double* out_a, double* out_b) const;

 private:
  template <int Width>
  void sweep(const double* lanes, const double* row_a, const double* row_b, double* out_a,
             double* out_b) const;

  int count_;
  int dim_;
  int width_;                  // lanes per block: 4, or 8 when more than four means
  std::vector<double> panel_;  // block b, entry c, lane l at (b * dim_ + c) * width_ + l
};
