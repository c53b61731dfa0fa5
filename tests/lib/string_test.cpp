// Tests of the shared-representation string: construction, formatting, comparison and reading.
#include "lib/string.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <iostream>
#include <sstream>
#include <string>

namespace {

using testing::ContainsRegex;
using testing::KilledBySignal;

std::string text(const string& s) {
  return s.c_str();
}

TEST(String, BasicConstruction) {
  EXPECT_EQ(text(string()), "");
  EXPECT_EQ(string().length(), 0);
  EXPECT_EQ(text(string("abc")), "abc");
  EXPECT_EQ(string("abc").length(), 3);
  EXPECT_EQ(text(string('x')), "x");
  EXPECT_TRUE(string('\0').empty());
  EXPECT_EQ(string("abc")[2], 'c');
}

TEST(String, IndexOutOfRangeIsAnAssertion) {
  string s("ab");
  EXPECT_EXIT((void)s[2], KilledBySignal(SIGABRT), ContainsRegex("Assertion .* failed"));
  EXPECT_EXIT((void)s[-1], KilledBySignal(SIGABRT), ContainsRegex("Assertion .* failed"));
}

TEST(String, CopiesShareUntilOneChanges) {
  string a("left");
  string b = a;
  EXPECT_EQ(a.c_str(), b.c_str());  // one representation, copied in constant time
  b += string("over");
  EXPECT_EQ(text(a), "left");
  EXPECT_EQ(text(b), "leftover");
  EXPECT_EQ(text(a + string("-") + b), "left-leftover");
}

TEST(String, FormattedConstructionPerFirstType) {
  EXPECT_EQ(text(string("%d", 7)), "7");
  EXPECT_EQ(text(string(" %6.2f", 3.14159)), "   3.14");
  EXPECT_EQ(text(string("%c", 'q')), "q");
  EXPECT_EQ(text(string("%u", static_cast<unsigned char>(200))), "200");
  EXPECT_EQ(text(string("%hd", static_cast<short>(-5))), "-5");
  EXPECT_EQ(text(string("%hu", static_cast<unsigned short>(65535))), "65535");
  EXPECT_EQ(text(string("%u", 4000000000u)), "4000000000");
  EXPECT_EQ(text(string("%ld", -9000000000L)), "-9000000000");
  EXPECT_EQ(text(string("%lu", 18000000000000000000UL)), "18000000000000000000");
  EXPECT_EQ(text(string("%.1f", 2.25f)), "2.2");
  EXPECT_EQ(text(string("<%s>", "in")), "<in>");
  EXPECT_EQ(text(string("%p", static_cast<void*>(nullptr))), "(nil)");
}

TEST(String, FirstValueGoesToTheFirstConversionAndTheRestFollow) {
  EXPECT_EQ(text(string("row %d of %d: %s", 3, 10, "ok")), "row 3 of 10: ok");
  EXPECT_EQ(text(string("%s=%5.1f", "x", 2.5)), "x=  2.5");
  EXPECT_EQ(text(string("no conversion", 1)), "no conversion");
}

TEST(String, StarWidthTakesTheFirstValue) {
  EXPECT_EQ(text(string("[%*d]", 5, 42)), "[   42]");
  EXPECT_EQ(text(string("[%-*s|%d]", 4, "ab", 9)), "[ab  |9]");
  EXPECT_EQ(text(string("%.*f", 2, 3.14159)), "3.14");
  EXPECT_EQ(text(string("%*.*f", 6, 1, 2.25)), "   2.2");
}

TEST(String, PercentSignsStayLiteral) {
  EXPECT_EQ(text(string("%d%% of %d%%", 50, 80)), "50% of 80%");
  EXPECT_EQ(text(string("100%% %d", 3)), "100% 3");
  // Text that the first value expands to is never read as a format.
  EXPECT_EQ(text(string("%s", "a%sb%n%d")), "a%sb%n%d");
  EXPECT_EQ(text(string("%s:%d", "50%", 7)), "50%:7");
}

TEST(String, FormattedResultStopsAt511Characters) {
  std::string long_text(2000, 'y');
  string once("%s", long_text.c_str());
  EXPECT_EQ(once.length(), 511);
  EXPECT_EQ(text(once), long_text.substr(0, 511));
  string twice("%s%s", "ab", long_text.c_str());
  EXPECT_EQ(twice.length(), 511);
  EXPECT_EQ(text(twice).substr(0, 4), "abyy");
  string wide("%600d|%s", 1, "z");
  EXPECT_EQ(wide.length(), 511);
}

TEST(String, ComparisonIsByteWise) {
  EXPECT_LT(compare(string("A"), string("B")), 0);
  EXPECT_GT(compare(string("a"), string("B")), 0);
  EXPECT_EQ(compare(string("ab"), string("ab")), 0);
  EXPECT_EQ(compare(string("ab"), string("abc")), -1);
  EXPECT_EQ(compare(string("\xe9"), string("z")), 1);  // bytes are unsigned
  EXPECT_TRUE(string("a") == string("a"));
  EXPECT_TRUE(string("a") != string("b"));
  EXPECT_TRUE(string("a") < string("b"));
  EXPECT_TRUE(string("b") > string("a"));
  EXPECT_TRUE(string("a") <= string("a"));
  EXPECT_TRUE(string("a") >= string("a"));
}

TEST(String, PosFindsTheFirstOccurrenceFromAnIndex) {
  string abcb("abcb");
  EXPECT_EQ(pos("b", abcb, 0), 1);
  EXPECT_EQ(pos("b", abcb, 2), 3);
  EXPECT_EQ(pos("b", abcb, 4), -1);
  EXPECT_EQ(pos("cb", abcb, 0), 2);
  EXPECT_EQ(pos("bcbx", abcb, 0), -1);
  EXPECT_EQ(pos("", abcb, 0), -1);
  EXPECT_EQ(pos("a", abcb, -3), 0);
}

TEST(String, WritesItsCharacters) {
  std::ostringstream out;
  out << string("x y") << string() << string('z');
  EXPECT_EQ(out.str(), "x yz");
}

TEST(String, ReadsOneWordAndLeavesTheWhiteSpace) {
  std::istringstream in("  \n\t alpha beta\n");
  string s("old");
  in >> s;
  EXPECT_EQ(text(s), "alpha");
  EXPECT_EQ(in.peek(), ' ');
  in >> s;
  EXPECT_EQ(text(s), "beta");
  EXPECT_EQ(in.peek(), '\n');
  EXPECT_FALSE(in >> s);
  EXPECT_TRUE(s.empty());
}

TEST(String, ReadingAWordStopsAtEndOfInput) {
  std::istringstream in("last");
  string s;
  EXPECT_TRUE(in >> s);
  EXPECT_EQ(text(s), "last");
}

// Standard input is redirected to a string buffer for the time of one test.
class StandardInput {
 public:
  explicit StandardInput(const std::string& typed) : typed_(typed), saved_(std::cin.rdbuf()) {
    std::cin.rdbuf(typed_.rdbuf());
  }
  ~StandardInput() { std::cin.rdbuf(saved_); }

 private:
  std::istringstream typed_;
  std::streambuf* saved_;
};

TEST(String, OnStandardInputANewlineEndsTheSkipping) {
  StandardInput input("  \nword\n  \nnext");
  string s;
  std::cin >> s;
  EXPECT_EQ(text(s), "word");
  std::cin >> s;  // the newline after "word" ends the skipping; a blank follows
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(std::cin.peek(), ' ');
  std::cin >> s;
  EXPECT_EQ(text(s), "next");
}

TEST(String, ReadUpToANewlineConsumesIt) {
  std::istringstream in("ab\nd");
  string s;
  s.read(in, '\n');
  EXPECT_EQ(text(s), "ab");
  EXPECT_EQ(in.peek(), 'd');
  s.read(in, '\n');
  EXPECT_EQ(text(s), "d");
  s.read(in, '\n');
  EXPECT_TRUE(in.fail());
  EXPECT_TRUE(s.empty());
}

TEST(String, ReadUpToAnotherDelimiterLeavesIt) {
  std::istringstream in("key=value");
  string s;
  s.read(in, '=');
  EXPECT_EQ(text(s), "key");
  EXPECT_EQ(in.peek(), '=');
  in.get();
  s.read(in, '=');
  EXPECT_EQ(text(s), "value");
  EXPECT_FALSE(in.fail());
}

TEST(String, ReadWithDelimiterZeroStopsAtWhiteSpace) {
  std::istringstream in("one\ttwo");
  string s;
  s.read(in, '\0');
  EXPECT_EQ(text(s), "one");
  EXPECT_EQ(in.peek(), '\t');
}

TEST(String, ReadTakesLinesOfAnyLength) {
  std::string line(100000, 'g');
  std::istringstream in(line + "\nrest");
  string s;
  s.read(in, '\n');
  EXPECT_EQ(s.length(), 100000);
  EXPECT_EQ(in.peek(), 'r');
}

TEST(String, ANulByteEndsWhatIsRead) {
  std::istringstream in(std::string("ab\0cd\n", 6));
  string s;
  s.read(in, '\n');
  EXPECT_EQ(s.length(), 2);
  EXPECT_EQ(text(s), "ab");
}

}  // namespace
