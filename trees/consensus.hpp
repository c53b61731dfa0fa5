// Consensus trees of a tree set: majority rule, strict and extended majority rule, with support
// on the internal branches and the mean or median length of every branch.
#pragma once

#include <string>
#include <vector>

#include "trees/split_tally.hpp"

enum class tRule { majority, strict, extended };
enum class tLengths { mean, median, none };

struct tConsensusSettings {
  tRule rule = tRule::majority;
  double p = 0.5;  // majority: splits in more than this share of the trees; 0.5 <= p < 1
  tLengths lengths = tLengths::mean;
  bool percent = false;  // support as a percentage instead of a frequency
};

// The splits of the consensus, pairwise compatible: majority (count > p * trees), strict (in
// every tree) or extended (greedy in order of count, each kept when compatible with those kept).
std::vector<tSplit> consensus_splits(const tSplitTally& tally, const tConsensusSettings& c);

// mean (sum in input order over the trees that give the branch a length, then one division) or
// median (the mean of the middle two for an even number); nothing when no tree gives a length.
bool summarise_lengths(std::vector<double>& lengths, tLengths how, double& result);

// What a tally for consensus_tree with these settings keeps of the branch lengths.
tLengthRecord length_record(const tConsensusSettings& c);

// The consensus tree as a line of Newick; the lengths come from a tally made with
// length_record(c) (or values, which hold the sums too).
std::string consensus_tree(const tSplitTally& tally, const tConsensusSettings& c);
