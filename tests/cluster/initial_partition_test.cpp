// The initial partition: random draws, clusters from an assignment, and the first means.
#include "cluster/initial_partition.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<int> members(const tTaxaSet& s) {
  std::vector<int> result;
  for (tItem it = s.first_item(); it != 0; it = s.next_item(it)) result.push_back(s.inf(it));
  return result;
}

}  // namespace

TEST(InitialPartition, ClustersFollowTheAssignment) {
  array<int> assignment(4);
  assignment[1] = 1;
  assignment[2] = 1;
  const array<tTaxaSet> clusters = clusters_of(assignment, 3);
  ASSERT_EQ(clusters.size(), 3);
  EXPECT_EQ(members(clusters[0]), (std::vector<int>{0, 3}));
  EXPECT_EQ(members(clusters[1]), (std::vector<int>{1, 2}));
  EXPECT_TRUE(clusters[2].empty());
}

TEST(InitialPartition, RandomAssignmentDrawsOneIndexPerRowFromTheSource) {
  random_source draws(0, 2);
  draws.set_seed(17);
  random_source replay(0, 2);
  replay.set_seed(17);
  const array<int> assignment = random_assignment(50, draws);
  ASSERT_EQ(assignment.size(), 50);
  std::vector<int> seen(3);
  for (int r = 0; r < 50; ++r) {
    EXPECT_EQ(assignment[r], replay()) << r;
    ++seen[assignment[r]];
  }
  for (int count : seen) EXPECT_GT(count, 0);
}

TEST(InitialPartition, EmptyClustersGetNoMean) {
  matrix data(3, 2);
  data(0, 0) = 3;
  data(0, 1) = 4;
  data(2, 0) = -1;
  array<tTaxaSet> clusters(3);
  clusters[0].insert(0);
  clusters[2].insert(2);
  const array<vector> means = initial_means(data, clusters, 1);
  ASSERT_EQ(means.size(), 3);
  EXPECT_EQ(means[1].dim(), 0);
  ASSERT_EQ(means[0].dim(), 2);
  EXPECT_EQ(means[0][0], 0.6);  // one member, one step: the row over its length
  EXPECT_EQ(means[0][1], 0.8);
  ASSERT_EQ(means[2].dim(), 2);
  EXPECT_EQ(std::fabs(means[2][0]), 1.0);
  EXPECT_EQ(means[2][1], 0.0);
}
