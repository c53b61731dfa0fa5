// The taxa shared by every tree of a run: numbered in order of first appearance in the first tree.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "lib/taxaset.hpp"
#include "trees/parsed_tree.hpp"

class tTaxa {
 public:
  // Takes the leaves of the first tree; duplicate names end the run (status 1).
  tTaxa(const tParsedTree& first, int number, const std::string& source);

  int size() const { return static_cast<int>(names_.size()); }
  const std::string& name(int k) const { return names_[k]; }
  const tTaxaSet& all() const { return all_; }

  // The taxon number of every node (-1 for internal nodes). A tree whose leaves are not exactly
  // these taxa ends the run naming its 1-based number and a taxon.
  std::vector<int> leaf_taxa(const tParsedTree& tree, int number) const;

 private:
  std::string source_;
  std::vector<std::string> names_;
  std::unordered_map<std::string, int> numbers_;
  tTaxaSet all_;
};
