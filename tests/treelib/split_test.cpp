// Tests of tSplit, its order and sides, and tListSplits.
#include "treelib/split.hpp"

#include <gtest/gtest.h>

#include <initializer_list>

#include "tests/treelib/fixtures.hpp"
#include "treelib/list_splits.hpp"

namespace {

tSplit split_of(std::initializer_list<int> members, int capacity = 32) {
  tSplit s;
  s.resize(capacity);
  for (int k : members) s.insert(k);
  return s;
}

}  // namespace

TEST(Split, DefaultIsEmptyWithUnitWeight) {
  tSplit s;
  EXPECT_EQ(s.size(), 0);
  EXPECT_EQ(s.weight, 1.0f);
}

TEST(Split, CopiesCarryMembersAndWeight) {
  tSplit s = split_of({2, 5});
  s.set_weight(3);
  const tSplit copy(s);
  EXPECT_EQ(copy.weight, 3.0f);
  EXPECT_TRUE(copy.member(2) && copy.member(5));
  EXPECT_EQ(copy.size(), 2);

  tSplit assigned = split_of({7});
  assigned = s;
  EXPECT_EQ(assigned.weight, 3.0f);
  EXPECT_FALSE(assigned.member(7));
  EXPECT_EQ(static_cast<const tTaxaSet&>(assigned), static_cast<const tTaxaSet&>(s));
}

TEST(Split, CompareIgnoresCapacityAndWeight) {
  tSplit a = split_of({1, 3}, 32);
  tSplit b = split_of({1, 3}, 2000);
  b.set_weight(9);
  EXPECT_EQ(compare(a, b), 0);
  EXPECT_EQ(compare(b, a), 0);
  EXPECT_EQ(compare(tSplit(), split_of({}, 500)), 0);
}

TEST(Split, CompareReadsMembersAsABinaryNumber) {
  // {} < {0} < {1} < {0,1} < {2} < {0..31} < {40}, each word counting above the ones below it.
  tSplit low_word = split_of({});
  for (int k = 0; k < 32; ++k) low_word.insert(k);
  const tSplit ordered[] = {split_of({}),  split_of({0}), split_of({1}),       split_of({0, 1}),
                            split_of({2}), low_word,      split_of({40}, 2000)};
  const int n = sizeof(ordered) / sizeof(ordered[0]);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      const int expected = i < j ? -1 : (i > j ? 1 : 0);
      EXPECT_EQ(compare(ordered[i], ordered[j]), expected) << "i=" << i << " j=" << j;
    }
  }
}

TEST(Split, SidesWithinTheTaxa) {
  const tTaxaSet taxa = make_set({0, 1, 2, 3, 4, 5});
  const tSplit s = split_of({1, 2, 9});  // 9 lies outside the taxa
  EXPECT_EQ(s.get_S(taxa, 1), make_set({1, 2}));
  EXPECT_EQ(s.get_C_S(taxa, 1), make_set({0, 3, 4, 5}));
  EXPECT_EQ(s.get_S(taxa, 4), make_set({0, 3, 4, 5}));
  EXPECT_EQ(s.get_C_S(taxa, 4), make_set({1, 2}));
}

TEST(SplitDeathTest, SidesRequireXAmongTheTaxa) {
  const tTaxaSet taxa = make_set({0, 1, 2});
  const tSplit s = split_of({1});
  EXPECT_DEATH(s.get_S(taxa, 9), "taxa\\.member\\(x\\)");
  EXPECT_DEATH(s.get_C_S(taxa, 9), "taxa\\.member\\(x\\)");
}

TEST(ListSplits, StoresCopiesInAppendOrder) {
  tListSplits list;
  tSplit s = split_of({1});
  list.append(s);
  s.insert(4);
  s.set_weight(5);
  list.append(s);
  s.insert(6);
  s.set_weight(8);

  ASSERT_EQ(list.length(), 2);
  auto it = list.begin();
  EXPECT_EQ(static_cast<const tTaxaSet&>(*it), make_set({1}));
  EXPECT_EQ(it->weight, 1.0f);
  ++it;
  EXPECT_EQ(static_cast<const tTaxaSet&>(*it), make_set({1, 4}));
  EXPECT_EQ(it->weight, 5.0f);
  list.clear();
  EXPECT_TRUE(list.empty());
}
