// Small builders and checks shared by the tree-library tests.
#pragma once

#include <vector>

#include "treelib/tree.hpp"

// A root with one edge of each length to its own leaf.
inline tTree star(const std::vector<double>& lengths) {
  tTree T;
  const node root = T.new_node();
  for (double length : lengths) T.new_edge(root, T.new_node(), length);
  return T;
}
