// The matrix layout read side by side: the same matrix, names, flags and reports for every thread
// count and every way of cutting the text into blocks and pieces.
#include "cluster/input/matrix_layout.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "lib/parallel.hpp"
#include "tests/support/read_outcome.hpp"

namespace {

tReadOutcome read_with(const std::string& text, tTextSplit split, int threads) {
  set_thread_count(threads);
  std::istringstream in(text);
  std::ostringstream progress;
  testing::internal::CaptureStderr();
  const tExpressionData d = read_matrix_layout(in, "input", tReadSettings(), "", progress, split);
  const std::string reports = testing::internal::GetCapturedStderr();
  set_thread_count(0);
  return read_outcome(d, reports);
}

// Blocks and pieces of a few bytes put a cut inside or beside nearly every token.
const tTextSplit splits[] = {{1, 1}, {2, 1}, {3, 2}, {7, 3}, {16, 5}, {64, 64}};

void expect_same_for_every_split(const std::string& text) {
  const tReadOutcome reference = read_with(text, tTextSplit(), 1);
  for (const tTextSplit& split : splits)
    for (int threads : {1, 2, 3}) {
      const tReadOutcome o = read_with(text, split, threads);
      const std::string where = "block " + std::to_string(split.block_bytes) + ", piece " +
                                std::to_string(split.piece_bytes) + ", threads " +
                                std::to_string(threads) + ", text: " + text.substr(0, 60);
      EXPECT_EQ(o.bits, reference.bits) << where;
      EXPECT_EQ(o.names, reference.names) << where;
      EXPECT_EQ(o.missing, reference.missing) << where;
      EXPECT_EQ(o.reports, reference.reports) << where;
    }
}

}  // namespace

TEST(MatrixLayout, EveryThreadCountAndSplitGivesTheSameResultAndReports) {
  const char* const texts[] = {
      "2 3\ng1 1 NA 3\ng2 NaN 0.5 x\n",
      "2 3\r\ng1 1.25 -7e-3 3\r\ng2 0x1p-3 inf 12345678901234567890\r\n",
      "3 2 a 7abc 1 b NA x c 2 1e999",
      "2 2\n\n\n   a\t\t1\v2\f\nb 3 4",  // the last token ends the text
      "1 4 n -0 +.5 5. .",
      "0 3\n",
      "2 0\na\nb\n",
      "2 3 a 1 2 3 b 4 5 6",
  };
  for (const char* text : texts) expect_same_for_every_split(text);
  // A NUL inside a token ends it as a string; a C string literal would lose the rest.
  expect_same_for_every_split(std::string("1 3\nrow 1\0x 2 3\n", 16));
}

TEST(MatrixLayout, RandomTextsGiveTheSameResultsForEverySplit) {
  static const char* const tokens[] = {
      "1",    "-0.0677923", "3.5e+2", "NA",   "NaN", "nan",  "x7",
      "0x1A", "1e-400",     "inf",    "7abc", "-.5", "1e5x", "123456789012345678901234567890",
      "+"};
  static const char* const gaps[] = {" ", "\t", "\r\n", "\n\n", "  \t "};
  std::mt19937 random(20261208);
  for (int text_number = 0; text_number < 20; ++text_number) {
    const int rows = 1 + static_cast<int>(random() % 6), cols = static_cast<int>(random() % 5);
    std::string text = std::to_string(rows) + " " + std::to_string(cols) + "\n";
    // Sometimes a token short or long: truncation and trailing text end the run (tested below).
    const int count = rows * (cols + 1) + static_cast<int>(random() % 5) - 1;
    for (int t = 0; t < count; ++t) {
      text += t % (cols + 1) == 0 ? "g" + std::to_string(t) : tokens[random() % 15];
      text += gaps[random() % 5];
    }
    if (count != rows * (cols + 1)) continue;
    expect_same_for_every_split(text);
  }
}

TEST(MatrixLayoutDeathTest, TruncationAndTextAfterTheValuesAreReportedAlikeForEverySplit) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"3 2\na 1 2\nb 3", "the text ends at row 1, column 1 of \"b\", before its 3 x 2 values"},
      {"3 2\na 1 2\n", "the text ends at row 1, before its name, before its 3 x 2 values"},
      {"2 2\r\nlong_row_name 1 NA\r\nb",
       "the text ends at row 1, column 0 of \"b\", before its 2 x 2 values"},
      // A count line one column short: values would shift between rows.
      {"2 2\na 1 2 3\nb 4 5 6\n",
       "2 token(s) left after the 2 x 2 values the counts announce, the first \"5\"; the "
       "counts do not describe the text"},
      {"0 3\nleft over",
       "2 token(s) left after the 0 x 3 values the counts announce, the first "
       "\"left\"; the counts do not describe the text"},
  };
  for (const auto& c : cases)
    for (const tTextSplit& split : splits)
      for (int threads : {1, 2}) {
        const std::string expected =
            std::string("\nError: Expression matrix input: ") + c.message + "\n";
        EXPECT_EXIT(
            {
              set_thread_count(threads);
              std::istringstream in(c.text);
              std::ostringstream progress;
              read_matrix_layout(in, "input", tReadSettings(), "", progress, split);
            },
            testing::ExitedWithCode(1), testing::Eq(expected))
            << c.text << " block " << split.block_bytes;
      }
}
