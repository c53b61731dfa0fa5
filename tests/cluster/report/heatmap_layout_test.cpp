// Heatmap layout: row order, bins that keep the mean, and the symmetric clipped colour scale.
#include "cluster/report/heatmap_layout.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/builders.hpp"

namespace {

array<tTaxaSet> groups(std::initializer_list<std::initializer_list<int>> members) {
  array<tTaxaSet> result(static_cast<int>(members.size()));
  int g = 0;
  for (const auto& m : members) result[g++] = make_set(m);
  return result;
}

TEST(HeatmapLayout, RowsGoByGroupThenScoreStrongestFirstTiesByRowNumber) {
  const std::vector<double> scores = {0.5, 2.0, 0.5, 9.0, 1.0, 3.0};
  const tRowOrder order = heatmap_row_order(groups({{0, 1, 2}, {}, {5, 3}, {4}}), scores);
  EXPECT_EQ(order.rows, (std::vector<int>{1, 0, 2, 3, 5, 4}));
  ASSERT_EQ(order.bands.size(), 3u);  // the empty group has no band
  const int expected[3][3] = {{0, 0, 3}, {2, 3, 2}, {3, 5, 1}};
  for (int b = 0; b < 3; ++b) {
    EXPECT_EQ(order.bands[b].group, expected[b][0]);
    EXPECT_EQ(order.bands[b].first, expected[b][1]);
    EXPECT_EQ(order.bands[b].count, expected[b][2]);
  }
}

TEST(HeatmapLayout, BinsAreTheSmallestThatKeepTheCellsWithinTheBudget) {
  const struct {
    std::vector<tBand> bands;
    int cols;
    long long max_cells;
    int expected;
  } cases[] = {
      {{{0, 0, 1000}}, 57, 200000, 1},
      {{{0, 0, 6999}}, 1000, 200000, 35},
      {{{0, 0, 5}, {1, 5, 5}}, 1, 4, 3},             // 2 + 2 lines; bins of 2 would need 6
      {{{0, 0, 2}, {1, 2, 2}, {2, 4, 2}}, 1, 2, 2},  // one line per band is the least possible
      {{}, 10, 100, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(rows_per_bin(c.bands, c.cols, c.max_cells), c.expected) << c.max_cells;
  EXPECT_EQ(columns_per_bin(1000, 1000), 1);
  EXPECT_EQ(columns_per_bin(1001, 1000), 2);
}

TEST(HeatmapLayout, BinsNeverSpanTwoBands) {
  std::vector<tBand> drawn;
  const std::vector<tBand> bins = row_bins({{0, 0, 5}, {3, 5, 2}}, 2, drawn);
  const int expected[4][3] = {{0, 0, 2}, {0, 2, 2}, {0, 4, 1}, {3, 5, 2}};
  ASSERT_EQ(bins.size(), 4u);
  for (int b = 0; b < 4; ++b) {
    EXPECT_EQ(bins[b].group, expected[b][0]);
    EXPECT_EQ(bins[b].first, expected[b][1]);
    EXPECT_EQ(bins[b].count, expected[b][2]);
  }
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[1].first, 3);
  EXPECT_EQ(drawn[1].count, 1);
}

TEST(HeatmapLayout, BinMeansKeepTheColumnMeanAndSkipMissingEntries) {
  const matrix data = make_matrix({{1, NAN}, {2, NAN}, {4, 5}, {8, 7}, {-3, 1}});
  const std::vector<int> order = {4, 3, 2, 1, 0};
  const matrix means = bin_means(data, {}, order, {{0, 0, 2}, {0, 2, 2}, {0, 4, 1}}, 1);
  // Weighted by the bin sizes, the bins give back the mean of all rows.
  EXPECT_DOUBLE_EQ((2 * means(0, 0) + 2 * means(1, 0) + means(2, 0)) / 5, 12.0 / 5);
  EXPECT_DOUBLE_EQ(means(0, 1), 4.0);
  EXPECT_DOUBLE_EQ(means(1, 1), 5.0);  // the bin of rows 2 and 1 has one finite entry
  EXPECT_TRUE(std::isnan(means(2, 1)));

  const matrix wide = make_matrix({{1, 2, 4}, {3, NAN, 8}});
  const matrix blocks = bin_means(wide, {}, {0, 1}, {{0, 0, 2}}, 2);
  ASSERT_EQ(blocks.dim2(), 2);
  EXPECT_DOUBLE_EQ(blocks(0, 0), 2.0);  // 1, 2 and 3: the missing entry does not count
  EXPECT_DOUBLE_EQ(blocks(0, 1), 6.0);
}

TEST(HeatmapLayout, BinMeansLeaveOutCellsFlaggedMissing) {
  // Flagged cells hold the value they were filled with; they count neither in a mean nor as
  // present, so a block of flagged cells is drawn as missing.
  const matrix data = make_matrix({{1, 0}, {3, 0}, {5, 7}});
  const std::vector<unsigned char> mask = {0, 1, 1, 1, 0, 0};
  const struct {
    std::vector<tBand> bins;
    int per_column;
    std::vector<double> expected;  // row by row; NaN for a block without a present cell
  } cases[] = {
      {{{0, 0, 1}, {0, 1, 1}, {0, 2, 1}}, 1, {1, NAN, NAN, NAN, 5, 7}},
      {{{0, 0, 2}, {0, 2, 1}}, 1, {1, NAN, 5, 7}},
      {{{0, 0, 3}}, 2, {13.0 / 3}},
  };
  for (const auto& c : cases) {
    const matrix means = bin_means(data, mask, {0, 1, 2}, c.bins, c.per_column);
    ASSERT_EQ(static_cast<std::size_t>(means.dim1() * means.dim2()), c.expected.size());
    for (std::size_t e = 0; e < c.expected.size(); ++e) {
      if (std::isnan(c.expected[e]))
        EXPECT_TRUE(std::isnan(means.data()[e])) << e;
      else
        EXPECT_DOUBLE_EQ(means.data()[e], c.expected[e]) << e;
    }
  }
}

TEST(HeatmapLayout, ColourScaleIsSymmetricClippedAndWhiteAtZero) {
  const tColourScale scale(2.0);
  const int top = tColourScale::steps;
  for (const double x : {0.0, 0.1, 0.7, 1.3, 2.0, 50.0, 1e300})
    EXPECT_EQ(scale.level(-x), -scale.level(x)) << x;
  EXPECT_EQ(scale.level(2.0), top);
  EXPECT_EQ(scale.level(1e300), top);
  EXPECT_EQ(scale.level(-INFINITY), -top);
  EXPECT_EQ(scale.level(1.0), top / 2);
  EXPECT_EQ(tColourScale::colour(0), "#ffffff");
  EXPECT_NE(tColourScale::colour(top), tColourScale::colour(-top));
  EXPECT_NE(tColourScale::colour(1), tColourScale::colour(2));
}

TEST(HeatmapLayout, RobustClipIsAQuantileOfMagnitudesIgnoringMissingEntries) {
  matrix data(10, 10);
  for (int e = 0; e < 100; ++e) data.data()[e] = (e % 2 ? -1 : 1) * (e + 1.0);
  data(0, 0) = NAN;  // was 1, so 2 .. 100 remain
  EXPECT_DOUBLE_EQ(robust_clip(data, 0.99), 99.0);
  EXPECT_DOUBLE_EQ(robust_clip(data, 0.5), 51.0);          // 99 values 2 .. 100: the 50th
  EXPECT_DOUBLE_EQ(robust_clip(matrix(3, 3), 0.99), 1.0);  // all zero: still a range
}

}  // namespace
