// Leaf sets below every node, turned into splits and clades.
#include "trees/tree_splits.hpp"

namespace {

// Each node's taxa, children before parents: preorder read backwards.
std::vector<tTaxaSet> leaf_sets(const tParsedTree& tree, const std::vector<int>& taxon,
                                const tTaxa& taxa) {
  std::vector<tTaxaSet> below(tree.nodes.size(), tTaxaSet(taxa.size()));
  for (int v = static_cast<int>(tree.nodes.size()) - 1; v >= 0; --v) {
    if (taxon[v] >= 0) below[v].insert(taxon[v]);
    const int p = tree.nodes[v].parent;
    if (p >= 0) below[p] += below[v];
  }
  return below;
}

// The node whose split entry a branch joins: itself, unless the branch repeats a split above it.
std::vector<int> split_owners(const tParsedTree& tree) {
  const std::vector<int> children = tree.child_counts();
  std::vector<int> owner(tree.nodes.size());
  const bool root_of_two = children[0] == 2;
  for (std::size_t v = 0; v < tree.nodes.size(); ++v) {
    owner[v] = static_cast<int>(v);
    const int p = tree.nodes[v].parent;
    if (p < 0) continue;
    if (p > 0 && children[p] == 1)
      owner[v] = owner[p];
    else if (p == 0 && root_of_two && tree.nodes[0].first_child != static_cast<int>(v))
      owner[v] = owner[tree.nodes[0].first_child];
  }
  return owner;
}

}  // namespace

bool is_trivial(const tSplit& split, const tTaxa& taxa) {
  return split.size() < 2 || split.size() > taxa.size() - 2;
}

std::vector<tEdgeSplit> unrooted_splits(const tParsedTree& tree, const std::vector<int>& taxon,
                                        const tTaxa& taxa, std::vector<int>* node_entry) {
  const std::vector<tTaxaSet> below = leaf_sets(tree, taxon, taxa);
  const std::vector<int> owner = split_owners(tree);
  std::vector<int> entry(tree.nodes.size(), -1);
  std::vector<tEdgeSplit> splits;
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    const int o = owner[v];
    if (entry[o] >= 0) {
      tEdgeSplit& joined = splits[entry[o]];
      if (node.has_length) joined.length = joined.has_length ? joined.length + node.length : node.length;
      joined.has_length = joined.has_length || node.has_length;
      continue;
    }
    tEdgeSplit s{tSplit(), static_cast<int>(v), node.has_length, node.length};
    static_cast<tTaxaSet&>(s.split) = below[v].member(0) ? taxa.all() - below[v] : below[v];
    if (s.split.empty()) continue;  // the branch above a root with one child
    entry[o] = static_cast<int>(splits.size());
    splits.push_back(s);
  }
  if (node_entry) {
    node_entry->assign(tree.nodes.size(), -1);
    for (std::size_t v = 1; v < tree.nodes.size(); ++v) (*node_entry)[v] = entry[owner[v]];
  }
  return splits;
}

std::vector<tSplit> rooted_clades(const tParsedTree& tree, const std::vector<int>& taxon,
                                  const tTaxa& taxa) {
  const std::vector<tTaxaSet> below = leaf_sets(tree, taxon, taxa);
  const std::vector<int> children = tree.child_counts();
  std::vector<tSplit> clades;
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (node.is_leaf() || children[node.parent] == 1) continue;  // a chain repeats its top
    if (below[v].size() < 2 || below[v].size() >= taxa.size()) continue;
    tSplit clade;
    static_cast<tTaxaSet&>(clade) = below[v];
    clades.push_back(clade);
  }
  return clades;
}
