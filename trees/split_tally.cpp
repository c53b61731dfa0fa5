// Counting each tree's splits into one dictionary.
#include "trees/split_tally.hpp"

#include <algorithm>

#include "treelib/bipartmap.hpp"
#include "treelib/list_splits.hpp"

namespace {

// A trivial split's branch belongs to the taxon alone on its side (taxon 0 when the side holds
// all the others).
int lone_taxon(const tSplit& split) {
  return split.size() == 1 ? split.inf(split.first_item()) : 0;
}

void keep_lengths(const std::vector<tEdgeSplit>& splits, tSplitTally& tally) {
  for (const tEdgeSplit& s : splits) {
    if (!s.has_length) continue;
    if (is_trivial(s.split, *tally.taxa))
      tally.leaf_lengths[lone_taxon(s.split)].push_back(s.length);
    else
      tally.branch_lengths.push_back({fingerprint(s.split), s.length});
  }
}

}  // namespace

std::uint64_t fingerprint(const tTaxaSet& split) {
  std::uint64_t h = 0;
  for (int w = 0; w < split.word_count(); ++w) {
    if (split.words()[w] == 0) continue;
    // splitmix64 of (word index, word): every member changes every bit of the sum.
    std::uint64_t x = (static_cast<std::uint64_t>(w) << 32) | split.words()[w];
    x += 0x9e3779b97f4a7c15ull;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ull;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebull;
    h += x ^ (x >> 31);
  }
  return h;
}

tSplitTally tally_splits(const tInputText& input, int burnin, bool with_lengths) {
  tSplitTally tally;
  tListSplits list;
  const auto count_tree = [&](const tParsedTree& tree, const std::vector<int>& taxon, int) {
    const tTaxa& taxa = *tally.taxa;
    const std::vector<tEdgeSplit> splits =
        unrooted_splits(tree, taxon, taxa, nullptr, with_lengths);
    list.clear();
    for (const tEdgeSplit& s : splits) list.append(s.split);
    nontrivial_splits2dic(taxa.all(), list, tally.counts);
    if (!with_lengths) return;
    if (tally.leaf_lengths.empty())
      tally.leaf_lengths.resize(static_cast<std::size_t>(taxa.size()));
    keep_lengths(splits, tally);
  };
  tally.trees = visit_trees(input, burnin, tally.taxa, count_tree);
  return tally;
}

std::vector<tSplit> splits_by_count(const tSplitCounts& counts) {
  tListSplits list;
  dic2splits(counts, list);
  std::vector<tSplit> splits(list.begin(), list.end());
  std::stable_sort(splits.begin(), splits.end(),
                   [](const tSplit& a, const tSplit& b) { return a.weight > b.weight; });
  return splits;
}

int count_of(const tSplitTally& tally, const tSplit& split) {
  if (is_trivial(split, *tally.taxa)) return tally.trees;
  return tally.counts.defined(split) ? tally.counts[split] : 0;
}
