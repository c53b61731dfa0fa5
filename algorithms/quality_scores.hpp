// Homogeneity and separation scores of a finished clustering.
#pragma once

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// The four scores read the clustering triple and change nothing. A squared argument other than 0
// selects dot_prod2, 0 the plain dot_prod. Pairs run over clusters i < j that are both non-empty;
// members over every non-empty cluster in index order, each member ascending.

// Mean product of the means over the pairs, each weighted by the product of the two sizes;
// NaN when fewer than two clusters are non-empty. data is not read.
double S_ave(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means,
             int squared);
// Largest plain product of two means over the pairs, never below 0.0. data is not read.
double S_max(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means);
// Sum over members of the product of the member's row with its cluster's mean, divided by the
// element count of the union of the clusters (NaN when all are empty).
double H_ave(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means,
             int squared);
// Smallest plain product of a member's row with its cluster's mean, never above 1000000.0.
double H_min(const matrix& data, const array<tTaxaSet>& cluster_array, const array<vector>& means);
