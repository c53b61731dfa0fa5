// The results table: one tab-separated line per input row with its name, cluster and group.
#pragma once

#include <iosfwd>

#include "cluster/clustering.hpp"
#include "lib/matrix.hpp"
#include "lib/names.hpp"

// The header "name row cluster group score cosine" (tab-separated), then for every row r in
// input order: its name, r, its k-svd cluster c, its group, dot_prod2(row, means[c]) (the term
// the k-svd objective sums) and the cosine of the row with its group's mean.
// REQUIRES: clustering of data, bisected
void write_results_table(std::ostream& os, const matrix& data, const tNames& names,
                         const tClusteringResult& clustering);
