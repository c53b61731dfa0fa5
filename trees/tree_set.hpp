// The trees of one input after the burn-in, read one at a time and matched to one taxon set.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "trees/parsed_tree.hpp"
#include "trees/taxa.hpp"

struct tInputText {
  std::string text;
  std::string source;  // the file name, or "standard input"
};

// The whole text of a file, or of standard input when name is empty, gzip data inflated, through
// the file layer; an input that cannot be read ends the run (status 1).
tInputText read_input(const std::string& name);

// tree, the taxon number of each of its nodes (-1 internal) and its 1-based number in the input.
using tTreeVisit =
    std::function<void(const tParsedTree& tree, const std::vector<int>& taxon, int number)>;

// Reads the trees in order, skips the first burnin of them, and visits the others; returns how
// many it visited. When taxa is empty it is taken from the first visited tree. No tree after
// the burn-in, or a tree with other taxa, ends the run (status 1).
int visit_trees(const tInputText& input, int burnin, std::unique_ptr<tTaxa>& taxa,
                const tTreeVisit& visit);

// The single tree of a file named by an option (the first one it holds), with its taxon numbers.
struct tSingleTree {
  tParsedTree tree;
  std::vector<int> taxon;
};
tSingleTree read_single_tree(const tInputText& input, const tTaxa& taxa);
