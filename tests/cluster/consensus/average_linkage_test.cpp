#include "cluster/consensus/average_linkage.hpp"

#include <gtest/gtest.h>

#include <limits>

#include "cluster/consensus/pair_counts.hpp"

namespace {

std::vector<double> triangle(const std::vector<std::vector<double>>& full) {
  const int n = static_cast<int>(full.size());
  std::vector<double> d;
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j) d.push_back(full[i][j]);
  return d;
}

// Greedy average linkage over the whole matrix, the least (distance, lower, other) first.
std::vector<int> reference_groups(std::vector<std::vector<double>> d, int k) {
  const int n = static_cast<int>(d.size());
  std::vector<int> size(n, 1), owner(n);
  std::vector<bool> active(n, true);
  for (int i = 0; i < n; ++i) owner[i] = i;
  for (int groups = n; groups > k; --groups) {
    int a = -1, b = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < n; ++i)
      for (int j = i + 1; j < n; ++j)
        if (active[i] && active[j] && (a < 0 || d[i][j] < best)) a = i, b = j, best = d[i][j];
    for (int x = 0; x < n; ++x)
      if (active[x] && x != a && x != b)
        d[a][x] = d[x][a] = (size[a] * d[a][x] + size[b] * d[b][x]) / (size[a] + size[b]);
    active[b] = false;
    size[a] += size[b];
    for (int& o : owner)
      if (o == b) o = a;
  }
  std::vector<int> number(n, 0), group(n);
  int next = 0;
  for (int i = 0; i < n; ++i) {
    if (number[owner[i]] == 0) number[owner[i]] = ++next;
    group[i] = number[owner[i]];
  }
  return group;
}

TEST(AverageLinkage, KnownAnswers) {
  const struct {
    std::vector<std::vector<double>> d;
    int k;
    std::vector<int> groups;
  } cases[] = {
      // Two tight pairs far apart.
      {{{0, .1, .9, .9}, {.1, 0, .9, .9}, {.9, .9, 0, .2}, {.9, .9, .2, 0}}, 2, {1, 1, 2, 2}},
      // Groups numbered by their lowest row.
      {{{0, .9, .1, .9}, {.9, 0, .9, .2}, {.1, .9, 0, .9}, {.9, .2, .9, 0}}, 2, {1, 2, 1, 2}},
      // Average, not single linkage: 2 is nearer 0 than 3, but {0, 1} is farther on average.
      {{{0, .1, .3, .8}, {.1, 0, .7, .75}, {.3, .7, 0, .45}, {.8, .75, .45, 0}}, 2, {1, 1, 2, 2}},
      // Ties: every distance equal, so the lowest pairs merge first.
      {{{0, .5, .5, .5}, {.5, 0, .5, .5}, {.5, .5, 0, .5}, {.5, .5, .5, 0}}, 3, {1, 1, 2, 3}},
      {{{0, .5, .5, .5}, {.5, 0, .5, .5}, {.5, .5, 0, .5}, {.5, .5, .5, 0}}, 2, {1, 1, 1, 2}},
      {{{0, .4}, {.4, 0}}, 2, {1, 2}},
      {{{0, .4}, {.4, 0}}, 1, {1, 1}},
  };
  for (const auto& c : cases) {
    std::vector<double> d = triangle(c.d);
    EXPECT_EQ(average_linkage_groups(d, static_cast<int>(c.d.size()), c.k), c.groups);
    EXPECT_EQ(reference_groups(c.d, c.k), c.groups);
  }
}

TEST(AverageLinkage, AgreesWithTheWholeMatrixSearchOnConsensusLikeDistances) {
  // Distances of few distinct values, so that ties are common, as in consensus matrices.
  std::uint64_t state = 12345;
  for (int trial = 0; trial < 30; ++trial) {
    const int n = 5 + trial % 17;
    std::vector<std::vector<double>> full(n, std::vector<double>(n, 0));
    for (int i = 0; i < n; ++i)
      for (int j = i + 1; j < n; ++j) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        full[i][j] = full[j][i] = 1.0 - static_cast<double>((state >> 33) % 6) / 5;
      }
    for (int k = 1; k <= n; k += 2) {
      std::vector<double> d = triangle(full);
      EXPECT_EQ(average_linkage_groups(d, n, k), reference_groups(full, k)) << n << ' ' << k;
    }
  }
}

}  // namespace
