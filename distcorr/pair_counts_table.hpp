// The counts behind every distance as a TSV table, one line per pair.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "distcorr/site_planes.hpp"

// The header "a b sites differences transitions transversions", then the pairs i < j in row
// order: both names and the counts over the sites both resolve (after any global deletion).
void write_pair_counts(std::ostream& out, const tSitePlanes& planes,
                       const std::vector<std::string>& names);
