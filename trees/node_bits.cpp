// Leaf sets below the nodes, built bottom-up in one pass.
#include "trees/node_bits.hpp"

tNodeBits::tNodeBits(int taxa) : taxa_(taxa), words_((taxa + 63) / 64) {}

void tNodeBits::fill(const tParsedTree& tree, const std::vector<int>& taxon) {
  const int n = static_cast<int>(tree.nodes.size());
  bits_.assign(static_cast<std::size_t>(n) * words_, 0);
  sizes_.assign(static_cast<std::size_t>(n), 0);
  // Preorder read backwards visits children before parents.
  for (int v = n - 1; v >= 0; --v) {
    std::uint64_t* own = &bits_[static_cast<std::size_t>(v) * words_];
    if (taxon[v] >= 0) {
      own[taxon[v] / 64] |= std::uint64_t{1} << (taxon[v] % 64);
      sizes_[v] = 1;
    }
    const int p = tree.nodes[v].parent;
    if (p < 0) continue;
    std::uint64_t* above = &bits_[static_cast<std::size_t>(p) * words_];
    for (int w = 0; w < words_; ++w) above[w] |= own[w];
    sizes_[p] += sizes_[v];  // taxa are distinct, so sizes add up
  }
}

std::uint64_t last_word_mask(int taxa) {
  return taxa % 64 ? (std::uint64_t{1} << (taxa % 64)) - 1 : ~std::uint64_t{0};
}
