// k-svd clustering: rows go to the direction with the largest squared product.
#pragma once

#include "algorithms/refinement_observer.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// Refines cluster_array and means in place until a pass gains less than tolerance; every row of
// data ends in exactly one cluster. A cluster empty on entry or after a pass is never offered
// again. Every pass is reported to the observer. Returns the squared objective.
// A pass that lowers the objective by more than 1e-7 is undone with a warning, ending the call.
double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations, tRefinementObserver& observer);
// The same, watched by nobody.
double sqkmeans(const matrix& data, array<tTaxaSet>& cluster_array, array<vector>& means,
                double tolerance, int iterations);
