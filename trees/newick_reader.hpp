// One Newick tree from a text cursor: nested children in (), labels, :lengths, ending in ';'.
#pragma once

#include "trees/parsed_tree.hpp"
#include "trees/text_cursor.hpp"

// Reads the tree that starts at the cursor (blanks and comments before it skipped) up to and
// including its ';' into tree. Unbalanced parentheses, a nameless leaf, a length that is not a
// finite number or a missing ';' end the run through the cursor's fail().
void read_newick(tTextCursor& cursor, tParsedTree& tree);
