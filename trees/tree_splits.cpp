// Leaf sets below every node, turned into splits and clades.
#include "trees/tree_splits.hpp"

tTreeSplitter::tTreeSplitter(int taxa) : bits_(taxa) {}

// The node whose split entry a branch joins: itself, unless the branch repeats a split above it.
void tTreeSplitter::find_owners(const tParsedTree& tree) {
  const int n = static_cast<int>(tree.nodes.size());
  children_.assign(static_cast<std::size_t>(n), 0);
  for (int v = 1; v < n; ++v) ++children_[tree.nodes[v].parent];
  // Branches above a chain of single children below the root hold every taxon, so the chain's
  // last node is where the tree really divides.
  int root = 0;
  while (children_[root] == 1) root = tree.nodes[root].first_child;
  const bool root_of_two = children_[root] == 2;
  const int first = tree.nodes[root].first_child;
  owner_.resize(static_cast<std::size_t>(n));
  for (int v = 0; v < n; ++v) {
    owner_[v] = v;
    const int p = tree.nodes[v].parent;
    if (p < 0) continue;
    if (p > 0 && children_[p] == 1)
      owner_[v] = owner_[p];
    else if (p == root && root_of_two && v != first)
      owner_[v] = owner_[first];
  }
}

bool is_trivial_size(int side, int taxa) {
  return side < 2 || side > taxa - 2;
}

// A new entry for the branch above v, unless its side is empty or (when not wanted) trivial.
void tTreeSplitter::add_entry(int v, const tTreeNode& node, bool trivial) {
  const int words = bits_.words();
  const std::uint64_t* row = bits_.row(v);
  const bool holds_first = row[0] & 1;
  const int size = holds_first ? bits_.taxa() - bits_.size(v) : bits_.size(v);
  if (size == 0 || (!trivial && is_trivial_size(size, bits_.taxa()))) return;
  entry_[owner_[v]] = static_cast<int>(entries_.size());
  entries_.push_back({v, size, node.has_length, node.length});
  const std::size_t at = sides_.size();
  sides_.insert(sides_.end(), row, row + words);
  if (!holds_first) return;
  for (int w = 0; w < words; ++w) sides_[at + w] = ~sides_[at + w];
  sides_[at + words - 1] &= last_word_mask(bits_.taxa());
}

void tTreeSplitter::split(const tParsedTree& tree, const std::vector<int>& taxon, bool trivial) {
  bits_.fill(tree, taxon);
  find_owners(tree);
  const int n = static_cast<int>(tree.nodes.size());
  entry_.assign(static_cast<std::size_t>(n), -1);
  entries_.clear();
  sides_.clear();
  for (int v = 1; v < n; ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (!trivial && node.is_leaf()) continue;  // a leaf's branch and those it joins are trivial
    const int e = entry_[owner_[v]];
    if (e < 0) {
      add_entry(v, node, trivial);
      continue;
    }
    tSplitEntry& joined = entries_[e];
    if (node.has_length)
      joined.length = joined.has_length ? joined.length + node.length : node.length;
    joined.has_length = joined.has_length || node.has_length;
  }
}

tSplit split_of_row(const std::uint64_t* row, int taxa) {
  tSplit split;
  split.resize(taxa);
  for (int w = 0; w < (taxa + 63) / 64; ++w)
    for (std::uint64_t bits = row[w]; bits; bits &= bits - 1)
      split.insert(64 * w + __builtin_ctzll(bits));
  return split;
}

bool is_trivial(const tSplit& split, const tTaxa& taxa) {
  return is_trivial_size(split.size(), taxa.size());
}

std::vector<tEdgeSplit> unrooted_splits(const tParsedTree& tree, const std::vector<int>& taxon,
                                        const tTaxa& taxa, std::vector<int>* node_entry,
                                        bool trivial) {
  tTreeSplitter splitter(taxa.size());
  splitter.split(tree, taxon, trivial);
  std::vector<tEdgeSplit> splits;
  splits.reserve(splitter.entries().size());
  for (std::size_t i = 0; i < splitter.entries().size(); ++i) {
    const tSplitEntry& e = splitter.entries()[i];
    splits.push_back({split_of_row(splitter.side(static_cast<int>(i)), taxa.size()), e.node,
                      e.has_length, e.length});
  }
  if (node_entry) {
    node_entry->resize(tree.nodes.size());
    for (std::size_t v = 0; v < tree.nodes.size(); ++v)
      (*node_entry)[v] = splitter.entry_of(static_cast<int>(v));
  }
  return splits;
}

std::vector<tSplit> rooted_clades(const tParsedTree& tree, const std::vector<int>& taxon,
                                  const tTaxa& taxa) {
  tNodeBits bits(taxa.size());
  bits.fill(tree, taxon);
  const std::vector<int> children = tree.child_counts();
  std::vector<tSplit> clades;
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (node.is_leaf() || children[node.parent] == 1) continue;  // a chain repeats its top
    const int size = bits.size(static_cast<int>(v));
    if (size < 2 || size >= taxa.size()) continue;
    clades.push_back(split_of_row(bits.row(static_cast<int>(v)), taxa.size()));
  }
  return clades;
}
