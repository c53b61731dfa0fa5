// Tests of the undirected graph layer and the tree's length.
#include "treelib/tree.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "tests/treelib/fixtures.hpp"

TEST(UGraph, EdgesVisitedInCreationOrder) {
  tTree T;
  const node a = T.new_node();
  const node b = T.new_node();
  const node c = T.new_node();
  T.new_edge(a, b, 3.0);
  T.new_edge(c, a, 1.0);
  T.new_edge(b, c, 2.0);
  std::vector<double> seen;
  for (edge e : T.all_edges()) seen.push_back(T[e]);
  EXPECT_EQ(seen, (std::vector<double>{3.0, 1.0, 2.0}));
}

TEST(UGraph, EdgeDataIsWrittenInPlace) {
  tTree T = star({1.5});
  const edge e = *T.all_edges().begin();
  T[e] = 4.25;
  EXPECT_EQ(T[e], 4.25);
  double& length = T[e];
  length *= 2;
  EXPECT_EQ(T[e], 8.5);
}

TEST(UGraph, EndsAndIncidence) {
  tTree T;
  const node a = T.new_node();
  const node b = T.new_node();
  const node c = T.new_node();
  const edge ab = T.new_edge(a, b);
  const edge bc = T.new_edge(b, c);
  EXPECT_EQ(T.opposite(a, ab).id, b.id);
  EXPECT_EQ(T.opposite(b, ab).id, a.id);
  ASSERT_EQ(T.adj_edges(b).size(), 2u);
  EXPECT_EQ(T.adj_edges(b)[0].id, ab.id);
  EXPECT_EQ(T.adj_edges(b)[1].id, bc.id);
  EXPECT_EQ(T.number_of_nodes(), 3);
  EXPECT_EQ(T.number_of_edges(), 2);
}

TEST(UGraph, NodesCarryTaxaSets) {
  tTree T;
  const node v = T.new_node();
  T[v].insert(6);
  EXPECT_TRUE(T[v].member(6));
}

TEST(UGraphDeathTest, MisuseIsAContainerError) {
  tTree T = star({1.0});
  EXPECT_DEATH(T[edge{1}], "UGRAPH: no such edge");
  EXPECT_DEATH(T[node{2}], "UGRAPH: no such node");
  const node far = T.new_node();
  EXPECT_DEATH(T.opposite(far, edge{0}), "UGRAPH: node is not an end of the edge");
}

TEST(Tree, MaxLengthIsTheLongestPathFromTheRoot) {
  EXPECT_EQ(star({1.0, 2.0, 4.0}).max_length(), 4.0);

  // root -1- a -2- b, and root -2.5- c: b lies 3 from the root.
  tTree T;
  const node root = T.new_node();
  const node a = T.new_node();
  T.new_edge(root, a, 1.0);
  T.new_edge(a, T.new_node(), 2.0);
  T.new_edge(root, T.new_node(), 2.5);
  EXPECT_EQ(T.max_length(), 3.0);
}

TEST(Tree, MaxLengthOfATreeWithoutLengthIsZero) {
  EXPECT_EQ(tTree().max_length(), 0.0);
  EXPECT_EQ(star({}).max_length(), 0.0);
  EXPECT_EQ(star({-1.0, -2.0}).max_length(), 0.0);
}

TEST(Tree, MaxLengthScalesWithTheLengths) {
  tTree T = star({0.5, 3.0, 1.25});
  const double before = T.max_length();
  for (edge e : T.all_edges()) T[e] *= 8;
  EXPECT_EQ(T.max_length(), 8 * before);
}
