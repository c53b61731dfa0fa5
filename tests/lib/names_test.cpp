// Tests of tNames: default names, numbering, reverse lookup, printing and missing numbers.
#include "lib/names.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>

#include "tests/support/builders.hpp"

namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;

tNames table(std::initializer_list<const char*> names) {
  tNames t;
  for (const char* n : names) t.add_name(n);
  return t;
}

std::string text(const tNames& t) {
  std::ostringstream os;
  t.print(os);
  return os.str();
}

TEST(Names, DefaultNamesFromAPrefix) {
  tNames t = table({"old"});
  t.set_default(make_set({0, 2}), "T");
  EXPECT_EQ(t.size(), 2);
  EXPECT_EQ(t.get_name(0), string("T0"));
  EXPECT_EQ(t.get_name(2), string("T2"));
  t.set_default(1, make_set({0, 2}), "T");
  EXPECT_EQ(t.get_name(0), string("T1"));
  EXPECT_EQ(t.get_name(2), string("T2"));
}

TEST(Names, AddNameNumbersConsecutively) {
  tNames t;
  EXPECT_EQ(t.add_name("a"), 0);
  EXPECT_EQ(t.add_name("b"), 1);
  EXPECT_EQ(t.get_name(1), string("b"));
}

TEST(Names, AddNameReplacesTheNameUnderTheEntryCount) {
  tNames t;
  t.set_default(make_set({1}), "x");  // numbers {1}: one entry
  EXPECT_EQ(t.add_name("y"), 1);
  EXPECT_EQ(t.size(), 1);
  EXPECT_EQ(t.get_name(1), string("y"));
}

TEST(Names, GetNumberFindsTheSmallest) {
  tNames t = table({"a", "b", "c", "d", "c", "d"});
  EXPECT_EQ(t.get_number("c"), 2);
  EXPECT_EQ(t.get_number("d"), 3);
  EXPECT_EQ(t.get_number("e"), -1);
  EXPECT_EQ(t.get_number("C"), -1);  // byte-wise
}

TEST(Names, InverseKeepsTheLargestNumberOfADuplicate) {
  tNames t = table({"b", "a", "b"});
  dictionary<string, int> inv = t.inverse();
  EXPECT_EQ(inv.size(), 2);
  EXPECT_EQ(inv.lookup("a")->second, 1);
  EXPECT_EQ(inv.lookup("b")->second, 2);
  EXPECT_EQ(inv.begin()->first, string("a"));  // strcmp order
}

TEST(Names, PrintsEveryNumber) {
  EXPECT_EQ(text(table({"x"})), "x -> 0\n");
  EXPECT_EQ(text(table({"x", "y"})), "x -> 0\ny -> 1\n");
  EXPECT_EQ(text(tNames()), "");
}

TEST(Names, PrintsASetWithSeparators) {
  tNames t = table({"z", "a", "b"});
  std::ostringstream os;
  t.print(make_set({1, 2}), ',', os);
  EXPECT_EQ(os.str(), "a,b");
  std::ostringstream one;
  t.print(make_set({2}), ',', one);
  EXPECT_EQ(one.str(), "b");
  std::ostringstream none;
  t.print(tTaxaSet(), ',', none);
  EXPECT_EQ(none.str(), "");
  string out("set:");
  t.print(make_set({0, 2}), ' ', out);
  EXPECT_STREQ(out.c_str(), "set:z b");
}

TEST(Names, Same) {
  EXPECT_TRUE(table({"a", "b"}).same(table({"a", "b"})));
  EXPECT_FALSE(table({"a", "b"}).same(table({"a"})));
  EXPECT_FALSE(table({"a"}).same(table({"a", "b"})));
  EXPECT_FALSE(table({"a", "b"}).same(table({"a", "c"})));
  tNames shifted;
  shifted.set_default(make_set({1, 2}), "a");
  tNames other;
  other.set_default(make_set({0, 1}), "a");
  EXPECT_FALSE(shifted.same(other));  // same size, other numbers
}

TEST(NamesDeathTest, MissingNameInASet) {
  tNames t = table({"a", "b"});
  std::ostringstream os;
  EXPECT_EXIT(t.print(make_set({1, 5}), ',', os), ExitedWithCode(1),
              Eq("\nA:  1 5\n\nFatal Error: names.print: n=5: name not found)\n"));
  string out;
  EXPECT_EXIT(t.print(make_set({7}), ',', out), ExitedWithCode(1),
              Eq("\nA:  7\n\nFatal Error: names.print: n=7: name not found)\n"));
}

TEST(NamesDeathTest, MissingNumbers) {
  tNames t;
  t.set_default(make_set({1}), "x");
  EXPECT_EXIT(t.get_name(0), ExitedWithCode(1),
              Eq("\nFatal Error: tNames::get_name: no name under number 0\n"));
  EXPECT_EXIT(t.get_number("y"), ExitedWithCode(1),
              Eq("\nFatal Error: tNames::get_number: no name under number 0\n"));
  EXPECT_EXIT(t.inverse(), ExitedWithCode(1),
              Eq("\nFatal Error: tNames::inverse: no name under number 0\n"));
  std::ostringstream os;
  EXPECT_EXIT(t.print(os), ExitedWithCode(1),
              Eq("\nFatal Error: tNames::print: no name under number 0\n"));
}

}  // namespace
