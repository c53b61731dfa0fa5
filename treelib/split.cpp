// Sides of a split within a taxon set, and the order of splits.
#include "treelib/split.hpp"

#include <cassert>
#include <cstdint>

tTaxaSet tSplit::get_S(const tTaxaSet& taxa, int x) const {
  assert(taxa.member(x));
  const tTaxaSet& side = *this;
  return member(x) ? (side & taxa) : (taxa - side);
}

tTaxaSet tSplit::get_C_S(const tTaxaSet& taxa, int x) const {
  assert(taxa.member(x));
  return taxa - get_S(taxa, x);
}

int compare(const tSplit& a, const tSplit& b) {
  // Bits at or above the capacity are clear, so a word one set lacks counts as zero.
  const int n = a.word_count() > b.word_count() ? a.word_count() : b.word_count();
  for (int w = n - 1; w >= 0; --w) {
    const std::uint32_t wa = w < a.word_count() ? a.words()[w] : 0u;
    const std::uint32_t wb = w < b.word_count() ? b.words()[w] : 0u;
    if (wa != wb) return wa < wb ? -1 : 1;
  }
  return 0;
}
