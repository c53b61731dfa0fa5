// The splits of one tree's branches as taxa sets, normalised so that equal bipartitions compare
// equal: a split is the side without taxon 0.
#pragma once

#include <vector>

#include "treelib/split.hpp"
#include "trees/parsed_tree.hpp"
#include "trees/taxa.hpp"

struct tEdgeSplit {
  tSplit split;
  int node;  // the branch above this node carries the split
  bool has_length;
  double length;  // the branch's length; the sum of both when the root's two branches merge
};

// One entry per distinct unrooted split of the tree, trivial ones included, in preorder of the
// nodes. The two branches of a root of degree two form one split, and so does a chain of nodes
// with one child each; their lengths add up (a missing length counts as none).
// taxon: each node's taxon number, -1 for internal nodes (tTaxa::leaf_taxa). node_entry, when
// given, receives the entry of the branch above each node (-1 for the root and empty sides).
// Without trivial, only the non-trivial splits are listed.
std::vector<tEdgeSplit> unrooted_splits(const tParsedTree& tree, const std::vector<int>& taxon,
                                        const tTaxa& taxa, std::vector<int>* node_entry = nullptr,
                                        bool trivial = true);
// The clades of the internal nodes below the root with 2 .. n-1 taxa, each once.
std::vector<tSplit> rooted_clades(const tParsedTree& tree, const std::vector<int>& taxon,
                                  const tTaxa& taxa);

bool is_trivial(const tSplit& split, const tTaxa& taxa);  // fewer than 2 taxa on a side
