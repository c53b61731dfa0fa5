// Matching each tree's leaves against the taxa of the first tree.
#include "trees/taxa.hpp"

#include "lib/diagnostics.hpp"

tTaxa::tTaxa(const tParsedTree& first, int number, const std::string& source) : source_(source) {
  for (const tTreeNode& node : first.nodes) {
    if (!node.is_leaf()) continue;
    if (!numbers_.emplace(node.label, size()).second)
      bye("%s, line %d: taxon %s appears twice in tree %d", source_.c_str(), node.line,
          node.label.c_str(), number);
    names_.push_back(node.label);
  }
  if (size() >= tTaxaSet::capacity_limit)
    bye("%s: tree %d has %d taxa; at most %d are supported", source_.c_str(), number, size(),
        tTaxaSet::capacity_limit - 1);
  all_ = all_taxa(size());
}

std::vector<int> tTaxa::leaf_taxa(const tParsedTree& tree, int number) const {
  std::vector<int> taxon(tree.nodes.size(), -1);
  std::vector<bool> seen(names_.size(), false);
  for (std::size_t v = 0; v < tree.nodes.size(); ++v) {
    const tTreeNode& node = tree.nodes[v];
    if (!node.is_leaf()) continue;
    const auto it = numbers_.find(node.label);
    if (it == numbers_.end())
      bye("%s, line %d: tree %d has taxon %s, which the first tree lacks", source_.c_str(),
          node.line, number, node.label.c_str());
    if (seen[it->second])
      bye("%s, line %d: taxon %s appears twice in tree %d", source_.c_str(), node.line,
          node.label.c_str(), number);
    seen[it->second] = true;
    taxon[v] = it->second;
  }
  for (int k = 0; k < size(); ++k)
    if (!seen[k])
      bye("%s, line %d: tree %d lacks taxon %s", source_.c_str(), tree.line, number,
          names_[k].c_str());
  return taxon;
}
