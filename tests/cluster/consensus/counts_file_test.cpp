#include "cluster/consensus/counts_file.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/support/process.hpp"

namespace {

tCountsHeader header_of(int first, int end) {
  tCountsHeader h;
  h.design.runs = 10, h.design.k_first = 2, h.design.k_last = 3,
  h.design.seed = 18446744073709551615ull;
  h.design.row_fraction = 0.8, h.design.column_fraction = 0.3, h.design.normalize = true;
  h.design.t1 = 7, h.design.t2 = 1e-4, h.design.first_run = first, h.design.end_run = end;
  h.rows = 3, h.columns = 5;
  return h;
}

TEST(CountsFile, HeaderReadsBackExactly) {
  const std::string line = format_counts_header(header_of(4, 9));
  EXPECT_EQ(line,
            "consensus-counts 1 rows=3 runs=4..9 seed=18446744073709551615 k=2..3 total=10 "
            "rows_fraction=0.80000000000000004 columns_fraction=0.29999999999999999 normalize=1 "
            "t1=7 t2=0.0001 columns=5");
  tCountsHeader back;
  ASSERT_EQ(parse_counts_header(line, back), "");
  EXPECT_EQ(format_counts_header(back), line);
  EXPECT_EQ(back.design.row_fraction, 0.8);
}

TEST(CountsFile, HeaderFaults) {
  const std::string good = format_counts_header(header_of(4, 9));
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string line = good;
    return line.replace(line.find(from), from.size(), to);
  };
  const struct {
    std::string line, why;
  } cases[] = {
      {"", "no \"consensus-counts\" at the start"},
      {replaced("counts 1", "counts 2"), "layout version 2, only 1 is read"},
      {replaced("runs=4..9", "runs=9..4"), "runs=9..4"},
      {replaced("runs=4..9", "runs=4..11"), "runs=4..11"},
      {replaced("k=2..3", "k=2..4"), "k=2..4"},
      {replaced("rows_fraction=0.80000000000000004", "rows_fraction=0"), "rows_fraction=0"},
      {replaced(" t1=7", ""), "no t1="},
      {good + " extra=1", "a key not known"},
      {good + " t1=7", "key t1 twice"},
      {replaced("seed=18446744073709551615", "seed=x"), "seed=x"},
  };
  for (const auto& c : cases) {
    tCountsHeader h;
    EXPECT_EQ(parse_counts_header(c.line, h), c.why) << c.line;
  }
}

// A shard of rows a, b, c over k = 2..3: every count of pair p in k index k is value(p, k).
std::string write_shard(const std::string& name, int first, int end, int bump = 0) {
  tPairCounts counts(3, 2, 10);
  counts.visit([&](auto& a) {
    for (std::size_t p = 0; p < 3; ++p) {
      a.drawn[p] = static_cast<std::uint8_t>(end - first);
      a.together[0][p] = static_cast<std::uint8_t>(p % 2 + bump);
      a.together[1][p] = static_cast<std::uint8_t>(p == 2 ? 1 : 0);
    }
  });
  const std::string path = scratch(name);
  std::ofstream out(path, std::ios::binary);
  write_counts_file(out, header_of(first, end), {"a", "b", "c"}, counts);
  return path;
}

TEST(CountsFile, MergedShardsSumTheirCounts) {
  const std::string one = write_shard("one", 0, 4), two = write_shard("two", 4, 10);
  tMergedCounts merged = merge_counts_files({two, one}, {"a", "b", "c"}, 5);
  EXPECT_EQ(merged.design.first_run, 0);
  EXPECT_EQ(merged.design.end_run, 10);
  merged.counts.visit([](const auto& a) {
    for (std::size_t p = 0; p < 3; ++p) {
      EXPECT_EQ(a.drawn[p], 10);
      EXPECT_EQ(a.together[0][p], 2 * (p % 2));
      EXPECT_EQ(a.together[1][p], p == 2 ? 2 : 0);
    }
  });
}

TEST(CountsFile, ShardsThatDoNotMakeOneDesignAreRefused) {
  const std::string one = write_shard("one", 0, 4), two = write_shard("two", 4, 10),
                    early = write_shard("early", 0, 5), late = write_shard("late", 5, 10);
  const std::string cut = scratch("cut"), bad = scratch("bad");
  std::string bytes = slurp(two);
  std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() - 1);
  std::ofstream(bad, std::ios::binary) << slurp(write_shard("big", 4, 10, 7));
  const struct {
    std::vector<std::string> files;
    std::vector<std::string> names;
    const char* message;
  } cases[] = {
      {{one}, {"a", "b", "c"}, "runs 4..10 are in none of the counts files"},
      {{one, two, late}, {"a", "b", "c"}, "late: runs 5..10 overlap"},
      {{early, two}, {"a", "b", "c"}, "two: runs 4..10 overlap"},
      {{one, two}, {"a", "x", "c"}, "row 2 is not \"x\" of the input"},
      {{one, two}, {"a", "b"}, "counts of 3 rows x 5 columns, the input has 2 x 5"},
      {{one, cut}, {"a", "b", "c"}, "cut: cut short"},
      {{one, bad}, {"a", "b", "c"}, "bad: corrupt: pair 0 counts 7 of 6 drawn"},
      {{one, scratch("none")}, {"a", "b", "c"}, "Can't open file to read"},
  };
  for (const auto& c : cases)
    EXPECT_EXIT(merge_counts_files(c.files, c.names, 5), testing::ExitedWithCode(1),
                testing::HasSubstr(c.message));
}

}  // namespace
