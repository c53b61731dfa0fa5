// Counting splits into a dictionary and listing them back with their counts as weights.
#include "treelib/bipartmap.hpp"

namespace {

void count_split(const tSplit& s, tSplitCounts& counts) {
  if (counts.defined(s)) {
    counts[s] = counts[s] + 1;
  } else {
    counts[s] = 1;
  }
}

}  // namespace

void splits2dic(const tListSplits& splits, tSplitCounts& counts) {
  for (const tSplit& s : splits) count_split(s, counts);
}

void nontrivial_splits2dic(const tTaxaSet& taxa, const tListSplits& splits, tSplitCounts& counts) {
  const int n = taxa.size();
  for (const tSplit& s : splits) {
    const int k = s.size();
    if (k > 1 && k < n - 1) count_split(s, counts);
  }
}

void dic2splits(const tSplitCounts& counts, tListSplits& splits) {
  splits.clear();
  for (const auto& entry : counts) {
    tSplit s = entry.first;
    s.set_weight(static_cast<float>(entry.second));
    splits.append(s);
  }
}
