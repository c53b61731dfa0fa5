// The square PHYLIP distance matrix: the number of taxa, then one line per taxon with its name
// (padded to ten characters) and its distances at full precision ("%.17g").
#pragma once

#include <string>
#include <vector>

#include "treelib/tmatrix.hpp"

// REQUIRES: one name per row of distances.
std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances);
