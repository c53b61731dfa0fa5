// Moving lengths into a tTree, scaling them there, and back.
#include "trees/scaling.hpp"

#include "lib/diagnostics.hpp"
#include "treelib/tree.hpp"
#include "trees/newick_writer.hpp"

namespace {

// Node v of the tTree is node v of the parsed tree; the branch above node v is edge v - 1.
tTree as_tree(const tParsedTree& parsed) {
  tTree tree;
  for (std::size_t v = 0; v < parsed.nodes.size(); ++v) tree.new_node();
  for (std::size_t v = 1; v < parsed.nodes.size(); ++v) {
    const tTreeNode& below = parsed.nodes[v];
    tree.new_edge(node{below.parent}, node{static_cast<int>(v)}, below.length);
  }
  return tree;
}

void check_proportions(const tParsedTree& parsed, int number, const std::string& source) {
  for (const tTreeNode& node : parsed.nodes)
    if (node.has_length && node.length < 0)
      bye("%s, line %d: tree %d has the negative length %.17g; -jc needs proportions >= 0",
          source.c_str(), node.line, number, node.length);
}

}  // namespace

std::string scale_trees(const tInputText& input, int burnin, const tScaleSettings& s) {
  std::string text;
  std::unique_ptr<tTaxa> taxa;
  visit_trees(input, burnin, taxa,
              [&](const tParsedTree& parsed, const std::vector<int>&, int number) {
                if (s.how == tScaling::jc) check_proportions(parsed, number, input.source);
                tTree tree = as_tree(parsed);
                if (s.how == tScaling::factor) tree.scale(s.f);
                if (s.how == tScaling::normalize) tree.normalize();
                if (s.how == tScaling::jc) tree.scale_jc(s.f);
                tParsedTree scaled = parsed;
                for (std::size_t v = 1; v < scaled.nodes.size(); ++v)
                  if (scaled.nodes[v].has_length)
                    scaled.nodes[v].length = tree[edge{static_cast<int>(v) - 1}];
                write_newick(scaled, text);
              });
  return text;
}
