// Average-linkage clustering of a distance triangle, cut into k groups.
#pragma once

#include <vector>

// distances: the pairs i < j of n items in row-major order (pair_index); it is overwritten.
// Merges the two nearest groups until k are left; the distance of a merged group a+b to x is
// (|a| d(a, x) + |b| d(b, x)) / (|a| + |b|). Each group is known by its lowest item; among pairs
// at the least distance the pair whose lower group is lowest merges first, then the one whose
// other group is lowest. Returns the group 1..k of every item, numbered by lowest item.
// REQUIRES: 1 <= k; distances.size() == n(n-1)/2.
std::vector<int> average_linkage_groups(std::vector<double>& distances, int n, int k);
