#include "lib/direct_cache.hpp"

#include <gtest/gtest.h>

#include <random>
#include <vector>

TEST(DirectCache, GivesWhatMakeGivesAndMakesOnlyOnMisses) {
  // Four slots and keys that share them: every replacement must still answer for its own key.
  tDirectCache<int, long, 2> cache;
  int made = 0;
  const auto square = [&](int key) {
    ++made;
    return static_cast<long>(key) * key;
  };
  std::mt19937 random(7);
  for (int k = 0; k < 2000; ++k) {
    const int key = static_cast<int>(random() % 40);
    EXPECT_EQ(cache.get(key, mixed_hash(key), square), static_cast<long>(key) * key) << key;
  }
  EXPECT_GT(made, 40) << "forty keys cannot live in four slots";
  EXPECT_LT(made, 2000) << "repeated keys are found";
  // A key equal to what a fresh slot holds (zero) is still made once.
  tDirectCache<int, long, 2> fresh;
  made = 0;
  EXPECT_EQ(fresh.get(0, mixed_hash(0), square), 0);
  EXPECT_EQ(fresh.get(0, mixed_hash(0), square), 0);
  EXPECT_EQ(made, 1);
}

TEST(DirectCache, HashSpreadsNearbyKeysOverTheSlots) {
  std::vector<int> used(1 << 10, 0);
  for (std::uint64_t key = 0; key < 1024; ++key) ++used[mixed_hash(key) >> (64 - 10)];
  int empty = 0;
  for (int n : used) empty += n == 0;
  EXPECT_LT(empty, 1024 / 2) << "consecutive keys crowd into few slots";
}
