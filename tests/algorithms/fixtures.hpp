// Random data makers and literal reference computations shared by the algorithm tests.
#pragma once

#include <random>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// Clusters of row indices with one mean each, as the clustering routines take them.
struct Clustering {
  array<tTaxaSet> clusters;
  array<vector> means;
};

// Entries uniform in [-1, 1), drawn row by row.
inline matrix random_matrix(std::mt19937& gen, int rows, int cols) {
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  matrix m(rows, cols);
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) m(r, c) = value(gen);
  return m;
}

// `groups` rows of standard normal entries. The caller's distribution is used so that the values
// it keeps between draws carry on into the caller's own draws.
inline matrix random_centres(std::mt19937& gen, std::normal_distribution<double>& normal,
                             int groups, int cols) {
  matrix centres(groups, cols);
  for (int g = 0; g < groups; ++g)
    for (int c = 0; c < cols; ++c) centres(g, c) = normal(gen);
  return centres;
}

// A vector of d ones.
inline vector ones(int d) {
  vector v(d);
  for (int i = 0; i < d; ++i) v[i] = 1.0;
  return v;
}

// The power iteration written literally: both sides, transposes and one-column matrices every step.
inline void reference_klineberg(const matrix& B, vector& result, int iterations) {
  vector x = ones(B.dim2()), y = ones(B.dim1());
  for (int step = 0; step < iterations; ++step) {
    const vector x_next = static_cast<vector>(B.trans() * matrix(y));
    const vector y_next = static_cast<vector>(B * matrix(x));
    y = y_next / y_next.length();
    x = x_next / x_next.length();
  }
  result = y;
}

// The principal direction of the member rows from the literal iteration, scaled to unit length.
inline vector reference_direction(const matrix& data, const tTaxaSet& members, int iterations) {
  matrix A(members.size(), data.dim2());
  int j = 0;
  for (tItem it = members.first_item(); it; it = members.next_item(it))
    A.row(j++) = data.row(members.inf(it));
  vector u(data.dim2());
  reference_klineberg(A.trans(), u, iterations);
  return u / u.length();
}
