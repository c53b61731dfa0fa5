// The observed proportions of every pair: differing sites (p), transitions (P), transversions (Q).
#pragma once

#include <string>
#include <vector>

#include "distcorr/site_planes.hpp"
#include "treelib/tmatrix.hpp"

struct tObserved {
  tMatrix p, P, Q;  // symmetric, zero diagonal, each count divided by the sites compared
};

// Counts every pair, spread over threads (at least one); a pair with no site that both
// sequences resolve has no proportion and ends through bye() naming both.
tObserved observed_proportions(const tSitePlanes& planes, const std::vector<std::string>& names,
                               unsigned threads);
// The pairs i < j in row order, each row's counts computed by whichever thread takes the row.
std::vector<tPairCounts> count_pairs(const tSitePlanes& planes, unsigned threads);
