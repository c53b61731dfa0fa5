// Tests of unit-centroid k-means: agreement with the literal algorithm, its invariants, retired
// clusters, and items and clusters that no mean or centroid can serve.
#include "algorithms/kmeans.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "algorithms/products.hpp"
#include "tests/algorithms/each_width.hpp"
#include "tests/algorithms/fixtures.hpp"
#include "tests/support/builders.hpp"

namespace {

// Unit rows scattered around `groups` random directions.
matrix unit_rows(std::mt19937& gen, int rows, int cols, int groups, double noise) {
  std::normal_distribution<double> normal(0.0, 1.0);
  std::uniform_int_distribution<int> pick(0, groups - 1);
  const matrix centres = random_centres(gen, normal, groups, cols);
  matrix m(rows, cols);
  for (int r = 0; r < rows; ++r) {
    const int g = pick(gen);
    vector row(cols);
    for (int c = 0; c < cols; ++c) row[c] = centres(g, c) + noise * normal(gen);
    m.row(r) = row / row.length();
  }
  return m;
}

vector centroid(const matrix& data, const tTaxaSet& members) {
  vector w(data.dim2());
  for (tItem it = members.first_item(); it; it = members.next_item(it))
    w += data.row(members.inf(it));
  w = w * (1.0 / members.size());
  return w / w.length();
}

bool finite(const vector& v) {
  for (int i = 0; i < v.dim(); ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// The algorithm one product at a time, with the treatment of items that no mean serves and of
// centroids without a direction.
void reference_kmeans(const matrix& data, array<tTaxaSet>& clusters, array<vector>& means,
                      double tolerance) {
  const int k = clusters.size();
  tTaxaSet items;
  for (int i = 0; i < k; ++i) items += clusters[i];
  std::vector<bool> retired(k, false);
  double obj = cluster_objective(data, clusters, means, false);
  for (;;) {
    const double prev_obj = obj;
    const array<tTaxaSet> before = clusters;
    for (int i = 0; i < k; ++i) clusters[i].clear();
    for (tItem it = items.first_item(); it; it = items.next_item(it)) {
      const int x = items.inf(it);
      double best = -1000.0;
      int chosen = -1;
      for (int j = 0; j < k; ++j) {
        if (retired[j]) continue;
        const double p = dot_prod(means[j], data.row(x));
        if (p > best) {
          best = p;
          chosen = j;
        }
      }
      for (int j = 0; chosen == -1; ++j)
        if (before[j].member(x)) chosen = j;
      clusters[chosen].insert(x);
    }
    for (int i = 0; i < k; ++i) {
      retired[i] = clusters[i].empty();
      if (retired[i]) continue;
      const vector w = centroid(data, clusters[i]);
      if (finite(w)) means[i] = w;
    }
    obj = cluster_objective(data, clusters, means, false);
    if (obj - prev_obj <= tolerance) return;
  }
}

Clustering random_clustering(std::mt19937& gen, const matrix& data, int k, int items) {
  Clustering c{array<tTaxaSet>(k), array<vector>(k)};
  std::uniform_int_distribution<int> pick(0, k - 1);
  for (int r = 0; r < items; ++r) c.clusters[pick(gen)].insert(r);
  for (int i = 0; i < k; ++i)
    c.means[i] = c.clusters[i].empty() ? vector(data.dim2()) : centroid(data, c.clusters[i]);
  return c;
}

void expect_same(const Clustering& a, const Clustering& b) {
  for (int i = 0; i < a.clusters.size(); ++i) {
    EXPECT_TRUE(a.clusters[i] == b.clusters[i]) << "cluster " << i;
    ASSERT_EQ(a.means[i].dim(), b.means[i].dim());
    for (int c = 0; c < a.means[i].dim(); ++c)
      EXPECT_EQ(a.means[i][c], b.means[i][c]) << "mean " << i << ", entry " << c;
  }
}

TEST(Kmeans, MatchesTheLiteralAlgorithmBitForBit) {
  std::mt19937 gen(31);
  const int cases[][4] = {{50, 6, 2, 50}, {120, 20, 5, 100}, {70, 33, 9, 70}, {30, 3, 3, 20}};
  for (const auto& c : cases) {
    const matrix data = unit_rows(gen, c[0], c[1], c[2], 0.7);
    const Clustering start = random_clustering(gen, data, c[2], c[3]);
    Clustering slow = start;
    reference_kmeans(data, slow.clusters, slow.means, 0.0);
    for_each_width([&](const std::string& width) {
      SCOPED_TRACE(width);
      Clustering fast = start;
      kmeans(data, fast.clusters, fast.means, 0.0);
      expect_same(fast, slow);
    });
  }
}

TEST(Kmeans, ObjectiveNeverFallsAndEveryItemEndsInOneCluster) {
  std::mt19937 gen(32);
  for (int trial = 0; trial < 5; ++trial) {
    const matrix data = unit_rows(gen, 60, 8, 3, 1.0);
    Clustering c = random_clustering(gen, data, 3, 60);
    const double entry = cluster_objective(data, c.clusters, c.means, false);
    kmeans(data, c.clusters, c.means, 1e-9);
    EXPECT_GE(cluster_objective(data, c.clusters, c.means, false) + 0.0000001, entry);
    int placed = 0;
    for (int i = 0; i < 3; ++i) placed += c.clusters[i].size();
    EXPECT_EQ(placed, 60);
  }
}

TEST(Kmeans, OneClusterAtItsCentroidStaysAsItIs) {
  const matrix data = make_matrix({{1, 0}, {0.8, 0.6}, {0.6, 0.8}});
  array<tTaxaSet> clusters(1);
  array<vector> means(1);
  clusters[0] = make_set({0, 1, 2});
  means[0] = centroid(data, clusters[0]);
  const vector entry_mean = means[0];
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0] == make_set({0, 1, 2}));
  EXPECT_EQ(means[0][0], entry_mean[0]);
  EXPECT_EQ(means[0][1], entry_mean[1]);
}

TEST(Kmeans, MeansFromTheCallerAreReplacedEvenWhenNoItemMoves) {
  // Both items stay with the axis passed in, which is not their centroid.
  const matrix data = make_matrix({{0.8, 0.6}, {0.6, 0.8}, {0, -1}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0, 1});
  clusters[1] = make_set({2});
  means[0] = make_vector({1, 0});
  means[1] = make_vector({0, -1});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0] == make_set({0, 1}));
  const vector w = centroid(data, clusters[0]);
  EXPECT_EQ(means[0][0], w[0]);
  EXPECT_EQ(means[0][1], w[1]);
}

TEST(Kmeans, EqualProductsGoToTheLowerIndex) {
  // Item 1 scores the same under means 0 and 2.
  const double s = 1 / std::sqrt(2.0);
  const matrix data = make_matrix({{1, 0, 0}, {s, s, 0}, {0, 0, 1}});
  array<tTaxaSet> clusters(3);
  array<vector> means(3);
  for (int i = 0; i < 3; ++i) clusters[i] = make_set({i});
  means[0] = make_vector({1, 0, 0});
  means[1] = make_vector({0, 0, 1});
  means[2] = make_vector({0, 1, 0});
  kmeans(data, clusters, means, 1e9);
  EXPECT_TRUE(clusters[0] == make_set({0, 1}));
}

TEST(Kmeans, AClusterEmptiedByAPassIsNeverRefilledAndKeepsItsMean) {
  // Mean 1 loses its only item to mean 0 and is retired, although it fits item 3 best later.
  const matrix data = make_matrix({{1, 0}, {0.8, 0.6}, {0, 1}, {0.6, 0.8}});
  array<tTaxaSet> clusters(3);
  array<vector> means(3);
  clusters[0] = make_set({0, 1});
  clusters[1] = make_set({3});
  clusters[2] = make_set({2});
  means[0] = make_vector({0.6, 0.8});
  means[1] = make_vector({0.6, 0.8});
  means[2] = make_vector({0, 1});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[1].empty());
  EXPECT_EQ(means[1][0], 0.6);
  EXPECT_EQ(means[1][1], 0.8);
}

TEST(Kmeans, AnEmptyClusterIsStillOfferedInTheFirstPass) {
  const matrix data = make_matrix({{1, 0}, {0, 1}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0, 1});
  means[0] = make_vector({1, 0});
  means[1] = make_vector({0, 1});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0] == make_set({0}));
  EXPECT_TRUE(clusters[1] == make_set({1}));
}

TEST(Kmeans, AnEmptyHalfWithoutANumericMeanIsRetired) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const matrix data = make_matrix({{1, 0}, {0.8, 0.6}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0, 1});
  means[0] = centroid(data, clusters[0]);
  means[1] = make_vector({nan, nan});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0] == make_set({0, 1}));
  EXPECT_TRUE(clusters[1].empty());
  EXPECT_TRUE(std::isnan(means[1][0]));
  EXPECT_FALSE(std::isnan(cluster_objective(data, clusters, means, false)));
}

TEST(Kmeans, ItemsOutsideTheStartingClustersStayOutside) {
  std::mt19937 gen(33);
  const matrix data = unit_rows(gen, 40, 5, 2, 0.5);
  Clustering c = random_clustering(gen, data, 2, 25);
  kmeans(data, c.clusters, c.means, 0.0);
  for (int r = 25; r < 40; ++r)
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(c.clusters[i].member(r)) << r;
  EXPECT_EQ(c.clusters[0].size() + c.clusters[1].size(), 25);
}

TEST(Kmeans, AnItemNoMeanScoresStaysInItsCluster) {
  // Item 1 scores -2000 under both means: it stays in cluster 1, where the pass found it.
  const matrix data = make_matrix({{1, 0}, {-2000, -2000}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0});
  clusters[1] = make_set({1});
  means[0] = make_vector({1, 0});
  means[1] = make_vector({0, 1});
  kmeans(data, clusters, means, 1e9);
  EXPECT_TRUE(clusters[0] == make_set({0}));
  EXPECT_TRUE(clusters[1] == make_set({1}));
}

TEST(Kmeans, RowsThatSumToZeroKeepTheClusterMean) {
  // Items 0 and 1 tie under both means and go to cluster 0; their centroid is the zero vector.
  const matrix data = make_matrix({{0, 0, 1}, {0, 0, -1}, {0, 1, 0}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0, 1});
  clusters[1] = make_set({2});
  means[0] = make_vector({1, 0, 0});
  means[1] = make_vector({0, 1, 0});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0] == make_set({0, 1}));
  EXPECT_EQ(means[0][0], 1.0);
  EXPECT_EQ(means[0][1], 0.0);
  EXPECT_EQ(means[0][2], 0.0);
}

TEST(Kmeans, ANegativeToleranceActsAsZero) {
  std::mt19937 gen(34);
  const matrix data = unit_rows(gen, 50, 6, 3, 0.8);
  const Clustering start = random_clustering(gen, data, 3, 50);
  Clustering negative = start, zero = start;
  kmeans(data, negative.clusters, negative.means, -1.0);
  kmeans(data, zero.clusters, zero.means, 0.0);
  expect_same(negative, zero);
}

TEST(Kmeans, AFallingObjectiveFailsTheAssertion) {
  // Means longer than unit length inflate the entry objective beyond any later pass.
  const matrix data = make_matrix({{1, 0}, {0, 1}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0});
  clusters[1] = make_set({1});
  means[0] = make_vector({5, 0});
  means[1] = make_vector({0, 5});
  EXPECT_DEATH(kmeans(data, clusters, means, 0.0), "obj \\+ 0.0000001>= prev_obj");
}

TEST(Kmeans, RoundingNoiseOnLargeValuesEndsTheRunInsteadOfFailingTheAssertion) {
  // Rows of length near 1e9 make the objective's last bit worth more than 1e-7. The two halves of
  // a line through the origin come with means divided by their counts (as the bisection forms
  // them), which k-means rounds another way, so a first pass that moves nothing can compute a
  // lower objective. That ends the run at the pass before; the objective never falls.
  std::mt19937 gen(71);
  std::normal_distribution<double> normal(0.0, 1.0);
  for (int trial = 0; trial < 20; ++trial) {
    vector direction(20);
    for (int c = 0; c < direction.dim(); ++c) direction[c] = normal(gen);
    matrix data(300, direction.dim());
    array<tTaxaSet> halves(2);
    for (int r = 0; r < data.dim1(); ++r) {
      const double side = r % 2 ? 1.0 : -1.0;
      for (int c = 0; c < data.dim2(); ++c)
        data(r, c) = side * (1e8 * direction[c] + 1e6 * normal(gen));
      halves[r % 2].insert(r);
    }
    array<vector> means(2);
    for (int h = 0; h < 2; ++h) {
      vector sum(data.dim2());
      for (tItem it = halves[h].first_item(); it; it = halves[h].next_item(it))
        sum += data.row(halves[h].inf(it));
      const vector mean = sum / halves[h].size();
      means[h] = mean / mean.length();
    }
    const array<tTaxaSet> entry_halves = halves;
    const double entry = cluster_objective(data, halves, means, false);
    kmeans(data, halves, means, 0.001);
    EXPECT_GE(cluster_objective(data, halves, means, false), entry) << "trial " << trial;
    EXPECT_TRUE(halves[0] == entry_halves[0] && halves[1] == entry_halves[1]) << "trial " << trial;
  }
}

TEST(Kmeans, AnEntryItemInTwoClustersCountsOnceWithEachMean) {
  // Item 0 is in both clusters on entry, with products -0.6 and 0.8: the entry objective is
  // -0.6 + 0.8 + 1 = 1.2, below what the first pass reaches, so the run goes on normally. (Had
  // the item counted twice with one mean, 0.8 + 0.8 + 1, the pass would seem to lose.)
  const matrix data = make_matrix({{0.6, 0.8}, {0, 1}});
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0});
  clusters[1] = make_set({0, 1});
  means[0] = make_vector({-1, 0});
  means[1] = make_vector({0, 1});
  kmeans(data, clusters, means, 0.0);
  EXPECT_TRUE(clusters[0].empty());
  EXPECT_TRUE(clusters[1] == make_set({0, 1}));
  EXPECT_EQ(means[0][0], -1.0);
}

}  // namespace
