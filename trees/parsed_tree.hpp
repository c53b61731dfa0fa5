// A tree as read from Newick: the root first, every parent before its children (the reader
// numbers the nodes in preorder).
#pragma once

#include <string>
#include <vector>

struct tTreeNode {
  int parent = -1;  // -1 for the root
  int first_child = -1;
  int last_child = -1;
  int next_sibling = -1;
  int line = 0;  // where the node's text starts
  bool has_length = false;
  double length = 0.0;
  std::string label;  // a leaf's taxon; an internal node's label (often a support value)

  bool is_leaf() const { return first_child < 0; }
};

struct tParsedTree {
  std::vector<tTreeNode> nodes;  // node 0 is the root
  int line = 0;                  // where the tree's text starts

  // Appends a node below parent (-1: the root) after its other children; returns its index.
  int add_node(int parent, int line);
  std::vector<int> child_counts() const;  // the number of children of every node
};
