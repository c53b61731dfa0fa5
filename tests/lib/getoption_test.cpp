// Tests of option claiming, bracket groups, backslashes, rest collection and line seeking.
#include "lib/getoption.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::Eq;
using testing::ExitedWithCode;

// A command line "prog words..." whose claims start afresh.
class GetOption : public testing::Test {
 protected:
  void SetUp() override { reset_getoption(); }

  void line(std::initializer_list<const char*> words) {
    line(std::vector<std::string>(words.begin(), words.end()));
  }
  void line(const std::vector<std::string>& words) {
    storage_ = words;
    storage_.insert(storage_.begin(), "prog");
    argv_.clear();
    for (const std::string& w : storage_) argv_.push_back(w.c_str());
    argv_.push_back(nullptr);
  }
  int argc() const { return static_cast<int>(storage_.size()); }
  const char** argv() { return argv_.data(); }

  std::vector<std::string> rest() {
    list<string> words;
    int n = getoption(argc(), argv(), words);
    std::vector<std::string> out;
    for (const string& w : words) out.emplace_back(w.c_str());
    EXPECT_EQ(n, static_cast<int>(out.size()));
    return out;
  }

 private:
  std::vector<std::string> storage_;
  std::vector<const char*> argv_;
};

TEST_F(GetOption, NumericOptionClaimsNameAndValue) {
  line({"-k", "5", "file"});
  int k = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(k, 5);
  EXPECT_THAT(rest(), ElementsAre("file"));
}

TEST_F(GetOption, NumericVariantsUseTheirConversions) {
  line({"-e", "2.5e-3", "-n", "-12345678901", "-k", "7x"});
  double e = 0;
  long n = 0;
  int k = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-e", e));
  EXPECT_TRUE(getoption(argc(), argv(), "-n", n));
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(e, 2.5e-3);
  EXPECT_EQ(n, -12345678901L);
  EXPECT_EQ(k, 7);
}

TEST_F(GetOption, UnconvertibleValueLeavesEverythingUnclaimed) {
  line({"-k", "x"});
  int k = 4;
  EXPECT_FALSE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(k, 4);
  EXPECT_THAT(rest(), ElementsAre("-k", "x"));
}

TEST_F(GetOption, IntValueBeyondIntDoesNotConvert) {
  line({"-k", "4294967297", "-k", "-2147483648", "-m", "2147483648"});
  int k = 4, m = 6;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));  // the second occurrence, in range
  EXPECT_EQ(k, -2147483647 - 1);
  EXPECT_FALSE(getoption(argc(), argv(), "-m", m));
  EXPECT_EQ(m, 6);
  EXPECT_THAT(rest(), ElementsAre("-k", "4294967297", "-m", "2147483648"));
}

TEST_F(GetOption, ValueWordIsTriedAsAnOptionName) {
  line({"-k", "-k", "3"});
  int k = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(k, 3);
  EXPECT_THAT(rest(), ElementsAre("-k"));
}

TEST_F(GetOption, EmptyValueWordCountsAsFoundAndKeepsTheValue) {
  line({"-k", ""});
  int k = 9;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(k, 9);
  EXPECT_TRUE(rest().empty());
}

TEST_F(GetOption, OptionAsLastWordIsNeverFoundWithAValue) {
  line({"a", "-k"});
  int k = 1;
  string s("keep");
  EXPECT_FALSE(getoption(argc(), argv(), "-k", k));
  EXPECT_FALSE(getoption(argc(), argv(), "-k", s));
  EXPECT_EQ(k, 1);
  EXPECT_EQ(s, string("keep"));
  EXPECT_TRUE(getoption(argc(), argv(), "-k"));
  EXPECT_THAT(rest(), ElementsAre("a"));
}

TEST_F(GetOption, NumericSearchIgnoresEarlierClaims) {
  line({"-k", "5"});
  int first = 0, second = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", first));
  EXPECT_TRUE(getoption(argc(), argv(), "-k", second));
  EXPECT_EQ(second, 5);
}

TEST_F(GetOption, FlagMatchesWholeWordsOnly) {
  line({"--helpme", "-v"});
  EXPECT_FALSE(getoption(argc(), argv(), "--help"));
  EXPECT_FALSE(getoption(argc(), argv(), "-"));
  EXPECT_TRUE(getoption(argc(), argv(), "-v"));
  EXPECT_THAT(rest(), ElementsAre("--helpme"));
}

TEST_F(GetOption, ProgramNameIsNeverExamined) {
  line({"x"});
  EXPECT_FALSE(getoption(argc(), argv(), "prog"));
}

TEST_F(GetOption, StringOptionTakesWordsUpToADash) {
  line({"-o", "a", "b", "-x"});
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_EQ(value, string("a b"));
  EXPECT_THAT(rest(), ElementsAre("-x"));
}

TEST_F(GetOption, StringOptionStopsAtAClaimedWord) {
  line({"-o", "a", "-k", "3", "b"});
  int k = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  line({"-o", "a", "3", "b"});
  reset_getoption();
  EXPECT_TRUE(getoption(argc(), argv(), "3"));
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_EQ(value, string("a"));
  EXPECT_THAT(rest(), ElementsAre("b"));
}

TEST_F(GetOption, BracketGroupCarriesWordsWithDashes) {
  line({"-o", "[", "a", "-b", "]", "c"});
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_EQ(value, string("a -b"));
  EXPECT_THAT(rest(), ElementsAre("c"));
}

TEST_F(GetOption, EmptyBracketGroupGivesTheEmptyValue) {
  line({"-o", "[", "]", "z"});
  string value("old");
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_TRUE(value.empty());
  EXPECT_THAT(rest(), ElementsAre("z"));
}

TEST_F(GetOption, SearchesStepOverGroups) {
  line({"[", "-k", "2", "]", "-k", "3"});
  int k = 0;
  EXPECT_TRUE(getoption(argc(), argv(), "-k", k));
  EXPECT_EQ(k, 3);
  EXPECT_FALSE(getoption(argc(), argv(), "2"));
  // An unclaimed group contributes only its closing word to the rest.
  EXPECT_THAT(rest(), ElementsAre("]"));
}

TEST_F(GetOption, BackslashesAreDropped) {
  line({"-o", "\\-3", "a\\\\b", "c\\d"});
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_EQ(value, string("-3 a\\b cd"));
}

TEST_F(GetOption, StringOptionAskedTwiceFailsAndEmptiesTheValue) {
  line({"-o", "a"});
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  EXPECT_FALSE(getoption(argc(), argv(), "-o", value));
  EXPECT_TRUE(value.empty());
}

// Walks on one line never reach a group's inner words, but claims outlive a line.
TEST_F(GetOption, GroupWordClaimedEarlierIsFatal) {
  line({"x", "y", "-v"});
  EXPECT_TRUE(getoption(argc(), argv(), "-v"));
  line({"-o", "[", "a", "]"});
  string value;
  EXPECT_EXIT(getoption(argc(), argv(), "-o", value), ExitedWithCode(1),
              Eq("\nFatal Error: Already got argument 2 for -o\n"));
}

TEST_F(GetOption, UnclosedGroupIsAUsageError) {
  line({"-k", "1", "[", "a", "b"});
  int k = 0;
  const char* expected =
      "\nUsage: the group opened by '[' at word 3 is never closed by a word starting with ']'\n";
  EXPECT_EXIT(getoption(argc(), argv(), "-k", k), ExitedWithCode(1), Eq(expected));
  EXPECT_EXIT(getoption(argc(), argv(), "-v"), ExitedWithCode(1), Eq(expected));
  list<string> words;
  EXPECT_EXIT(getoption(argc(), argv(), words), ExitedWithCode(1), Eq(expected));
}

TEST_F(GetOption, ThousandWordsAreSupportedAndOneMoreIsAUsageError) {
  std::vector<std::string> words(999, "w");
  words.push_back("-v");
  line(words);
  EXPECT_TRUE(getoption(argc(), argv(), "-v"));
  EXPECT_EQ(rest().size(), 999u);
  words.push_back("x");
  line(words);
  EXPECT_EXIT(getoption(argc(), argv(), "-v"), ExitedWithCode(1),
              Eq("\nUsage: the command line has 1001 words; at most 1000 are supported\n"));
}

TEST_F(GetOption, ResetForgetsClaims) {
  line({"-o", "a"});
  string value;
  EXPECT_TRUE(getoption(argc(), argv(), "-o", value));
  reset_getoption();
  EXPECT_THAT(rest(), ElementsAre("-o", "a"));
}

TEST(GetFileName, TakesTheLastArgument) {
  char prog[] = "prog", a[] = "a.txt", b[] = "b.txt";
  char* argv[] = {prog, a, b, nullptr};
  EXPECT_EQ(getfilename(3, argv), string("b.txt"));
}

TEST(GetFileName, AsksWhenThereAreNoArguments) {
  char prog[] = "prog";
  char* argv[] = {prog, nullptr};
  std::istringstream typed("  input.dat  more\n");
  std::streambuf* saved = std::cin.rdbuf(typed.rdbuf());
  testing::internal::CaptureStdout();
  string name = getfilename(1, argv);
  std::string prompt = testing::internal::GetCapturedStdout();
  std::cin.rdbuf(saved);
  EXPECT_EQ(prompt, "Enter filename:\n");
  EXPECT_EQ(name, string("input.dat"));
}

TEST(SeekStrLine, FindsTheFirstLineWithTheKey) {
  std::istringstream in("alpha 1\nbeta 2\nbeta 3\n");
  string found;
  EXPECT_TRUE(seekstrline("beta", found, in));
  EXPECT_EQ(found, string("beta 2"));
  EXPECT_TRUE(seekstrline("beta", found, in));
  EXPECT_EQ(found, string("beta 3"));
  EXPECT_FALSE(seekstrline("beta", found, in));
}

TEST(SeekStrLine, ReadsALastLineWithoutNewlineAndLongLines) {
  std::string long_line(5000, 'x');
  std::istringstream in(long_line + "\nkey end");
  string found;
  EXPECT_TRUE(seekstrline("key", found, in));
  EXPECT_EQ(found, string("key end"));
  std::istringstream again(long_line + "y\n");
  EXPECT_TRUE(seekstrline("xxx", found, again));
  EXPECT_EQ(found.length(), 5001);
}

TEST(SeekStrLine, KeyMustStartTheLine) {
  std::istringstream in(" key\nkex\n");
  string found;
  EXPECT_FALSE(seekstrline("key", found, in));
}

}  // namespace
