// trees end to end: split counts, consensus and Robinson-Foulds distances against the values R's
// ape and phangorn give for the same tree sets (data/make_reference.R), and the file behaviour.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/process.hpp"
#include "trees/tree_reader.hpp"

namespace {

std::string data(const std::string& name) {
  return TREES_TEST_DATA "/" + name;
}

tRun trees(const std::vector<std::string>& arguments, const std::string& stdin_path = "/dev/null") {
  tRunSetup setup;
  setup.stdin_path = stdin_path;
  return run_program(TREES_PATH, arguments, setup);
}

std::vector<std::string> fields(const std::string& line, char separator) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, separator);) out.push_back(f);
  return out;
}

// A side given by comma-separated names, as the side without t1 (the reference's choice).
std::string canonical(const std::string& names) {
  std::set<std::string> side;
  for (const std::string& name : fields(names, ',')) side.insert(name);
  if (side.count("t1")) {
    std::set<std::string> other;
    for (int k = 1; k <= 14; ++k)
      if (!side.count("t" + std::to_string(k))) other.insert("t" + std::to_string(k));
    side = other;
  }
  std::string text;
  for (const std::string& name : side) text += (text.empty() ? "" : ",") + name;
  return text;
}

// Rows of a table with a header line: the canonical side of the first column -> the others.
std::map<std::string, std::vector<std::string>> table(const std::string& text, char separator) {
  std::map<std::string, std::vector<std::string>> rows;
  std::istringstream in(text);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> f = fields(line, separator);
    const std::string key = canonical(f[0]);
    f.erase(f.begin());
    EXPECT_EQ(rows.count(key), 0u) << "listed twice: " << key;
    rows[key] = f;
  }
  return rows;
}

std::vector<std::vector<double>> matrix(const std::string& text, bool labelled) {
  std::istringstream in(text);
  std::vector<std::vector<double>> rows;
  std::size_t n = 0;
  if (labelled) in >> n;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::vector<double> row;
    std::string label;
    if (labelled && !(words >> label)) continue;
    for (double x; words >> x;) row.push_back(x);
    if (!row.empty()) rows.push_back(row);
  }
  if (labelled) {
    EXPECT_EQ(rows.size(), n);
  }
  return rows;
}

void expect_near_matrix(const std::vector<std::vector<double>>& ours,
                        const std::vector<std::vector<double>>& reference, double tolerance) {
  ASSERT_EQ(ours.size(), reference.size());
  for (std::size_t i = 0; i < ours.size(); ++i) {
    ASSERT_EQ(ours[i].size(), reference[i].size());
    for (std::size_t j = 0; j < ours[i].size(); ++j)
      EXPECT_NEAR(ours[i][j], reference[i][j], tolerance) << i + 1 << "," << j + 1;
  }
}

// Each internal node of a Newick tree below its root: canonical side, label and length.
std::map<std::string, std::vector<double>> consensus_nodes(const std::string& newick) {
  tTreeReader reader(newick, "output");
  tParsedTree tree;
  EXPECT_TRUE(reader.next(tree));
  std::vector<std::string> below(tree.nodes.size());
  std::map<std::string, std::vector<double>> nodes;
  for (int v = static_cast<int>(tree.nodes.size()) - 1; v > 0; --v) {
    const tTreeNode& node = tree.nodes[v];
    if (node.is_leaf()) below[v] = node.label;
    const std::string& p = below[node.parent];
    below[node.parent] = p.empty() ? below[v] : p + "," + below[v];
    if (!node.is_leaf()) nodes[canonical(below[v])] = {std::stod(node.label), node.length};
  }
  return nodes;
}

}  // namespace

TEST(TreesProgram, SplitCountsEqualPropPartForEveryInputForm) {
  std::map<std::string, std::string> expected;
  for (const auto& [side, rest] : table(slurp(data("boot_splits.tsv")), '\t'))
    expected[side] = rest[0];
  const std::vector<std::vector<std::string>> forms = {
      {"splits", "-i", data("boot.nwk")},
      {"splits", "-i", data("boot.nex")},
      {"splits", "-i", data("boot.nwk.gz")},
      {"splits"},
  };
  for (const auto& form : forms) {
    const tRun run = trees(form, data("boot.nwk.gz"));
    ASSERT_EQ(run.status, 0) << run.err;
    std::map<std::string, std::string> counts;
    for (const auto& [side, rest] : table(run.out, '\t')) {
      counts[side] = rest[1];
      EXPECT_EQ(std::stod(rest[2]), std::stod(rest[1]) / 40) << side;
    }
    EXPECT_EQ(counts, expected) << form.back();
  }
}

TEST(TreesProgram, ConsensusEqualsApeWithSupportAndMeanLengths) {
  const tRun run = trees({"consensus", "-i", data("boot.nwk")});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::map<std::string, std::vector<double>> ours = consensus_nodes(run.out);
  const auto reference = table(slurp(data("boot_consensus.tsv")), '\t');
  ASSERT_EQ(ours.size(), reference.size()) << run.out;
  for (const auto& [side, values] : reference) {
    ASSERT_EQ(ours.count(side), 1u) << side;
    EXPECT_NEAR(ours.at(side)[0], std::stod(values[0]), 1e-12) << side;
    EXPECT_NEAR(ours.at(side)[1], std::stod(values[1]), 1e-12) << side;
  }
}

TEST(TreesProgram, DistancesEqualRfDist) {
  const struct {
    std::vector<std::string> arguments;
    const char* reference;
  } cases[] = {
      {{"rf", "-i", data("boot.nwk")}, "boot_rf.txt"},
      {{"rf", "-i", data("boot.nwk"), "-normalize"}, "boot_rf_normalized.txt"},
      {{"rf", "-i", data("rooted.nwk"), "-rooted"}, "rooted_rf.txt"},
      {{"rf", "-i", data("rooted.nwk"), "-rooted", "-normalize"}, "rooted_rf_normalized.txt"},
      {{"rf", "-i", data("rooted.nwk")}, "rooted_rf_unrooted.txt"},
  };
  for (const auto& c : cases) {
    const tRun run = trees(c.arguments);
    ASSERT_EQ(run.status, 0) << run.err;
    expect_near_matrix(matrix(run.out, true), matrix(slurp(data(c.reference)), false), 1e-15);
  }
}

TEST(TreesProgram, DistancesToAReferenceTreeAreOneLineEach) {
  const tRun run = trees({"rf", "-i", data("rooted.nwk"), "-rooted", "-ref", data("rooted.nwk")});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::vector<double>> reference = matrix(slurp(data("rooted_rf.txt")), false);
  std::istringstream in(run.out);
  int number = 0;
  double distance = 0;
  for (std::size_t k = 0; k < reference.size(); ++k) {
    ASSERT_TRUE(in >> number >> distance);
    EXPECT_EQ(number, static_cast<int>(k) + 1);
    EXPECT_EQ(distance, reference[0][k]);
  }
  EXPECT_FALSE(in >> number);
}

TEST(TreesProgram, BurninSkipsTreesAndKeepsTheirNumbers) {
  const tRun run = trees({"rf", "-i", data("boot.nwk"), "-burnin", "38"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::vector<double>> all = matrix(slurp(data("boot_rf.txt")), false);
  const std::string expected = "2\n39         0 " + std::to_string(static_cast<int>(all[38][39])) +
                               "\n40         " + std::to_string(static_cast<int>(all[39][38])) +
                               " 0\n";
  EXPECT_EQ(run.out, expected);
}

TEST(TreesProgram, OutputFileIsWholeAndNeverAnInput) {
  const std::string input = scratch("in.nwk"), output = scratch("out.nwk");
  std::ofstream(input) << "((A:1,B:1):1,C:2,D:3);\n";
  tRun run = trees({"scale", "-i", input, "-factor", "0.5", "-o", output});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(slurp(output), "((A:0.5,B:0.5):0.5,C:1,D:1.5);\n");
  run = trees({"scale", "-i", input, "-normalize", "-o", input});
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find("may not replace an input"), std::string::npos) << run.err;
  EXPECT_EQ(slurp(input), "((A:1,B:1):1,C:2,D:3);\n");
  run = trees({"support", "-i", input, "-target", input, "-o", "/dev/null"});
  EXPECT_EQ(run.status, 0) << run.err;
}

TEST(TreesProgram, FaultsInTheDataEndWithStatusOneAndTheLine) {
  const struct {
    const char* text;
    std::vector<std::string> arguments;
    const char* report;
  } cases[] = {
      {"((A,B),(C,D);\n", {"splits"}, "line 1: unbalanced parentheses"},
      {"(A,B,C);\n(A,(B,B));\n", {"consensus"}, "line 2: taxon B appears twice in tree 2"},
      {"(A,B,C);\n\n(A,B,D);\n", {"rf"}, "line 3: tree 2 has taxon D"},
      {"", {"splits"}, "line 1: no trees"},
      {"(A,B,C);\n", {"splits", "-burnin", "1"}, "all 1 trees fall within the burn-in"},
      {"(A:0.1,B:-0.2,C:0.3);\n", {"scale", "-jc", "2"}, "tree 1 has the negative length"},
  };
  for (const auto& c : cases) {
    const std::string input = scratch("fault.nwk");
    std::ofstream(input) << c.text;
    const tRun run = trees(c.arguments, input);
    EXPECT_EQ(run.status, 1) << c.report;
    EXPECT_NE(run.err.find(c.report), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
}
