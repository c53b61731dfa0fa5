// The report of a consensus run: one self-contained HTML page.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "cluster/consensus/consensus_statistics.hpp"
#include "cluster/consensus/design.hpp"
#include "cluster/consensus/pair_counts.hpp"

struct tConsensusReportInput {
  std::string input_name;
  const tConsensusDesign& design;
  const std::vector<std::string>& names;
  const std::vector<tConsensusOfK>& results;
  const tPairCounts& counts;
};

// At most this many cells in the consensus heatmap; a larger matrix is shown in blocks.
constexpr long long max_heatmap_cells = 200000;

// The page: the design, the consensus CDF of every k, delta area and PAC against k, the
// consensus matrix of the k of least PAC as a heatmap (rows ordered by class) and the item
// consensus by class. Inline CSS and SVG only.
void write_consensus_report(std::ostream& os, const tConsensusReportInput& in);

// The side of the heatmap for n rows: n, or the largest s with s * s <= max_heatmap_cells.
int heatmap_side(int rows);
