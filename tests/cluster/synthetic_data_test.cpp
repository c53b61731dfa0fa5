// Simulation, permutation, random grouping and the reports of simulated runs.
#include "cluster/synthetic_data.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "algorithms/products.hpp"
#include "tests/support/builders.hpp"
#include "tests/support/close.hpp"

namespace {

tExpressionData simulate(int k, int d, double noise, int seed, tTruth& truth, std::string& output,
                         int verbosity = 0) {
  random_source draws;
  draws.set_seed(seed);
  std::ostringstream out;
  tExpressionData simulated = simulate_data(k, d, noise, draws, verbosity, out, truth);
  output = out.str();
  return simulated;
}

std::vector<double> entries(const matrix& data) {
  return std::vector<double>(data.data(), data.data() + data.dim1() * data.dim2());
}

}  // namespace

TEST(SyntheticData, EveryRowIsItsTrueMeanShiftedByTheNoiseUpToSign) {
  tTruth truth;
  std::string output;
  const tExpressionData simulated = simulate(2, 3, 0.001, 5, truth, output);
  ASSERT_EQ(simulated.data.dim1(), 20);
  ASSERT_EQ(simulated.data.dim2(), 3);
  ASSERT_EQ(truth.means.size(), 2);
  ASSERT_EQ(truth.clusters.size(), 2);
  for (int r = 0; r < 20; ++r) {
    const int i = r / 10;
    EXPECT_TRUE(truth.clusters[i].member(r));
    EXPECT_EQ(std::string(simulated.names.get_name(r).c_str()), "x");
    const double sign = simulated.data(r, 0) == truth.means[i][0] + 0.001 ? 1 : -1;
    for (int j = 0; j < 3; ++j)
      EXPECT_EQ(simulated.data(r, j), sign * truth.means[i][j] + sign * 0.001) << r << " " << j;
  }
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(truth.clusters[i].size(), 10);
    EXPECT_TRUE(close_to(truth.means[i].length(), 1.0, 1e-15));
  }
}

TEST(SyntheticData, DrawsMagnitudeThenSignPerCoordinateThenOneSignPerRow) {
  tTruth truth;
  std::string output;
  const tExpressionData simulated = simulate(1, 2, 0.5, 11, truth, output);
  random_source replay;
  replay.set_seed(11);
  double draw[4];
  for (double& x : draw) replay >> x;
  vector v(2);
  v[0] = draw[1] < 0.5 ? -draw[0] : draw[0];
  v[1] = draw[3] < 0.5 ? -draw[2] : draw[2];
  const vector mean = v / v.length();
  EXPECT_EQ(truth.means[0][0], mean[0]);
  EXPECT_EQ(truth.means[0][1], mean[1]);
  for (int r = 0; r < 10; ++r) {
    double u = 0;
    replay >> u;
    EXPECT_EQ(simulated.data(r, 0), u < 0.5 ? mean[0] + 0.5 : -mean[0] - 0.5) << r;
  }
}

TEST(SyntheticData, WithoutNoiseTheIdealObjectiveIsTenPerCluster) {
  tTruth truth;
  std::string output;
  const tExpressionData simulated = simulate(3, 4, 0.0, 23, truth, output);
  EXPECT_TRUE(close_to(ideal_objective(simulated.data, truth), 30.0, 1e-12));
  EXPECT_EQ(output, "Ideal obj value = 30\n");
  for (int r = 0; r < 30; ++r) EXPECT_TRUE(close_to(simulated.data.row(r).length(), 1.0, 1e-15));
}

TEST(SyntheticData, IdealObjectiveSumsSquaredProductsWithTheTrueMeans) {
  tTruth truth;
  std::string output;
  const tExpressionData simulated = simulate(2, 3, 0.25, 3, truth, output);
  double expected = 0;
  for (int r = 0; r < 20; ++r) expected += dot_prod2(truth.means[r / 10], simulated.data.row(r));
  EXPECT_EQ(ideal_objective(simulated.data, truth), expected);
  std::ostringstream line;
  line << "Ideal obj value = " << expected << '\n';
  EXPECT_EQ(output, line.str());
}

TEST(SyntheticData, ProgressLinesOnlyAtHighestVerbosity) {
  tTruth truth;
  std::string output;
  simulate(1, 2, 0.0, 1, truth, output, 4);
  EXPECT_EQ(output, "generating random means\ngenerating perturbed data\nIdeal obj value = 10\n");
}

TEST(SyntheticData, NoColumnsGiveRowsWithoutEntries) {
  tTruth truth;
  std::string output;
  const tExpressionData simulated = simulate(2, 0, 0.001, 1, truth, output);
  EXPECT_EQ(simulated.data.dim1(), 20);
  EXPECT_EQ(simulated.data.dim2(), 0);
  EXPECT_EQ(output, "Ideal obj value = 0\n");
}

TEST(SyntheticData, PermutationKeepsTheMultisetOfEntries) {
  matrix data(3, 4);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 4; ++c) data(r, c) = 10 * r + c;
  const std::vector<double> before = entries(data);
  random_source row_draws(0, 2), col_draws(0, 3);
  row_draws.set_seed(7);
  col_draws.set_seed(8);
  permute_entries(data, row_draws, col_draws);
  std::vector<double> after = entries(data);
  EXPECT_NE(after, before);
  std::sort(after.begin(), after.end());
  EXPECT_EQ(after, before);  // before is already sorted
}

TEST(SyntheticData, PermutationOfOneEntryChangesNothing) {
  matrix data(1, 1);
  data(0, 0) = 2.5;
  random_source row_draws(0, 0), col_draws(0, 0);
  permute_entries(data, row_draws, col_draws);
  EXPECT_EQ(data(0, 0), 2.5);
}

TEST(SyntheticData, RandomGroupingPutsEveryRowInExactlyOneOfTwoKGroups) {
  random_source draws(0, 5);
  draws.set_seed(99);
  std::ostringstream out;
  random_grouping(40, 3, draws, out);
  std::istringstream lines(out.str());
  std::string line;
  std::vector<int> seen(40);
  int g = 0;
  while (std::getline(lines, line)) {
    std::istringstream words(line);
    int number = -1;
    words >> number;
    EXPECT_EQ(number, g++);
    EXPECT_EQ(line.substr(0, 2), std::to_string(number) + " ");
    for (int r; words >> r;) ++seen.at(r);
  }
  EXPECT_EQ(g, 6);
  EXPECT_EQ(seen, std::vector<int>(40, 1));
}

TEST(SyntheticData, ComparisonReportShowsFoundAndTrueClustersWithProducts) {
  matrix data(20, 2);
  data(0, 0) = 0.5;
  data(0, 1) = 2;
  data(12, 0) = 3;
  data(12, 1) = -1;
  tTruth truth{array<vector>(2), array<tTaxaSet>(2)};
  truth.means[0] = vector(2);
  truth.means[0][0] = 1;
  truth.means[1] = vector(2);
  truth.means[1][1] = 1;
  for (int r = 0; r < 20; ++r) truth.clusters[r / 10].insert(r);
  array<tTaxaSet> found(2);
  found[0] = make_set({0, 12});
  std::ostringstream out;
  write_comparison_report(out, data, found, truth);
  EXPECT_EQ(out.str(),
            "comparison of k-svd and random : \n"
            "k-svd clusters =  0 12\n"
            "true clusters =  0 1 2 3 4 5 6 7 8 9\n"
            "0.5 -1 \n"  // row 0 with true mean 0, row 12 with true mean 1
            "0.5 3 \n"   // both with true mean 0
            "k-svd clusters = \n"
            "true clusters =  10 11 12 13 14 15 16 17 18 19\n"
            "\n"
            "\n");
}

TEST(SyntheticData, FinalListingPutsEveryGroupOnItsOwnLine) {
  array<tTaxaSet> groups(3);
  groups[0] = make_set({0, 3});
  groups[2] = make_set({5});
  std::ostringstream out;
  write_final_listing(out, groups);
  EXPECT_EQ(out.str(), "clusters after kmeans are : \n 0 3\n\n 5\n");
}
