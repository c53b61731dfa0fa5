// Support carried onto a target tree: each internal branch labelled by the frequency of its
// split in a tree set.
#pragma once

#include <string>

#include "trees/split_tally.hpp"

// The target as a line of Newick, its lengths kept, every internal node below the root labelled
// with its split's frequency (or percentage) in the tally (a trivial split is in every tree) and
// the root's label dropped. REQUIRES: the target's taxa are the tally's.
std::string support_tree(tParsedTree target, const std::vector<int>& taxon,
                         const tSplitTally& tally, bool percent);
