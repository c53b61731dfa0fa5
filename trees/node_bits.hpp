// The taxa below every node of a tree as rows of 64-bit words in one block that is reused from
// tree to tree, so that listing the splits of many trees allocates nothing per node.
#pragma once

#include <cstdint>
#include <vector>

#include "trees/parsed_tree.hpp"

class tNodeBits {
 public:
  // REQUIRES: 0 < taxa.
  explicit tNodeBits(int taxa);

  // Fills the rows of tree: taxon k is bit k % 64 of word k / 64; a node's row is the union of
  // its children's, a leaf's its own taxon. taxon: each node's taxon number, -1 internal.
  void fill(const tParsedTree& tree, const std::vector<int>& taxon);

  int words() const { return words_; }
  int taxa() const { return taxa_; }
  const std::uint64_t* row(int v) const { return &bits_[static_cast<std::size_t>(v) * words_]; }
  int size(int v) const { return sizes_[v]; }  // taxa below v

 private:
  int taxa_;
  int words_;
  std::vector<std::uint64_t> bits_;
  std::vector<int> sizes_;
};

// The words of taxa 0 .. n-1, the last one masked to its n % 64 low bits.
std::uint64_t last_word_mask(int taxa);
