// Split counts over a tree set, through the tree library's split count dictionary.
#pragma once

#include <vector>

#include "treelib/split_counts.hpp"
#include "trees/tree_set.hpp"
#include "trees/tree_splits.hpp"

struct tSplitTally {
  std::unique_ptr<tTaxa> taxa;
  tSplitCounts counts;  // the non-trivial unrooted splits
  int trees = 0;
};

// Counts the non-trivial unrooted splits of every tree after the burn-in.
tSplitTally tally_splits(const tInputText& input, int burnin);

// The counted splits, most frequent first; equal counts in the dictionary's split order.
std::vector<tSplit> splits_by_count(const tSplitCounts& counts);

// The count of split in the tally; a trivial split is in every tree.
int count_of(const tSplitTally& tally, const tSplit& split);
