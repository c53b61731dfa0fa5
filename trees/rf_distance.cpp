// Numbering the distinct splits once, then comparing trees as sorted number lists.
#include "trees/rf_distance.hpp"

#include <algorithm>

#include "treelib/d_array.hpp"
#include "trees/real_text.hpp"
#include "trees/tree_splits.hpp"

namespace {

class tSplitNumbers {
 public:
  std::vector<int> of(const tParsedTree& tree, const std::vector<int>& taxon, const tTaxa& taxa,
                      bool rooted) {
    std::vector<int> set;
    if (rooted) {
      for (const tSplit& s : rooted_clades(tree, taxon, taxa)) set.push_back(number(s));
    } else {
      for (const tEdgeSplit& s : unrooted_splits(tree, taxon, taxa))
        if (!is_trivial(s.split, taxa)) set.push_back(number(s.split));
    }
    std::sort(set.begin(), set.end());
    return set;
  }

 private:
  int number(const tSplit& s) {
    if (!numbers_.defined(s)) {
      const int next = numbers_.size();
      numbers_[s] = next;
    }
    return numbers_[s];
  }
  d_array<tSplit, int> numbers_;
};

struct tSets {
  std::unique_ptr<tTaxa> taxa;
  std::vector<int> numbers;
  std::vector<std::vector<int>> sets;
};

tSets split_sets(const tInputText& input, int burnin, bool rooted, tSplitNumbers& numbering) {
  tSets all;
  visit_trees(input, burnin, all.taxa,
              [&](const tParsedTree& tree, const std::vector<int>& taxon, int number) {
                all.numbers.push_back(number);
                all.sets.push_back(numbering.of(tree, taxon, *all.taxa, rooted));
              });
  return all;
}

std::string distance_text(double d, bool normalize) {
  return normalize ? real_text(d) : std::to_string(static_cast<long>(d));
}

}  // namespace

double rf_distance(const std::vector<int>& a, const std::vector<int>& b, bool normalize) {
  std::size_t i = 0, j = 0, shared = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i] == b[j]) {
      ++shared;
      ++i;
      ++j;
    } else if (a[i] < b[j]) {
      ++i;
    } else {
      ++j;
    }
  }
  const std::size_t total = a.size() + b.size();
  const double d = static_cast<double>(total - 2 * shared);
  if (!normalize) return d;
  return total == 0 ? 0.0 : d / static_cast<double>(total);
}

std::string rf_matrix(const tInputText& input, int burnin, const tRfSettings& s) {
  tSplitNumbers numbering;
  const tSets all = split_sets(input, burnin, s.rooted, numbering);
  std::string text = std::to_string(all.sets.size()) + "\n";
  for (std::size_t i = 0; i < all.sets.size(); ++i) {
    const std::string label = std::to_string(all.numbers[i]);
    text += label;
    if (label.size() < 10) text.append(10 - label.size(), ' ');  // the classic name field
    for (std::size_t j = 0; j < all.sets.size(); ++j)
      text += ' ' + distance_text(rf_distance(all.sets[i], all.sets[j], s.normalize), s.normalize);
    text += '\n';
  }
  return text;
}

std::string rf_to_reference(const tInputText& input, int burnin, const tInputText& reference,
                            const tRfSettings& s) {
  tSplitNumbers numbering;
  const tSets all = split_sets(input, burnin, s.rooted, numbering);
  const tSingleTree ref = read_single_tree(reference, *all.taxa);
  const std::vector<int> ref_set = numbering.of(ref.tree, ref.taxon, *all.taxa, s.rooted);
  std::string text;
  for (std::size_t i = 0; i < all.sets.size(); ++i)
    text += std::to_string(all.numbers[i]) + '\t' +
            distance_text(rf_distance(all.sets[i], ref_set, s.normalize), s.normalize) + '\n';
  return text;
}
