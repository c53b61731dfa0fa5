// The documented draw of bootstrap columns, the candidates under each deletion, and resampling.
#include "distcorr/bootstrap.hpp"

#include <gtest/gtest.h>

namespace {

TEST(Bootstrap, CandidatesAreTheKeptColumnsUnderGlobalDeletion) {
  const std::vector<std::string> s = {"AC-TN", "ACGTA", "aRGUC"};
  EXPECT_EQ(candidate_columns(s, tDeletion::global), (std::vector<long>{0, 3}));
  EXPECT_EQ(candidate_columns(s, tDeletion::pairwise), (std::vector<long>{0, 1, 2, 3, 4}));
}

TEST(Bootstrap, DrawsAsTheDocumentedRuleSays) {
  const struct {
    std::vector<long> candidates;
    std::uint64_t seed;
  } cases[] = {{{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1}, {{3, 8, 9}, 20261208}, {{7}, 0}};
  for (const auto& c : cases) {
    std::mt19937_64 engine(c.seed), mirror(c.seed);
    for (int replicate = 0; replicate < 3; ++replicate) {
      const std::vector<long> drawn = draw_columns(c.candidates, engine);
      ASSERT_EQ(drawn.size(), c.candidates.size());
      // Draws below 2^64 mod m are so rare that none of these seeds meets one.
      for (long column : drawn)
        EXPECT_EQ(column, c.candidates[mirror() % c.candidates.size()]) << c.seed;
    }
  }
}

TEST(Bootstrap, ResamplesTheColumnsInTheOrderGiven) {
  EXPECT_EQ(resample({"ACGT", "TTGA"}, {3, 0, 0}), (std::vector<std::string>{"TAA", "ATT"}));
}

}  // namespace
