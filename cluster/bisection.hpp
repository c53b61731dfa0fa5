// Splitting every k-svd cluster into its two sides, refined by unit-centroid k-means.
#pragma once

#include <iosfwd>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

struct tBisection {
  array<tTaxaSet> split_clusters;  // the two groups of cluster i at 2i and 2i+1
  array<int> half_labels;          // the group of every row
  array<vector> half_means;        // the unit mean of every group after refinement (zero if empty)
};

// Splits every non-empty cluster i by the sign of each member's product with means[i] and
// refines the split with kmeans(tolerance). Writes "computing score..." and "init new clusters"
// (verbosity above 3) and one report block per split cluster (verbosity 1 and above) to out.
tBisection bisect_clusters(const matrix& data, const tNames& names, const array<tTaxaSet>& clusters,
                           const array<vector>& means, double tolerance, int verbosity,
                           std::ostream& out);

// "# BEGIN DIAM", then per group "CLUSTER " and its number, its names (or "EMPTY") and its
// mean, then "END DIAM"; groups 2i and 2i+1 of groups and group_means (all groups).
void write_bisection_block(std::ostream& out, int i, const array<tTaxaSet>& groups,
                           const array<vector>& group_means, const tNames& names);
