// Counting each tree's splits into one dictionary.
#include "trees/split_tally.hpp"

#include <algorithm>
#include <numeric>

#include "treelib/bipartmap.hpp"
#include "treelib/list_splits.hpp"

namespace {

// A trivial split's branch belongs to the taxon alone on its side (taxon 0 when the side holds
// all the others).
int lone_taxon(const std::uint64_t* side, int size) {
  if (size != 1) return 0;
  int w = 0;
  while (side[w] == 0) ++w;
  return 64 * w + __builtin_ctzll(side[w]);
}

// The index's splits in the dictionary's order (members read as a binary number), so that each
// insertion walks the dictionary's rightmost path, which stays in the cache.
std::vector<int> dictionary_order(const tSplitIndex& index) {
  std::vector<int> order(static_cast<std::size_t>(index.size()));
  std::iota(order.begin(), order.end(), 0);
  const int words = index.words();
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const std::uint64_t* x = index.key(a);
    const std::uint64_t* y = index.key(b);
    int w = words - 1;
    while (w > 0 && x[w] == y[w]) --w;
    return x[w] < y[w];
  });
  return order;
}

// Each distinct split goes through the dictionary once and then takes its further occurrences:
// the ordered dictionary is searched for each distinct split, not for every branch of every tree.
void count_into(const tSplitIndex& index, const std::vector<int>& occurrences, const tTaxa& taxa,
                tSplitCounts& counts) {
  const std::vector<int> order = dictionary_order(index);
  tListSplits list;
  for (int k : order) list.append(split_of_row(index.key(k), taxa.size()));
  nontrivial_splits2dic(taxa.all(), list, counts);
  auto k = order.begin();
  for (const tSplit& s : list) {
    if (occurrences[*k] > 1) counts[s] += occurrences[*k] - 1;
    ++k;
  }
}

void add_length(tLengthSum& sum, double length) {
  sum.sum += length;
  ++sum.count;
}

}  // namespace

tSplitTally tally_splits(const tInputText& input, int burnin, tLengthRecord record) {
  tSplitTally tally;
  const bool lengths = record != tLengthRecord::none;
  const bool values = record == tLengthRecord::values;
  std::unique_ptr<tTreeSplitter> splitter;
  std::vector<int> occurrences;  // of each split of the index
  const auto count_tree = [&](const tParsedTree& tree, const std::vector<int>& taxon, int) {
    const int taxa = tally.taxa->size();
    if (!splitter) {
      splitter = std::make_unique<tTreeSplitter>(taxa);
      tally.index = tSplitIndex(splitter->words());
      if (lengths) tally.leaf_sums.resize(static_cast<std::size_t>(taxa));
      if (values) tally.leaf_lengths.resize(static_cast<std::size_t>(taxa));
    }
    splitter->split(tree, taxon, lengths);
    const std::vector<tSplitEntry>& entries = splitter->entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      const tSplitEntry& e = entries[i];
      const std::uint64_t* side = splitter->side(static_cast<int>(i));
      if (is_trivial_size(e.size, taxa)) {
        if (!e.has_length) continue;
        const int k = lone_taxon(side, e.size);
        add_length(tally.leaf_sums[k], e.length);
        if (values) tally.leaf_lengths[k].push_back(e.length);
        continue;
      }
      const int k = tally.index.add(side);
      if (k == static_cast<int>(occurrences.size())) {
        occurrences.push_back(0);
        if (lengths) tally.split_sums.emplace_back();
      }
      ++occurrences[k];
      if (!lengths || !e.has_length) continue;
      add_length(tally.split_sums[k], e.length);
      if (values) tally.branch_lengths.push_back({k, e.length});
    }
  };
  tally.trees = visit_trees(input, burnin, tally.taxa, count_tree);
  count_into(tally.index, occurrences, *tally.taxa, tally.counts);
  return tally;
}

std::vector<tSplit> splits_by_count(const tSplitCounts& counts) {
  tListSplits list;
  dic2splits(counts, list);
  // Sorted through pointers: a split is copied by allocating, so each is copied once, into place.
  std::vector<const tSplit*> order;
  order.reserve(static_cast<std::size_t>(list.size()));
  for (const tSplit& s : list) order.push_back(&s);
  std::stable_sort(order.begin(), order.end(),
                   [](const tSplit* a, const tSplit* b) { return a->weight > b->weight; });
  std::vector<tSplit> splits;
  splits.reserve(order.size());
  for (const tSplit* s : order) splits.push_back(*s);
  return splits;
}

int count_of(const tSplitTally& tally, const tSplit& split) {
  if (is_trivial(split, *tally.taxa)) return tally.trees;
  return tally.counts.defined(split) ? tally.counts[split] : 0;
}

int split_number(const tSplitTally& tally, const tSplit& split) {
  std::vector<std::uint64_t> row(static_cast<std::size_t>(tally.index.words()), 0);
  for (tItem it = split.first_item(); it; it = split.next_item(it)) {
    const int k = split.inf(it);
    if (k / 64 >= tally.index.words()) return -1;
    row[k / 64] |= std::uint64_t{1} << (k % 64);
  }
  return tally.index.find(row.data());
}
