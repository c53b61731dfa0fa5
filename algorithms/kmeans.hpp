// Unit-centroid k-means under cosine similarity on a fixed item set.
#pragma once

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// Places the items of the entry clusters by largest scalar product (ties to the lower index) and
// makes each non-empty cluster's mean its unit centroid, until a pass gains at most tolerance.
// An item no mean scores above -1000 stays in its cluster; a cluster whose rows sum to zero keeps
// its mean; a negative tolerance counts as 0.
void kmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
            double tolerance);

// Adds the rows of members to sum in member order, every entry on its own (as vector += does).
// REQUIRES: sum.dim() == data.dim2(), every member a row of data.
void add_member_rows(const matrix& data, const tTaxaSet& members, vector& sum);
