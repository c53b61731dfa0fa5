// Fuzzes the Newick and Nexus tree reader: every accepted tree is well formed, writing it and
// reading it back gives the same text, and the splits of an accepted tree set are normalised.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fatal_exit_guard.hpp"
#include "trees/newick_writer.hpp"
#include "trees/tree_reader.hpp"
#include "trees/tree_set.hpp"
#include "trees/tree_splits.hpp"

namespace {

void check_tree_promises(const tParsedTree& tree) {
  require(!tree.nodes.empty() && tree.nodes[0].parent == -1, "node 0 is the root");
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    require(node.parent >= 0 && node.parent < static_cast<int>(v), "parents come first");
    require(!node.is_leaf() || !node.label.empty(), "leaves have names");
    require(std::isfinite(node.length), "lengths are finite");
  }
}

void check_round_trip(const tParsedTree& tree) {
  std::string written;
  write_newick(tree, written);
  tTreeReader again(written, "written");
  tParsedTree reread;
  require(again.next(reread), "a written tree reads back");
  std::string rewritten;
  write_newick(reread, rewritten);
  require(rewritten == written, "a written tree reads back unchanged");
  require(!again.next(reread), "a written tree is one tree");
}

void check_splits(const tInputText& input) {
  std::unique_ptr<tTaxa> taxa;
  visit_trees(input, 0, taxa, [&](const tParsedTree& tree, const std::vector<int>& taxon, int) {
    for (const tEdgeSplit& s : unrooted_splits(tree, taxon, *taxa)) {
      require(!s.split.empty() && !s.split.member(0), "a split is the side without taxon 0");
      require(s.split.size() < taxa->size(), "a split leaves taxa on the other side");
    }
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const tInputText input{std::string(reinterpret_cast<const char*>(bytes), size), "fuzz input"};
  run_until_fatal_exit([&] {
    tTreeReader reader(input.text, input.source);
    tParsedTree tree;
    while (reader.next(tree)) {
      check_tree_promises(tree);
      check_round_trip(tree);
    }
    check_splits(input);
  });
  return 0;
}
