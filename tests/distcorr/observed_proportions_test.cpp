// Bit-plane pair counts against a plain per-site count, at every word boundary and thread count.
#include "distcorr/observed_proportions.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

bool resolved(char c) {
  return std::string("ACGTUacgtu").find(c) != std::string::npos;
}

bool purine(char c) {
  return std::string("AGag").find(c) != std::string::npos;
}

char base(char c) {  // upper case, U as T
  const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper == 'U' ? 'T' : upper;
}

tPairCounts plain_count(const std::vector<std::string>& s, long i, long j, tDeletion deletion) {
  tPairCounts c;
  for (std::size_t k = 0; k < s[i].size(); ++k) {
    bool kept = resolved(s[i][k]) && resolved(s[j][k]);
    if (deletion == tDeletion::global)
      for (const std::string& other : s) kept = kept && resolved(other[k]);
    if (!kept) continue;
    ++c.compared;
    if (base(s[i][k]) == base(s[j][k])) continue;
    ++(purine(s[i][k]) == purine(s[j][k]) ? c.transitions : c.transversions);
  }
  return c;
}

// Mostly resolved bases in both cases, with U, ambiguity codes and gaps now and then.
std::vector<std::string> random_alignment(int n, int length, unsigned seed) {
  const std::string alphabet = "ACGTACGTACGTacgtUuNRY-.?";
  std::mt19937 random(seed);
  std::vector<std::string> s(n);
  for (std::string& one : s)
    for (int k = 0; k < length; ++k) one += alphabet[random() % alphabet.size()];
  return s;
}

TEST(ObservedProportions, CountsAsThePlainLoopDoes) {
  for (int length : {1, 63, 64, 65, 200}) {
    for (tDeletion deletion : {tDeletion::global, tDeletion::pairwise}) {
      const std::vector<std::string> s = random_alignment(7, length, 17u + length);
      const tSitePlanes planes(s, deletion);
      for (unsigned threads : {1u, 2u, 3u}) {
        const std::vector<tPairCounts> counts = count_pairs(planes, threads);
        std::size_t k = 0;
        for (long i = 0; i < 7; ++i) {
          for (long j = i + 1; j < 7; ++j, ++k) {
            const tPairCounts expected = plain_count(s, i, j, deletion);
            EXPECT_EQ(counts[k].compared, expected.compared) << length << ' ' << i << ' ' << j;
            EXPECT_EQ(counts[k].transitions, expected.transitions) << length;
            EXPECT_EQ(counts[k].transversions, expected.transversions) << length;
          }
        }
      }
    }
  }
}

TEST(ObservedProportions, DividesByTheSitesCompared) {
  // Pair (0, 1): 4 sites compared, one transition (A/G) and one transversion (G/T).
  const std::vector<std::string> s = {"AACGN", "GACTT", "AAC-T"};
  const tObserved o = observed_proportions(tSitePlanes(s, tDeletion::pairwise), {"a", "b", "c"}, 2);
  EXPECT_EQ(o.p(0, 1), 0.5);
  EXPECT_EQ(o.P(1, 0), 0.25);
  EXPECT_EQ(o.Q(0, 1), 0.25);
  EXPECT_EQ(o.p(1, 1), 0.0);
  EXPECT_EQ(o.p(0, 2), 0.0);
}

TEST(ObservedProportionsDeathTest, RefusesAPairWithoutCommonSites) {
  const std::vector<std::string> s = {"AC--", "--GT", "ACGT"};
  EXPECT_EXIT(observed_proportions(tSitePlanes(s, tDeletion::pairwise), {"a", "b", "c"}, 1),
              testing::ExitedWithCode(1),
              "Error: sequences a and b share no site where both have A, C, G or T");
  EXPECT_EXIT(observed_proportions(tSitePlanes(s, tDeletion::global), {"a", "b", "c"}, 1),
              testing::ExitedWithCode(1), "sequences a and b share no site");
}

}  // namespace
