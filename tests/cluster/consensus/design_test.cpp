#include "cluster/consensus/design.hpp"

#include <gtest/gtest.h>

#include <set>

namespace {

tConsensusDesign design(int runs, int k1, int k2, double f, double g, int a, int b) {
  tConsensusDesign d;
  d.runs = runs, d.k_first = k1, d.k_last = k2, d.row_fraction = f, d.column_fraction = g;
  d.first_run = a, d.end_run = b;
  return d;
}

TEST(ConsensusDesign, DrawnCountRoundsHalvesAway) {
  const struct {
    double fraction;
    int count, drawn;
  } cases[] = {{0.8, 10, 8}, {0.5, 5, 3}, {0.25, 2, 1}, {1, 7, 7}, {0.1, 4, 0}, {0.8, 48, 38}};
  for (const auto& c : cases) EXPECT_EQ(drawn_count(c.fraction, c.count), c.drawn) << c.fraction;
}

TEST(ConsensusDesign, FaultsNameTheOption) {
  const struct {
    tConsensusDesign d;
    int rows, columns;
    const char* starts;  // "" for a design that runs
  } cases[] = {
      {design(10, 2, 4, 0.8, 1, 0, 10), 20, 5, ""},
      {design(0, 2, 4, 0.8, 1, 0, 0), 20, 5, "-consensus 0"},
      {design(10, 4, 2, 0.8, 1, 0, 10), 20, 5, "-k_range 4..2"},
      {design(10, 0, 2, 0.8, 1, 0, 10), 20, 5, "-k_range 0..2"},
      {design(10, 2, 4, 0, 1, 0, 10), 20, 5, "-resample_rows"},
      {design(10, 2, 4, 1.01, 1, 0, 10), 20, 5, "-resample_rows"},
      {design(10, 2, 4, 0.8, 0, 0, 10), 20, 5, "-resample_columns"},
      {design(10, 2, 4, 0.8, 1, 5, 5), 20, 5, "-consensus_runs 5..5"},
      {design(10, 2, 4, 0.8, 1, 3, 11), 20, 5, "-consensus_runs 3..11"},
      {design(10, 2, 9, 0.8, 1, 0, 10), 10, 5, "-resample_rows: 8 of 10"},
      {design(10, 2, 3, 0.8, 0.1, 0, 10), 10, 4, "-resample_columns"},
  };
  for (const auto& c : cases) {
    const std::string fault = design_fault(c.d, c.rows, c.columns);
    if (*c.starts == '\0')
      EXPECT_EQ(fault, "");
    else
      EXPECT_EQ(fault.rfind(c.starts, 0), 0u) << fault;
  }
}

TEST(ConsensusDesign, RunSeedsDependOnSeedAndRunAlone) {
  std::set<std::uint64_t> seen;
  for (std::uint64_t seed : {0ull, 1ull, 2ull})
    for (int run = 0; run < 100; ++run) seen.insert(run_draw_seed(seed, run));
  EXPECT_EQ(seen.size(), 300u);
  EXPECT_EQ(run_draw_seed(5, 17), run_draw_seed(5, 17));
}

}  // namespace
