// Bit-plane pair counts and base tables against a plain per-site count, at every word boundary.
#include "distcorr/site_planes.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "distcorr/base_frequencies.hpp"

namespace {

int base_index(char c) {  // A, C, G, T in that order; U as T; -1 for any other code
  const std::string bases = "ACGTUacgtu";
  const std::size_t k = bases.find(c);
  return k == std::string::npos ? -1 : static_cast<int>(k % 5 == 4 ? 3 : k % 5);
}

bool kept(const std::vector<std::string>& s, long i, long j, std::size_t k, tDeletion deletion) {
  bool kept = base_index(s[i][k]) >= 0 && base_index(s[j][k]) >= 0;
  if (deletion == tDeletion::global)
    for (const std::string& other : s) kept = kept && base_index(other[k]) >= 0;
  return kept;
}

tPairTable plain_table(const std::vector<std::string>& s, long i, long j, tDeletion deletion) {
  tPairTable t{};
  for (std::size_t k = 0; k < s[i].size(); ++k)
    if (kept(s, i, j, k, deletion)) ++t[4 * base_index(s[i][k]) + base_index(s[j][k])];
  return t;
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

TEST(SitePlanes, CountsAsThePlainLoopDoes) {
  for (int length : {1, 63, 64, 65, 200, 511, 512, 513, 1100}) {
    for (tDeletion deletion : {tDeletion::global, tDeletion::pairwise}) {
      const std::vector<std::string> s = random_alignment(7, length, 17u + length);
      const tSitePlanes planes(s, deletion);
      for (long i = 0; i < 7; ++i) {
        for (long j = 0; j < 7; ++j) {
          // From the table: A=0, C=1, G=2, T=3; transitions A<->G and C<->T.
          const tPairTable t = plain_table(s, i, j, deletion);
          long compared = 0;
          for (long cell : t) compared += cell;
          const long purine = t[0 * 4 + 2] + t[2 * 4 + 0], pyrimidine = t[1 * 4 + 3] + t[3 * 4 + 1];
          const long same = t[0] + t[5] + t[10] + t[15];
          const tPairCounts c = planes.count(i, j);
          EXPECT_EQ(planes.table(i, j), t) << length << ' ' << i << ' ' << j;
          EXPECT_EQ(c.compared, compared) << length << ' ' << i << ' ' << j;
          EXPECT_EQ(c.purine_transitions, purine) << length;
          EXPECT_EQ(c.transitions, purine + pyrimidine) << length;
          EXPECT_EQ(c.transversions, compared - same - purine - pyrimidine) << length;
        }
      }
    }
  }
}

TEST(SitePlanes, GlobalDeletionKeepsTheSitesEverySequenceResolves) {
  const struct {
    std::vector<std::string> s;
    long kept;
  } cases[] = {
      {{"ACGT", "ACGT"}, 4},
      {{"AC-T", "NCGu"}, 2},
      {{"RYKM", "ACGT"}, 0},
      {{std::string(1030, 'A'), std::string(600, 'C') + "N" + std::string(429, 'G')}, 1029}};
  for (const auto& c : cases) EXPECT_EQ(tSitePlanes(c.s, tDeletion::global).sites_kept(), c.kept);
}

TEST(BaseFrequencies, CountEveryResolvedBaseOfTheWholeAlignment) {
  // 2 A, 1 C, 1 G and 4 T or U among 8 resolved characters; N and the gap are left out.
  const tBaseFrequencies f = base_frequencies({"AaCN", "Gt-U", "TU"});
  EXPECT_EQ(f, (tBaseFrequencies{0.25, 0.125, 0.125, 0.5}));
}

}  // namespace
