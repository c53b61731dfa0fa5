// Robinson-Foulds distances: the number of splits (or, rooted, clades) that one tree of a pair
// has and the other lacks, optionally divided by the number the two trees have in all.
#pragma once

#include <string>
#include <vector>

#include "trees/tree_set.hpp"

struct tRfSettings {
  bool rooted = false;
  bool normalize = false;
};

// a and b: two trees' split numbers, ascending. Normalised, 0 when neither has a split.
double rf_distance(const std::vector<int>& a, const std::vector<int>& b, bool normalize);

// All pairs as a PHYLIP square matrix labelled by the trees' 1-based numbers in the input.
std::string rf_matrix(const tInputText& input, int burnin, const tRfSettings& s);
// One line per tree of the input: its number, a tab and its distance to the reference tree.
std::string rf_to_reference(const tInputText& input, int burnin, const tInputText& reference,
                            const tRfSettings& s);
