// Shared helpers of the trees tests: tree sets from text and trees written back as Newick.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "trees/newick_writer.hpp"
#include "trees/tree_reader.hpp"
#include "trees/tree_set.hpp"

inline tInputText input_of(const std::string& text) {
  return tInputText{text, "test"};
}

// Every tree of text written back, one line each.
inline std::string round_trip(const std::string& text) {
  tTreeReader reader(text, "test");
  tParsedTree tree;
  std::string out;
  while (reader.next(tree)) write_newick(tree, out);
  return out;
}

// The first tree of text with its taxon numbers, its taxa kept alive by the caller.
struct tReadTree {
  std::unique_ptr<tTaxa> taxa;
  tParsedTree tree;
  std::vector<int> taxon;
};

inline tReadTree read_first(const std::string& text) {
  tReadTree r;
  const tInputText input = input_of(text);
  visit_trees(input, 0, r.taxa, [&](const tParsedTree& tree, const std::vector<int>& taxon, int) {
    if (!r.tree.nodes.empty()) return;
    r.tree = tree;
    r.taxon = taxon;
  });
  return r;
}
