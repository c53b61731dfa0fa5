// Writing a tree in Newick without recursion.
#include "trees/newick_writer.hpp"

#include <vector>

#include "trees/real_text.hpp"
#include "trees/text_cursor.hpp"

namespace {

void write_label_and_length(const tTreeNode& node, std::string& text) {
  text += newick_label(node.label);
  if (!node.has_length) return;
  text += ':';
  text += real_text(node.length);
}

}  // namespace

std::string newick_label(const std::string& label) {
  // A leading '#' would make a one-tip tree read as a Nexus file's header.
  bool plain = label.empty() || label[0] != '#';
  for (char c : label) plain = plain && !is_delimiter(c);
  if (plain) return label;
  std::string quoted = "'";
  for (char c : label) {
    quoted += c;
    if (c == '\'') quoted += '\'';
  }
  return quoted + "'";
}

void write_newick(const tParsedTree& tree, std::string& text) {
  // A node is pushed once to open it and once more (negated and shifted) to close it.
  std::vector<int> pending{0};
  while (!pending.empty()) {
    const int item = pending.back();
    pending.pop_back();
    if (item < 0) {
      const tTreeNode& node = tree.nodes[-item - 1];
      text += ')';
      write_label_and_length(node, text);
      if (node.next_sibling >= 0) text += ',';
      continue;
    }
    const tTreeNode& node = tree.nodes[item];
    if (node.is_leaf()) {
      write_label_and_length(node, text);
      if (node.next_sibling >= 0 && item != 0) text += ',';
      continue;
    }
    text += '(';
    pending.push_back(-item - 1);
    std::vector<int> children;
    for (int c = node.first_child; c >= 0; c = tree.nodes[c].next_sibling) children.push_back(c);
    for (auto c = children.rbegin(); c != children.rend(); ++c) pending.push_back(*c);
  }
  text += ";\n";
}
