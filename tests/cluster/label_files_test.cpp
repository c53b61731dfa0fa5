// Initial-assignment files in and label files out, with every fault of an input file.
#include "cluster/label_files.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string temp_file(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + "label_files_" + name;
  std::ofstream(path) << text;
  return path;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<int> values(const array<int>& labels) {
  return {labels.begin(), labels.end()};
}

array<int> labels_of(std::initializer_list<int> values) {
  array<int> labels(static_cast<int>(values.size()));
  int r = 0;
  for (int value : values) labels[r++] = value;
  return labels;
}

std::string bye_text(const std::string& text) {
  return "\nError: " + text + "\n";
}

}  // namespace

TEST(LabelFiles, LabelFileHasTheCountThenOneLabelPerLine) {
  std::ostringstream out;
  write_label_file(out, labels_of({0, 1, 1, 0}));
  EXPECT_EQ(out.str(), "4\n0\n1\n1\n0\n");
}

TEST(LabelFiles, InitialAssignmentOutputHasNoCountLine) {
  std::ostringstream out;
  write_initial_assignment(out, labels_of({0, 1, 1, 0}));
  EXPECT_EQ(out.str(), "0\n1\n1\n0\n");
}

TEST(LabelFiles, LabelsAreWrittenAsTheStreamWritesIntegers) {
  const array<int> labels =
      labels_of({0, 7, 10, 99, 100, 12345, -1, -40, 2147483647, -2147483647 - 1});
  std::ostringstream expected;
  expected << labels.size() << '\n';
  for (int label : labels) expected << label << '\n';
  std::ostringstream out;
  write_label_file(out, labels);
  EXPECT_EQ(out.str(), expected.str());
}

TEST(LabelFiles, ReadsTheIndicesAfterTheUnusedCount) {
  const std::string path = temp_file("four.txt", "4 0 1\n1 0 7 trailing");
  EXPECT_EQ(values(read_initial_assignment(path.c_str(), 4, 2)), (std::vector<int>{0, 1, 1, 0}));
}

TEST(LabelFiles, TheCountIsReadUnlessTheFileHoldsExactlyOneLabelPerRow) {
  const struct {
    const char* text;
    int rows;
    std::vector<int> labels;
  } cases[] = {
      {"0 1 1 0\n", 4, {0, 1, 1, 0}},  // the -init_clusters_out form
      {"0 1 1 0\n", 3, {1, 1, 0}},     // one token more: the first is the count
      {"4\n0\n1\n1\n0\n", 4, {0, 1, 1, 0}},
      {"1\n", 1, {1}},
  };
  for (const auto& c : cases) {
    const std::string path = temp_file("count_or_not.txt", c.text);
    EXPECT_EQ(values(read_initial_assignment(path.c_str(), c.rows, 2)), c.labels) << c.text;
  }
}

TEST(LabelFiles, LabelFileStartsALaterRun) {
  std::ostringstream out;
  write_label_file(out, labels_of({2, 0, 1, 2, 1}));
  const std::string path = temp_file("round_trip.txt", out.str());
  EXPECT_EQ(values(read_initial_assignment(path.c_str(), 5, 3)), (std::vector<int>{2, 0, 1, 2, 1}));
}

TEST(LabelFiles, ClusterLabelsGiveEveryRowItsClusterIndex) {
  array<tTaxaSet> clusters(3);
  clusters[0].insert(0);
  clusters[0].insert(3);
  clusters[2].insert(1);
  clusters[2].insert(2);
  EXPECT_EQ(values(cluster_labels(clusters, 4)), (std::vector<int>{0, 2, 2, 0}));
}

TEST(LabelFiles, CheckWrittenFlushesAStreamThatKeptItsText) {
  const std::string path = testing::TempDir() + "label_files_checked.txt";
  std::ofstream file(path);
  write_label_file(file, labels_of({1, 0}));
  check_written(file, path.c_str());
  EXPECT_EQ(slurp(path), "2\n1\n0\n");  // on disk while the stream is still open
}

TEST(LabelFilesDeathTest, TextThatDidNotReachTheFileEndsTheRunNamingIt) {
  // The few bytes fit the stream's buffer: only the flush finds the full device.
  std::ofstream full("/dev/full");
  write_label_file(full, labels_of({0, 1}));
  ASSERT_TRUE(full.good());
  EXPECT_EXIT(check_written(full, "/dev/full"), testing::ExitedWithCode(1),
              testing::Eq(bye_text("Can't write file: /dev/full")));

  std::ostringstream failed;
  failed.setstate(std::ios::badbit);
  EXPECT_EXIT(check_written(failed, "stdout"), testing::ExitedWithCode(1),
              testing::Eq(bye_text("Can't write file: stdout")));
}

TEST(LabelFilesDeathTest, FaultyAssignmentFilesNameTheFileAndTheRow) {
  const std::string missing = testing::TempDir() + "label_files_missing.txt";
  std::remove(missing.c_str());
  EXPECT_EXIT(read_initial_assignment(missing.c_str(), 2, 2), testing::ExitedWithCode(1),
              testing::Eq(bye_text("Can't open file to read: " + missing)));

  const auto rejected = [](const std::string& file, const std::string& text, int rows, int k,
                           const std::string& message) {
    const std::string path = temp_file(file, text);
    EXPECT_EXIT(read_initial_assignment(path.c_str(), rows, k), testing::ExitedWithCode(1),
                testing::Eq(bye_text("Initial assignment file " + path + ": " + message)))
        << text;
  };
  rejected("empty.txt", "", 2, 2, "the file ends before the row count");
  rejected("bad_count.txt", "two 0 1", 2, 2, "the row count \"two\" is not an integer");
  rejected("short.txt", "5 0 1 1", 5, 2, "the file ends before the cluster index of row 3");
  rejected("labels_only.txt", "4 0 1 1", 4, 2, "row 0: cluster index 4 is outside 0 .. 1");
  rejected("fraction.txt", "3 0 1.5 1", 3, 2, "row 1: \"1.5\" is not an integer");
  rejected("word.txt", "3 0 1 x", 3, 2, "row 2: \"x\" is not an integer");
  rejected("too_large.txt", "3 0 2 1", 3, 2, "row 1: cluster index 2 is outside 0 .. 1");
  rejected("negative.txt", "3 -1 0 1", 3, 2, "row 0: cluster index -1 is outside 0 .. 1");
  rejected("huge.txt", "1 99999999999", 1, 2, "row 0: cluster index 99999999999 is outside 0 .. 1");
}
