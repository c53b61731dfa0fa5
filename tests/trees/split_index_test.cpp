// Tests of the split index: numbering in order of first appearance, equal keys found again,
// absent keys not found, across the growth of the table.
#include "trees/split_index.hpp"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <vector>

TEST(SplitIndex, NumbersKeysInOrderOfFirstAddition) {
  tSplitIndex index(2);
  const std::uint64_t keys[][2] = {{1, 0}, {0, 1}, {1, 0}, {0, 0}, {0, 1}, {1, 1}};
  const int expected[] = {0, 1, 0, 2, 1, 3};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(index.add(keys[i]), expected[i]) << i;
  EXPECT_EQ(index.size(), 4);
  const std::uint64_t absent[] = {2, 0};
  EXPECT_EQ(index.find(absent), -1);
  EXPECT_EQ(index.find(keys[5]), 3);
  EXPECT_EQ(index.key(3)[0], 1u);
  EXPECT_EQ(index.key(3)[1], 1u);
}

// Keys that differ in one bit anywhere, many more than the first table holds, checked against an
// ordered map of the same keys.
TEST(SplitIndex, AgreesWithAnOrderedMapAcrossGrowth) {
  for (int words : {1, 3, 8}) {
    tSplitIndex index(words);
    std::map<std::vector<std::uint64_t>, int> numbers;
    std::mt19937_64 random(7 + words);
    for (int i = 0; i < 20000; ++i) {
      std::vector<std::uint64_t> key(static_cast<std::size_t>(words), 0);
      // A few bits only, so that keys repeat and differ by single bits.
      const int bit = static_cast<int>(random() % (64 * words));
      key[bit / 64] |= std::uint64_t{1} << (bit % 64);
      if (random() % 2) key[random() % words] ^= random() % 64;
      const auto expected = numbers.emplace(key, static_cast<int>(numbers.size())).first->second;
      ASSERT_EQ(index.add(key.data()), expected) << "words " << words << ", key " << i;
    }
    ASSERT_EQ(index.size(), static_cast<int>(numbers.size()));
    for (const auto& [key, number] : numbers) {
      EXPECT_EQ(index.find(key.data()), number);
      EXPECT_EQ(std::vector<std::uint64_t>(index.key(number), index.key(number) + words), key);
    }
  }
}
