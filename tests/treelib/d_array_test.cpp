// Tests of the dictionary array behind the split count dictionary.
#include "treelib/d_array.hpp"

#include <gtest/gtest.h>

#include "treelib/split_counts.hpp"

TEST(DArray, IndexingCreatesAnEntry) {
  d_array<int, int> d;
  EXPECT_FALSE(d.defined(4));
  d[4] = 7;
  EXPECT_TRUE(d.defined(4));
  EXPECT_EQ(d.size(), 1);
  const d_array<int, int>& read_only = d;
  EXPECT_EQ(read_only[4], 7);
  EXPECT_EQ(d[9], 0);  // a fresh entry holds the value-initialised information
  EXPECT_EQ(d.size(), 2);
}

TEST(DArray, IteratesInAscendingKeyOrder) {
  d_array<int, int> d;
  for (int k : {5, -2, 9, 0}) d[k] = k * 10;
  int previous = -1000;
  int visited = 0;
  for (const auto& entry : d) {
    EXPECT_LT(previous, entry.first);
    EXPECT_EQ(entry.second, entry.first * 10);
    previous = entry.first;
    ++visited;
  }
  EXPECT_EQ(visited, 4);
}

TEST(DArray, SplitKeysWithEqualMembersShareAnEntry) {
  tSplitCounts counts;
  tSplit small;
  small.insert(3);
  tSplit wide;
  wide.resize(1000);
  wide.insert(3);
  counts[small] = 1;
  counts[wide] = counts[wide] + 1;
  EXPECT_EQ(counts.size(), 1);
  EXPECT_EQ(counts[small], 2);
}

TEST(DArrayDeathTest, ReadingAnAbsentKeyIsAContainerError) {
  const d_array<int, int> d;
  EXPECT_DEATH(d[3], "d_array: undefined key");
}
