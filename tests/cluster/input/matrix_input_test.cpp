// The expression matrix text: counts, names, value tokens, header checks and memory.
#include "cluster/input/matrix_input.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace {

tExpressionData read_text(const std::string& text, int verbosity = 0) {
  std::istringstream in(text);
  std::ostringstream progress;
  return read_expression_matrix(in, verbosity, progress);
}

std::string name(const tExpressionData& input, int i) {
  return input.names.get_name(i).c_str();
}

void expect_row(const matrix& data, int r, std::initializer_list<double> values) {
  int j = 0;
  for (double value : values) EXPECT_EQ(data(r, j++), value) << "row " << r << " column " << j;
}

std::string bye_text(const std::string& text) {
  return "\nError: " + text + "\n";
}

}  // namespace

TEST(MatrixInput, ReadsNamesValuesAndMissingValues) {
  const tExpressionData input = read_text("2 3\ng1 1 NA 3\ng2 NaN 0.5 x\n");
  ASSERT_EQ(input.data.dim1(), 2);
  ASSERT_EQ(input.data.dim2(), 3);
  expect_row(input.data, 0, {1, 0, 3});
  expect_row(input.data, 1, {0, 0.5, 0});
  EXPECT_EQ(name(input, 0), "g1");
  EXPECT_EQ(name(input, 1), "g2");
  EXPECT_EQ(input.names.size(), 2);
}

TEST(MatrixInput, ConvertsTheLongestNumericPrefix) {
  const tExpressionData input = read_text("1 6 r 1.5e2 7abc -0 .5e1x 0x10 abc");
  expect_row(input.data, 0, {150, 7, 0, 5, 16, 0});
  EXPECT_TRUE(std::signbit(input.data(0, 2)));
}

TEST(MatrixInput, LayoutOfLinesDoesNotMatter) {
  const tExpressionData table = read_text("2 2\na 1 2\nb 3 4\n");
  const tExpressionData one_line = read_text("2 2 a 1 2 b 3 4");
  const tExpressionData one_per_line = read_text("2\n2\na\n1\n2\nb\n3\n4\n");
  for (const tExpressionData* input : {&table, &one_line, &one_per_line}) {
    expect_row(input->data, 0, {1, 2});
    expect_row(input->data, 1, {3, 4});
    EXPECT_EQ(name(*input, 1), "b");
  }
}

TEST(MatrixInputDeathTest, CountsThatDisagreeWithTheTextEndTheRunNamingCountsAndTokens) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"3 2\na 1 2\nb 3", "the text ends at row 1, column 1 of \"b\", before its 3 x 2 values"},
      {"3 2\na 1 2\n", "the text ends at row 1, before its name, before its 3 x 2 values"},
      {"5 4\tS1\tS2\tS3\ng 1 2 3 4\n",
       "the text ends at row 1, column 2 of \"2\", before its 5 x 4 values; the first line looks "
       "like a header row: try -format tsv"},
      {"1 2\tS1\tS2\ng\t1\t2\n",
       "2 token(s) left after the 1 x 2 values the counts announce, the first \"1\"; the counts "
       "do not describe the text; the first line looks like a header row: try -format tsv"},
      // Integer sample names read as counts.
      {"1\t2\t3\ng\t4\t5\t6\n",
       "2 token(s) left after the 1 x 2 values the counts announce, the first \"5\"; the counts "
       "do not describe the text"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(read_text(c.text), testing::ExitedWithCode(1),
                testing::Eq(bye_text(std::string("Expression matrix input: ") + c.message)))
        << c.text;
}

TEST(MatrixInput, TokensNotWhollyNumbersWarnOnce) {
  testing::internal::CaptureStderr();
  const tExpressionData input = read_text("2 3\na 1 7abc x\nb NA 2 3\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: Expression matrix input: 3 value token(s) not wholly a number (1 of them "
            "missing values NA or NaN), read as their leading number or 0.0; the first: row 0 "
            "(\"a\"), column 1: \"7abc\"\n");
  expect_row(input.data, 0, {1, 7, 0});
  expect_row(input.data, 1, {0, 2, 3});
  EXPECT_EQ(input.missing, (std::vector<unsigned char>{0, 0, 0, 1, 0, 0}));
  EXPECT_EQ(input.missing_values, 1);
}

TEST(MatrixInput, EmptyMatrixIsAllowed) {
  const tExpressionData input = read_text("0 4\n");
  EXPECT_EQ(input.data.dim1(), 0);
  EXPECT_EQ(input.data.dim2(), 4);
  EXPECT_EQ(input.names.size(), 0);
}

TEST(MatrixInput, NonFiniteValuesBecomeMissingWithOneWarning) {
  testing::internal::CaptureStderr();
  const tExpressionData input = read_text("2 3\na inf 1 -inf\nb 1e999 nan 2\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "\nWarning: Expression matrix: 4 value(s) not finite, treated as missing (0.0)\n");
  expect_row(input.data, 0, {0, 1, 0});
  expect_row(input.data, 1, {0, 0, 2});
}

TEST(MatrixInput, FiniteValuesWarnNothing) {
  testing::internal::CaptureStderr();
  read_text("1 2 a 1 1e-400");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST(MatrixInput, ProgressLineOnlyAtHighestVerbosity) {
  for (int verbosity : {3, 4}) {
    std::istringstream in("1 1 a 2");
    std::ostringstream progress;
    read_expression_matrix(in, verbosity, progress);
    EXPECT_EQ(progress.str(), verbosity > 3 ? "reading expression matrix...\n" : "") << verbosity;
  }
}

TEST(MatrixInputDeathTest, BadHeadersEndTheRunBeforeAnythingIsRead) {
  const auto rejected = [](const std::string& text, const std::string& message) {
    EXPECT_EXIT(read_text(text), testing::ExitedWithCode(1), testing::Eq(bye_text(message)))
        << text;
  };
  rejected("", "Expression matrix: the text ends before the row count");
  rejected("  \n", "Expression matrix: the text ends before the row count");
  rejected("4", "Expression matrix: the text ends before the column count");
  rejected("-1 3", "Expression matrix: the row count \"-1\" is not a non-negative integer");
  rejected("2.5 3", "Expression matrix: the row count \"2.5\" is not a non-negative integer");
  rejected("abc 3", "Expression matrix: the row count \"abc\" is not a non-negative integer");
  rejected("2 3x", "Expression matrix: the column count \"3x\" is not a non-negative integer");
  rejected("2 -3", "Expression matrix: the column count \"-3\" is not a non-negative integer");
}

TEST(MatrixInputDeathTest, SevenThousandRowsAreRefusedBeforeTheRowsAreRead) {
  EXPECT_EXIT(read_text("7000 2\n"), testing::ExitedWithCode(1),
              testing::Eq(bye_text(
                  "Expression matrix: 7000 rows; at most 6999 rows can be "
                  "clustered (clusters hold row numbers in taxa sets): -top N keeps the N rows "
                  "of largest variance")));
  EXPECT_EXIT(read_text("99999999999999999999 1\n"), testing::ExitedWithCode(1),
              testing::Eq(bye_text(
                  "Expression matrix: the row count \"99999999999999999999\" is too large")));
  EXPECT_EXIT(read_text("3 1000000000000000000\n"), testing::ExitedWithCode(1),
              testing::Eq(bye_text(
                  "Expression matrix: the column count \"1000000000000000000\" is too large")));
  std::string rows = "6999 1\n";
  for (int i = 0; i < 6999; ++i) rows += "g 1\n";
  EXPECT_EQ(read_text(rows).data.dim1(), 6999);
}

TEST(MatrixInputDeathTest, MatricesBeyondMemoryAreRefusedBeforeAllocation) {
  EXPECT_EXIT(read_text("10 3000000000\n"), testing::ExitedWithCode(1),
              testing::Eq(bye_text("A matrix of 10 x 3000000000 values does not fit in memory")));
  EXPECT_EXIT(read_text("6999 1000000\n"), testing::ExitedWithCode(1),
              testing::Eq(bye_text("A matrix of 6999 x 1000000 values does not fit in memory")));
}

// Counts that promise 2709 x 207931 values (4.5 GB) in a text of 200 bytes: with the address space
// held to 1 GiB, the run still ends by the report of the short text, not by a failed allocation.
TEST(MatrixInputDeathTest, ShortTextsUseMemoryInProportionToTheirSize) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "sanitizers reserve more address space than the limit";
#endif
  std::ifstream file(CLUSTER_TEST_DATA "/counts_beyond_text.txt");
  const std::string text((std::istreambuf_iterator<char>(file)), {});
  ASSERT_EQ(text.size(), 200u);
  const auto read_in_one_gib = [&text] {
    const rlimit limit{rlim_t{1} << 30, rlim_t{1} << 30};
    setrlimit(RLIMIT_AS, &limit);
    read_text(text);
  };
  // A machine of less than 4.5 GB refuses the counts before reading, which allocates nothing too.
  EXPECT_EXIT(read_in_one_gib(), testing::ExitedWithCode(1),
              testing::AnyOf(testing::HasSubstr("the text ends at row 0, column 31 of \"g1\", "
                                                "before its 2709 x 207931"),
                             testing::HasSubstr("2709 x 207931 values does not fit in memory")));
}
