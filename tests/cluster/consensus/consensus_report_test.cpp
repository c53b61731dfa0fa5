#include "cluster/consensus/consensus_report.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(ConsensusReport, HeatmapSideKeepsTheCellsUnderTheLimit) {
  const struct { int rows, side; } cases[] = {{2, 2}, {447, 447}, {448, 447}, {6999, 447}};
  for (const auto& c : cases) {
    EXPECT_EQ(heatmap_side(c.rows), c.side) << c.rows;
    EXPECT_LE(static_cast<long long>(heatmap_side(c.rows)) * heatmap_side(c.rows),
              max_heatmap_cells);
  }
}

TEST(ConsensusReport, LargeMatricesAreShownInBlocks) {
  const int n = 500;  // 250,000 cells
  tPairCounts counts(n, 1, 1);
  std::vector<std::string> names(n, "r");
  std::vector<tConsensusOfK> results(1);
  results[0].k = 1;
  results[0].classes.assign(n, 1);
  results[0].cluster_consensus = {0};
  results[0].item_consensus.assign(n, 0);
  tConsensusDesign design;
  std::ostringstream page;
  write_consensus_report(page, {"in <1>", design, names, results, counts});
  const std::string text = page.str();
  std::size_t rects = 0;
  for (std::size_t at = text.find("<rect"); at != std::string::npos;
       at = text.find("<rect", at + 1))
    ++rects;
  EXPECT_EQ(rects, 447u * 447u);
  EXPECT_NE(text.find("in &lt;1&gt;"), std::string::npos);  // the input name escaped
  EXPECT_NE(text.find("Consensus matrix, k = 1"), std::string::npos);
}

}  // namespace
