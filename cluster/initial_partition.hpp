// The clusters the run starts from and their first means.
#pragma once

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/random_source.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// The cluster index of every row 0 .. rows-1, drawn from draws (a source over 0 .. k-1).
array<int> random_assignment(int rows, random_source& draws);

// The k clusters an assignment describes: row r in cluster assignment[r].
// REQUIRES: every label in 0 .. k-1
array<tTaxaSet> clusters_of(const array<int>& assignment, int k);

// The principal direction of every non-empty cluster; an empty cluster gets a mean of
// dimension 0, which the clustering never offers to a row.
array<vector> initial_means(const matrix& data, const array<tTaxaSet>& clusters, int iterations);
