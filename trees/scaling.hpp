// Branch-length scaling of every tree of a set through the tree library's tTree.
#pragma once

#include <string>

#include "trees/tree_set.hpp"

enum class tScaling { factor, normalize, jc };

struct tScaleSettings {
  tScaling how = tScaling::factor;
  double f = 1.0;  // the factor of factor and jc
};

// Every tree after the burn-in as a line of Newick, its lengths rewritten by tTree::scale,
// normalize or scale_jc (4 states); a branch without a length keeps none and counts as 0.
// -jc reads lengths as proportions: a negative one ends the run (status 1).
std::string scale_trees(const tInputText& input, int burnin, const tScaleSettings& s);
