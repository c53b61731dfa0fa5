// Tests of the consensus rules, length summaries and Robinson-Foulds distances on tiny sets.
#include "trees/consensus.hpp"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/trees/helpers.hpp"
#include "trees/rf_distance.hpp"

namespace {

// Four trees of five taxa. As sides without A: CDE (the split of AB) in 3 trees, CD in 2
// (once as the split of ABE), BDE (of AC) and BD in 1 each.
const char* const kSet = "((A,B),(C,D),E);\n((A,B),C,D,E);\n(((A,B),E),C,D);\n((A,C),(B,D),E);\n";

std::vector<std::string> consensus_bits(const tConsensusSettings& c) {
  const tSplitTally tally = tally_splits(input_of(kSet), 0);
  std::vector<std::string> bits;
  for (const tSplit& s : consensus_splits(tally, c)) bits.push_back(s.to01string(4).c_str());
  return bits;
}

tConsensusSettings rule(tRule r, double p = 0.5) {
  tConsensusSettings c;
  c.rule = r;
  c.p = p;
  return c;
}

}  // namespace

TEST(Consensus, RulesChooseTheirSplits) {
  const struct {
    tConsensusSettings settings;
    std::vector<std::string> bits;
  } cases[] = {
      {rule(tRule::majority), {"00111"}},  // 2 of 4 is not more than half
      {rule(tRule::majority, 0.75), {}},   // 3 of 4 is not more than 0.75
      {rule(tRule::majority, 0.74), {"00111"}},    {rule(tRule::strict), {}},
      {rule(tRule::extended), {"00111", "00110"}},  // BDE and BD conflict with CDE
  };
  for (const auto& c : cases) EXPECT_EQ(consensus_bits(c.settings), c.bits);
}

TEST(Consensus, ExtendedRuleAddsCompatibleMinoritySplits) {
  // AB in 2 of 4, ABC in 1, AC in 1 (conflicts with AB): AB first, then ABC fits, AC does not.
  const char* set = "((A,B),C,D,E);\n((A,B),C,D,E);\n((A,B,C),D,E);\n((A,C),B,D,E);\n";
  const tSplitTally tally = tally_splits(input_of(set), 0);
  std::vector<std::string> bits;
  for (const tSplit& s : consensus_splits(tally, rule(tRule::extended)))
    bits.push_back(s.to01string(4).c_str());
  EXPECT_EQ(bits, (std::vector<std::string>{"00111", "00011"}));
  EXPECT_TRUE(consensus_splits(tally, rule(tRule::majority)).empty());  // 2 of 4 is only half
}

TEST(Consensus, LengthSummaries) {
  const struct {
    std::vector<double> lengths;
    tLengths how;
    bool has;
    double expected;
  } cases[] = {
      {{1, 2, 4}, tLengths::mean, true, 7.0 / 3},
      {{3, 1, 2}, tLengths::median, true, 2},
      {{4, 1, 3, 2}, tLengths::median, true, 2.5},
      {{0.1, 0.2}, tLengths::median, true, (0.1 + 0.2) / 2},
      {{}, tLengths::mean, false, 0},
      {{1, 2}, tLengths::none, false, 0},
  };
  for (auto c : cases) {
    double result = 0;
    ASSERT_EQ(summarise_lengths(c.lengths, c.how, result), c.has);
    if (c.has) {
      EXPECT_EQ(result, c.expected);
    }
  }
}

TEST(Consensus, TreeCarriesSupportAndLengths) {
  const char* set =
      "((A:1,B:2):0.5,(C:1,D:1):0.5,E:3);\n((A:3,B:2):1.5,C:1,D:1,E:1);\n"
      "(B:2,(A:2,(C:1,D:1):2):2,E:1);\n";
  const tSplitTally tally = tally_splits(input_of(set), 0, tLengthRecord::values);
  tConsensusSettings mean, median, percent;
  median.lengths = tLengths::median;
  percent.lengths = tLengths::none;
  percent.percent = true;
  const struct {
    tConsensusSettings settings;
    const char* tree;
  } cases[] = {
      {mean,
       "(A:2,B:2,((C:1,D:1)0.66666666666666663:1.25,E:1.6666666666666667)"
       "0.66666666666666663:1);\n"},
      {median, "(A:2,B:2,((C:1,D:1)0.66666666666666663:1.25,E:1)0.66666666666666663:1);\n"},
      {percent, "(A,B,((C,D)66.666666666666671,E)66.666666666666671);\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(consensus_tree(tally, c.settings), c.tree);
}

// The sums a tally keeps give the mean of the lengths it keeps, bit for bit, for every split and
// taxon; a tally without lengths gives a tree without them.
TEST(Consensus, LengthSumsAgreeWithTheKeptLengths) {
  std::string set;
  for (int t = 0; t < 40; ++t) {
    const auto length = [&](int k) { return std::to_string(0.1 * ((t * 7 + k * 13) % 29) + 0.01); };
    set += t % 3 ? "((A:" + length(1) + ",B:" + length(2) + "):" + length(3) + ",(C:" + length(4) +
                       ",D:" + length(5) + "):" + length(6) + ",E:" + length(7) + ");\n"
                 : "((A:" + length(1) + ",C:" + length(2) + "):" + length(3) + ",B:" + length(4) +
                       ",(D:" + length(5) + ",E:" + length(6) + "));\n";
  }
  const tSplitTally values = tally_splits(input_of(set), 0, tLengthRecord::values);
  ASSERT_EQ(values.split_sums.size(), static_cast<std::size_t>(values.index.size()));
  for (int k = 0; k < values.index.size(); ++k) {
    std::vector<double> kept;
    for (const tBranchLength& b : values.branch_lengths)
      if (b.split == k) kept.push_back(b.length);
    const tLengthSum& s = values.split_sums[k];
    EXPECT_EQ(s.count, static_cast<int>(kept.size()));
    double mean = 0;
    if (summarise_lengths(kept, tLengths::mean, mean)) {
      EXPECT_EQ(s.sum / s.count, mean) << "split " << k;
    }
  }
  for (std::size_t k = 0; k < values.leaf_lengths.size(); ++k) {
    std::vector<double> kept = values.leaf_lengths[k];
    double mean = 0;
    ASSERT_TRUE(summarise_lengths(kept, tLengths::mean, mean));
    EXPECT_EQ(values.leaf_sums[k].sum / values.leaf_sums[k].count, mean) << "taxon " << k;
  }
  const tConsensusSettings mean;
  const tSplitTally sums = tally_splits(input_of(set), 0, tLengthRecord::sums);
  EXPECT_TRUE(sums.branch_lengths.empty() && sums.leaf_lengths.empty());
  EXPECT_EQ(consensus_tree(sums, mean), consensus_tree(values, mean));
  tConsensusSettings none;
  none.lengths = tLengths::none;
  EXPECT_EQ(consensus_tree(tally_splits(input_of(set), 0), mean), consensus_tree(sums, none));
}

TEST(RfDistance, CountsSplitsOfOneTreeOnly) {
  const struct {
    std::vector<int> a, b;
    double plain, normalized;
  } cases[] = {
      {{}, {}, 0, 0},         {{1, 2}, {1, 2}, 0, 0}, {{1, 2}, {2, 3}, 2, 0.5},
      {{1}, {2, 3, 4}, 4, 1}, {{}, {5}, 1, 1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(rf_distance(c.a, c.b, false), c.plain);
    EXPECT_EQ(rf_distance(c.b, c.a, true), c.normalized);
  }
}
