// The length of a tree, measured from its root.
#include "treelib/tree.hpp"

#include <vector>

double tTree::max_length() const {
  if (number_of_nodes() == 0) return 0.0;
  // Depth-first from the root; the graph is a tree, so every node is reached once.
  std::vector<double> depth(static_cast<std::size_t>(number_of_nodes()), 0.0);
  std::vector<bool> seen(depth.size(), false);
  std::vector<node> pending{node{0}};
  seen[0] = true;
  double longest = 0.0;
  while (!pending.empty()) {
    const node v = pending.back();
    pending.pop_back();
    if (depth[v.id] > longest) longest = depth[v.id];
    for (edge e : adj_edges(v)) {
      const node w = opposite(v, e);
      if (seen[w.id]) continue;
      seen[w.id] = true;
      depth[w.id] = depth[v.id] + (*this)[e];
      pending.push_back(w);
    }
  }
  return longest;
}
