// Tests of the ordered scalar products, the cluster objective and the mean panel.
#include "algorithms/products.hpp"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "tests/algorithms/each_width.hpp"
#include "tests/algorithms/fixtures.hpp"
#include "tests/support/builders.hpp"

namespace {

vector random_vector(std::mt19937& gen, int d) {
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  vector v(d);
  for (int i = 0; i < d; ++i) v[i] = value(gen);
  return v;
}

TEST(Products, DimensionZeroGivesZero) {
  EXPECT_EQ(dot_prod(vector(), vector()), 0.0);
  EXPECT_EQ(dot_prod2(vector(), vector()), 0.0);
}

TEST(Products, KnownAnswers) {
  const vector u = make_vector({1, 2}), v = make_vector({3, -4});
  EXPECT_EQ(dot_prod(u, v), -5.0);
  EXPECT_EQ(dot_prod2(u, v), 25.0);
}

TEST(Products, NegationFlipsThePlainProductOnly) {
  std::mt19937 gen(7);
  for (int trial = 0; trial < 20; ++trial) {
    const vector u = random_vector(gen, 9), v = random_vector(gen, 9);
    const vector minus_v = v * -1.0;
    EXPECT_EQ(dot_prod(u, minus_v), -dot_prod(u, v));
    EXPECT_EQ(dot_prod2(u, minus_v), dot_prod2(u, v));
  }
}

TEST(Products, SumRunsFromTheLowestIndexUp) {
  // Upward, 1 is lost against 1e16 before the two large terms cancel; downward it survives.
  const vector u = make_vector({1, 1e16, -1e16}), v = make_vector({1, 1, 1});
  EXPECT_EQ(dot_prod(u, v), 0.0);
  EXPECT_EQ(u * v, 1.0);
  EXPECT_EQ(dot_prod2(u, v), 0.0);
}

TEST(Products, DifferentDimensionsFailTheAssertion) {
  const vector u = make_vector({1, 2, 3}), v = make_vector({1, 2});
  EXPECT_DEATH(dot_prod(u, v), "u.dim\\(\\) == v.dim\\(\\)");
  EXPECT_DEATH(dot_prod2(u, v), "u.dim\\(\\) == v.dim\\(\\)");
}

TEST(ClusterObjective, AllEmptyClustersGiveZero) {
  std::mt19937 gen(3);
  const matrix data = random_matrix(gen, 4, 3);
  array<tTaxaSet> clusters(2);
  array<vector> means(2);  // dimension 0: an empty cluster's mean is never read
  EXPECT_EQ(cluster_objective(data, clusters, means, true), 0.0);
  EXPECT_EQ(cluster_objective(data, clusters, means, false), 0.0);
}

TEST(ClusterObjective, KnownAnswerAndARowInTwoClusters) {
  matrix data(3, 2);
  data.row(0) = make_vector({1, 0});
  data.row(1) = make_vector({0, 2});
  data.row(2) = make_vector({3, 4});
  array<tTaxaSet> clusters(2);
  clusters[0] = make_set({0, 2});
  clusters[1] = make_set({1, 2});
  array<vector> means(2);
  means[0] = make_vector({1, 0});
  means[1] = make_vector({0, -1});
  // Row 2 counts once in each cluster: 3 under mean 0 and -4 under mean 1.
  EXPECT_EQ(cluster_objective(data, clusters, means, false), 1.0 + 3.0 - 2.0 - 4.0);
  EXPECT_EQ(cluster_objective(data, clusters, means, true), 1.0 + 9.0 + 4.0 + 16.0);
}

// The objective in its defining order, with dot_prod and dot_prod2 one member at a time.
double naive_objective(const matrix& data, const array<tTaxaSet>& clusters,
                       const array<vector>& means, bool squared) {
  double obj = 0.0;
  for (int i = 0; i < clusters.size(); ++i)
    for (tItem it = clusters[i].first_item(); it; it = clusters[i].next_item(it)) {
      const vector& row = data.row(clusters[i].inf(it));
      obj += squared ? dot_prod2(means[i], row) : dot_prod(means[i], row);
    }
  return obj;
}

TEST(ClusterObjective, MatchesTheMemberByMemberSumBitForBit) {
  std::mt19937 gen(11);
  const matrix data = random_matrix(gen, 40, 13);
  std::uniform_int_distribution<int> pick(0, 4);
  array<tTaxaSet> clusters(5);
  array<vector> means(5);
  for (int r = 0; r < 40; ++r) clusters[pick(gen)].insert(r);
  clusters[3].clear();
  for (int i = 0; i < 5; ++i) means[i] = random_vector(gen, 13);
  for (bool squared : {false, true})
    EXPECT_EQ(cluster_objective(data, clusters, means, squared),
              naive_objective(data, clusters, means, squared));
}

TEST(ClusterObjective, AMemberOutsideTheMatrixIsReported) {
  std::mt19937 gen(5);
  const matrix data = random_matrix(gen, 3, 2);
  array<tTaxaSet> clusters(1);
  clusters[0] = make_set({1, 3});
  array<vector> means(1);
  means[0] = make_vector({1, 0});
  EXPECT_DEATH(cluster_objective(data, clusters, means, true), "matrix: row index out of range");
}

TEST(ClusterObjective, AMeanOfTheWrongDimensionFailsTheAssertion) {
  std::mt19937 gen(5);
  const matrix data = random_matrix(gen, 3, 2);
  array<tTaxaSet> clusters(1);
  clusters[0] = make_set({0});
  array<vector> means(1);
  EXPECT_DEATH(cluster_objective(data, clusters, means, true), "u.dim\\(\\) == v.dim\\(\\)");
}

TEST(MeanPanel, GivesEveryProductOfDotProdBitForBit) {
  std::mt19937 gen(13);
  for_each_width([&](const std::string& width) {
    for (int count : {0, 1, 2, 3, 4, 5, 8, 9, 11, 17}) {
      for (int dim : {0, 1, 7, 64}) {
        array<vector> means(count + 2);
        std::vector<int> offered;
        for (int j = 0; j < count + 2; ++j) {
          means[j] = random_vector(gen, dim);
          if (j != 1 && offered.size() < static_cast<std::size_t>(count)) offered.push_back(j);
        }
        const tMeanPanel panel(means, offered, dim);
        ASSERT_EQ(panel.size(), count);
        std::vector<vector> rows;
        for (int r = 0; r < tMeanPanel::max_rows; ++r) rows.push_back(random_vector(gen, dim));
        const double* row_data[tMeanPanel::max_rows];
        for (int r = 0; r < tMeanPanel::max_rows; ++r) row_data[r] = rows[r].data();
        for (int used = 1; used <= tMeanPanel::max_rows; ++used) {
          std::vector<double> out(static_cast<std::size_t>(used) * count + 1, -7.0);
          panel.products(row_data, used, out.data());
          for (int r = 0; r < used; ++r)
            for (int t = 0; t < count; ++t)
              EXPECT_EQ(out[r * count + t], dot_prod(means[offered[t]], rows[r]))
                  << width << count << " means, dim " << dim << ", row " << r << " of " << used;
          EXPECT_EQ(out.back(), -7.0) << "nothing beyond the rows asked for";
        }
      }
    }
  });
}

TEST(MemberProducts, AreTheDotProdsOfEveryMemberInOrder) {
  std::mt19937 gen(14);
  for_each_width([&](const std::string& width) {
    for (int dim : {1, 6, 33}) {
      const matrix data = random_matrix(gen, 23, dim);
      const vector mean = random_vector(gen, dim);
      for (const tTaxaSet& members : {make_set({4}), make_set({0, 2, 3, 9, 10, 22}),
                                      make_set({1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12})}) {
        std::vector<double> out(members.size());
        member_products(data, members, mean, out.data());
        int j = 0;
        for (tItem it = members.first_item(); it; it = members.next_item(it), ++j)
          EXPECT_EQ(out[j], dot_prod(data.row(members.inf(it)), mean)) << width << "member " << j;
      }
    }
  });
}

TEST(MemberProducts, AMeanOfTheWrongDimensionFailsTheAssertion) {
  std::mt19937 gen(15);
  const matrix data = random_matrix(gen, 3, 2);
  double out[1];
  EXPECT_DEATH(member_products(data, make_set({1}), vector(3), out), "u.dim\\(\\) == v.dim\\(\\)");
}

}  // namespace
