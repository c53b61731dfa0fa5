// The clusterer's consensus runs end to end: statuses, repeatable bytes, shards and the plant.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/support/process.hpp"

namespace {

const std::string planted = CONSENSUS_TEST_DATA "/planted.txt";

tRun run(const std::string& arguments) {
  return run_program(CLUSTERER_PATH, words(arguments));
}

std::vector<std::vector<std::string>> cells(const std::string& text) {
  std::vector<std::vector<std::string>> rows;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    rows.emplace_back();
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) rows.back().push_back(field);
  }
  return rows;
}

// A consensus run of the planted rows; the outputs are named by prefix.
std::string consensus(const std::string& prefix, const std::string& more) {
  return "-i " + planted + " -center -consensus 30 -k_range 2..5 -seed 5 -consensus_table " +
         prefix + "table -consensus_labels " + prefix + "labels -report " + prefix + "report " +
         more;
}

TEST(ConsensusMain, BadRequestsEndWithOneLineAndChangeNoOutput) {
  const std::string table = scratch("table");
  const std::string shard = scratch("shard");
  ASSERT_EQ(run(consensus(scratch("s"), "-consensus_runs 0..3 -consensus_counts " + shard)).status,
            0);
  const struct {
    std::string arguments;
    int status;
    const char* says;
  } cases[] = {
      {"-consensus 10 -k_range 5..2", 2, "-k_range 5..2"},
      {"-consensus 0", 2, "-consensus 0: expects a whole number"},
      {"-consensus x", 2, "-consensus x"},
      {"-consensus 10 -resample_rows 0", 2, "-resample_rows 0"},
      {"-consensus 10 -resample_rows 1.5", 2, "-resample_rows 1.5"},
      {"-consensus 10 -resample_columns 0", 2, "-resample_columns 0"},
      {"-consensus 10 -resample_rows 0.05", 1, "-resample_rows: 2 of 48 rows drawn"},
      {"-consensus 10 -consensus_runs 5..30", 2, "-consensus_runs 5..30"},
      {"-consensus 10 -pac 0.9,0.1", 2, "-pac 0.9,0.1"},
      {"-k_range 2..3", 2, "need -consensus B or -merge_counts"},
      {"-resample_rows 0.5", 2, "need -consensus B or -merge_counts"},
      {"-merge_counts " + shard + " -k_range 2..3", 2, "come from the counts files"},
      {"-merge_counts " + shard + " -consensus_labels " + shard, 2, "-consensus_labels"},
      {"-consensus 10 -o " + scratch("o"), 2, "-o: not part of a consensus run"},
      {"-consensus 10 -restarts 3", 2, "-restarts: not part"},
      {"-consensus 10 -merge_counts " + shard, 2, "computes counts or merges them"},
      {"-merge_counts " + shard, 1, "runs 3..30 are in none"},
      {"-consensus 10 -k_range 0..3", 2, "-k_range 0..3"},
      {"-consensus 10 -consensus_runs 0..0", 2, "-consensus_runs 0..0"},
      {"-merge_counts " + shard + " -resample_rows 0.5", 2, "come from the counts files"},
  };
  for (const auto& c : cases) {
    std::ofstream(table) << "kept\n";
    const tRun r = run("-i " + planted + " -seed 5 -consensus_table " + table + " " + c.arguments);
    EXPECT_EQ(r.status, c.status) << c.arguments;
    EXPECT_THAT(r.err, testing::HasSubstr(c.says)) << c.arguments;
    EXPECT_LE(std::count(r.err.begin(), r.err.end(), '\n'), 2) << r.err;  // a blank line first
    EXPECT_EQ(slurp(table), "kept\n") << c.arguments;
  }
  std::ofstream(table) << "kept\n";
  const tRun other = run("-i " + std::string(EXAMPLES_DIR) + "/bladder_top1000.txt -merge_counts " +
                         shard + " -consensus_table " + table);
  EXPECT_EQ(other.status, 1);
  EXPECT_THAT(other.err, testing::HasSubstr("the input has 1000 x 57"));
  EXPECT_EQ(slurp(table), "kept\n");
}

TEST(ConsensusMain, SameBytesOnAnyThreadCountAndFromMergedShards) {
  const std::string one = scratch("one_"), two = scratch("two_"), merged = scratch("merged_");
  ASSERT_EQ(run(consensus(one, "-threads 1 -consensus_counts " + one + "counts")).status, 0);
  ASSERT_EQ(run(consensus(two, "-threads 2 -consensus_counts " + two + "counts")).status, 0);
  std::string shards;
  for (const char* range : {"0..11", "11..12", "12..30"}) {
    const std::string shard = scratch(std::string("shard") + range);
    ASSERT_EQ(run(consensus(scratch("x"), std::string("-consensus_runs ") + range +
                                              " -consensus_counts " + shard))
                  .status,
              0);
    shards = shard + " " + shards;  // in any order
  }
  ASSERT_EQ(run("-i " + planted + " -merge_counts " + shards + "-consensus_table " + merged +
                "table -consensus_labels " + merged + "labels -report " + merged + "report")
                .status,
            0);
  for (const char* output : {"table", "labels", "report"}) {
    EXPECT_FALSE(slurp(one + output).empty());
    EXPECT_EQ(slurp(one + output), slurp(two + output)) << output;
    EXPECT_EQ(slurp(one + output), slurp(merged + output)) << output;
  }
  EXPECT_EQ(slurp(one + "counts"), slurp(two + "counts"));
}

TEST(ConsensusMain, PlantedGroupsComeBackAtThePlantedK) {
  const std::string prefix = scratch("");
  ASSERT_EQ(run(consensus(prefix, "")).status, 0);
  const auto table = cells(slurp(prefix + "table"));
  ASSERT_EQ(table.size(), 5u);
  EXPECT_GT(std::stod(table[1][2]), std::stod(table[2][2]));  // PAC falls from k = 2 to 3
  EXPECT_EQ(table[2][7], "1");                                // and k = 3 has the least
  const auto labels = cells(slurp(prefix + "labels"));
  std::map<std::string, std::set<std::string>> classes_of_plant;  // g1, g2, g3
  std::set<std::string> classes;
  for (std::size_t i = 1; i < labels.size(); ++i) {
    classes_of_plant[labels[i][0].substr(0, 2)].insert(labels[i][4]);
    classes.insert(labels[i][4]);
  }
  EXPECT_EQ(classes.size(), 3u);
  for (const auto& plant : classes_of_plant) EXPECT_EQ(plant.second.size(), 1u) << plant.first;
}

}  // namespace
