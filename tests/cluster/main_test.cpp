// The clusterer program end to end: statuses, exact outputs, label files and the order of output.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/option_help.hpp"
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

// The usage text as it always was, then the option list.
std::string usage_text() {
  std::ostringstream option_list;
  write_option_list(option_list);
  return banner() +
         "\nUsage: program [options]\nMain options:\nInput-output:\n"
         "\t-i name    - Read input from named file, not from stdin\n"
         "\t-o name    - Write output to named file, not to stdout\n"
         "Additional:\n"
         "\t--help     - Show this message and then quit\n" +
         option_list.str();
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

TEST(Clusterer, HelpWritesTheUsageTextOnly) {
  const tRun result = run("--help -bogus");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, usage_text());
}

TEST(Clusterer, UnknownArgumentsEndTheRunWithStatusTwoAndChangeNoFile) {
  const std::string groups = scratch("groups.txt"), labels = scratch("labels.txt");
  std::ofstream(groups) << "old";
  const tRun result = run("-o " + groups + " -o2 " + labels + " -bogus");
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "Error: Unknown option(s):  -bogus\n" + usage_text());
  EXPECT_EQ(slurp(groups), "old");
  EXPECT_FALSE(std::ifstream(labels).good());
}

TEST(Clusterer, HelpListsEveryOptionOnALineOfItsOwn) {
  const std::vector<std::string> help = lines(run("--help").err);
  for (const char* option : {"-i",
                             "-i2",
                             "-o",
                             "-o2",
                             "-o3",
                             "-init_clusters",
                             "-init_clusters_out",
                             "-table",
                             "-num_clusters",
                             "-normalize",
                             "-t1",
                             "-t2",
                             "-seed",
                             "-restarts",
                             "-threads",
                             "-simulate",
                             "-columns",
                             "-noise",
                             "-permute",
                             "-random_cluster",
                             "-scores",
                             "-v,",
                             "-compare_function",
                             "-do_data",
                             "--help"}) {
    const auto listed = [&](const std::string& line) {
      return line.compare(0, std::string(option).size() + 2, "\t" + std::string(option) + " ") ==
                 0 &&
             line.back() == ']';  // the default closes the line
    };
    EXPECT_EQ(std::count_if(help.begin() + 8, help.end(), listed), 1) << option;
  }
}

TEST(Clusterer, MissingInputFileEndsTheRun) {
  const tRun result = run("-i " + scratch("absent.txt"));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "\nError: Can't open file to read: " + scratch("absent.txt") + "\n");
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

TEST(Clusterer, MoreClustersThanRowsLeaveTheExtraClustersEmpty) {
  const std::string labels = scratch("labels.txt");
  const tRun result = run("-i " + data("four_rows.txt") + " -num_clusters 10 -o2 " + labels);
  EXPECT_EQ(result.status, 0) << result.err;
  const std::vector<std::string> label_lines = lines(slurp(labels));
  ASSERT_EQ(label_lines.size(), 5u);
  for (std::size_t r = 1; r < 5; ++r) EXPECT_LT(std::stoi(label_lines[r]), 10);
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

TEST(Clusterer, InputsWithoutMeaningEndTheRunWithAClearMessage) {
  const tRun too_many = run("-i " + data("too_many_rows.txt"));
  EXPECT_EQ(too_many.status, 1);
  EXPECT_EQ(too_many.out, "");
  EXPECT_THAT(too_many.err, testing::HasSubstr("at most 6999 rows"));

  const tRun empty = run("");
  EXPECT_EQ(empty.status, 1);
  EXPECT_EQ(empty.err, "\nError: Expression matrix: the text ends before the row count\n");

  const tRun bad_index = run("-i " + data("four_rows.txt") + " -num_clusters 2 -init_clusters " +
                             data("index_out_of_range.txt"));
  EXPECT_EQ(bad_index.status, 1);
  EXPECT_EQ(bad_index.err, "\nError: Initial assignment file " + data("index_out_of_range.txt") +
                               ": row 1: cluster index 2 is outside 0 .. 1\n");

  const tRun no_clusters = run("-num_clusters 0");
  EXPECT_EQ(no_clusters.status, 1);
  EXPECT_THAT(no_clusters.err, testing::StartsWith("\nUsage: -num_clusters 0"));

  const tRun too_many_simulated = run("-simulate -num_clusters 700");
  EXPECT_EQ(too_many_simulated.status, 1);
  EXPECT_THAT(too_many_simulated.err, testing::StartsWith("\nUsage: -num_clusters 700"));
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
