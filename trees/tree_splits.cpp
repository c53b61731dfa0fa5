// Leaf sets below every node, turned into splits and clades.
#include "trees/tree_splits.hpp"

namespace {

// The taxa below every internal node (children before parents: preorder read backwards); a
// leaf adds its taxon to its parent's set. set[v] indexes below for internal nodes v.
struct tLeafSets {
  std::vector<int> set;
  std::vector<tTaxaSet> below;
  const tTaxaSet& of(int v) const { return below[set[v]]; }
};

tLeafSets leaf_sets(const tParsedTree& tree, const std::vector<int>& taxon, const tTaxa& taxa) {
  tLeafSets sets;
  sets.set.assign(tree.nodes.size(), -1);
  int internal = 0;
  for (std::size_t v = 0; v < tree.nodes.size(); ++v)
    if (!tree.nodes[v].is_leaf()) sets.set[v] = internal++;
  sets.below.assign(static_cast<std::size_t>(internal), tTaxaSet(taxa.size()));
  for (int v = static_cast<int>(tree.nodes.size()) - 1; v > 0; --v) {
    tTaxaSet& above = sets.below[sets.set[tree.nodes[v].parent]];
    if (taxon[v] >= 0)
      above.insert(taxon[v]);
    else
      above += sets.of(v);
  }
  return sets;
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
                                        const tTaxa& taxa, std::vector<int>* node_entry,
                                        bool trivial) {
  const tLeafSets sets = leaf_sets(tree, taxon, taxa);
  const std::vector<int> owner = split_owners(tree);
  std::vector<int> entry(tree.nodes.size(), -1);
  std::vector<tEdgeSplit> splits;
  splits.reserve(tree.nodes.size());  // no reallocation: each move would copy a taxa set
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (!trivial && node.is_leaf()) continue;  // a leaf's branch and those it joins are trivial
    const int o = owner[v];
    if (entry[o] >= 0) {
      tEdgeSplit& joined = splits[entry[o]];
      if (node.has_length)
        joined.length = joined.has_length ? joined.length + node.length : node.length;
      joined.has_length = joined.has_length || node.has_length;
      continue;
    }
    // Built in place: a taxa set is copied by allocating, and splits are many.
    splits.push_back({tSplit(), static_cast<int>(v), node.has_length, node.length});
    tTaxaSet& split = splits.back().split;
    if (taxon[v] >= 0)
      split.insert(taxon[v]);
    else
      split = sets.of(v);
    if (split.member(0)) split = taxa.all() - split;
    // An empty side is the branch above a root with one child.
    if (split.empty() || (!trivial && is_trivial(splits.back().split, taxa))) {
      splits.pop_back();
      continue;
    }
    entry[o] = static_cast<int>(splits.size()) - 1;
  }
  if (node_entry) {
    node_entry->assign(tree.nodes.size(), -1);
    for (std::size_t v = 1; v < tree.nodes.size(); ++v) (*node_entry)[v] = entry[owner[v]];
  }
  return splits;
}

std::vector<tSplit> rooted_clades(const tParsedTree& tree, const std::vector<int>& taxon,
                                  const tTaxa& taxa) {
  const tLeafSets sets = leaf_sets(tree, taxon, taxa);
  const std::vector<int> children = tree.child_counts();
  std::vector<tSplit> clades;
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (node.is_leaf() || children[node.parent] == 1) continue;  // a chain repeats its top
    const tTaxaSet& below = sets.of(v);
    if (below.size() < 2 || below.size() >= taxa.size()) continue;
    tSplit clade;
    static_cast<tTaxaSet&>(clade) = below;
    clades.push_back(clade);
  }
  return clades;
}
