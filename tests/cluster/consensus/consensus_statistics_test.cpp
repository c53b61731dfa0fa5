#include "cluster/consensus/consensus_statistics.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ConsensusStatistics, CdfBinComparesFractionsExactly) {
  const struct {
    std::uint32_t together, drawn;
    int bin;
  } cases[] = {{0, 5, 1},   {0, 0, 1},        {1, 100, 1},   {2, 100, 2},   {1, 99, 2},
               {1, 3, 34},  {1, 2, 50},       {51, 100, 51}, {99, 100, 99}, {100, 100, 100},
               {7, 7, 100}, {999, 1000, 100}, {3, 10, 30},   {29, 97, 30}};
  for (const auto& c : cases)
    EXPECT_EQ(cdf_bin(c.together, c.drawn), c.bin) << c.together << '/' << c.drawn;
}

TEST(ConsensusStatistics, ConsensusAboveIsExact) {
  const struct {
    std::uint32_t together, drawn;
    double u;
    bool above;
  } cases[] = {
      {1, 10, 0.1, false},  // 1/10 is below the double nearest 0.1, which exceeds it
      {9, 10, 0.9, false},  // so is the double nearest 0.9
      {7, 10, 0.7, true},   // the double nearest 0.7 is below it
      {1, 5, 0.2, false},  {0, 4, 0.0, false}, {1, 4, 0.0, true},  {4, 4, 1.0, false},
      {3, 4, 0.75, false}, {4, 5, 0.75, true}, {0, 0, 0.1, false}, {1, 4294967295u, 1e-300, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(consensus_above(c.together, c.drawn, c.u), c.above) << c.together << '/' << c.drawn;
}

TEST(ConsensusStatistics, AreaSumsTheCumulativeFractions) {
  std::array<long long, cdf_bins> all_low{}, all_high{}, half{};
  all_low[0] = 10;
  all_high[99] = 10;
  half[0] = 5, half[99] = 5;
  EXPECT_EQ(cdf_area(all_low), 1.0000000000000007);  // one hundred times 1/100, summed in order
  EXPECT_EQ(cdf_area(all_high), 0.01);
  EXPECT_DOUBLE_EQ(cdf_area(half), 0.505);
}

TEST(ConsensusStatistics, DeltaAndBest) {
  std::vector<tConsensusOfK> r(3);
  r[0].area = 0.5, r[1].area = 0.75, r[2].area = 0.6;
  r[0].pac = 0.3, r[1].pac = 0.1, r[2].pac = 0.1;
  fill_deltas(r);
  EXPECT_EQ(r[0].delta, 0.5);
  EXPECT_EQ(r[1].delta, 0.5);
  EXPECT_EQ(r[2].delta, (0.6 - 0.75) / 0.75);
  EXPECT_EQ(best_k_index(r), 1);
}

// Four rows: {0, 1} always together, {2} and {3} apart, 3 drawn with 2 only once.
tPairCounts four_rows() {
  tPairCounts counts(4, 1, 4);
  counts.visit([](auto& a) {
    //           01 02 03 12 13 23
    const int drawn[] = {4, 4, 3, 4, 3, 1};
    const int together[] = {4, 1, 0, 1, 0, 1};
    for (int p = 0; p < 6; ++p) a.drawn[p] = drawn[p], a.together[0][p] = together[p];
  });
  return counts;
}

TEST(ConsensusStatistics, OneKOfFourRows) {
  const tConsensusOfK r = consensus_of_k(four_rows(), 0, 2, 0.1, 0.9);
  // M: 1, 1/4, 0, 1/4, 0, 1; distances 0, .75, 1, .75, 1, 0: {0, 1} and {2, 3} merge first,
  // then nothing more at k = 2.
  EXPECT_EQ(r.classes, (std::vector<int>{1, 1, 2, 2}));
  EXPECT_EQ(r.pac, 2.0 / 6);
  EXPECT_EQ(r.bins[0], 2);
  EXPECT_EQ(r.bins[24], 2);
  EXPECT_EQ(r.bins[99], 2);
  EXPECT_EQ(r.cluster_consensus, (std::vector<double>{1, 1}));
  EXPECT_EQ(r.mean_consensus, 1);
  EXPECT_EQ(r.least_consensus, 1);
  // Row 0 with class 2 = {2, 3}: (1/4 + 0) / 2; row 2 with class 1 = {0, 1}: (1/4 + 1/4) / 2.
  EXPECT_EQ(r.item_consensus[0 * 2 + 1], 0.125);
  EXPECT_EQ(r.item_consensus[2 * 2 + 0], 0.25);
  EXPECT_EQ(r.item_consensus[3 * 2 + 1], 1);
}

TEST(ConsensusStatistics, SingleRowClassesHaveNoClusterConsensus) {
  const tConsensusOfK r = consensus_of_k(four_rows(), 0, 4, 0.1, 0.9);
  EXPECT_EQ(r.classes, (std::vector<int>{1, 2, 3, 4}));
  for (double c : r.cluster_consensus) EXPECT_TRUE(std::isnan(c));
  EXPECT_TRUE(std::isnan(r.mean_consensus));
  EXPECT_TRUE(std::isnan(r.least_consensus));
  EXPECT_TRUE(std::isnan(r.item_consensus[0 * 4 + 0]));  // its own class has no other member
  EXPECT_EQ(r.item_consensus[0 * 4 + 1], 1);
}

}  // namespace
