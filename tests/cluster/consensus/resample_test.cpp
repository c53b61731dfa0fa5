#include "cluster/consensus/resample.hpp"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(ConsensusResample, DrawsSortedDistinctRowsAndColumns) {
  tConsensusDesign d;
  d.runs = 50, d.seed = 9, d.row_fraction = 0.8, d.column_fraction = 0.5;
  const struct {
    int rows, columns, drawn_rows, drawn_columns;
  } cases[] = {{10, 4, 8, 2}, {48, 12, 38, 6}, {3, 1, 2, 1}, {100, 7, 80, 4}};
  for (const auto& c : cases)
    for (int run = 0; run < 20; ++run) {
      const tResample r = draw_resample(d, run, c.rows, c.columns);
      ASSERT_EQ(static_cast<int>(r.rows.size()), c.drawn_rows);
      ASSERT_EQ(static_cast<int>(r.columns.size()), c.drawn_columns);
      EXPECT_TRUE(std::adjacent_find(r.rows.begin(), r.rows.end(),
                                     [](int a, int b) { return a >= b; }) == r.rows.end());
      EXPECT_TRUE(std::adjacent_find(r.columns.begin(), r.columns.end(),
                                     [](int a, int b) { return a >= b; }) == r.columns.end());
      EXPECT_GE(r.rows.front(), 0);
      EXPECT_LT(r.rows.back(), c.rows);
      EXPECT_LT(r.columns.back(), c.columns);
    }
}

TEST(ConsensusResample, RunRIsTheSameInAnyDesignRangeAndDiffersBetweenRuns) {
  tConsensusDesign whole, shard;
  whole.seed = shard.seed = 4;
  shard.first_run = 30, shard.end_run = 40;
  EXPECT_EQ(draw_resample(whole, 33, 40, 3).rows, draw_resample(shard, 33, 40, 3).rows);
  EXPECT_NE(draw_resample(whole, 33, 40, 3).rows, draw_resample(whole, 34, 40, 3).rows);
  shard.seed = 5;
  EXPECT_NE(draw_resample(whole, 33, 40, 3).rows, draw_resample(shard, 33, 40, 3).rows);
}

TEST(ConsensusResample, EveryRowIsDrawnAboutAsOften) {
  tConsensusDesign d;
  d.row_fraction = 0.5;
  std::vector<int> times(10, 0);
  for (int run = 0; run < 2000; ++run)
    for (int row : draw_resample(d, run, 10, 1).rows) ++times[static_cast<std::size_t>(row)];
  for (int t : times) EXPECT_NEAR(t, 1000, 120);
}

TEST(ConsensusResample, MatrixKeepsTheDrawnEntries) {
  matrix data(3, 4);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 4; ++j) data(i, j) = 10 * i + j;
  const matrix sub = resampled_matrix(data, {{0, 2}, {1, 3}});
  ASSERT_EQ(sub.dim1(), 2);
  ASSERT_EQ(sub.dim2(), 2);
  EXPECT_EQ(sub(0, 0), 1);
  EXPECT_EQ(sub(0, 1), 3);
  EXPECT_EQ(sub(1, 0), 21);
  EXPECT_EQ(sub(1, 1), 23);
}

}  // namespace
