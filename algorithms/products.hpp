// Scalar products of items with representatives, and the cluster objective built on them.
#pragma once

#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// The ascending_sum of u[i] * v[i] (lib/summation.hpp). REQUIRES: u.dim() == v.dim()
double dot_prod(const vector& u, const vector& v);
// The square of dot_prod: a row and its negation are equally close to a direction.
double dot_prod2(const vector& u, const vector& v);

// Sum over clusters i and members x (ascending) of the product of means[i] with row x,
// squared when squared is true. Empty clusters add nothing.
double cluster_objective(const matrix& data, const array<tTaxaSet>& cluster_array,
                         const array<vector>& means, bool squared);

// A chosen subset of means laid side by side, so that one sweep over a few rows yields their
// products with all of them; each product is still the dot_prod sum, in ascending order.
class tMeanPanel {
 public:
  static constexpr int max_rows = 4;  // rows taken per call

  // Copies means[j] for every j of offered, in that order. REQUIRES: each has dimension dim.
  tMeanPanel(const array<vector>& means, const std::vector<int>& offered, int dim);

  int size() const { return count_; }
  // out[r * size() + t] = dot_prod(mean t, row r) for the rows[0 .. count), each of dim entries.
  // REQUIRES: 1 <= count <= max_rows.
  void products(const double* const* rows, int count, double* out) const;

 private:
  int count_;
  int dim_;
  int width_;                  // lanes per block: 2, 4 or 8, the fewest that hold all (up to 8)
  std::vector<double> panel_;  // block b, entry c, lane l at (b * dim_ + c) * width_ + l
};

// out[j] = dot_prod(mean, row of the j-th member), members in increasing order; out holds
// members.size() entries. REQUIRES: mean.dim() == data.dim2() (assertion "u.dim() == v.dim()").
void member_products(const matrix& data, const tTaxaSet& members, const vector& mean, double* out);
