// A tree as one line of Newick: labels quoted where the format needs it, lengths in "%.17g".
#pragma once

#include <string>

#include "trees/parsed_tree.hpp"

// Appends the tree, its ';' and an end of line to text. Labels holding blanks or any of
// ()[]':;,= are quoted ('' for a quote inside); a node without a length gets none.
void write_newick(const tParsedTree& tree, std::string& text);
// A label as Newick needs it written.
std::string newick_label(const std::string& label);
