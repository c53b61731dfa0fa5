// Clusters four rows, takes their singular vectors and corrects a distance with the installed
// libraries, and prints what it found, one line each.
#include <cmath>
#include <iostream>

#include "algorithms/principal_direction.hpp"
#include "algorithms/sqkmeans.hpp"
#include "algorithms/svd.hpp"
#include "treelib/onepdist.hpp"

int main() {
  matrix data(4, 2);
  const double rows[4][2] = {{1, 0.1}, {-2, 0}, {0.1, 1}, {0, -3}};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 2; ++c) data(r, c) = rows[r][c];
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  for (int r = 0; r < 4; ++r) clusters[r % 2].insert(r);
  for (int i = 0; i < 2; ++i) means[i] = principal_direction(data, clusters[i], 20);
  sqkmeans(data, clusters, means, 1e-6, 20);
  std::cout << clusters[0] << '\n' << clusters[1] << '\n';
  vector u1(4), u2(4);
  singular_vectors(data, u1, u2);
  std::cout << u1.length() + u2.length() << (std::fabs(u1 * u2) < 1e-12 ? " orthogonal" : "")
            << '\n';
  tMatrix observed(2, 2), corrected;
  observed(0, 1) = observed(1, 0) = 0.5;
  onepdist(observed, corrected, 4);
  std::cout << corrected(0, 1) << '\n';
  return 0;
}
