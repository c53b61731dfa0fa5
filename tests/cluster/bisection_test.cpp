// Bisection of k-svd clusters: sign split, group labels, report blocks and progress lines.
#include "cluster/bisection.hpp"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

vector direction(double x, double y) {
  vector v(2);
  v[0] = x;
  v[1] = y;
  return v;
}

// Rows a (1, 0), c (0, 1), b (-1, 0), d (3, 4); clusters {a, b}, {c}, {} and {d}.
struct tFixture {
  tFixture() : data(4, 2), clusters(4), means(4) {
    const char* row_names[] = {"a", "c", "b", "d"};
    const double rows[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {3, 4}};
    for (int r = 0; r < 4; ++r) {
      names.insert(r, row_names[r]);
      data(r, 0) = rows[r][0];
      data(r, 1) = rows[r][1];
    }
    clusters[0].insert(0);
    clusters[0].insert(2);
    clusters[1].insert(1);
    clusters[3].insert(3);
    means[0] = direction(-1, 0);
    means[1] = direction(0, 1);
    means[3] = direction(0.6, 0.8);
  }
  tBisection bisect(int verbosity, std::string& report) const {
    std::ostringstream out;
    tBisection result = bisect_clusters(data, names, clusters, means, 0.001, verbosity, out);
    report = out.str();
    return result;
  }
  matrix data;
  tNames names;
  array<tTaxaSet> clusters;
  array<vector> means;
};

std::vector<int> members(const tTaxaSet& s) {
  std::vector<int> result;
  for (tItem it = s.first_item(); it != 0; it = s.next_item(it)) result.push_back(s.inf(it));
  return result;
}

const char* const expected_report =
    "# BEGIN DIAM\n"
    "CLUSTER 0\n"
    "a\n"
    "2  1 0\n"
    "CLUSTER 1\n"
    "b\n"
    "2  -1 0\n"
    "END DIAM\n"
    "# BEGIN DIAM\n"
    "CLUSTER 2\n"
    "EMPTY\n"
    "2  0 0\n"
    "CLUSTER 3\n"
    "c\n"
    "2  0 1\n"
    "END DIAM\n"
    "# BEGIN DIAM\n"
    "CLUSTER 6\n"
    "EMPTY\n"
    "2  0 0\n"
    "CLUSTER 7\n"
    "d\n"
    "2  0.6 0.8\n"
    "END DIAM\n";

}  // namespace

TEST(Bisection, SplitsEveryClusterBySignAndReportsItsGroups) {
  const tFixture fixture;
  std::string report;
  const tBisection result = fixture.bisect(1, report);
  EXPECT_EQ(report, expected_report);
  ASSERT_EQ(result.split_clusters.size(), 8);
  EXPECT_EQ(members(result.split_clusters[0]), (std::vector<int>{0}));
  EXPECT_EQ(members(result.split_clusters[1]), (std::vector<int>{2}));
  EXPECT_TRUE(result.split_clusters[2].empty());
  EXPECT_EQ(members(result.split_clusters[3]), (std::vector<int>{1}));
  EXPECT_TRUE(result.split_clusters[4].empty());
  EXPECT_TRUE(result.split_clusters[5].empty());
  EXPECT_TRUE(result.split_clusters[6].empty());
  EXPECT_EQ(members(result.split_clusters[7]), (std::vector<int>{3}));
  EXPECT_EQ(std::vector<int>(result.half_labels.begin(), result.half_labels.end()),
            (std::vector<int>{0, 3, 1, 7}));
}

TEST(Bisection, VerbosityZeroWritesNothingButStillLabels) {
  const tFixture fixture;
  std::string report;
  const tBisection result = fixture.bisect(0, report);
  EXPECT_EQ(report, "");
  EXPECT_EQ(result.half_labels[3], 7);
}

TEST(Bisection, HighestVerbosityPrecedesTheBlocksWithProgressLines) {
  const tFixture fixture;
  std::string report;
  fixture.bisect(4, report);
  EXPECT_EQ(report, std::string("computing score...\ninit new clusters\n") + expected_report);
}

TEST(Bisection, OneClusterGivesTheLabelsZeroAndOne) {
  matrix data(4, 1);
  const double values[] = {2, -1, 0, 5};
  array<tTaxaSet> clusters(1);
  tNames names;
  for (int r = 0; r < 4; ++r) {
    data(r, 0) = values[r];
    clusters[0].insert(r);
    names.insert(r, "x");
  }
  array<vector> means(1);
  means[0] = vector(1);
  means[0][0] = 1;
  std::ostringstream out;
  const tBisection result = bisect_clusters(data, names, clusters, means, 0.001, 0, out);
  // A product of exactly 0 goes with the non-positive side.
  EXPECT_EQ(std::vector<int>(result.half_labels.begin(), result.half_labels.end()),
            (std::vector<int>{1, 0, 0, 1}));
}

// Bisects one cluster of three two-column rows with the given direction as its mean.
tBisection bisect_three(const double (&rows)[3][2], const vector& mean) {
  matrix data(3, 2);
  array<tTaxaSet> clusters(1);
  tNames names;
  for (int r = 0; r < 3; ++r) {
    data(r, 0) = rows[r][0];
    data(r, 1) = rows[r][1];
    clusters[0].insert(r);
    names.insert(r, "x");
  }
  array<vector> means(1);
  means[0] = mean;
  std::ostringstream out;
  return bisect_clusters(data, names, clusters, means, 0.001, 0, out);
}

TEST(Bisection, KMeansRefinesTheSignSplit) {
  // Against the direction (0, 1) rows 0 and 1 fall on opposite sides although they lie close
  // together; k-means moves row 1 to the side of row 0.
  const double rows[3][2] = {{0.6, 0.8}, {0.8, -0.1}, {-0.6, -0.8}};
  const tBisection result = bisect_three(rows, direction(0, 1));
  EXPECT_EQ(members(result.split_clusters[1]), (std::vector<int>{0, 1}));
  EXPECT_EQ(members(result.split_clusters[0]), (std::vector<int>{2}));
}

TEST(Bisection, AProductOfExactlyZeroStartsInTheEvenGroup) {
  // Row 1 is orthogonal to the direction; from the even side k-means keeps it there, while from
  // the odd side it would stay with row 0.
  const double rows[3][2] = {{1, 0}, {0, 1}, {-1, 0}};
  const tBisection result = bisect_three(rows, direction(1, 0));
  EXPECT_EQ(std::vector<int>(result.half_labels.begin(), result.half_labels.end()),
            (std::vector<int>{1, 0, 0}));
}
