// Building a tree node by node in preorder.
#include "trees/parsed_tree.hpp"

int tParsedTree::add_node(int parent, int at_line) {
  const int v = static_cast<int>(nodes.size());
  nodes.emplace_back();
  nodes[v].parent = parent;
  nodes[v].line = at_line;
  if (parent >= 0) {
    tTreeNode& p = nodes[parent];
    if (p.last_child >= 0)
      nodes[p.last_child].next_sibling = v;
    else
      p.first_child = v;
    p.last_child = v;
  }
  return v;
}

std::vector<int> tParsedTree::child_counts() const {
  std::vector<int> counts(nodes.size(), 0);
  for (const tTreeNode& node : nodes)
    if (node.parent >= 0) ++counts[node.parent];
  return counts;
}
