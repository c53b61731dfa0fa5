// The clusterer program end to end, in one runner: every run ends soundly (a result, a report
// with status 1, or a refused command line with status 2, never a signal or an assertion), the
// exact outputs of known runs, label files, seeds, threads and the order of output.
#include <glob.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "cluster/options.hpp"
#include "cluster/version.hpp"
#include "tests/support/process.hpp"

namespace {

std::string data(const std::string& name) {
  return std::string(CLUSTER_TEST_DATA "/") + name;
}

// A run whose standard output goes to output when it is given (then tRun::out stays empty).
tRun run(const std::string& arguments, const std::string& input = "/dev/null",
         const std::string& directory = ".", const std::string& output = "") {
  tRunSetup setup;
  setup.stdin_path = input;
  setup.stdout_path = output;
  setup.directory = directory;
  return run_program(CLUSTERER_PATH, words(arguments), setup);
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::string banner() {
  return version().c_str();
}

std::string help_text() {
  std::ostringstream text;
  write_help(text);
  return text.str();
}

// Index of the first line at or after from that starts with prefix; fails the test if none.
std::size_t find_line(const std::vector<std::string>& all, const std::string& prefix,
                      std::size_t from) {
  for (std::size_t i = from; i < all.size(); ++i)
    if (all[i].compare(0, prefix.size(), prefix) == 0) return i;
  ADD_FAILURE() << "no line starting with \"" << prefix << "\" from line " << from;
  return all.size();
}

bool is_label(const std::string& line) {
  return !line.empty() && line.find_first_not_of("0123456789") == std::string::npos;
}

const char* const four_rows_report =
    "# BEGIN DIAM\nCLUSTER 0\nc\n2  -1 0\nCLUSTER 1\na\n2  1 0\nEND DIAM\n"
    "# BEGIN DIAM\nCLUSTER 2\nd\n2  0 -1\nCLUSTER 3\nb\n2  0 1\nEND DIAM\n";

}  // namespace

TEST(Clusterer, HelpWritesTheHelpOnly) {
  for (const char* help : {"--help -bogus", "-h", "-o x -help"}) {
    const tRun result = run(help);
    EXPECT_EQ(result.status, 0) << help;
    EXPECT_EQ(result.out, "") << help;
    EXPECT_EQ(result.err, help_text()) << help;
  }
}

TEST(Clusterer, RefusedCommandLinesChangeNoFile) {
  const std::string groups = scratch("groups.txt"), labels = scratch("labels.txt");
  std::ofstream(groups) << "old";
  const tRun result = run("-o " + groups + " -o2 " + labels + " -bogus");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "\nUsage: -bogus: not an option of this program (see --help)\n");
  EXPECT_EQ(slurp(groups), "old");
  EXPECT_FALSE(std::ifstream(labels).good());
}

TEST(Clusterer, ClustersAGivenStartToTheKnownAnswer) {
  const std::string groups = scratch("groups.txt"), labels = scratch("labels.txt");
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " +
                          data("four_rows_start.txt") + " -v -o " + groups + " -o2 " + labels);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "# " + banner() + "\n");
  EXPECT_EQ(result.out,
            std::string("start of algorithm\nObjective function = 15\n") + four_rows_report);
  EXPECT_EQ(slurp(labels), "4\n0\n1\n0\n1\n");
  EXPECT_EQ(slurp(groups), "4\n1\n3\n0\n2\n");
}

TEST(Clusterer, OneStepDirectionsAreTheNormalisedSums) {
  const std::string groups = scratch("groups.txt");
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 2 -t1 1 -init_clusters " +
                          data("four_rows_start.txt") + " -o " + groups);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "start of algorithm\nObjective function = 15\n");
  EXPECT_EQ(slurp(groups), "4\n0\n2\n1\n3\n");  // (-1, 0) and (0, -1) flip the sides
}

TEST(Clusterer, StandardInputReadsTheSameAsAFile) {
  const tRun from_file = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " +
                             data("four_rows_start.txt") + " -v");
  const tRun from_stdin =
      run("-num_clusters 2 -init_clusters " + data("four_rows_start.txt") + " -v",
          data("four_rows.txt"));
  EXPECT_EQ(from_stdin.status, 0);
  EXPECT_EQ(from_stdin.out, from_file.out);
}

TEST(Clusterer, OnStandardInputAnEmptyLineIsWhiteSpaceAsInAFile) {
  const tRun from_file = run("-i " + data("blank_line.txt") + " -num_clusters 1 -v");
  const tRun from_stdin = run("-num_clusters 1 -v", data("blank_line.txt"));
  EXPECT_THAT(from_file.out, testing::HasSubstr("\nCLUSTER 1\na b\n"));
  EXPECT_EQ(from_stdin.out, from_file.out);
}

TEST(Clusterer, WithoutVerbosityOnlyTheStartAndObjectiveLinesAreWritten) {
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 2");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> out = lines(result.out);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_EQ(out[0], "start of algorithm");
  EXPECT_THAT(out[1], testing::StartsWith("Objective function = "));
}

TEST(Clusterer, ClusterLabelFileStartsALaterRunAtTheSameClusters) {
  const std::string first = scratch("first.txt"), second = scratch("second.txt");
  const tRun one = run("-i " + data("four_rows.txt") + " -num_clusters 2 -o2 " + first);
  const tRun two = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " + first +
                       " -o2 " + second);
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(slurp(second), slurp(first));
  EXPECT_EQ(two.out, one.out);
}

TEST(Clusterer, InitialAssignmentGoesToTheThirdOutputFile) {
  const std::string initial = scratch("initial.txt");
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " +
                          data("four_rows_start.txt") + " -init_clusters_out -o3 " + initial);
  EXPECT_EQ(result.out, "start of algorithm\nObjective function = 15\n");
  EXPECT_EQ(slurp(initial), "0\n1\n0\n1\n");
}

TEST(Clusterer, GroupLabelFileIsNotWrittenIntoAFileNamedStdout) {
  const std::string directory = testing::TempDir();
  std::ofstream(directory + "/stdout") << "old";
  const tRun result =
      run("-i " + data("four_rows.txt") + " -num_clusters 2 -o stdout", "/dev/null", directory);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(slurp(directory + "/stdout"), "");
}

TEST(Clusterer, SimulatedRunWritesEveryReportInTheFixedOrder) {
  const tRun result =
      run("-simulate -num_clusters 2 -columns 3 -noise 0 -random_cluster "
          "-init_clusters_out -permute -v4");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> out = lines(result.out);
  std::size_t at = find_line(out, "generating random means", 0);
  EXPECT_EQ(at, 0u);
  at = find_line(out, "generating perturbed data", at);
  at = find_line(out, "Ideal obj value = ", at);
  EXPECT_EQ(out[at], "Ideal obj value = 20");
  for (int g = 0; g < 4; ++g)
    EXPECT_THAT(out.at(++at), testing::StartsWith(std::to_string(g) + " "));
  EXPECT_EQ(out.at(++at), "start of algorithm");
  EXPECT_EQ(out.at(++at), "random initialization");
  for (int r = 0; r < 20; ++r) EXPECT_TRUE(is_label(out.at(++at))) << out.at(at);
  EXPECT_EQ(out.at(++at), "computing initial means...");
  EXPECT_EQ(out.at(++at), "calling sqkmeans");
  at = find_line(out, "reset clusters for next round", at);
  at = find_line(out, "Objective function = ", at);
  EXPECT_EQ(out.at(++at), "comparison of k-svd and random : ");
  EXPECT_THAT(out.at(++at), testing::StartsWith("k-svd clusters = "));
  EXPECT_THAT(out.at(++at), testing::StartsWith("true clusters = "));
  // Without noise every row is its true mean up to sign, so -permute left the simulation alone.
  std::istringstream own_products(out.at(++at));
  for (std::string product; own_products >> product;)
    EXPECT_TRUE(product == "1" || product == "-1") << product;
  at = find_line(out, "computing score...", at);
  EXPECT_EQ(out.at(++at), "init new clusters");
  EXPECT_EQ(out.at(++at), "# BEGIN DIAM");
  at = find_line(out, "computing score...", at);
  EXPECT_EQ(out.at(++at), "clusters after kmeans are : ");
  EXPECT_EQ(out.size(), at + 5);  // the four groups end the output
  EXPECT_EQ(result.out.find("reading expression matrix..."), std::string::npos);
}

TEST(Clusterer, ReadRunWritesTheRandomGroupingAfterReading) {
  const tRun result = run("-i " + data("four_rows.txt") +
                          " -num_clusters 2 -permute -random_cluster -normalize -v4");
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> out = lines(result.out);
  ASSERT_GE(out.size(), 6u);
  EXPECT_EQ(out[0], "reading expression matrix...");
  for (int g = 0; g < 4; ++g) EXPECT_THAT(out[1 + g], testing::StartsWith(std::to_string(g) + " "));
  EXPECT_EQ(out[5], "start of algorithm");
  EXPECT_EQ(result.out.find("Ideal obj value"), std::string::npos);
  EXPECT_EQ(result.out.find("clusters after kmeans are"), std::string::npos);
}

TEST(Clusterer, RowsThatCancelStillCluster) {
  const tRun result = run("-i " + data("centred.txt") + " -num_clusters 1");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "start of algorithm\nObjective function = 12\n");
}

// Read data whose values are all >= 0 get this warning at any verbosity.
const std::string nonnegative_warning =
    "\nWarning: every value of the data is >= 0: the sign bisection cannot split such rows "
    "(each cluster's second half stays empty); -center subtracts each row's mean first\n";

TEST(Clusterer, NonFiniteValuesAndZeroRowsAreReportedOnceAndTheRunGoesOn) {
  const tRun non_finite = run("-i " + data("non_finite.txt") + " -num_clusters 2");
  EXPECT_EQ(non_finite.status, 0);
  EXPECT_EQ(non_finite.err,
            "\nWarning: Expression matrix: 3 value(s) not finite, treated as missing (0.0)\n");
  const tRun zero_rows = run("-i " + data("zero_rows.txt") + " -num_clusters 2 -normalize");
  EXPECT_EQ(zero_rows.status, 0);
  EXPECT_EQ(zero_rows.err,
            nonnegative_warning + "\nWarning: -normalize: 2 row(s) of length 0 left as they are\n");
}

TEST(Clusterer, ShippedExampleClusters) {
  const tRun result = run("-i " EXAMPLES_DIR "/bladder_top1000.txt -num_clusters 5 -normalize");
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(lines(result.out).size(), 2u);
}

TEST(Clusterer, ALabelFileThatCannotBeWrittenEndsTheRunNamingIt) {
  const std::string four_rows = "-i " + data("four_rows.txt") + " -num_clusters 2 ";
  const std::string lost = "\nError: Can't write file: /dev/full\n";
  const std::string labels = scratch("labels.txt");

  const tRun cluster_labels = run(four_rows + "-o2 /dev/full");
  EXPECT_EQ(cluster_labels.status, 1);
  EXPECT_EQ(cluster_labels.err, lost);

  const tRun group_labels = run(four_rows + "-o2 " + labels + " -o /dev/full");
  EXPECT_EQ(group_labels.status, 1);
  EXPECT_EQ(group_labels.err, lost);
  EXPECT_EQ(lines(slurp(labels)).size(), 5u);  // the files written before stay whole

  const tRun initial = run(four_rows + "-init_clusters_out -o3 /dev/full -o2 " + labels);
  EXPECT_EQ(initial.status, 1);
  EXPECT_EQ(initial.err, lost);
  EXPECT_EQ(initial.out, "start of algorithm\n");  // the run stops where the file was written
}

TEST(Clusterer, StandardOutputThatCannotBeWrittenEndsTheRun) {
  const std::string lost = "\nError: Can't write file: stdout\n";
  const tRun reports = run("-i " + data("four_rows.txt") + " -num_clusters 2 -v -seed 9",
                           "/dev/null", ".", "/dev/full");
  EXPECT_EQ(reports.status, 1);
  EXPECT_EQ(reports.err, "# " + banner() + "\n# seed 9\n" + lost);

  // The initial assignment on standard output is checked where it is written.
  const std::string labels = scratch("labels.txt");
  const tRun initial =
      run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters_out -o2 " + labels,
          "/dev/null", ".", "/dev/full");
  EXPECT_EQ(initial.status, 1);
  EXPECT_EQ(initial.err, lost);
  EXPECT_EQ(slurp(labels), "");  // the run stopped before the cluster labels

  // These reports outgrow the stream's buffer, so writing already fails in the middle of the run.
  const tRun long_reports =
      run("-i " EXAMPLES_DIR "/bladder_top1000.txt -num_clusters 5 -v -seed 9", "/dev/null", ".",
          "/dev/full");
  EXPECT_EQ(long_reports.status, 1);
  EXPECT_EQ(long_reports.err, "# " + banner() + "\n# seed 9\n" + nonnegative_warning + lost);
}

namespace {

// Standard output and every file of a run, in one text, and the run's status and errors.
tRun run_with_files(const std::string& arguments) {
  const std::string files[] = {scratch("o"), scratch("o2"), scratch("o3"), scratch("table")};
  for (const std::string& file : files) std::remove(file.c_str());
  tRun result = run(arguments + " -o " + files[0] + " -o2 " + files[1] + " -o3 " + files[2] +
                    " -table " + files[3]);
  for (const std::string& file : files) result.out += "\n--- file\n" + slurp(file);
  return result;
}

// The full-precision objective of the -scores report.
double scored_objective(const std::string& out) {
  const std::size_t at = out.find("\nobjective = ");
  EXPECT_NE(at, std::string::npos);
  return std::stod(out.substr(at + 13));
}

const std::string bladder =
    "-i " EXAMPLES_DIR "/bladder_top1000.txt -num_clusters 5 -center -normalize ";

}  // namespace

TEST(Clusterer, TheSameSeedRepeatsEveryOutputAndAnotherSeedDoesNot) {
  const std::string runs[] = {
      bladder + "-restarts 3 -scores -init_clusters_out -v1",
      "-simulate -num_clusters 3 -columns 4 -random_cluster -init_clusters_out -v1",
      "-i " + data("four_rows.txt") +
          " -num_clusters 2 -permute -random_cluster -init_clusters_out",
  };
  for (const std::string& arguments : runs) {
    const tRun first = run_with_files(arguments + " -seed 11");
    const tRun again = run_with_files(arguments + " -seed 11");
    const tRun other = run_with_files(arguments + " -seed 12");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(again.out, first.out) << arguments;
    EXPECT_EQ(again.err, first.err) << arguments;
    EXPECT_NE(other.out, first.out) << arguments;
  }
}

TEST(Clusterer, SeedLineRepeatsARunWithoutASeed) {
  const tRun unseeded = run_with_files(bladder + "-v1");
  const std::vector<std::string> err = lines(unseeded.err);
  ASSERT_EQ(err.size(), 2u);
  ASSERT_THAT(err[1], testing::StartsWith("# seed "));
  const tRun repeated = run_with_files(bladder + "-v1 -seed " + err[1].substr(7));
  EXPECT_EQ(repeated.out, unseeded.out);
  EXPECT_EQ(repeated.err, unseeded.err);
}

TEST(Clusterer, RestartsKeepTheLargestObjectiveAndNeverLowerTheFirstStart) {
  const auto objective_of = [](const std::string& line) {
    return std::stod(line.substr(line.find("objective ") + 10));
  };
  for (const char* seed : {"1", "2", "3"}) {
    const tRun one = run(bladder + "-scores -seed " + seed);
    const tRun four = run(bladder + "-scores -v1 -seed " + seed + " -restarts 4");
    ASSERT_EQ(four.status, 0) << four.err;
    const std::vector<std::string> err = lines(four.err);
    ASSERT_EQ(err.size(), 6u);  // banner, seed, one line per start
    EXPECT_THAT(err[2], testing::StartsWith("# start 1: seed " + std::string(seed) + ", "));
    EXPECT_EQ(objective_of(err[2]), scored_objective(one.out));
    double best = objective_of(err[2]);
    for (int s = 2; s <= 4; ++s) best = std::max(best, objective_of(err[1 + s]));
    EXPECT_EQ(scored_objective(four.out), best);
  }
  // A start's seed alone repeats that start.
  const std::string third = lines(run(bladder + "-v1 -seed 1 -restarts 3").err)[4];
  const std::size_t from = third.find("seed ") + 5;
  const std::string seed = third.substr(from, third.find(',') - from);
  const tRun alone = run(bladder + "-scores -seed " + seed);
  EXPECT_EQ(scored_objective(alone.out), std::stod(third.substr(third.find("objective ") + 10)));
}

TEST(Clusterer, ThreadsChangeNoByteOfTheOutputsProgressAndStartLines) {
  // Two steps per direction make every start warn of a lowered objective: warnings stay in place.
  const std::string arguments =
      bladder + "-t1 2 -restarts 4 -scores -init_clusters_out -v4 -seed 5";
  const tRun one = run_with_files(arguments + " -threads 1");
  const tRun two = run_with_files(arguments + " -threads 2");
  ASSERT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(two.status, 0);
  EXPECT_EQ(two.out, one.out);
  EXPECT_EQ(two.err, one.err);
  EXPECT_NE(one.out.find("update the means"), std::string::npos);
  EXPECT_NE(one.err.find("# start 4: "), std::string::npos);
  // Start 2's warning comes between the lines of starts 1 and 2, as a serial run writes it.
  const std::size_t start1 = one.err.find("# start 1: ");
  EXPECT_LT(one.err.find("Warning: k-svd", start1), one.err.find("# start 2: "));
}

TEST(Clusterer, InitialAssignmentOutputStartsTheSameRunAgain) {
  const std::string initial = scratch("initial.txt"), first = scratch("first.txt"),
                    second = scratch("second.txt");
  const tRun drawn =
      run(bladder + "-seed 5 -init_clusters_out -o3 " + initial + " -o2 " + first + " -v1");
  const tRun given = run(bladder + "-init_clusters " + initial + " -o2 " + second + " -v1");
  EXPECT_EQ(given.status, 0) << given.err;
  EXPECT_EQ(given.out, drawn.out);
  EXPECT_EQ(slurp(second), slurp(first));
}

TEST(Clusterer, TableOfAGivenStartHoldsTheKnownScoresAndCosines) {
  const std::string table = scratch("table.txt");
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " +
                          data("four_rows_start.txt") + " -table " + table);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(slurp(table),
            "name\trow\tcluster\tgroup\tscore\tcosine\n"
            "a\t0\t0\t1\t1\t1\nb\t1\t1\t3\t1\t1\nc\t2\t0\t0\t4\t1\nd\t3\t1\t2\t9\t1\n");
}

TEST(Clusterer, TableRowsFollowTheInputNamesAndTheLabelFiles) {
  const std::string table = scratch("table.txt"), groups = scratch("groups.txt"),
                    labels = scratch("labels.txt");
  const tRun result = run(bladder + "-seed 3 -table " + table + " -o " + groups + " -o2 " + labels);
  ASSERT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> input = lines(slurp(EXAMPLES_DIR "/bladder_top1000.txt")),
                                 rows = lines(slurp(table)), group = lines(slurp(groups)),
                                 cluster = lines(slurp(labels));
  ASSERT_EQ(rows.size(), 1001u);
  for (std::size_t r = 1; r <= 1000; ++r) {
    const std::string name = input[r].substr(0, input[r].find('\t'));
    EXPECT_EQ(rows[r].substr(0, rows[r].rfind('\t', rows[r].rfind('\t') - 1)),
              name + "\t" + std::to_string(r - 1) + "\t" + cluster[r] + "\t" + group[r]);
  }
}

TEST(Clusterer, PicturesLeaveStandardOutputAndLabelsAsTheyWere) {
  const std::string args = "-i " + data("four_rows.txt") + " -num_clusters 2 -v -init_clusters " +
                           data("four_rows_start.txt");
  const std::string svg = scratch("map.svg"), html = scratch("report.html");
  const tRun plain = run(args);
  const tRun pictured = run(args + " -heatmap " + svg + " -report " + html);
  EXPECT_EQ(pictured.status, 0) << pictured.err;
  EXPECT_EQ(pictured.out, plain.out);
  EXPECT_THAT(slurp(svg), testing::StartsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));
  EXPECT_THAT(slurp(html), testing::StartsWith("<!DOCTYPE html>"));
  EXPECT_THAT(slurp(html), testing::EndsWith("</html>\n"));

  const tRun lost = run(args + " -report /dev/full");
  EXPECT_EQ(lost.status, 1);
  EXPECT_THAT(lost.err, testing::EndsWith("\nError: Can't write file: /dev/full\n"));
}

// R's write.table (its default, tab-separated, unquoted), write.csv, write.csv2 and a gct 1.3 of
// one real table (tests/cluster/data/r_written/make.R) cluster as the unquoted table does.
TEST(Clusterer, TablesWrittenByRClusterAlike) {
  const std::string options = " -num_clusters 4 -seed 3 -o2 " + scratch("groups") + " -table " +
                              scratch("table") + " -o " + scratch("labels");
  const tRun reference = run("-i " + data("r_written/plain.tsv") + options);
  ASSERT_EQ(reference.status, 0) << reference.err;
  const std::string groups = slurp(scratch("groups")), table = slurp(scratch("table")),
                    labels = slurp(scratch("labels"));
  EXPECT_THAT(table, testing::HasSubstr("202917_s_at"));
  for (const char* file : {"default.txt", "tab.tsv", "comma.csv", "semicolon.csv", "table.gct"}) {
    const tRun got = run("-i " + data(std::string("r_written/") + file) + options);
    EXPECT_EQ(got.status, 0) << file << ": " << got.err;
    EXPECT_EQ(got.out, reference.out) << file;
    EXPECT_EQ(slurp(scratch("groups")), groups) << file;
    EXPECT_EQ(slurp(scratch("table")), table) << file;
    EXPECT_EQ(slurp(scratch("labels")), labels) << file;
  }
}

TEST(Clusterer, TheReportCountsTheRowsKeptAfterDroppingRowsWithMissingValues) {
  const std::string input = scratch("missing.tsv"), report = scratch("report.html");
  std::ofstream(input) << "gene\ta\tb\nr0\t1\t-2\nr1\tNA\t3\nr2\t-4\t5\nr3\t6\t\nr4\t-1\t1\n";
  const tRun result = run("-i " + input + " -num_clusters 2 -missing drop -report " + report);
  EXPECT_EQ(result.status, 0) << result.err;
  const std::string html = slurp(report);
  EXPECT_THAT(html,
              testing::HasSubstr("<th class=\"text\">Rows kept</th><td class=\"text\">3</td>"));
}

namespace {

// A report quotes at most a short piece of what it complains about.
constexpr std::size_t max_message_length = 500;

// No abnormal end: checked for every run, whatever its status.
testing::AssertionResult ended_soundly(const tRun& r) {
  if (r.timed_out) return testing::AssertionFailure() << "still running after the time limit";
  if (r.signal != 0)
    return testing::AssertionFailure() << "ended by signal " << r.signal << "; stderr:\n"
                                       << r.err.substr(0, 2000);
  for (const char* marker :
       {"VESTA ERROR HANDLER", "Assertion", "AddressSanitizer", "LeakSanitizer", "runtime error:"})
    if (r.err.find(marker) != std::string::npos)
      return testing::AssertionFailure() << "stderr holds \"" << marker << "\":\n"
                                         << r.err.substr(0, 2000);
  return testing::AssertionSuccess();
}

std::string last_line(const std::string& text) {
  if (text.empty() || text.back() != '\n') return "";
  const std::size_t start = text.rfind('\n', text.size() - 2);
  return text.substr(start == std::string::npos ? 0 : start + 1, text.size() - start - 2);
}

// Status 0 and the clustering's result line; its value a number (infinite only on overflow).
testing::AssertionResult gave_result(const tRun& r) {
  if (r.status != 0)
    return testing::AssertionFailure() << "status " << r.status << ", stderr:\n"
                                       << r.err.substr(0, 2000);
  const std::string key = "Objective function = ";
  const std::size_t at = r.out.find(key);
  if (at == std::string::npos) return testing::AssertionFailure() << "no result line";
  if (std::isnan(std::strtod(r.out.c_str() + at + key.size(), nullptr)))
    return testing::AssertionFailure() << "the objective is not a number";
  return testing::AssertionSuccess();
}

// Status 1; stderr ends with one short report line of the diagnostics that holds expected.
testing::AssertionResult gave_message(const tRun& r, const std::string& expected) {
  if (r.status != 1)
    return testing::AssertionFailure() << "status " << r.status << " instead of 1; stderr:\n"
                                       << r.err.substr(0, 2000);
  const std::string line = last_line(r.err);
  const bool reported = line.rfind("Error: ", 0) == 0 || line.rfind("Fatal Error: ", 0) == 0;
  if (!reported || r.err.size() < line.size() + 2 || r.err[r.err.size() - line.size() - 2] != '\n')
    return testing::AssertionFailure() << "stderr does not end with a report:\n"
                                       << r.err.substr(0, 2000);
  if (line.size() > max_message_length)
    return testing::AssertionFailure() << "a report of " << line.size() << " characters";
  if (line.find(expected) == std::string::npos)
    return testing::AssertionFailure()
           << "the report \"" << line << "\" lacks \"" << expected << "\"";
  return testing::AssertionSuccess();
}

// Status 2, nothing run: one report naming the option, and where the options are.
testing::AssertionResult refused(const tRun& r, const std::string& expected) {
  if (r.status != 2 || r.err.rfind("\nUsage: ", 0) != 0 || r.err.size() > max_message_length ||
      r.err.find(expected) == std::string::npos || r.err.find('\n', 1) != r.err.size() - 1 ||
      !r.out.empty())
    return testing::AssertionFailure() << "status " << r.status << ", stderr:\n"
                                       << r.err.substr(0, 2000) << "stdout:\n"
                                       << r.out.substr(0, 2000);
  return testing::AssertionSuccess();
}

// One run of the table: its input text, its arguments and how it must end. In the arguments
// {in} is the input written to a file, {init} the start file, {dir} a directory and {absent} a
// path that does not exist.
struct tCase {
  tCase(std::string label_, std::string input_, std::vector<std::string> arguments_, int status_,
        std::string report_, bool on_stdin_ = false)
      : label(std::move(label_)),
        input(std::move(input_)),
        arguments(std::move(arguments_)),
        status(status_),
        report(std::move(report_)),
        on_stdin(on_stdin_) {}
  std::string label;
  std::string input;
  std::vector<std::string> arguments;
  int status;          // 0 a result, 1 a report, 2 a refused command line
  std::string report;  // held by the report or the refusal
  bool on_stdin = false;
  std::string init;
  std::string stdout_path;
};

std::string random_bytes(std::size_t n, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(n, '\0');
  for (char& c : bytes) c = static_cast<char>(generator() & 0xff);
  return bytes;
}

// rows x cols values from f(row, col), named r0, r1, ...
template <class F>
std::string matrix_text(int rows, int cols, F value) {
  std::ostringstream text;
  text << rows << ' ' << cols << '\n';
  for (int i = 0; i < rows; ++i) {
    text << 'r' << i;
    for (int j = 0; j < cols; ++j) text << ' ' << value(i, j);
    text << '\n';
  }
  return text.str();
}

const std::string small = "4 2\na 1 2\nb 3 4\nc -1 0\nd 0 1\n";

void add_reading_cases(std::vector<tCase>& cases) {
  cases.push_back({"empty stdin", "", {}, 1, "ends before the row count", true});
  cases.push_back({"empty file", "", {"-i", "{in}"}, 1, "_input: the file is empty"});
  cases.push_back({"blank file", " \n\t\n", {"-i", "{in}"}, 1, "ends before the row count"});
  cases.push_back({"directory", "", {"-i", "{dir}"}, 1, "it is a directory, not a file"});
  cases.push_back({"absent file", "", {"-i", "{absent}"}, 1, "Can't open file to read: "});
  cases.push_back({"too many rows", "", {"-i", data("too_many_rows.txt")}, 1, "at most 6999 rows"});
  std::mt19937 generator(7);
  std::normal_distribution<double> normal;
  const std::string full = matrix_text(200, 12, [&](int, int) { return normal(generator); });
  for (std::size_t length : {1, 3, 4, 5, 9, 100, 1001, 5000})
    cases.push_back({"first " + std::to_string(length) + " bytes",
                     full.substr(0, length),
                     {"-i", "{in}"},
                     -1,
                     ""});
  cases.push_back({"count only", "5", {"-i", "{in}"}, 1, "ends before the column count"});
  cases.push_back({"cut in the values",
                   full.substr(0, 3000),
                   {"-i", "{in}"},
                   1,
                   "the text ends at row 26, column 6 of \"r26\", before its 200 x 12"});
  cases.push_back(
      {"cut on stdin", full.substr(0, 3001), {}, 1, "the text ends at row 26, column 6", true});
  for (unsigned seed = 1; seed <= 4; ++seed) {
    const std::string garbage = random_bytes(100000, seed);
    cases.push_back({"garbage " + std::to_string(seed), garbage, {"-i", "{in}"}, -1, ""});
    cases.push_back({"garbage on stdin", garbage, {}, -1, "", true});
    // After a sound header every value is garbage, and more tokens follow than the counts say.
    cases.push_back({"garbage values",
                     "50 6\n" + garbage,
                     {"-i", "{in}"},
                     1,
                     "the counts do not describe the text"});
  }
  cases.push_back({"NUL bytes",
                   std::string("3 2\na\0 1 2\nb 3 \0\nc", 19),
                   {"-i", "{in}"},
                   1,
                   "the text ends at row 2"});
  const std::pair<const char*, const char*> counts[] = {
      {"-5 3\n", "row count"},
      {"3 -2\n", "column count"},
      {"99999999999999999999999 3\n", "row count \"99999999999999999999999\" is too large"},
      {"6999 100000000000\n", "does not fit in memory"},
      {"3 99999999999999999999999\n", "column count \"99999999999999999999999\" is too large"},
      {"2.5 3\n", "row count"},
      {"3 1e3\n", "column count"},
      {"0x10 2\n", "row count"},
      {"+ 2\n", "row count"},
      {"three 2\n", "row count"},
      {"100 50\na 1 2\n", "row 0, column 2 of \"a\", before its 100 x 50 values"},
      {"3 4\n", "row 0, before its name"},
  };
  for (const auto& [text, report] : counts)
    cases.push_back({std::string("counts ") + text, text, {"-i", "{in}"}, 1, report});
  for (const char* text : {"0 0\n", "0 5\n", "4 0\na b c d\n", "-0 3\n"})
    cases.push_back({std::string("no values ") + text, text, {"-i", "{in}"}, 0, ""});
  cases.push_back(
      {"short with k", "6999 40\nx 1\n", {"-i", "{in}", "-num_clusters", "3"}, 1, "row 0"});
}

void add_size_and_value_cases(std::vector<tCase>& cases) {
  std::mt19937 generator(11);
  std::normal_distribution<double> normal;
  const auto value = [&](int, int) { return normal(generator); };
  cases.push_back({"6999 rows", matrix_text(6999, 3, value), {"-i", "{in}"}, 0, ""});
  cases.push_back({"7000 rows", matrix_text(7000, 3, value), {"-i", "{in}"}, 1, "7000 rows"});
  const std::string many = matrix_text(9000, 2, value);
  cases.push_back({"9000 rows", many, {"-i", "{in}"}, 1, "-top N"});
  cases.push_back({"9000 rows, top 500", many, {"-i", "{in}", "-top", "500"}, 0, ""});
  const std::string mega(4 << 20, '7'), letters(4 << 20, 'x');
  for (const std::string& text :
       {"2 2\n" + letters + " 1 2\nb 3 4\n", "2 2\na " + mega + " 2\nb 3 4\n",
        "2 2\na 0." + mega + " 2\nb 3 1" + letters + "\n", "2 2\na 1e-" + mega + " 2\nb 3 4\n",
        std::string(4 << 20, '0') + "2 1\na 1\nb 2\n"})
    cases.push_back({"megabyte token", text, {"-i", "{in}"}, 0, ""});
  cases.push_back({"megabyte tokens on stdin",
                   "2 2\n" + letters + " 1 2\n\n" + mega + " 4 5\n",
                   {},
                   0,
                   "",
                   true});
  cases.push_back({"megabyte row count", letters + " 2\n", {"-i", "{in}"}, 1, "row count"});
  cases.push_back({"huge row count", mega + " 2\n", {"-i", "{in}"}, 1, "is too large"});
  const std::vector<std::string> marks = {"NA",     "NaN",       "nan",      "-nan",  "NAN",
                                          "inf",    "-inf",      "Infinity", "1e999", "-1e999",
                                          "1e-999", "0x1p99999", "nan(123)", "na"};
  const auto mark = [&](int i, int j) { return marks[(i + j) % marks.size()]; };
  const std::string non_finite = matrix_text(40, static_cast<int>(marks.size()), mark);
  for (const std::vector<std::string>& extra :
       {std::vector<std::string>{}, {"-normalize"}, {"-normalize", "-permute"}}) {
    std::vector<std::string> arguments = {"-i", "{in}"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    cases.push_back({"non-finite values", non_finite, arguments, 0, ""});
  }
  cases.push_back({"non-finite values on stdin", non_finite, {}, 0, "", true});
  const auto mixed = [&](int i, int j) {
    return (i + j) % 3 == 0 ? mark(i, j) : std::to_string(i - j);
  };
  cases.push_back(
      {"non-finite among finite", matrix_text(40, 9, mixed), {"-i", "{in}", "-normalize"}, 0, ""});
  const std::string zeros = matrix_text(30, 6, [](int i, int) { return i % 2 ? "0" : "-0"; });
  std::uniform_real_distribution<double> uniform(-5, 5);
  std::vector<double> row(6);
  const std::string centred = matrix_text(30, 6, [&](int, int j) {
    if (j == 0) {
      double sum = 0;
      for (int c = 0; c < 5; ++c) sum += row[c] = uniform(generator);
      row[5] = -sum;
    }
    return row[j];
  });
  for (const std::string& text : {zeros, centred})
    for (const char* k : {"1", "3", "30"}) {
      cases.push_back({std::string("zero or centred rows, k ") + k,
                       text,
                       {"-i", "{in}", "-num_clusters", k},
                       0,
                       ""});
      cases.push_back({std::string("zero or centred rows normalized, k ") + k,
                       text,
                       {"-i", "{in}", "-num_clusters", k, "-normalize"},
                       0,
                       ""});
    }
  cases.push_back({"lengths that underflow",
                   "3 2\na 1e-320 0\nb 4e-324 0\nc 0 -1e-310\n",
                   {"-i", "{in}", "-normalize"},
                   0,
                   ""});
  cases.push_back({"one row, a million clusters",
                   "1 1\na 5\n",
                   {"-i", "{in}", "-num_clusters", "1000000"},
                   0,
                   ""});
  cases.push_back(
      {"no rows, seven clusters", "0 3\n", {"-i", "{in}", "-num_clusters", "7"}, 0, ""});
}

void add_large_magnitude_cases(std::vector<tCase>& cases) {
  // Values near 1e7 to 1e12 make the objectives' rounding worth far more than the algorithms'
  // 1e-7 slack; settled passes must end the run, not an assertion. Several fixed starts.
  std::mt19937 generator(11);
  std::normal_distribution<double> normal(0.0, 1.0);
  for (const double scale : {1e7, 1e12}) {
    const std::string text = matrix_text(
        600, 20, [&](int i, int) { return scale * (normal(generator) + (i % 3 ? 0.0 : 3.0)); });
    for (unsigned start = 0; start < 4; ++start) {
      std::mt19937 draw(start);
      std::string assignment = "600\n";
      for (int r = 0; r < 600; ++r) assignment += std::to_string(draw() % 6) + "\n";
      for (const char* t1 : {"3", "20"}) {
        tCase c{"large magnitudes",
                text,
                {"-i", "{in}", "-num_clusters", "6", "-t1", t1, "-init_clusters", "{init}"},
                0,
                ""};
        c.init = assignment;
        cases.push_back(c);
      }
    }
  }
}

void add_start_file_cases(std::vector<tCase>& cases) {
  const std::pair<std::string, std::string> files[] = {
      {"", "ends before the row count"},
      {"4\n0\n1\n", "row 2"},
      {"4\n0\nx\n1\n0\n", "row 1"},
      {"4\n0\n1\n2\n0\n", "row 2"},
      {"4\n0\n1\n-1\n0\n", "row 2"},
      {"4\n0\n1\n1.0\n0\n", "row 2"},
      {"4\n0 1 99999999999999999999999 0\n", "row 2"},
      {"x\n0\n1\n1\n0\n", "row count"},
      {random_bytes(1000, 3), "Initial assignment file"},
      {"4\n0\n" + std::string(4 << 20, 'x') + "\n1\n0\n", "row 1"},
  };
  for (const auto& [content, report] : files) {
    tCase c{"start file " + content.substr(0, 12),
            small,
            {"-i", "{in}", "-num_clusters", "2", "-init_clusters", "{init}"},
            1,
            report};
    c.init = content;
    cases.push_back(c);
  }
  cases.push_back(
      {"absent start file", small, {"-i", "{in}", "-init_clusters", "{absent}"}, 1, "absent"});
  cases.push_back(
      {"directory as start file", small, {"-i", "{in}", "-init_clusters", "{dir}"}, 1, ""});
  cases.push_back({"start of a given file",
                   "",
                   {"-i", data("four_rows.txt"), "-num_clusters", "2", "-init_clusters",
                    data("index_out_of_range.txt")},
                   1,
                   "Initial assignment file " + data("index_out_of_range.txt") +
                       ": row 1: cluster index 2 is outside 0 .. 1"});
}

void add_command_line_cases(std::vector<tCase>& cases) {
  const std::pair<std::vector<std::string>, std::string> refusals[] = {
      {{"-num_clusters", "0"}, "-num_clusters 0: expects a whole number from 1 to 1000000"},
      {{"-num_clusters", "2.5"}, "-num_clusters 2.5: expects a whole number"},
      {{"-num_clusters", "-2147483648"}, "-num_clusters -2147483648: expects"},
      {{"-num_clusters", "1000001"}, "-num_clusters 1000001: expects"},
      {{"-num_clusters", "4294967297"}, "-num_clusters 4294967297: expects"},  // not wrapped to 1
      {{"-num_clusters", "-4294967295"}, "-num_clusters -4294967295: expects"},
      {{"-t1", "-1"}, "-t1 -1: expects a whole number from 0 up"},
      {{"-t2", "0"}, "-t2 0: expects a finite number above 0"},
      {{"-t2", "-1e-9"}, "-t2 -1e-9: expects"},
      {{"-t2", "-1"}, "-t2 -1: expects"},
      {{"-t2", "nan"}, "-t2 nan: expects"},
      {{"-columns", "-1"}, "-columns -1: expects"},
      {{"-noise", "nan"}, "-noise nan: expects a finite number"},
      {{"-noise", "inf"}, "-noise inf: expects a finite number"},
      {{"-top", "0"}, "-top 0: expects a whole number from 1 to 6999"},
      {{"-missing", "mean"}, "-missing mean: expects one of zero, rowmean, drop"},
      {{"-format", "xlsx"}, "-format xlsx: expects one of auto, matrix, tsv, csv"},
      {{"-center", "-zscore"}, "-center and -zscore"},
      {{"-simulate", "-num_clusters", "700"}, "-num_clusters 700: with -simulate"},
      {{"-bogus"}, "-bogus: not an option of this program"},
      {{"-v", "-v"}, "-v: given more than once"},
      {{"-init_clusters", "[", "a", "b"}, "a: a word without an option"},
      {{"["}, "[: a word without an option"},
      {{"-v", "]"}, "]: a word without an option"},
      {{"-num_clusters", "[", "3"}, "-num_clusters [: expects"},
      {{"-seed"}, "-seed: expects a whole number from 0 to 18446744073709551615 after it"},
  };
  for (const auto& [words, report] : refusals) {
    std::vector<std::string> arguments = {"-i", "{in}"};
    arguments.insert(arguments.end(), words.begin(), words.end());
    cases.push_back({"refused " + words[0], small, arguments, 2, report});
  }
  std::vector<std::string> many{"-i", "{in}"};
  while (many.size() < 100000) many.push_back("-v");
  cases.push_back({"100000 words", small, many, 2, "-v: given more than once"});
  cases.push_back({"columns beyond memory",
                   "",
                   {"-simulate", "-columns", "2000000000", "-num_clusters", "699"},
                   1,
                   ""});
  const std::vector<std::string> simulations[] = {
      {"-simulate", "-columns", "0"},
      {"-simulate", "-num_clusters", "699", "-columns", "2"},
      {"-simulate", "-num_clusters", "1", "-columns", "1", "-permute", "-random_cluster"},
      {"-simulate", "-noise", "1e308", "-normalize"},
      {"-simulate", "-noise", "-5", "-t1", "0"},
      {"-simulate", "-num_clusters", "3", "-t2", "1e308"},
  };
  for (const std::vector<std::string>& arguments : simulations)
    cases.push_back({"simulation " + arguments[1], "", arguments, 0, ""});
}

void add_output_cases(std::vector<tCase>& cases) {
  for (const char* option : {"-o", "-o2", "-o3"}) {
    cases.push_back({std::string("directory as ") + option,
                     small,
                     {"-i", "{in}", option, "{dir}"},
                     1,
                     "Can't open file to write"});
    cases.push_back({std::string("no directory for ") + option,
                     small,
                     {"-i", "{in}", option, "{absent}/labels"},
                     1,
                     "absent/labels"});
  }
  cases.push_back({"-o full", small, {"-i", "{in}", "-o", "/dev/full"}, 1, "/dev/full"});
  cases.push_back({"-o2 full", small, {"-i", "{in}", "-o2", "/dev/full"}, 1, "/dev/full"});
  cases.push_back({"-o3 full",
                   small,
                   {"-i", "{in}", "-o3", "/dev/full", "-init_clusters_out"},
                   1,
                   "/dev/full"});
  // The reports on standard output, and the initial assignment written there.
  for (const std::vector<std::string>& arguments : {std::vector<std::string>{"-i", "{in}"},
                                                    {"-i", "{in}", "-init_clusters_out"},
                                                    {"-simulate", "-v4"}}) {
    tCase c{"stdout full", small, arguments, 1, "stdout"};
    c.stdout_path = "/dev/full";
    cases.push_back(c);
  }
}

std::vector<tCase> all_cases() {
  std::vector<tCase> cases;
  add_reading_cases(cases);
  add_size_and_value_cases(cases);
  add_large_magnitude_cases(cases);
  add_start_file_cases(cases);
  add_command_line_cases(cases);
  add_output_cases(cases);
  return cases;
}

std::string substituted(const std::string& word, const std::string& in, const std::string& init) {
  const std::pair<std::string, std::string> places[] = {{"{in}", in},
                                                        {"{init}", init},
                                                        {"{dir}", testing::TempDir()},
                                                        {"{absent}", scratch("absent")}};
  for (const auto& [place, path] : places)
    if (word.rfind(place, 0) == 0) return path + word.substr(place.size());
  return word;
}

}  // namespace

TEST(Clusterer, EveryRunOfTheTableEndsAsItShould) {
  for (const tCase& c : all_cases()) {
    const std::string in = scratch("input"), init = scratch("init");
    std::ofstream(in, std::ios::binary) << c.input;
    std::ofstream(init, std::ios::binary) << c.init;
    std::vector<std::string> arguments;
    for (const std::string& word : c.arguments) arguments.push_back(substituted(word, in, init));
    tRunSetup setup;
    if (c.on_stdin) setup.stdin_path = in;
    setup.stdout_path = c.stdout_path;
    const tRun r = run_program(CLUSTERER_PATH, arguments, setup);
    ASSERT_TRUE(ended_soundly(r)) << c.label;
    switch (c.status) {
      case 0:
        EXPECT_TRUE(gave_result(r)) << c.label;
        break;
      case 1:
        EXPECT_TRUE(gave_message(r, c.report)) << c.label;
        if (c.label.rfind("start file", 0) == 0) {  // the report names the file
          EXPECT_TRUE(gave_message(r, init)) << c.label;
        }
        break;
      case 2:
        EXPECT_TRUE(refused(r, c.report)) << c.label;
        break;
      default:  // either sound end
        EXPECT_TRUE(r.status == 0 ? gave_result(r) : gave_message(r, "")) << c.label;
    }
  }
}

TEST(Clusterer, MoreClustersThanRowsLeaveClustersEmptyWithAWarning) {
  const std::string labels = scratch("labels");
  const tRun r = run("-i " + data("four_rows.txt") + " -num_clusters 50 -o2 " + labels + " -o " +
                     scratch("groups") + " -random_cluster");
  ASSERT_TRUE(gave_result(r));
  EXPECT_EQ(r.err,
            "\nWarning: -num_clusters 50 is above the 4 rows: clusters without rows follow\n");
  std::istringstream file(slurp(labels));
  int rows = 0;
  file >> rows;
  EXPECT_EQ(rows, 4);
  for (int label; file >> label;) EXPECT_TRUE(label >= 0 && label < 50) << label;
}

TEST(Clusterer, MalformedTablesEndWithOneReportAndLeaveOutputFilesAsTheyWere) {
  using namespace std::string_literals;  // texts with NUL bytes
  const struct {
    const char* name;
    std::string text;
    const char* expected;
  } cases[] = {
      {"ragged", "g\ta\tb\nr0\t1\t2\nr1\t3\n",
       "line 3: the row has 2 fields where the header calls for 3"},
      {"truncated", "3 2\na 1 2\nb 3 4\nc 5", "the text ends at row 2, column 1 of \"c\""},
      {"bad_gzip", "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xff\xff\xff"s,
       "gzip data are damaged"},
      {"cut_gzip", "\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03"s, "the gzip data end early"},
      {"empty", "", "_input: the file is empty"},
      {"header_only", "gene,a,b\n", "the text ends before the first data row"},
      {"stray_text", "gene,a,b\nr0,1,two\n", "column 3 (\"b\"): \"two\" is neither a number"},
  };
  const std::string o = scratch("o"), o2 = scratch("o2"), input = scratch("input");
  std::ofstream(o) << "old o\n";
  std::ofstream(o2) << "old o2\n";
  for (const auto& c : cases) {
    std::ofstream(input, std::ios::binary) << c.text;
    const tRun r = run("-i " + input + " -o " + o + " -o2 " + o2 + " -num_clusters 2");
    EXPECT_TRUE(gave_message(r, c.expected)) << c.name;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 2) << c.name << ": " << r.err;
    EXPECT_EQ(slurp(o), "old o\n") << c.name;
    EXPECT_EQ(slurp(o2), "old o2\n") << c.name;
    glob_t left{};
    EXPECT_EQ(glob((o + ".*").c_str(), 0, nullptr, &left), GLOB_NOMATCH) << c.name;
    globfree(&left);
  }
}
