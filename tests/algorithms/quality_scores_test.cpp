// Tests of the homogeneity and separation scores on tiny clusterings with known answers.
#include "algorithms/quality_scores.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

#include "tests/support/builders.hpp"
#include "tests/support/close.hpp"

namespace {

// A clustering given by its member lists and means.
struct Clustering {
  array<tTaxaSet> clusters;
  array<vector> means;
  Clustering(std::initializer_list<std::initializer_list<int>> members,
             std::initializer_list<std::initializer_list<double>> centres)
      : clusters(static_cast<int>(members.size())), means(static_cast<int>(centres.size())) {
    int i = 0;
    for (const auto& m : members) clusters[i++] = make_set(m);
    i = 0;
    for (const auto& c : centres) means[i++] = make_vector(c);
  }
};

// Means with pairwise products 0.5 (0, 1), 0.1 (0, 2) and 0.3 (1, 2); sizes 1, 1 and 2.
Clustering sizes_example() {
  return Clustering({{0}, {1}, {2, 3}}, {{1, 0, 0}, {0.5, 1, 0}, {0.1, 0.25, 1}});
}

const matrix kUnusedRows(4, 3);

}  // namespace

TEST(QualityScores, SaveWeightsPairsBySizeProducts) {
  Clustering c = sizes_example();
  // (0.5 + 0.1 * 2 + 0.3 * 2) / (1 + 2 + 2)
  EXPECT_TRUE(close_to(S_ave(kUnusedRows, c.clusters, c.means, 0), 0.26, 1e-15));
  EXPECT_TRUE(close_to(S_ave(kUnusedRows, c.clusters, c.means, 1), (0.25 + 0.01 * 2 + 0.09 * 2) / 5,
                       1e-15));
}

TEST(QualityScores, SmaxIsTheMostAlikePair) {
  Clustering c = sizes_example();
  EXPECT_DOUBLE_EQ(S_max(kUnusedRows, c.clusters, c.means), 0.5);
}

TEST(QualityScores, SquaredSaveOfTwoClustersIgnoresTheirSizes) {
  Clustering c({{0, 1, 2}, {3, 4}}, {{0.6, 0.8}, {1, 0}});
  EXPECT_DOUBLE_EQ(S_ave(matrix(5, 2), c.clusters, c.means, 1), 0.6 * 0.6);
  EXPECT_DOUBLE_EQ(S_ave(matrix(5, 2), c.clusters, c.means, 0), 0.6);
}

TEST(QualityScores, EmptyClustersAreSkippedWithTheirMeans) {
  // The empty middle cluster's mean would dominate both scores if it were visited.
  Clustering c({{0}, {}, {1, 2}}, {{1, 0}, {100, 100}, {0.6, 0.8}});
  matrix rows(3, 2);
  EXPECT_DOUBLE_EQ(S_ave(rows, c.clusters, c.means, 0), 0.6);
  EXPECT_DOUBLE_EQ(S_max(rows, c.clusters, c.means), 0.6);
}

TEST(QualityScores, FewerThanTwoNonEmptyClustersHaveNoSeparation) {
  Clustering c({{0, 1}, {}}, {{1, 0}, {1, 0}});
  matrix rows(2, 2);
  EXPECT_TRUE(std::isnan(S_ave(rows, c.clusters, c.means, 0)));
  EXPECT_TRUE(std::isnan(S_ave(rows, c.clusters, c.means, 1)));
  EXPECT_EQ(S_max(rows, c.clusters, c.means), 0.0);
}

TEST(QualityScores, SmaxNeverFallsBelowZero) {
  // Three directions 120 degrees apart: every pair has product -0.5.
  Clustering c({{0}, {1}, {2}}, {{1, 0}, {-0.5, 0.8660254}, {-0.5, -0.8660254}});
  EXPECT_EQ(S_max(matrix(3, 2), c.clusters, c.means), 0.0);
}

TEST(QualityScores, HaveAveragesMemberProductsWithTheirOwnMean) {
  matrix rows = make_matrix({{1, 0}, {0, 1}, {1, 1}});
  Clustering c({{0, 1}, {2}}, {{0.6, 0.8}, {1, 0}});
  EXPECT_TRUE(close_to(H_ave(rows, c.clusters, c.means, 0), (0.6 + 0.8 + 1) / 3, 1e-15));
  EXPECT_TRUE(close_to(H_ave(rows, c.clusters, c.means, 1), (0.36 + 0.64 + 1) / 3, 1e-15));
}

TEST(QualityScores, HaveCountsASharedMemberTwiceButDividesByTheUnion) {
  matrix rows = make_matrix({{1, 0}, {0, 1}, {1, 1}});
  Clustering c({{0, 1}, {1, 2}}, {{0.6, 0.8}, {0, 1}});
  EXPECT_TRUE(close_to(H_ave(rows, c.clusters, c.means, 0), (0.6 + 0.8 + 1 + 1) / 3, 1e-15));
}

TEST(QualityScores, HminIsTheWorstMember) {
  matrix rows = make_matrix({{1, 0}, {0, 1}, {-1, 1}});
  Clustering c({{0, 1}, {2}}, {{0.6, 0.8}, {1, 0}});
  EXPECT_DOUBLE_EQ(H_min(rows, c.clusters, c.means), -1.0);
  Clustering good({{0, 1}, {}}, {{0.6, 0.8}, {1, 0}});
  EXPECT_DOUBLE_EQ(H_min(rows, good.clusters, good.means), 0.6);
}

TEST(QualityScores, HminNeverExceedsItsStartingBound) {
  matrix rows = make_matrix({{5000000, 0}});
  Clustering c({{0}}, {{1, 0}});
  EXPECT_EQ(H_min(rows, c.clusters, c.means), 1000000.0);
}

TEST(QualityScores, AllClustersEmptyGiveNoHomogeneity) {
  Clustering c({{}, {}}, {{1, 0}, {0, 1}});
  matrix rows(2, 2);
  EXPECT_TRUE(std::isnan(H_ave(rows, c.clusters, c.means, 0)));
  EXPECT_EQ(H_min(rows, c.clusters, c.means), 1000000.0);
}
