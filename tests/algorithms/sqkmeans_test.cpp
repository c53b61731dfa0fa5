// Tests of k-svd clustering: agreement with the literal algorithm, its invariants, what it reports,
// assertions and the treatment of empty clusters, falling passes and rows without products.
#include "algorithms/sqkmeans.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "algorithms/principal_direction.hpp"
#include "algorithms/products.hpp"
#include "tests/algorithms/each_width.hpp"
#include "tests/algorithms/fixtures.hpp"
#include "tests/support/builders.hpp"
#include "tests/support/close.hpp"

namespace {

// Rows scattered around `groups` random directions, each row with a random sign.
matrix planted_matrix(std::mt19937& gen, int rows, int cols, int groups, double noise) {
  std::normal_distribution<double> normal(0.0, 1.0);
  std::uniform_int_distribution<int> pick(0, groups - 1);
  std::bernoulli_distribution flip(0.5);
  const matrix centres = random_centres(gen, normal, groups, cols);
  matrix m(rows, cols);
  for (int r = 0; r < rows; ++r) {
    const int g = pick(gen);
    const double sign = flip(gen) ? -1.0 : 1.0;
    for (int c = 0; c < cols; ++c) m(r, c) = sign * centres(g, c) + noise * normal(gen);
  }
  return m;
}

// Clusters drawn at random and their principal directions, empty clusters without a mean.
Clustering random_start(std::mt19937& gen, const matrix& data, int k, int iterations) {
  Clustering s{array<tTaxaSet>(k), array<vector>(k)};
  std::uniform_int_distribution<int> pick(0, k - 1);
  for (int r = 0; r < data.dim1(); ++r) s.clusters[pick(gen)].insert(r);
  for (int i = 0; i < k; ++i)
    if (!s.clusters[i].empty()) s.means[i] = principal_direction(data, s.clusters[i], iterations);
  return s;
}

double reference_objective(const matrix& data, const array<tTaxaSet>& clusters,
                           const array<vector>& means) {
  double obj = 0.0;
  for (int i = 0; i < clusters.size(); ++i)
    for (tItem it = clusters[i].first_item(); it; it = clusters[i].next_item(it))
      obj += dot_prod2(means[i], data.row(clusters[i].inf(it)));
  return obj;
}

// The algorithm one product at a time, with empty entry clusters retired and falling passes undone.
double reference_sqkmeans(const matrix& data, array<tTaxaSet>& clusters, array<vector>& means,
                          double tolerance, int iterations) {
  const int k = clusters.size();
  std::vector<bool> retired(k);
  for (int i = 0; i < k; ++i) retired[i] = clusters[i].empty();
  double obj = reference_objective(data, clusters, means);
  for (;;) {
    const double prev_obj = obj;
    const array<tTaxaSet> kept_clusters = clusters;
    const array<vector> kept_means = means;
    for (int i = 0; i < k; ++i) clusters[i].clear();
    for (int r = 0; r < data.dim1(); ++r) {
      double best = -2.0;
      int closest_mean = -1;
      for (int j = 0; j < k; ++j) {
        if (retired[j]) continue;
        const double score = dot_prod2(means[j], data.row(r));
        if (score > best) {
          best = score;
          closest_mean = j;
        }
      }
      clusters[closest_mean].insert(r);
    }
    for (int i = 0; i < k; ++i) {
      if (clusters[i].empty())
        retired[i] = true;
      else
        means[i] = reference_direction(data, clusters[i], iterations);
    }
    obj = reference_objective(data, clusters, means);
    if (obj + 0.0000001 < prev_obj) {
      clusters = kept_clusters;
      means = kept_means;
      return prev_obj;
    }
    if (obj - prev_obj < tolerance) return obj;
  }
}

// Every call of the observer as a line, the objectives with all their digits.
struct tRecorder : tRefinementObserver {
  std::ostringstream log;
  tRecorder() { log.precision(17); }
  void placing(int pass) override { log << "placing " << pass << '\n'; }
  void updating(int pass) override { log << "updating " << pass << '\n'; }
  void passed(int pass, double prev_obj, double obj) override {
    log << "passed " << pass << ' ' << prev_obj << ' ' << obj << '\n';
  }
};

void expect_same_clustering(const Clustering& a, const Clustering& b, const std::string& where) {
  ASSERT_EQ(a.clusters.size(), b.clusters.size());
  for (int i = 0; i < a.clusters.size(); ++i) {
    EXPECT_TRUE(a.clusters[i] == b.clusters[i]) << where << ", cluster " << i;
    ASSERT_EQ(a.means[i].dim(), b.means[i].dim()) << where << ", mean " << i;
    for (int c = 0; c < a.means[i].dim(); ++c)
      EXPECT_EQ(a.means[i][c], b.means[i][c]) << where << ", mean " << i << ", entry " << c;
  }
}

// Cluster index of every row; fails when a row is in no cluster or in two.
std::vector<int> labels(const array<tTaxaSet>& clusters, int rows) {
  std::vector<int> label(rows, -1);
  for (int i = 0; i < clusters.size(); ++i)
    for (tItem it = clusters[i].first_item(); it; it = clusters[i].next_item(it)) {
      const int r = clusters[i].inf(it);
      EXPECT_EQ(label[r], -1) << "row " << r << " in two clusters";
      label[r] = i;
    }
  for (int r = 0; r < rows; ++r) EXPECT_NE(label[r], -1) << "row " << r << " in no cluster";
  return label;
}

TEST(Sqkmeans, MatchesTheLiteralAlgorithmBitForBit) {
  std::mt19937 gen(1);
  const int cases[][4] = {{60, 12, 3, 20}, {120, 30, 5, 7}, {90, 9, 4, 2}, {40, 50, 6, 1}};
  for (const auto& c : cases) {
    const matrix data = planted_matrix(gen, c[0], c[1], c[2], 0.4);
    const Clustering start = random_start(gen, data, c[2], c[3]);
    Clustering slow = start;
    testing::internal::CaptureStderr();
    const double slow_obj = reference_sqkmeans(data, slow.clusters, slow.means, 1e-6, c[3]);
    testing::internal::GetCapturedStderr();
    for_each_width([&](const std::string& width) {
      Clustering fast = start;
      testing::internal::CaptureStderr();
      const double fast_obj = sqkmeans(data, fast.clusters, fast.means, 1e-6, c[3]);
      testing::internal::GetCapturedStderr();
      const std::string where = width + std::to_string(c[0]) + " x " + std::to_string(c[1]);
      EXPECT_EQ(fast_obj, slow_obj) << where;
      expect_same_clustering(fast, slow, where);
    });
  }
}

TEST(Sqkmeans, ReturnsTheSquaredObjectiveOfItsResultAndNeverLowersIt) {
  std::mt19937 gen(2);
  for (int trial = 0; trial < 6; ++trial) {
    const matrix data = planted_matrix(gen, 80, 10, 4, 0.5);
    Clustering s = random_start(gen, data, 4, 20);
    const double entry = cluster_objective(data, s.clusters, s.means, true);
    const double obj = sqkmeans(data, s.clusters, s.means, 1e-6, 20);
    EXPECT_EQ(obj, cluster_objective(data, s.clusters, s.means, true));
    EXPECT_GE(obj + 0.0000001, entry);
    labels(s.clusters, data.dim1());
  }
}

TEST(Sqkmeans, ARowAndItsNegationLandTogether) {
  std::mt19937 gen(3);
  const matrix half = planted_matrix(gen, 25, 8, 3, 0.8);
  matrix data(50, 8);
  for (int r = 0; r < 25; ++r) {
    data.row(r) = half.row(r);
    data.row(r + 25) = half.row(r) * -1.0;
  }
  Clustering s = random_start(gen, data, 4, 20);
  sqkmeans(data, s.clusters, s.means, 1e-6, 20);
  const std::vector<int> label = labels(s.clusters, 50);
  for (int r = 0; r < 25; ++r) EXPECT_EQ(label[r], label[r + 25]) << "row " << r;
}

TEST(Sqkmeans, EqualSquaredProductsGoToTheLowerIndex) {
  const matrix data = make_matrix({{1, 0, 0}, {0, 2, 0}, {0, 0, 1}, {0, -1, 0}});
  array<tTaxaSet> clusters(4);
  array<vector> means(4);
  for (int i = 0; i < 4; ++i) clusters[i] = make_set({i});
  means[0] = make_vector({1, 0, 0});
  means[1] = make_vector({0, 1, 0});
  means[2] = make_vector({0, 0, 1});
  means[3] = make_vector({0, -1, 0});
  sqkmeans(data, clusters, means, 1e-6, 20);
  EXPECT_TRUE(clusters[1] == make_set({1, 3}));
  EXPECT_TRUE(clusters[3].empty());
}

TEST(Sqkmeans, RowsOutsideEveryClusterArePlaced) {
  std::mt19937 gen(4);
  const matrix data = planted_matrix(gen, 30, 6, 2, 0.3);
  array<tTaxaSet> clusters(2);
  array<vector> means(2);
  clusters[0] = make_set({0, 1, 2, 3});
  clusters[1] = make_set({4, 5, 6});
  for (int i = 0; i < 2; ++i) means[i] = principal_direction(data, clusters[i], 20);
  sqkmeans(data, clusters, means, 1e-6, 20);
  labels(clusters, 30);
}

TEST(Sqkmeans, AClusterEmptiedByAPassIsNeverRefilledAndKeepsItsMean) {
  // Mean 2 equals mean 0 and loses every tie; later it would be the best for rows 3 and 4.
  const matrix data = make_matrix(
      {{1, 0.05}, {1, -0.05}, {1, 0.02}, {0.6, 0.8}, {0.62, 0.78}, {0.05, 1}, {-0.05, 1}});
  array<tTaxaSet> clusters(3);
  array<vector> means(3);
  clusters[0] = make_set({0, 1, 2});
  clusters[1] = make_set({5, 6});
  clusters[2] = make_set({3, 4});
  means[0] = make_vector({0.6, 0.8});
  means[1] = make_vector({0, 1});
  means[2] = make_vector({0.6, 0.8});
  sqkmeans(data, clusters, means, 1e-9, 20);
  EXPECT_TRUE(clusters[2].empty());
  EXPECT_EQ(means[2][0], 0.6);
  EXPECT_EQ(means[2][1], 0.8);
  labels(clusters, 7);
}

TEST(Sqkmeans, ClustersWithoutMembersOnEntryAreNeverOffered) {
  // More clusters than rows: the empty ones have no mean at all.
  const matrix data = make_matrix({{1, 0}, {0, 1}, {1, 1}});
  array<tTaxaSet> clusters(5);
  array<vector> means(5);
  clusters[1] = make_set({0, 2});
  clusters[3] = make_set({1});
  for (int i : {1, 3}) means[i] = principal_direction(data, clusters[i], 20);
  const double obj = sqkmeans(data, clusters, means, 1e-6, 20);
  for (int i : {0, 2, 4}) {
    EXPECT_TRUE(clusters[i].empty()) << i;
    EXPECT_EQ(means[i].dim(), 0) << i;
  }
  labels(clusters, 3);
  EXPECT_EQ(obj, cluster_objective(data, clusters, means, true));
}

// Rows along the two axes; the axes themselves are the best means.
struct TwoAxes {
  matrix data = make_matrix({{1, 0.1}, {1, -0.2}, {2, 0}, {0.1, 1}, {-0.1, 1}, {0, 3}});
  array<tTaxaSet> clusters = array<tTaxaSet>(2);
  array<vector> means = array<vector>(2);
  TwoAxes() {
    clusters[0] = make_set({0, 1, 2});
    clusters[1] = make_set({3, 4, 5});
    means[0] = make_vector({1, 0});
    means[1] = make_vector({0, 1});
  }
};

TEST(Sqkmeans, AFallingPassIsUndoneWithAWarning) {
  // With no steps every direction is the diagonal, far worse than the axes passed in.
  TwoAxes t;
  const array<tTaxaSet> entry_clusters = t.clusters;
  const double entry = cluster_objective(t.data, t.clusters, t.means, true);
  testing::internal::CaptureStderr();
  const double obj = sqkmeans(t.data, t.clusters, t.means, 1e-6, 0);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_EQ(err.rfind("\nWarning: k-svd clustering: a pass lowered the objective from ", 0), 0u)
      << err;
  EXPECT_EQ(err.find("\nWarning:", 1), std::string::npos) << "one warning only";
  EXPECT_EQ(obj, entry);
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(t.clusters[i] == entry_clusters[i]);
  EXPECT_EQ(t.means[0][0], 1.0);
  EXPECT_EQ(t.means[0][1], 0.0);
  EXPECT_EQ(t.means[1][0], 0.0);
  EXPECT_EQ(t.means[1][1], 1.0);
}

// Row 2 starts in the wrong cluster, with the clusters' principal directions: the first pass
// moves it, the second changes nothing.
TwoAxes row_two_misplaced() {
  TwoAxes t;
  t.clusters[0] = make_set({0, 1});
  t.clusters[1] = make_set({2, 3, 4, 5});
  for (int i = 0; i < 2; ++i) t.means[i] = principal_direction(t.data, t.clusters[i], 20);
  return t;
}

TEST(Sqkmeans, ObserverSeesEveryPassOfARunThatSettlesInTwoPasses) {
  TwoAxes t = row_two_misplaced();
  const double entry = cluster_objective(t.data, t.clusters, t.means, true);
  tRecorder recorder;
  testing::internal::CaptureStdout();
  const double obj = sqkmeans(t.data, t.clusters, t.means, 1e-6, 20, recorder);
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "the algorithm writes nothing itself";
  std::ostringstream expected;
  expected.precision(17);
  expected << "placing 1\nupdating 1\npassed 1 " << entry << ' ' << obj << '\n'
           << "placing 2\nupdating 2\npassed 2 " << obj << ' ' << obj << '\n';
  EXPECT_EQ(recorder.log.str(), expected.str());
  EXPECT_TRUE(t.clusters[0] == make_set({0, 1, 2}));
}

TEST(Sqkmeans, AGainEqualToTheToleranceDoesNotStop) {
  // The first pass of this run gains exactly `gain`; only a gain below the tolerance ends it.
  TwoAxes t = row_two_misplaced();
  const double entry = cluster_objective(t.data, t.clusters, t.means, true);
  TwoAxes once = t;
  const double gain = sqkmeans(once.data, once.clusters, once.means, 1e300, 20) - entry;
  ASSERT_GT(gain, 0.0);
  tRecorder recorder;
  sqkmeans(t.data, t.clusters, t.means, gain, 20, recorder);
  const std::string log = recorder.log.str();
  EXPECT_NE(log.find("passed 2 "), std::string::npos) << log;
}

TEST(Sqkmeans, TheEntryObjectiveCountsARowOnceForEveryClusterHoldingIt) {
  // Row 2 is in both clusters on entry: the first pass's start objective shows it counted twice,
  // from the products of the entry objective itself; rows outside every cluster count nothing.
  for (bool shared : {true, false}) {
    TwoAxes t;
    t.clusters[0] = make_set({0, 1, 2});
    t.clusters[1] = shared ? make_set({2, 3, 4, 5}) : make_set({3, 4});
    for (int i = 0; i < 2; ++i) t.means[i] = principal_direction(t.data, t.clusters[i], 20);
    const double entry = cluster_objective(t.data, t.clusters, t.means, true);
    tRecorder recorder;
    sqkmeans(t.data, t.clusters, t.means, 1e-6, 20, recorder);
    std::ostringstream first;
    first.precision(17);
    first << "placing 1\nupdating 1\npassed 1 " << entry << ' ';
    const std::string log = recorder.log.str();
    EXPECT_EQ(log.substr(0, first.str().size()), first.str()) << (shared ? "shared" : "outside");
  }
}

TEST(Sqkmeans, MeansFromTheCallerAreReplacedEvenWhenNoRowMoves) {
  // The axes place every row where it is, but they are not the clusters' principal directions.
  TwoAxes t;
  const array<tTaxaSet> entry_clusters = t.clusters;
  sqkmeans(t.data, t.clusters, t.means, 1e-6, 20);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(t.clusters[i] == entry_clusters[i]);
    const vector direction = principal_direction(t.data, entry_clusters[i], 20);
    for (int c = 0; c < 2; ++c) EXPECT_EQ(t.means[i][c], direction[c]) << i << ", " << c;
  }
}

TEST(Sqkmeans, AToleranceOfZeroOrBelowStillEnds) {
  for (double tolerance : {0.0, -1.0}) {
    TwoAxes t;
    const double obj = sqkmeans(t.data, t.clusters, t.means, tolerance, 20);
    EXPECT_EQ(obj, cluster_objective(t.data, t.clusters, t.means, true));
  }
}

TEST(Sqkmeans, ARowWithoutANumericProductGoesToTheLowestOfferedCluster) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const matrix data = make_matrix({{1, 0}, {0, 1}, {nan, 0}});
  array<tTaxaSet> clusters(3);
  array<vector> means(3);
  clusters[1] = make_set({0});
  clusters[2] = make_set({1});
  means[1] = make_vector({1, 0});
  means[2] = make_vector({0, 1});
  testing::internal::CaptureStderr();
  sqkmeans(data, clusters, means, 1e-6, 20);
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(clusters[1].member(2));
  labels(clusters, 3);
}

TEST(Sqkmeans, ZeroAndCancellingRowsStillGetUnitDirections) {
  // Cluster 0 is all zero; cluster 1 is row-centred, orthogonal to the all-ones start.
  const matrix data =
      make_matrix({{0, 0, 0, 0}, {0, 0, 0, 0}, {1, -1, 0, 0}, {2, 0, -2, 0}, {-1, 1, 0, 0}});
  for (int iterations : {1, 2, 20}) {
    array<tTaxaSet> clusters(2);
    array<vector> means(2);
    clusters[0] = make_set({0, 1});
    clusters[1] = make_set({2, 3, 4});
    for (int i = 0; i < 2; ++i) means[i] = principal_direction(data, clusters[i], iterations);
    const double obj = sqkmeans(data, clusters, means, 1e-6, iterations);
    EXPECT_EQ(obj, cluster_objective(data, clusters, means, true)) << iterations;
    for (int i = 0; i < 2; ++i) {
      if (!clusters[i].empty()) {
        EXPECT_TRUE(close_to(means[i].length(), 1.0, 1e-12)) << iterations;
      }
    }
    labels(clusters, 5);
  }
}

TEST(Sqkmeans, ArraysOfDifferentLengthsFailTheFirstAssertion) {
  TwoAxes t;
  array<vector> three(3);
  EXPECT_DEATH(sqkmeans(t.data, t.clusters, three, 1e-6, 20),
               "cluster_array.size\\(\\) == means.size\\(\\)");
}

TEST(Sqkmeans, AMeanLongerThanOneFailsTheLengthAssertion) {
  TwoAxes t;
  t.means[1] = make_vector({0, 2});
  EXPECT_DEATH(sqkmeans(t.data, t.clusters, t.means, 1e-6, 20),
               "w.length\\(\\) <= 1 \\+ 0.0000001");
}

TEST(Sqkmeans, NoClusterForTheRowsFailsTheChoiceAssertion) {
  TwoAxes t;
  array<tTaxaSet> none;
  array<vector> no_means;
  EXPECT_DEATH(sqkmeans(t.data, none, no_means, 1e-6, 20), "closest_mean > -1");
}

}  // namespace
