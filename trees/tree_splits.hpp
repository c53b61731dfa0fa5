// The splits of one tree's branches, normalised so that equal bipartitions compare equal: a split
// is the side without taxon 0.
#pragma once

#include <cstdint>
#include <vector>

#include "treelib/split.hpp"
#include "trees/node_bits.hpp"
#include "trees/parsed_tree.hpp"
#include "trees/taxa.hpp"

struct tEdgeSplit {
  tSplit split;
  int node;  // the branch above this node carries the split
  bool has_length;
  double length;  // the branch's length; the sum of both when the root's two branches merge
};

// One entry of tTreeSplitter: a distinct split, its side kept by the splitter as a row of words.
struct tSplitEntry {
  int node;  // the branch above this node carries the split
  int size;  // taxa on the side without taxon 0
  bool has_length;
  double length;
};

// Lists the distinct unrooted splits of one tree after another, in buffers kept between trees.
// The two branches of a root of degree two form one split (a root above a chain of single
// children counts as the chain's last node), and so does a chain of nodes with one child each;
// their lengths add up in preorder (a missing length counts as none). Entries are in preorder of
// their first node; trivial ones are listed only when asked for.
class tTreeSplitter {
 public:
  explicit tTreeSplitter(int taxa);  // REQUIRES: 0 < taxa

  // taxon: each node's taxon number, -1 for internal nodes (tTaxa::leaf_taxa).
  void split(const tParsedTree& tree, const std::vector<int>& taxon, bool trivial);

  const std::vector<tSplitEntry>& entries() const { return entries_; }
  // The side of entry i without taxon 0, in tNodeBits' layout.
  const std::uint64_t* side(int i) const { return &sides_[static_cast<std::size_t>(i) * words()]; }
  int words() const { return bits_.words(); }
  // The entry of the branch above node v: -1 for the root and branches that separate nothing.
  int entry_of(int v) const { return v == 0 ? -1 : entry_[owner_[v]]; }

 private:
  void find_owners(const tParsedTree& tree);
  void add_entry(int v, const tTreeNode& node, bool trivial);

  tNodeBits bits_;
  std::vector<int> children_;
  std::vector<int> owner_;  // the node whose entry a branch joins
  std::vector<int> entry_;  // each owner's entry, -1 none
  std::vector<tSplitEntry> entries_;
  std::vector<std::uint64_t> sides_;
};

// One entry per distinct unrooted split of the tree (as tTreeSplitter lists them), trivial ones
// included unless trivial is false. node_entry, when given, receives the entry of the branch
// above each node (-1 for the root and empty sides).
std::vector<tEdgeSplit> unrooted_splits(const tParsedTree& tree, const std::vector<int>& taxon,
                                        const tTaxa& taxa, std::vector<int>* node_entry = nullptr,
                                        bool trivial = true);
// The clades of the internal nodes below the root with 2 .. n-1 taxa, each once.
std::vector<tSplit> rooted_clades(const tParsedTree& tree, const std::vector<int>& taxon,
                                  const tTaxa& taxa);

bool is_trivial(const tSplit& split, const tTaxa& taxa);  // fewer than 2 taxa on a side
bool is_trivial_size(int side, int taxa);                 // the same by the side's size

// A row of words (tNodeBits' layout) as a split of the given number of taxa.
tSplit split_of_row(const std::uint64_t* row, int taxa);
