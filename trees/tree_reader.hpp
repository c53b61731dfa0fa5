// The trees of an input text one at a time: Newick trees one after another, or the TREES blocks
// of a Nexus file (told by its first word #NEXUS) with their TRANSLATE tables applied.
#pragma once

#include <string>
#include <unordered_map>

#include "trees/parsed_tree.hpp"
#include "trees/text_cursor.hpp"

class tTreeReader {
 public:
  // REQUIRES: text outlives the reader.
  tTreeReader(const std::string& text, const std::string& source);

  // Reads the next tree into tree; false at the end of the input. Faults in the text end the run
  // through bye(), naming the line.
  bool next(tParsedTree& tree);
  int line() const { return cursor_.line(); }

 private:
  bool next_nexus(tParsedTree& tree);
  bool enter_trees_block();
  void read_translate();
  void translate(tParsedTree& tree) const;

  tTextCursor cursor_;
  bool nexus_ = false;
  bool in_trees_block_ = false;
  std::unordered_map<std::string, std::string> translation_;
};
