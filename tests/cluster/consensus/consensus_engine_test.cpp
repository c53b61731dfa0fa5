#include "cluster/consensus/consensus_engine.hpp"

#include <gtest/gtest.h>

#include <mutex>
#include <set>

#include "lib/parallel.hpp"

namespace {

// Rows of three planted groups: row i is high on column i % 3, and a little noise by row.
matrix planted(int rows) {
  matrix data(rows, 3);
  for (int i = 0; i < rows; ++i)
    for (int j = 0; j < 3; ++j) data(i, j) = (i % 3 == j ? 5.0 : 0.0) + 0.01 * ((i * 7 + j) % 5);
  return data;
}

// A fake clusterer: k = 3 finds the planted groups (by the column of the largest value); any
// other k splits the rows by a seeded coin, so the consensus of a pair is a matter of chance.
std::vector<int> fake_clusterer(const matrix& rows, int k, std::uint64_t seed) {
  std::vector<int> labels;
  for (int i = 0; i < rows.dim1(); ++i) {
    int top = 0;
    for (int j = 1; j < rows.dim2(); ++j)
      if (rows(i, j) > rows(i, top)) top = j;
    const std::uint64_t coin = (seed >> (i % 60)) ^ static_cast<std::uint64_t>(i * 31);
    labels.push_back(k == 3 ? top : static_cast<int>(coin % static_cast<std::uint64_t>(k)));
  }
  return labels;
}

tConsensusDesign design_of(int runs, int first, int end) {
  tConsensusDesign d;
  d.runs = runs, d.k_first = 2, d.k_last = 4, d.seed = 77, d.first_run = first, d.end_run = end;
  return d;
}

template <typename T>
std::vector<long> flat(const tCountArrays<T>& a) {
  std::vector<long> all(a.drawn.begin(), a.drawn.end());
  for (const auto& t : a.together) all.insert(all.end(), t.begin(), t.end());
  return all;
}

std::vector<long> flat_counts(const tPairCounts& c) {
  return c.visit([](const auto& a) { return flat(a); });
}

TEST(ConsensusEngine, SameCountsOnAnyThreadCountAndShardsAddUpToTheWhole) {
  const matrix data = planted(30);
  set_thread_count(1);
  const std::vector<long> one =
      flat_counts(count_runs(data, design_of(12, 0, 12), fake_clusterer, nullptr));
  set_thread_count(2);
  EXPECT_EQ(flat_counts(count_runs(data, design_of(12, 0, 12), fake_clusterer, nullptr)), one);
  const std::vector<long> a =
      flat_counts(count_runs(data, design_of(12, 0, 5), fake_clusterer, nullptr));
  const std::vector<long> b =
      flat_counts(count_runs(data, design_of(12, 5, 12), fake_clusterer, nullptr));
  ASSERT_EQ(a.size(), one.size());
  for (std::size_t i = 0; i < one.size(); ++i) EXPECT_EQ(a[i] + b[i], one[i]) << i;
  set_thread_count(0);
}

TEST(ConsensusEngine, EveryRunCallsTheClustererForEveryKWithItsOwnSeed) {
  std::mutex lock;
  std::set<std::pair<int, std::uint64_t>> calls;
  const auto recording = [&](const matrix& rows, int k, std::uint64_t seed) {
    EXPECT_EQ(rows.dim1(), 24);  // round(0.8 * 30)
    const std::lock_guard<std::mutex> hold(lock);
    calls.insert({k, seed});
    return std::vector<int>(static_cast<std::size_t>(rows.dim1()), 0);
  };
  int last_done = 0;
  count_runs(planted(30), design_of(10, 3, 7), recording, [&](int done, int total) {
    EXPECT_EQ(total, 4);
    last_done = done;
  });
  EXPECT_EQ(last_done, 4);
  ASSERT_EQ(calls.size(), 12u);
  for (int run = 3; run < 7; ++run)
    for (int k = 2; k <= 4; ++k) EXPECT_EQ(calls.count({k, run_draw_seed(77, run)}), 1u);
}

TEST(ConsensusEngine, PlantedGroupsGiveTheLeastPacAndComeBackAsClasses) {
  const matrix data = planted(30);
  const tConsensusDesign d = design_of(40, 0, 40);
  const std::vector<tConsensusOfK> r =
      consensus_results(count_runs(data, d, fake_clusterer, nullptr), d, 0.1, 0.9);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(best_k_index(r), 1);
  EXPECT_EQ(r[1].pac, 0);
  EXPECT_GT(r[0].pac, 0.5);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(r[1].classes[i], i % 3 + 1) << i;
  EXPECT_EQ(r[1].least_consensus, 1);
}

}  // namespace
