// The draw of one consensus run: which rows and columns it clusters.
#pragma once

#include <vector>

#include "cluster/consensus/design.hpp"
#include "lib/matrix.hpp"

struct tResample {
  std::vector<int> rows;     // ascending
  std::vector<int> columns;  // ascending
};

// Run r's round(f * n) rows and round(g * d) columns, each drawn without replacement from its
// own stream of run_draw_seed(design.seed, r); the same for every k and every process.
tResample draw_resample(const tConsensusDesign& design, int run, int rows, int columns);

// The drawn rows and columns of data, in ascending order.
matrix resampled_matrix(const matrix& data, const tResample& draw);
