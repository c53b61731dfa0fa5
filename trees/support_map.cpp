// Labelling a target tree's branches.
#include "trees/support_map.hpp"

#include "trees/newick_writer.hpp"
#include "trees/real_text.hpp"
#include "trees/tree_splits.hpp"

std::string support_tree(tParsedTree target, const std::vector<int>& taxon,
                         const tSplitTally& tally, bool percent) {
  std::vector<int> entry;
  const std::vector<tEdgeSplit> splits = unrooted_splits(target, taxon, *tally.taxa, &entry);
  target.nodes[0].label.clear();
  for (std::size_t v = 1; v < target.nodes.size(); ++v) {
    tTreeNode& node = target.nodes[v];
    if (node.is_leaf()) continue;
    node.label.clear();
    if (entry[v] < 0) continue;
    const double count = count_of(tally, splits[entry[v]].split);
    node.label = real_text((percent ? 100 * count : count) / tally.trees);
  }
  std::string text;
  write_newick(target, text);
  return text;
}
