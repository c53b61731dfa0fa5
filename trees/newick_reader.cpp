// Reading a Newick tree without recursion, so that deep trees cannot exhaust the stack.
#include "trees/newick_reader.hpp"

#include <charconv>
#include <cmath>
#include <string>

namespace {

double branch_length(tTextCursor& cursor) {
  cursor.skip_blanks();
  std::string quoted;  // a quoted length is read without its quotes
  const bool is_quoted = cursor.peek() == '\'';
  if (is_quoted) cursor.word(quoted);
  const std::string_view text = is_quoted ? std::string_view(quoted) : cursor.plain_word();
  double value = 0.0;
  const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || failure != std::errc() || end != text.data() + text.size() ||
      !std::isfinite(value))
    cursor.fail("branch length '" + std::string(text) + "' is not a finite number");
  return value;
}

// The label and length that may follow a node's children (or stand alone for a leaf).
void read_label_and_length(tTextCursor& cursor, tTreeNode& node) {
  cursor.skip_blanks();
  cursor.word(node.label);
  cursor.skip_blanks();
  if (cursor.peek() != ':') return;
  cursor.advance();
  node.length = branch_length(cursor);
  node.has_length = true;
}

// A node's own text: '(' opens its first child; otherwise it is a leaf and needs a name.
int start_node(tTextCursor& cursor, tParsedTree& tree, int parent, int& depth) {
  cursor.skip_blanks();
  int v = tree.add_node(parent, cursor.line());
  while (cursor.peek() == '(') {
    cursor.advance();
    ++depth;
    cursor.skip_blanks();
    v = tree.add_node(v, cursor.line());
  }
  read_label_and_length(cursor, tree.nodes[v]);
  if (tree.nodes[v].label.empty()) cursor.fail("a leaf without a name");
  return v;
}

}  // namespace

void read_newick(tTextCursor& cursor, tParsedTree& tree) {
  tree.nodes.clear();
  cursor.skip_blanks();
  tree.line = cursor.line();
  int depth = 0;
  int v = start_node(cursor, tree, -1, depth);
  for (;;) {
    cursor.skip_blanks();
    const char c = cursor.peek();
    if (c == ',') {
      if (depth == 0) cursor.fail("',' outside parentheses");
      cursor.advance();
      v = start_node(cursor, tree, tree.nodes[v].parent, depth);
    } else if (c == ')') {
      if (depth == 0) cursor.fail("unbalanced parentheses: ')' without '('");
      cursor.advance();
      --depth;
      v = tree.nodes[v].parent;
      read_label_and_length(cursor, tree.nodes[v]);
    } else if (c == ';' || cursor.at_end()) {
      if (depth > 0) cursor.fail("unbalanced parentheses: '(' without ')'");
      if (c != ';') cursor.fail("the tree does not end with ';'");
      cursor.advance();
      return;
    } else {
      cursor.fail(std::string("unexpected '") + c + "' in a tree");
    }
  }
}
