#include "cluster/consensus/pair_counts.hpp"

#include <gtest/gtest.h>

#include "lib/parallel.hpp"

namespace {

TEST(PairCounts, PairIndexIsRowMajor) {
  const int n = 5;
  std::size_t next = 0;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) EXPECT_EQ(pair_index(n, i, j), next++) << i << ' ' << j;
  EXPECT_EQ(next, pair_count(n));
  EXPECT_EQ(pair_count(6999), 24489501u);
}

TEST(PairCounts, WidthIsTheLeastThatHoldsTheRuns) {
  const struct {
    int runs, bytes;
  } cases[] = {{1, 1}, {255, 1}, {256, 2}, {65535, 2}, {65536, 4}, {1000000, 4}};
  for (const auto& c : cases) EXPECT_EQ(tPairCounts(4, 2, c.runs).count_bytes(), c.bytes) << c.runs;
}

// The counts of every pair, by brute force over the runs.
std::vector<std::vector<long>> expected_counts(const std::vector<tRunLabels>& runs, int n, int ks) {
  std::vector<std::vector<long>> counts(ks + 1, std::vector<long>(pair_count(n), 0));
  for (const tRunLabels& run : runs)
    for (std::size_t a = 0; a < run.rows.size(); ++a)
      for (std::size_t b = a + 1; b < run.rows.size(); ++b) {
        const std::size_t p = pair_index(n, run.rows[a], run.rows[b]);
        ++counts[ks][p];
        for (int k = 0; k < ks; ++k) counts[k][p] += run.labels[k][a] == run.labels[k][b];
      }
  return counts;
}

TEST(PairCounts, CountsDrawnAndTogetherPairsOnAnyThreadCount) {
  std::vector<tRunLabels> runs = {
      {{0, 1, 3}, {{0, 0, 1}, {2, 2, 2}}},
      {{1, 2, 3, 4}, {{1, 0, 1, 0}, {0, 1, 2, 0}}},
      {{0, 4}, {{5, 5}, {0, 1}}},
  };
  // 300 runs of the same three: 16-bit counts that pass 255.
  std::vector<tRunLabels> many;
  for (int r = 0; r < 100; ++r) many.insert(many.end(), runs.begin(), runs.end());
  for (const auto* set : {&runs, &many})
    for (int threads : {1, 2, 3}) {
      set_thread_count(threads);
      tPairCounts counts(5, 2, static_cast<int>(set->size()));
      counts.add_runs(*set);
      const auto expected = expected_counts(*set, 5, 2);
      counts.visit([&](const auto& arrays) {
        for (std::size_t p = 0; p < pair_count(5); ++p) {
          EXPECT_EQ(arrays.drawn[p], expected[2][p]) << p;
          EXPECT_EQ(arrays.together[0][p], expected[0][p]) << p;
          EXPECT_EQ(arrays.together[1][p], expected[1][p]) << p;
        }
      });
    }
  set_thread_count(0);
}

}  // namespace
