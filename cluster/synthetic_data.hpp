// Simulated data with known clusters, permutation of read data, and the reports built on them.
#pragma once

#include <iosfwd>

#include "cluster/input/expression_data.hpp"
#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/random_source.hpp"
#include "lib/taxaset.hpp"
#include "lib/vector.hpp"

// What a simulation was generated from; empty for data that were read.
struct tTruth {
  array<vector> means;       // the unit generating direction of every true cluster
  array<tTaxaSet> clusters;  // true cluster i = rows 10i .. 10i+9
};

// 10k rows of d columns, all named "x": row 10i+p is true mean i plus noise in every
// coordinate, or the negation of that, each with probability one half. Every draw comes from
// draws (doubles in [0, 1]). Writes the progress lines (verbosity above 3) and the
// "Ideal obj value = " line to out. REQUIRES: 0 < k <= max_simulated_clusters, d >= 0
tExpressionData simulate_data(int k, int d, double noise, random_source& draws, int verbosity,
                              std::ostream& out, tTruth& truth);

// Sum over true clusters and their members of the squared product with the true mean.
double ideal_objective(const matrix& data, const tTruth& truth);

// rows x cols x 5000 exchanges of two entries, each cell drawn as a row from row_draws and a
// column from col_draws (sources over 0 .. rows-1 and 0 .. cols-1).
void permute_entries(matrix& data, random_source& row_draws, random_source& col_draws);

// Puts every row into one of 2k groups drawn from draws (a source over 0 .. 2k-1) and writes
// one line per group: its number, a blank and the group as a set.
void random_grouping(int rows, int k, random_source& draws, std::ostream& out);

// Each found cluster beside its true cluster, with its members' products with the true mean of
// the cluster they came from and with the true mean of the same index.
void write_comparison_report(std::ostream& out, const matrix& data, const array<tTaxaSet>& clusters,
                             const tTruth& truth);

// "clusters after kmeans are : " and then every group on a line of its own.
void write_final_listing(std::ostream& out, const array<tTaxaSet>& split_clusters);
