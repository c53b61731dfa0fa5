// Conversion between lists of splits and split count dictionaries.
#pragma once

#include "lib/taxaset.hpp"
#include "treelib/list_splits.hpp"
#include "treelib/split_counts.hpp"

// Counts every split of the list into counts; earlier entries remain, so lists accumulate.
void splits2dic(const tListSplits& splits, tSplitCounts& counts);
// As splits2dic, skipping trivial splits: those whose side has k <= 1 or k >= n - 1 members,
// n being the number of taxa.
void nontrivial_splits2dic(const tTaxaSet& taxa, const tListSplits& splits, tSplitCounts& counts);
// Replaces the list by each distinct split once, in split order, weighted by its count.
void dic2splits(const tSplitCounts& counts, tListSplits& splits);
