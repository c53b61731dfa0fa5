// distcorr end to end: woodmouse distances against the independent reference, every saturation
// policy against the tree library's own corrections, whole-file output and refused options.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "treelib/onepdist.hpp"
#include "treelib/twopdist.hpp"

namespace {

struct tRun {
  int status;
  std::string out, err;
};

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string data(const std::string& name) {
  return DISTCORR_TEST_DATA "/" + name;
}

std::string scratch(const std::string& name) {
  return testing::TempDir() + "distcorr_" +
         testing::UnitTest::GetInstance()->current_test_info()->name() + "_" + name;
}

tRun run(const std::string& arguments, const std::string& input = "/dev/null") {
  const std::string out = scratch("stdout"), err = scratch("stderr");
  const std::string command =
      "'" DISTCORR_PATH "' " + arguments + " < '" + input + "' > '" + out + "' 2> '" + err + "'";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

struct tTable {
  std::vector<std::string> names;
  std::vector<std::vector<double>> rows;
};

// Rows of "name value value ..."; with header, a first line holding the number of rows.
tTable parse_table(const std::string& text, bool header) {
  std::istringstream in(text);
  tTable t;
  std::size_t n = 0;
  if (header) in >> n;
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string name;
    if (!(words >> name)) continue;
    t.names.push_back(name);
    t.rows.emplace_back();
    for (double v; words >> v;) t.rows.back().push_back(v);
  }
  if (header) {
    EXPECT_EQ(n, t.names.size());
  }
  return t;
}

TEST(Distcorr, EveryInputLayoutGivesTheSameMatrix) {
  const std::string want = run("-i " + data("woodmouse.fasta")).out;
  const struct {
    std::string arguments, input;
  } cases[] = {
      {"-format fasta", data("woodmouse.fasta")},
      {"-i -", data("woodmouse.fasta.gz")},
      {"-i " + data("woodmouse_interleaved.phy"), "/dev/null"},
      {"-format phylip", data("woodmouse_sequential.phy")},
  };
  for (const auto& c : cases) {
    const tRun r = run(c.arguments, c.input);
    EXPECT_EQ(r.status, 0) << c.arguments << r.err;
    EXPECT_EQ(r.out, want) << c.arguments;
  }
}

// Writes a FASTA file of the given sequences named s0, s1, ... and returns its path.
std::string fasta_file(const std::vector<std::string>& sequences, const std::string& name) {
  std::ofstream out(scratch(name));
  for (std::size_t i = 0; i < sequences.size(); ++i)
    out << ">s" << i << '\n' << sequences[i] << '\n';
  return scratch(name);
}

TEST(Distcorr, ReportsWhatTheDataCannotGive) {
  const std::string twins = fasta_file({"ACGTACGT", "ACGTACGT", "ACGTACGA"}, "twins.fasta");
  const std::string apart = fasta_file({"AAAA", "AAAA", "CCCC"}, "apart.fasta");
  const std::string gappy =
      fasta_file({"ACG--NNN", "ACGTACGT", "ACGAACGT", "ACGAACGT"}, "gappy.fasta");
  const struct {
    std::string arguments;
    int status;
    const char* out;  // a piece of standard output, or of standard error when status is not 0
    const char* err;
  } cases[] = {
      // Identical sequences: 0, never -0.
      {"-i " + twins, 0, "s0         0 0 0.1", ""},
      {"-i " + twins + " -model tn93", 0, "s0         0 0 ", ""},
      {"-i " + apart + " -fix x", 1, "",
       "Error: -fix x: no pair has a positive finite distance to scale; give -fix c -x VALUE"},
      {"-i " + apart + " -fix c -x 3", 0, "s0         0 0 3\n", ""},
      {"-i " + gappy + " -stats", 0, "", "Sites used: 3 of 8\n"},
      {"-i " + gappy, 0, "", "Warning: global deletion keeps 3 of 8 sites; -deletion pairwise"},
      {"-i " + gappy + " -stats -deletion pairwise", 0, "",
       "Sites per pair: least 3, median 5.5 of 8\n"},
      {"-i /nonexistent/a.fasta", 1, "", "/nonexistent/a.fasta"},
  };
  for (const auto& c : cases) {
    const tRun r = run(c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments << r.err;
    EXPECT_NE(r.out.find(c.out), std::string::npos) << c.arguments << r.out;
    EXPECT_NE(r.err.find(c.err), std::string::npos) << c.arguments << r.err;
    EXPECT_EQ(r.out.find("-0"), std::string::npos) << c.arguments << r.out;
  }
}

TEST(Distcorr, WritesVariancesAndPairCounts) {
  const std::string pair = fasta_file({"AAGCTTAC", "GAGCTTCN", "AAGCTTAC"}, "pair.fasta");
  const tRun r = run("-model raw -i " + pair + " -deletion pairwise -variance " + scratch("v.phy") +
                     " -counts " + scratch("c.tsv"));
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(slurp(scratch("c.tsv")),
            "a\tb\tsites\tdifferences\ttransitions\ttransversions\n"
            "s0\ts1\t7\t2\t1\t1\ns0\ts2\t8\t0\t0\t0\ns1\ts2\t7\t2\t1\t1\n");
  // p = 2/7: p (1 - p) / 7.
  const tTable v = parse_table(slurp(scratch("v.phy")), true);
  EXPECT_EQ(v.rows[0][1], (2.0 / 7) * (1 - 2.0 / 7) / 7);
  EXPECT_EQ(v.rows[2][0], 0.0);
}

// Random sequences: about half of the pairs are saturated under either model.
struct tSaturated {
  std::string file;
  tMatrix p, P, Q;
};

tSaturated saturated_alignment() {
  const int n = 8, length = 60;
  std::mt19937 random(5);
  std::vector<std::string> s(n);
  std::ofstream out(scratch("random.fasta"));
  for (int i = 0; i < n; ++i) {
    for (int k = 0; k < length; ++k) s[i] += "ACGT"[random() % 4];
    out << ">s" << i << '\n' << s[i] << '\n';
  }
  tSaturated a{scratch("random.fasta"), tMatrix(n, n), tMatrix(n, n), tMatrix(n, n)};
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      int ts = 0, tv = 0;
      for (int k = 0; k < length; ++k) {
        const bool purine_i = s[i][k] == 'A' || s[i][k] == 'G';
        const bool purine_j = s[j][k] == 'A' || s[j][k] == 'G';
        if (s[i][k] != s[j][k]) ++(purine_i == purine_j ? ts : tv);
      }
      a.p(i, j) = (ts + tv) / double(length);
      a.P(i, j) = ts / double(length);
      a.Q(i, j) = tv / double(length);
    }
  }
  return a;
}

TEST(Distcorr, EverySaturationPolicyGivesTheModulesOwnResult) {
  tSaturated a = saturated_alignment();
  const struct {
    const char* arguments;
    bool (*correct)(tSaturated&, tMatrix&);
  } cases[] = {
      {"", [](tSaturated& s, tMatrix& d) { return onepdist_cfix(s.p, d, 4, -1.0f); }},
      {"-fix x", [](tSaturated& s, tMatrix& d) { return onepdist(s.p, d, 4); }},
      {"-fix x -x 0.5", [](tSaturated& s, tMatrix& d) { return onepdist_xfix(s.p, d, 4, 0.5f); }},
      {"-fix c -x 2", [](tSaturated& s, tMatrix& d) { return onepdist_cfix(s.p, d, 4, 2.0f); }},
      {"-fix pq -p0 0.5 -q0 0.7",
       [](tSaturated& s, tMatrix& d) { return onepdist_pqfix(s.p, d, 4, 0.5f, 0.7f); }},
      {"-states 3 -fix x", [](tSaturated& s, tMatrix& d) { return onepdist(s.p, d, 3); }},
      {"-model k2p -alpha 1",
       [](tSaturated& s, tMatrix& d) { return twopdist_cfix(s.P, s.Q, d, 4, -1.0f, 1.0); }},
      {"-model k2p -alpha 2 -fix x",
       [](tSaturated& s, tMatrix& d) { return twopdist(s.P, s.Q, d, 4, 2.0); }},
      {"-model k2p -alpha 0.5 -fix x -x 0.25",
       [](tSaturated& s, tMatrix& d) { return twopdist_xfix(s.P, s.Q, d, 4, 0.25f, 0.5); }},
      {"-model k2p -alpha 1 -fix c -x 1.5",
       [](tSaturated& s, tMatrix& d) { return twopdist_cfix(s.P, s.Q, d, 4, 1.5f, 1.0); }},
  };
  for (const auto& c : cases) {
    const tRun r = run(std::string(c.arguments) + " -stats -i " + a.file);
    ASSERT_EQ(r.status, 0) << c.arguments << r.err;
    tMatrix expected;
    const bool unsaturated = c.correct(a, expected);
    EXPECT_FALSE(unsaturated) << c.arguments << ": the alignment must saturate some pairs";
    EXPECT_NE(r.err.find("Correction result: false"), std::string::npos) << r.err;
    const tTable got = parse_table(r.out, true);
    for (int i = 0; i < expected.dim1(); ++i)
      for (int j = 0; j < expected.dim1(); ++j)
        EXPECT_EQ(got.rows[i][j], expected(i, j)) << c.arguments << " at " << i << ", " << j;
  }
}

TEST(Distcorr, StatisticsAndWarningComeFromTheModules) {
  tSaturated a = saturated_alignment();
  tTaxaSet all(8);
  for (int k = 0; k < 8; ++k) all.insert(k);
  char jc[160], k2p[80], warned[80];
  std::snprintf(jc, sizeof jc, "Saturated pairs: %.6g%%\nLargest correctable proportion: %.17g\n",
                percent_saturated(all, a.p, 4), max_correctible(all, a.p, 4));
  std::snprintf(k2p, sizeof k2p, "Saturated pairs: %.6g%%\nCorrection",
                percent_saturated(all, a.P, a.Q, 4, 1.0));
  std::snprintf(warned, sizeof warned, "Warning: %d of 28 pairs are saturated and keep",
                static_cast<int>(std::lround(percent_saturated(all, a.p, 4) * 28 / 100)));
  const tRun plain = run("-stats -i " + a.file), gamma = run("-stats -model k2p -alpha 1", a.file);
  EXPECT_NE(plain.err.find(jc), std::string::npos) << plain.err << jc;
  EXPECT_NE(plain.err.find(warned), std::string::npos) << plain.err << warned;
  EXPECT_NE(gamma.err.find(k2p), std::string::npos) << gamma.err << k2p;
}

TEST(Distcorr, WritesTheOutputFileWholeOrNotAtAll) {
  namespace fs = std::filesystem;
  const fs::path dir = scratch("dir");
  fs::remove_all(dir);
  fs::create_directories(dir / "taken");
  const tRun to_file = run("-o " + (dir / "m.phy").string(), data("woodmouse.fasta"));
  EXPECT_EQ(to_file.status, 0);
  EXPECT_EQ(slurp((dir / "m.phy").string()), run("", data("woodmouse.fasta")).out);
  // The target is a directory: refused before any work, and no temporary file stays.
  const tRun refused = run("-o " + (dir / "taken").string(), data("woodmouse.fasta"));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("Can't open file to write"), std::string::npos) << refused.err;
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  EXPECT_EQ(run("-o " + (dir / "no/m.phy").string(), data("woodmouse.fasta")).status, 1);
  EXPECT_FALSE(fs::exists(dir / "no"));
  // An output that is the input, or another output, is refused naming both options.
  const std::string m = (dir / "m.phy").string(), before = slurp(m);
  const struct {
    std::string arguments, report;
  } clashes[] = {
      {"-i " + m + " -o " + m, "-i"},
      {"-o " + m + " -variance " + m, "-variance"},
      {"-counts " + m + " -o " + m, "-counts"},
  };
  for (const auto& c : clashes) {
    const tRun r = run(c.arguments);
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_NE(r.err.find(c.report), std::string::npos) << c.arguments << r.err;
    EXPECT_EQ(slurp(m), before) << c.arguments;
  }
}

TEST(Distcorr, RefusesBadCommandLinesWithStatusTwo) {
  const struct {
    const char* arguments;
    const char* report;
  } cases[] = {
      {"-model k2p -alpha 0", "Usage: -alpha 0: must be above 0"},
      {"-model k2p -alpha 1x", "Usage: -alpha 1x: must be a finite number"},
      {"-model t92 -alpha 1", "Usage: -alpha applies to -model jc, k2p, f81 and tn93"},
      {"-model k2p -alpha 1 -states 4", "Usage: -states applies to -model jc"},
      {"-states 1", "Usage: -states 1: must be a whole number from 2 to"},
      {"-states 2.5", "Usage: -states 2.5: must be a whole number"},
      {"-fix c", "Usage: -fix c needs the value -x"},
      {"-x 2", "Usage: -x applies to -fix x and -fix c"},
      {"-fix x -x -1", "Usage: -x -1: must be at least 0"},
      {"-fix pq -p0 0.1", "Usage: -fix pq needs -p0 and -q0"},
      {"-fix pq -p0 0.5 -q0 0.75", "Usage: -q0 0.75: must be at least 0 and below 0.75"},
      {"-fix pq -p0 1 -q0 0.5", "Usage: -p0 1: must be at least 0 and below 0.75"},
      {"-model k2p -alpha 1 -fix pq -p0 .1 -q0 .2", "Usage: -fix pq applies to -model jc without"},
      {"-alpha 1 -fix pq -p0 .1 -q0 .2", "Usage: -fix pq applies to -model jc without -alpha"},
      {"-format xml", "Usage: -format xml: not one of auto, fasta, phylip"},
      {"-deletion partial", "Usage: -deletion partial: not one of global, pairwise"},
      {"-model gtr", "Usage: -model gtr: not one of raw, jc, k2p, f81, t92, tn93, f84, logdet"},
      {"-bootstrap 10", "Usage: -bootstrap needs -seed"},
      {"-seed 3", "Usage: -seed applies to -bootstrap"},
      {"-bootstrap 0 -seed 1", "Usage: -bootstrap 0: must be a whole number from 1 to"},
      {"-bootstrap 2 -seed -1", "Usage: -seed -1: must be a whole number from 0 to"},
      {"-threads -1", "Usage: -threads -1: must be a whole number from 0 to"},
      {"-threads 1.5", "Usage: -threads 1.5: must be a whole number"},
      {"-alpha 1 -variance v.txt", "Usage: -variance has no gamma variance for -model jc and f81"},
      {"-bogus word", "Usage: unknown option -bogus"},
      {"-model", "Usage: -model needs a value"},
      {"-i a.fa -i b.fa", "Usage: -i is given twice"},
      {"-stats -stats", "Usage: -stats is given twice"},
  };
  for (const auto& c : cases) {
    const tRun r = run(c.arguments, data("woodmouse.fasta"));
    EXPECT_EQ(r.status, 2) << c.arguments;
    EXPECT_NE(r.err.find(c.report), std::string::npos) << c.arguments << ": " << r.err;
    EXPECT_EQ(r.out, "") << c.arguments;
  }
  for (const char* help : {"-h", "-help", "--help"}) {
    const tRun r = run(help);
    EXPECT_EQ(r.status, 0) << help;
    EXPECT_EQ(r.out.rfind("Usage: distcorr [options]", 0), 0u) << help << r.out;
  }
}

}  // namespace

namespace {

// The matrices of a PHYLIP multiple-data-set text, each as its own text.
std::vector<std::string> split_matrices(const std::string& text) {
  std::vector<std::string> matrices;
  std::istringstream in(text);
  for (std::string count; std::getline(in, count);) {
    std::string matrix = count + '\n', row;
    for (int k = std::stoi(count); k > 0 && std::getline(in, row); --k) matrix += row + '\n';
    matrices.push_back(matrix);
  }
  return matrices;
}

TEST(Distcorr, BootstrapReplicatesFollowTheDocumentedDraw) {
  std::mt19937 random(8);
  std::vector<std::string> s(6);
  for (std::string& one : s)
    for (int k = 0; k < 90; ++k) one += "ACGTACGTACGTN-"[random() % 14];
  const std::string file = fasta_file(s, "replicated.fasta");
  for (const char* deletion : {"global", "pairwise"}) {
    const std::string common = std::string(" -model k2p -fix x -deletion ") + deletion;
    const tRun one = run("-i " + file + common + " -bootstrap 3 -seed 77 -threads 1");
    const tRun two = run("-i " + file + common + " -bootstrap 3 -seed 77 -threads 2");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, two.out) << deletion;
    const std::vector<std::string> matrices = split_matrices(one.out);
    ASSERT_EQ(matrices.size(), 4u) << deletion;
    EXPECT_EQ(matrices[0], run("-i " + file + common).out) << deletion;
    // Rebuild replicate 2 by the draw of bootstrap.hpp and run it as an alignment of its own.
    std::vector<long> candidates;
    for (long k = 0; k < 90; ++k) {
      bool resolved = true;
      for (const std::string& one : s) resolved = resolved && one[k] != 'N' && one[k] != '-';
      if (resolved || std::string(deletion) == "pairwise") candidates.push_back(k);
    }
    std::mt19937_64 engine(77);
    const std::uint64_t m = candidates.size(), rejected = (0 - m) % m;
    std::vector<std::string> drawn(s.size());
    for (int replicate = 1; replicate <= 2; ++replicate) {
      drawn.assign(s.size(), "");
      for (std::uint64_t k = 0; k < m; ++k) {
        std::uint64_t x = engine();
        while (x < rejected) x = engine();
        for (std::size_t i = 0; i < s.size(); ++i) drawn[i] += s[i][candidates[x % m]];
      }
    }
    EXPECT_EQ(matrices[2], run("-i " + fasta_file(drawn, "drawn.fasta") + common).out) << deletion;
    EXPECT_NE(matrices[2], matrices[1]) << deletion;
  }
}

}  // namespace
