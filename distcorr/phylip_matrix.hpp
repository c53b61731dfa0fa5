// The square PHYLIP distance matrix: the number of taxa, then one line per taxon with its name
// (padded to ten characters) and its distances at full precision ("%.17g", 0 never as "-0").
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "lib/terminal_progress.hpp"
#include "treelib/tmatrix.hpp"

// Rows are formatted on the run's threads and written in order, each advancing progress when it
// is given; a failed stream is the caller's to report. REQUIRES: distances symmetric, one name per
// row.
void write_phylip_matrix(std::ostream& out, const std::vector<std::string>& names,
                         const tMatrix& distances, tTerminalProgress* progress = nullptr);
// The same text as a string.
std::string phylip_matrix(const std::vector<std::string>& names, const tMatrix& distances);
