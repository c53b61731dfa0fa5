// Counting each tree's splits into one dictionary.
#include "trees/split_tally.hpp"

#include <algorithm>

#include "treelib/bipartmap.hpp"
#include "treelib/list_splits.hpp"

tSplitTally tally_splits(const tInputText& input, int burnin) {
  tSplitTally tally;
  tListSplits list;
  tally.trees = visit_trees(input, burnin, tally.taxa,
                            [&](const tParsedTree& tree, const std::vector<int>& taxon, int) {
                              list.clear();
                              for (const tEdgeSplit& s : unrooted_splits(tree, taxon, *tally.taxa))
                                list.append(s.split);
                              nontrivial_splits2dic(tally.taxa->all(), list, tally.counts);
                            });
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
