// Tests of the splits and clades of single trees: normalisation, merged branches, lengths.
#include "trees/tree_splits.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "tests/trees/helpers.hpp"
#include "trees/split_tally.hpp"

namespace {

// Each split as its taxa names ("C D") with its length, or "-" without one.
std::map<std::string, std::string> named_splits(const tReadTree& r) {
  std::map<std::string, std::string> named;
  for (const tEdgeSplit& s : unrooted_splits(r.tree, r.taxon, *r.taxa)) {
    std::string names;
    for (tItem it = s.split.first_item(); it; it = s.split.next_item(it))
      names += (names.empty() ? "" : " ") + r.taxa->name(s.split.inf(it));
    EXPECT_EQ(named.count(names), 0u) << "split listed twice: " << names;
    named[names] = s.has_length ? std::to_string(s.length) : "-";
  }
  return named;
}

struct tCase {
  const char* tree;
  std::map<std::string, std::string> splits;
};

const tCase kCases[] = {
    // The two branches of a root of degree two are one split, their lengths summed.
    {"((A:1,B:2):3,(C:4,D:5):6);",
     {{"B", "2.000000"},
      {"C D", "9.000000"},
      {"B C D", "1.000000"},
      {"C", "4.000000"},
      {"D", "5.000000"}}},
    // A chain of single children repeats one split; lengths add along it.
    {"(((A:1,B:1):2):3,C:1,D:1);",
     {{"B", "1.000000"},
      {"C D", "5.000000"},
      {"B C D", "1.000000"},
      {"C", "1.000000"},
      {"D", "1.000000"}}},
    // Missing lengths stay missing; one given length of a merged pair is kept.
    {"((A,B):1,(C,D),E);",
     {{"B", "-"},
      {"C D E", "1.000000"},
      {"B C D E", "-"},
      {"C D", "-"},
      {"C", "-"},
      {"D", "-"},
      {"E", "-"}}},
    {"((A,B),(C,D):2);", {{"B", "-"}, {"C D", "2.000000"}, {"B C D", "-"}, {"C", "-"}, {"D", "-"}}},
    // Taxon 0 is the first leaf of the first tree, wherever it stands.
    {"(C,(A,B),D);", {{"A B", "-"}, {"A", "-"}, {"B", "-"}, {"A B D", "-"}, {"D", "-"}}},
    // A root with one child: the branch above it separates nothing.
    {"((A:1,B:1,C:1):7);", {{"B", "1.000000"}, {"C", "1.000000"}, {"B C", "1.000000"}}},
    // Below a chain of single children from the root, the first node of two children is the
    // root: its two branches are one split, not two.
    {"(((A:1,B:2):3,(C:4,D:5):6):7);",
     {{"B", "2.000000"},
      {"C D", "9.000000"},
      {"B C D", "1.000000"},
      {"C", "4.000000"},
      {"D", "5.000000"}}},
};

}  // namespace

TEST(TreeSplits, OneEntryPerBipartitionWithItsLength) {
  for (const tCase& c : kCases) EXPECT_EQ(named_splits(read_first(c.tree)), c.splits) << c.tree;
}

TEST(TreeSplits, BothRootBranchesMapToTheirSharedEntry) {
  const tReadTree r = read_first("((A,B),(C,D));");
  std::vector<int> entry;
  const std::vector<tEdgeSplit> splits = unrooted_splits(r.tree, r.taxon, *r.taxa, &entry);
  EXPECT_EQ(entry[0], -1);
  EXPECT_EQ(entry[1], entry[4]);  // (A,B) and (C,D) are nodes 1 and 4 in preorder
  EXPECT_EQ(splits[entry[1]].split.size(), 2);
}

TEST(TreeSplits, EveryTreeCountsASplitOnce) {
  // The first tree's root has one child above its two subtrees: CD is one split of it.
  const tSplitTally tally = tally_splits(input_of("(((A,B),(C,D)));\n((A,(B,C)),D);\n"), 0);
  std::map<std::string, int> counts;
  for (const auto& entry : tally.counts) counts[entry.first.to01string(3).c_str()] = entry.second;
  EXPECT_EQ(counts, (std::map<std::string, int>{{"0011", 1}, {"0110", 1}}));
}

// Trees of 70 taxa (two words a row), shaped differently and split one after another by one
// splitter, against the taxa below each node found by walking up from every leaf.
TEST(TreeSplits, AReusedSplitterGivesEveryBranchItsLeafSet) {
  const int n = 70;
  const auto leaf = [](int k) { return "t" + std::to_string(k); };
  std::string caterpillar = leaf(n - 1);
  for (int k = n - 2; k >= 0; --k) caterpillar = "(" + leaf(k) + "," + caterpillar + ")";
  std::function<std::string(int, int)> balanced = [&](int from, int to) {
    if (to - from == 1) return leaf(from);
    const int middle = (from + to) / 2;
    return "(" + balanced(middle, to) + "," + balanced(from, middle) + ")";
  };
  std::string star = "((((" + leaf(5);  // a chain of single children above 40 leaves
  for (int k = 0; k < n; ++k)
    if (k != 5) star += (k == 40 ? ")))," : ",") + leaf(k);
  const std::string set = caterpillar + ";\n" + balanced(0, n) + ";\n" + star + ");\n";
  std::unique_ptr<tTaxa> taxa;
  tTreeSplitter splitter(n);
  int trees = 0;
  visit_trees(
      input_of(set), 0, taxa,
      [&](const tParsedTree& tree, const std::vector<int>& taxon, int number) {
        ++trees;
        std::vector<std::vector<bool>> below(tree.nodes.size(), std::vector<bool>(n, false));
        for (std::size_t v = 0; v < tree.nodes.size(); ++v)
          if (taxon[v] >= 0)
            for (int a = static_cast<int>(v); a >= 0; a = tree.nodes[a].parent)
              below[a][taxon[v]] = true;
        splitter.split(tree, taxon, true);
        for (std::size_t v = 1; v < tree.nodes.size(); ++v) {
          const int e = splitter.entry_of(static_cast<int>(v));
          std::vector<bool> expected = below[v];
          if (expected[0]) expected.flip();
          const int size = static_cast<int>(std::count(expected.begin(), expected.end(), true));
          if (size == 0) {
            EXPECT_EQ(e, -1) << "tree " << number << ", node " << v;
            continue;
          }
          ASSERT_GE(e, 0) << "tree " << number << ", node " << v;
          std::vector<bool> side(n, false);
          for (int k = 0; k < 64 * splitter.words(); ++k) {
            const bool member = (splitter.side(e)[k / 64] >> (k % 64)) & 1;
            if (k >= n) {
              EXPECT_FALSE(member) << "bit " << k << " beyond the taxa";
            } else {
              side[k] = member;
            }
          }
          EXPECT_EQ(side, expected) << "tree " << number << ", node " << v;
          EXPECT_EQ(splitter.entries()[e].size, size) << "tree " << number << ", node " << v;
        }
      });
  EXPECT_EQ(trees, 3);
}

TEST(TreeSplits, RootedCladesKeepBothSidesOfTheRoot) {
  const struct {
    const char* tree;
    std::vector<std::string> clades;  // as 0/1 strings in taxon order
  } cases[] = {
      {"((A,B),(C,(D,E)));", {"11000", "00111", "00011"}},
      {"((A,B),C,D);", {"1100"}},
      {"(((A,B)),(C,D));", {"1100", "0011"}},
      {"(A,(B,C,D));", {"0111"}},
      {"(A,B,C);", {}},
  };
  for (const auto& c : cases) {
    const tReadTree r = read_first(c.tree);
    std::vector<std::string> clades;
    for (const tSplit& s : rooted_clades(r.tree, r.taxon, *r.taxa)) {
      std::string bits(static_cast<std::size_t>(r.taxa->size()), '0');
      for (tItem it = s.first_item(); it; it = s.next_item(it)) bits[s.inf(it)] = '1';
      clades.push_back(bits);
    }
    EXPECT_EQ(clades, c.clades) << c.tree;
  }
}

TEST(TreeSplits, TreesWithOtherTaxaEndTheRunNamingTreeAndTaxon) {
  const struct {
    const char* text;
    const char* report;
  } cases[] = {
      {"(A,B,C);\n(A,B,D);", "line 2: tree 2 has taxon D, which the first tree lacks"},
      {"(A,B,C);\n(A,B);", "tree 2 lacks taxon C"},
      {"(A,B,C);\n(A,B,(C,A));", "taxon A appears twice in tree 2"},
      {"(A,(B,A));", "taxon A appears twice in tree 1"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(read_first(c.text), testing::ExitedWithCode(1), c.report) << c.text;
}
