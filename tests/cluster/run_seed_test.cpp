// Seed derivation: fixed, and distinct for every use, start and seed.
#include "cluster/run_seed.hpp"

#include <gtest/gtest.h>

#include <set>
#include <vector>

TEST(RunSeed, SeedsUsesAndStartsEachGiveTheirOwnFixedStream) {
  // Initial partitions draw over a small range, which reads only a few low bits of each word.
  const auto labels = [](std::uint64_t seed, tRandomUse use) {
    random_source source = seeded_source(seed, use, 0, 4);
    std::vector<int> drawn(20);
    for (int& label : drawn) label = source();
    return drawn;
  };
  std::set<std::vector<int>> streams;
  for (std::uint64_t seed = 0; seed < 100; ++seed) {
    EXPECT_EQ(labels(seed, tRandomUse::initial_assignment),
              labels(seed, tRandomUse::initial_assignment));
    streams.insert(labels(seed, tRandomUse::initial_assignment));
    streams.insert(labels(seed, tRandomUse::permute_rows));
  }
  EXPECT_EQ(streams.size(), 200u);

  std::set<std::uint64_t> starts;
  for (int s = 1; s <= 100; ++s) starts.insert(start_seed(7, s));
  EXPECT_EQ(starts.size(), 100u);
  EXPECT_EQ(start_seed(7, 1), 7u);
  EXPECT_NE(clock_seed(), clock_seed());
}
