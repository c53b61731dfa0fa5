// Tests of counting splits into a dictionary and listing them back.
#include "treelib/bipartmap.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

namespace {

tSplit split_of(std::initializer_list<int> members, float weight = 1.0f) {
  tSplit s;
  for (int k : members) s.insert(k);
  s.set_weight(weight);
  return s;
}

tListSplits list_of(std::initializer_list<tSplit> splits) {
  tListSplits list;
  for (const tSplit& s : splits) list.append(s);
  return list;
}

// Every split of size 0 .. 5 from {0..4}, one of each size.
tListSplits one_of_each_size() {
  return list_of({split_of({}), split_of({0}), split_of({0, 1}), split_of({0, 1, 2}),
                  split_of({0, 1, 2, 3}), split_of({0, 1, 2, 3, 4})});
}

}  // namespace

TEST(Bipartmap, RepeatedListsAccumulate) {
  const tSplit s = split_of({1, 2});
  const tListSplits list = list_of({s, s, s});
  tSplitCounts counts;
  splits2dic(list, counts);
  EXPECT_EQ(counts[s], 3);
  splits2dic(list, counts);
  EXPECT_EQ(counts[s], 6);
  EXPECT_EQ(counts.size(), 1);
}

TEST(Bipartmap, CountsEachDistinctSplit) {
  tSplitCounts counts;
  splits2dic(list_of({split_of({1}), split_of({2, 3}), split_of({1}), split_of({4})}), counts);
  EXPECT_EQ(counts.size(), 3);
  EXPECT_EQ(counts[split_of({1})], 2);
  EXPECT_EQ(counts[split_of({2, 3})], 1);
  EXPECT_EQ(counts[split_of({4})], 1);
}

TEST(Bipartmap, EmptyListLeavesTheDictionary) {
  tSplitCounts counts;
  counts[split_of({3})] = 4;
  splits2dic(tListSplits(), counts);
  nontrivial_splits2dic(split_of({0, 1, 2, 3, 4}), tListSplits(), counts);
  EXPECT_EQ(counts.size(), 1);
  EXPECT_EQ(counts[split_of({3})], 4);
}

TEST(Bipartmap, KeyIsACopyOfTheFirstSplitCounted) {
  tSplitCounts counts;
  splits2dic(list_of({split_of({5}, 2.5f), split_of({5}, 9.0f)}), counts);
  ASSERT_EQ(counts.size(), 1);
  EXPECT_EQ(counts.begin()->first.weight, 2.5f);
  EXPECT_EQ(counts.begin()->second, 2);
}

TEST(Bipartmap, NontrivialKeepsSidesOfTwoToNMinusTwo) {
  const tTaxaSet taxa = split_of({0, 1, 2, 3, 4});
  tSplitCounts counts;
  nontrivial_splits2dic(taxa, one_of_each_size(), counts);
  ASSERT_EQ(counts.size(), 2);
  EXPECT_TRUE(counts.defined(split_of({0, 1})));
  EXPECT_TRUE(counts.defined(split_of({0, 1, 2})));
}

TEST(Bipartmap, NontrivialComparesOnlyTheSideSize) {
  const tTaxaSet taxa = split_of({0, 1, 2, 3, 4});
  tSplitCounts counts;
  nontrivial_splits2dic(taxa, list_of({split_of({7, 8}), split_of({7, 8}), split_of({9})}), counts);
  EXPECT_EQ(counts.size(), 1);
  EXPECT_EQ(counts[split_of({7, 8})], 2);
}

TEST(Bipartmap, NothingIsNontrivialAmongThreeTaxa) {
  for (int n = 0; n <= 3; ++n) {
    tTaxaSet taxa;
    for (int k = 0; k < n; ++k) taxa.insert(k);
    tSplitCounts counts;
    nontrivial_splits2dic(taxa, one_of_each_size(), counts);
    EXPECT_TRUE(counts.empty()) << n << " taxa";
  }
}

TEST(Bipartmap, DicToSplitsOfAnEmptyDictionaryEmptiesTheList) {
  tListSplits list = list_of({split_of({1}), split_of({2})});
  dic2splits(tSplitCounts(), list);
  EXPECT_TRUE(list.empty());
}

TEST(Bipartmap, CountsComeBackAsWeights) {
  const tSplit s = split_of({0, 2}, 0.25f);
  tSplitCounts counts;
  for (int i = 0; i < 7; ++i) splits2dic(list_of({s}), counts);
  tListSplits list;
  dic2splits(counts, list);
  ASSERT_EQ(list.length(), 1);
  EXPECT_EQ(list.head().weight, 7.0f);
  EXPECT_EQ(static_cast<const tTaxaSet&>(list.head()), static_cast<const tTaxaSet&>(s));
}

TEST(Bipartmap, DicToSplitsListsEachSplitOnceInSplitOrder) {
  tSplitCounts counts;
  splits2dic(list_of({split_of({3}), split_of({0, 1}), split_of({3}), split_of({0})}), counts);
  tListSplits list = list_of({split_of({6})});
  dic2splits(counts, list);
  std::vector<tSplit> got(list.begin(), list.end());
  ASSERT_EQ(got.size(), 3u);
  for (std::size_t i = 1; i < got.size(); ++i) EXPECT_LT(compare(got[i - 1], got[i]), 0);
  EXPECT_EQ(compare(got[0], split_of({0})), 0);
  EXPECT_EQ(got[0].weight, 1.0f);
  EXPECT_EQ(compare(got[2], split_of({3})), 0);
  EXPECT_EQ(got[2].weight, 2.0f);
}
