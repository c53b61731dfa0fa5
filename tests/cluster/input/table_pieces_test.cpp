// Tables read side by side: the same matrix, names, flags and reports for every thread count and
// every way of cutting the data lines into blocks and pieces, faults included.
#include "cluster/input/table_pieces.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "cluster/input/table_reader.hpp"
#include "lib/parallel.hpp"
#include "tests/support/read_outcome.hpp"

namespace {

tExpressionData read_with(const std::string& text, tTableFormat format, tTextSplit split,
                          int threads) {
  set_thread_count(threads);
  std::istringstream in(text);
  std::ostringstream progress;
  tReadSettings settings;
  settings.verbosity = 1;  // dropped rows are named as they come
  settings.missing = tMissingPolicy::drop;
  tExpressionData d = read_table(in, format, "input", settings, progress, split);
  set_thread_count(0);
  return d;
}

tReadOutcome outcome_of(const std::string& text, tTableFormat format, tTextSplit split,
                        int threads) {
  testing::internal::CaptureStderr();
  testing::internal::CaptureStdout();
  const tExpressionData d = read_with(text, format, split, threads);
  const std::string out = testing::internal::GetCapturedStdout();
  return read_outcome(d, out + testing::internal::GetCapturedStderr());
}

// Blocks and pieces of a few bytes put a cut inside or beside nearly every line.
const tTextSplit splits[] = {{1, 1}, {2, 1}, {5, 3}, {16, 7}, {64, 20}};

}  // namespace

TEST(TablePieces, EveryThreadCountAndSplitGivesTheSameResultAndReports) {
  const struct {
    tTableFormat format;
    std::string text;
  } cases[] = {
      {tTableFormat::tsv, "g\ta\tb\nr0\t1\t-7e-3\nr1\tNA\t0x1p-3\n\nr2\t1e999\t 2.5 \n"},
      {tTableFormat::tsv, "a\tb\r\nr0\t1.25\t3\r\n\r\nr1\tnan\t#N/A\r\nr2\t4\t5"},
      {tTableFormat::tsv, std::string("g\ta\nr\0x\t1\nr1\t2\n", 15)},  // a NUL ends the name
      {tTableFormat::gct,
       "#1.2\n3\t2\nName\tDescription\tS1\tS2\ng1\td\t1\t2\ng2\td\tNA\t3\n"
       "g3\td\t5\t6\n"},
      {tTableFormat::pcl,
       "UID\tNAME\tGWEIGHT\tS1\tS2\nEWEIGHT\t\t\t1\t1\ng1\tn\t1\t1\t2\n"
       "g2\tn\t1\tinf\t3\n"},
  };
  for (const auto& c : cases) {
    const tReadOutcome reference = outcome_of(c.text, c.format, tTextSplit(), 1);
    ASSERT_FALSE(reference.names.empty()) << c.text;
    for (const tTextSplit& split : splits)
      for (int threads : {1, 2, 3}) {
        const tReadOutcome o = outcome_of(c.text, c.format, split, threads);
        const std::string where = "block " + std::to_string(split.block_bytes) + ", threads " +
                                  std::to_string(threads) + ": " + c.text;
        EXPECT_EQ(o.bits, reference.bits) << where;
        EXPECT_EQ(o.names, reference.names) << where;
        EXPECT_EQ(o.missing, reference.missing) << where;
        EXPECT_EQ(o.reports, reference.reports) << where;
      }
  }
}

TEST(TablePiecesDeathTest, FaultsNameTheSameLineForEverySplit) {
  const struct {
    tTableFormat format;
    const char* text;
    const char* message;
  } cases[] = {
      {tTableFormat::tsv, "g\ta\tb\nr0\t1\t2\n\nr1\t3\t4\nr2\t1\n",
       "(tsv): line 5: the row has 2 fields where the header calls for 3"},
      {tTableFormat::tsv, "g\ta\tb\r\nr0\t1\t2\r\nr1\tNA\t2x\r\nr2\tq\t1\r\n",
       "(tsv): line 3: column 3 (\"b\"): \"2x\" is neither a number"},
      // White space within a cell ends a decimal early, so such a line is converted cell by cell.
      {tTableFormat::tsv, "g\ta\tb\nr0\t1\t2\nr1\t3\t1 2\n",
       "(tsv): line 3: column 3 (\"b\"): \"1 2\" is neither a number"},
      {tTableFormat::gct, "#1.2\n1\t1\nName\tDescription\tS1\ng1\td\t1\ng2\td\tx\n",
       "(gct): line 5: more rows than the dimensions line announces"},
  };
  for (const auto& c : cases)
    for (const tTextSplit& split : splits)
      for (int threads : {1, 2})
        EXPECT_EXIT(read_with(c.text, c.format, split, threads), testing::ExitedWithCode(1),
                    testing::HasSubstr(c.message))
            << c.text << " block " << split.block_bytes;
}
