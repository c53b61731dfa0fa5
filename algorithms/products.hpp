// Scalar products of items with representatives, and the cluster objective built on them.
#pragma once

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
