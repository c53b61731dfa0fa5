// Split counts over a tree set, through the tree library's split count dictionary, and the
// branch lengths that go with them.
#pragma once

#include <vector>

#include "treelib/split_counts.hpp"
#include "trees/split_index.hpp"
#include "trees/tree_set.hpp"
#include "trees/tree_splits.hpp"

// One tree's branch under a non-trivial split: the split's number in the tally's index and the
// branch's length.
struct tBranchLength {
  int split;
  double length;
};

// The given lengths of one split's or taxon's branches: their sum in input order and number.
struct tLengthSum {
  double sum = 0.0;
  int count = 0;
};

// What a tally keeps of the branch lengths: nothing, their sums (all a mean needs), or the sums
// and every length (for medians).
enum class tLengthRecord { none, sums, values };

struct tSplitTally {
  std::unique_ptr<tTaxa> taxa;
  tSplitCounts counts;  // the non-trivial unrooted splits
  int trees = 0;
  // The counted splits as rows of words (tNodeBits' layout), numbered in order of first appearance.
  tSplitIndex index{1};
  // With sums or values: the lengths of the branches under each split of the index, and of every
  // taxon's own branch.
  std::vector<tLengthSum> split_sums;
  std::vector<tLengthSum> leaf_sums;
  // With values only, each in input order: the lengths the sums add up.
  std::vector<tBranchLength> branch_lengths;
  std::vector<std::vector<double>> leaf_lengths;
};

// Counts the non-trivial unrooted splits of every tree after the burn-in.
tSplitTally tally_splits(const tInputText& input, int burnin,
                         tLengthRecord record = tLengthRecord::none);

// The counted splits, most frequent first; equal counts in the dictionary's split order.
std::vector<tSplit> splits_by_count(const tSplitCounts& counts);

// The count of split in the tally; a trivial split is in every tree.
int count_of(const tSplitTally& tally, const tSplit& split);

// The number of split in the tally's index, -1 when no tree has it.
int split_number(const tSplitTally& tally, const tSplit& split);
