// Choosing compatible splits, nesting them into a tree, and summarising their branch lengths.
#include "trees/consensus.hpp"

#include <algorithm>
#include <cstdint>

#include "trees/newick_writer.hpp"
#include "trees/real_text.hpp"

namespace {

// Sides a and b (both without taxon 0) can sit in one tree: nested or disjoint.
bool compatible(const tTaxaSet& a, const tTaxaSet& b) {
  bool both = false, only_a = false, only_b = false;
  const int n = std::max(a.word_count(), b.word_count());
  for (int w = 0; w < n; ++w) {
    const std::uint32_t x = w < a.word_count() ? a.words()[w] : 0u;
    const std::uint32_t y = w < b.word_count() ? b.words()[w] : 0u;
    both = both || (x & y);
    only_a = only_a || (x & ~y);
    only_b = only_b || (y & ~x);
  }
  return !(both && only_a && only_b);
}

bool chosen(const tSplitTally& tally, const tConsensusSettings& c, int count) {
  switch (c.rule) {
    case tRule::strict:
      return count == tally.trees;
    case tRule::majority:
      return count > c.p * tally.trees;
    case tRule::extended:
      return true;
  }
  return false;
}

// Nests the splits (largest first) below a root that holds taxon 0 and the outermost splits;
// split i becomes node split_node[i], taxon k node taxon_node[k].
tParsedTree nest_splits(const std::vector<tSplit>& splits, int taxa, std::vector<int>& split_node,
                        std::vector<int>& taxon_node) {
  std::vector<int> order(splits.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return splits[a].size() > splits[b].size(); });
  tParsedTree tree;
  tree.add_node(-1, 0);
  std::vector<int> holder(static_cast<std::size_t>(taxa), 0);  // the smallest node yet above k
  split_node.assign(splits.size(), -1);
  for (int i : order) {
    const tSplit& s = splits[i];
    const int v = tree.add_node(holder[s.inf(s.first_item())], 0);
    for (tItem it = s.first_item(); it; it = s.next_item(it)) holder[s.inf(it)] = v;
    split_node[i] = v;
  }
  taxon_node.assign(holder.size(), -1);
  for (int k = 0; k < taxa; ++k) taxon_node[k] = tree.add_node(holder[k], 0);
  return tree;
}

// Children in order of the smallest taxon below them, so the output does not depend on counts.
void order_children(tParsedTree& tree, const std::vector<int>& taxon_node) {
  const int n = static_cast<int>(tree.nodes.size());
  std::vector<int> smallest(n, n);
  for (int k = static_cast<int>(taxon_node.size()) - 1; k >= 0; --k) smallest[taxon_node[k]] = k;
  for (int v = n - 1; v > 0; --v) {
    const int p = tree.nodes[v].parent;
    smallest[p] = std::min(smallest[p], smallest[v]);
  }
  std::vector<std::vector<int>> children(n);
  for (int v = 1; v < n; ++v) children[tree.nodes[v].parent].push_back(v);
  for (int v = 0; v < n; ++v) {
    std::sort(children[v].begin(), children[v].end(),
              [&](int a, int b) { return smallest[a] < smallest[b]; });
    tree.nodes[v].first_child = children[v].empty() ? -1 : children[v].front();
    tree.nodes[v].last_child = children[v].empty() ? -1 : children[v].back();
    for (std::size_t i = 0; i < children[v].size(); ++i)
      tree.nodes[children[v][i]].next_sibling =
          i + 1 < children[v].size() ? children[v][i + 1] : -1;
  }
}

// The tally's rows of the consensus nodes: each split node's number in the index, each leaf's
// taxon; -1 elsewhere.
struct tNodeRows {
  std::vector<int> split, taxon;
};

tNodeRows node_rows(const tSplitTally& tally, const std::vector<tSplit>& splits,
                    const std::vector<int>& split_node, const std::vector<int>& taxon_node,
                    std::size_t nodes) {
  tNodeRows rows{std::vector<int>(nodes, -1), std::vector<int>(nodes, -1)};
  for (std::size_t i = 0; i < splits.size(); ++i)
    rows.split[split_node[i]] = split_number(tally, splits[i]);
  for (std::size_t k = 0; k < taxon_node.size(); ++k)
    rows.taxon[taxon_node[k]] = static_cast<int>(k);
  return rows;
}

// Row k of a tally's lengths; none where the tally kept none.
template <class T>
T row_or_none(const std::vector<T>& rows, int k) {
  return k >= 0 && k < static_cast<int>(rows.size()) ? rows[k] : T();
}

// The mean from the sums the tally kept in input order: the same additions as summing the lengths.
void set_mean_lengths(const tSplitTally& tally, const tNodeRows& rows, tParsedTree& tree) {
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    const tLengthSum s = rows.split[v] >= 0 ? row_or_none(tally.split_sums, rows.split[v])
                                            : row_or_none(tally.leaf_sums, rows.taxon[v]);
    tree.nodes[v].has_length = s.count > 0;
    if (s.count > 0) tree.nodes[v].length = s.sum / static_cast<double>(s.count);
  }
}

// Each node's lengths gathered in input order, then summarised.
void set_gathered_lengths(const tSplitTally& tally, const tNodeRows& rows, tLengths how,
                          tParsedTree& tree) {
  std::vector<int> node_of(static_cast<std::size_t>(tally.index.size()), -1);
  for (std::size_t v = 0; v < tree.nodes.size(); ++v)
    if (rows.split[v] >= 0) node_of[rows.split[v]] = static_cast<int>(v);
  std::vector<std::vector<double>> lengths(tree.nodes.size());
  for (const tBranchLength& b : tally.branch_lengths)
    if (node_of[b.split] >= 0) lengths[node_of[b.split]].push_back(b.length);
  for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
    if (rows.taxon[v] >= 0) lengths[v] = row_or_none(tally.leaf_lengths, rows.taxon[v]);
    tree.nodes[v].has_length = summarise_lengths(lengths[v], how, tree.nodes[v].length);
  }
}

}  // namespace

std::vector<tSplit> consensus_splits(const tSplitTally& tally, const tConsensusSettings& c) {
  std::vector<tSplit> kept;
  // Weights order the splits by count while every count is exact as a float, so below that many
  // trees the first split a threshold rule refuses ends the splits it chooses.
  const bool ordered = c.rule != tRule::extended && tally.trees <= (1 << 24);
  for (const tSplit& s : splits_by_count(tally.counts)) {
    if (!chosen(tally, c, count_of(tally, s))) {
      if (ordered) break;
      continue;
    }
    bool fits = true;
    if (c.rule == tRule::extended)
      for (const tSplit& k : kept) fits = fits && compatible(s, k);
    if (fits) kept.push_back(s);
  }
  return kept;
}

bool summarise_lengths(std::vector<double>& lengths, tLengths how, double& result) {
  if (lengths.empty() || how == tLengths::none) return false;
  if (how == tLengths::mean) {
    double sum = 0.0;
    for (double x : lengths) sum += x;
    result = sum / static_cast<double>(lengths.size());
    return true;
  }
  const std::size_t m = lengths.size() / 2;
  std::sort(lengths.begin(), lengths.end());
  result = lengths.size() % 2 ? lengths[m] : (lengths[m - 1] + lengths[m]) / 2;
  return true;
}

std::string consensus_tree(const tSplitTally& tally, const tConsensusSettings& c) {
  const tTaxa& taxa = *tally.taxa;
  const std::vector<tSplit> splits = consensus_splits(tally, c);
  std::vector<int> split_node, taxon_node;
  tParsedTree tree = nest_splits(splits, taxa.size(), split_node, taxon_node);
  for (int k = 0; k < taxa.size(); ++k) tree.nodes[taxon_node[k]].label = taxa.name(k);
  for (std::size_t i = 0; i < splits.size(); ++i) {
    // 100 * count is exact, so a percentage is rounded once, like a frequency.
    const double count = count_of(tally, splits[i]);
    tree.nodes[split_node[i]].label = real_text((c.percent ? 100 * count : count) / tally.trees);
  }
  if (c.lengths != tLengths::none) {
    const tNodeRows rows = node_rows(tally, splits, split_node, taxon_node, tree.nodes.size());
    if (c.lengths == tLengths::mean)
      set_mean_lengths(tally, rows, tree);
    else
      set_gathered_lengths(tally, rows, c.lengths, tree);
  }
  order_children(tree, taxon_node);
  std::string text;
  write_newick(tree, text);
  return text;
}

tLengthRecord length_record(const tConsensusSettings& c) {
  switch (c.lengths) {
    case tLengths::mean:
      return tLengthRecord::sums;
    case tLengths::median:
      return tLengthRecord::values;
    case tLengths::none:
      return tLengthRecord::none;
  }
  return tLengthRecord::none;
}
