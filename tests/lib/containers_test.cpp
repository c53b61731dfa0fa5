// Tests of array, list, dictionary and set: bounds, value semantics and ordering.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <utility>
#include <vector>

#include "lib/array.hpp"
#include "lib/dictionary.hpp"
#include "lib/list.hpp"
#include "lib/set.hpp"
#include "lib/string.hpp"
#include "tests/lib/container_banner.hpp"

namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::KilledBySignal;
using testing::StartsWith;

TEST(Array, SizeConstructionDefaultConstructsElements) {
  array<int> a(4);
  EXPECT_EQ(a.size(), 4);
  EXPECT_EQ(a.low(), 0);
  EXPECT_EQ(a.high(), 3);
  for (int i = a.low(); i <= a.high(); ++i) EXPECT_EQ(a[i], 0);
  array<string> s(2);
  EXPECT_TRUE(s[1].empty());
}

TEST(Array, EmptyArrayHasNoValidIndex) {
  array<int> a;
  EXPECT_EQ(a.size(), 0);
  EXPECT_EQ(a.low(), 0);
  EXPECT_EQ(a.high(), -1);
  array<int> b(0);
  EXPECT_EQ(b.high(), -1);
  EXPECT_EXIT(a[0], KilledBySignal(SIGABRT), StartsWith(banner("array::entry index out of range")));
  EXPECT_EXIT(b[-1], KilledBySignal(SIGABRT),
              StartsWith(banner("array::entry index out of range")));
}

TEST(Array, IndexPastEitherEndIsReported) {
  array<double> a(3);
  const array<double>& c = a;
  EXPECT_EXIT(a[3] = 1, KilledBySignal(SIGABRT),
              StartsWith(banner("array::entry index out of range")));
  EXPECT_EXIT((void)c[-1], KilledBySignal(SIGABRT),
              StartsWith(banner("array::entry index out of range")));
}

TEST(Array, NegativeSizeIsReported) {
  EXPECT_EXIT(array<int>(-3), KilledBySignal(SIGABRT),
              StartsWith(banner("array: bad array bounds [0..-3]")));
}

struct Megabyte {
  char bytes[1 << 20];
};

// A sanitizer's allocator may warn about the failed request before the report.
TEST(Array, ExhaustedStorageIsReported) {
  EXPECT_EXIT(array<Megabyte>(1 << 30), KilledBySignal(SIGABRT),
              HasSubstr(banner("array: out of memory")));
}

TEST(Array, AssignmentCopiesDeeply) {
  array<string> a(2);
  a[0] = "x";
  a[1] = "y";
  array<string> b(5);
  b = a;
  EXPECT_EQ(b.size(), 2);
  b[0] = "changed";
  EXPECT_EQ(a[0], string("x"));
  array<string> c(a);
  c[1] = "z";
  EXPECT_EQ(a[1], string("y"));
  a = static_cast<const array<string>&>(a);
  EXPECT_EQ(a.size(), 2);
  EXPECT_EQ(a[1], string("y"));
}

TEST(Array, IteratesFromLowToHigh) {
  array<int> a(3);
  for (int i = 0; i < 3; ++i) a[i] = 10 * i;
  std::vector<int> seen(a.begin(), a.end());
  EXPECT_THAT(seen, ElementsAre(0, 10, 20));
}

TEST(List, AppendsCopiesInOrder) {
  list<string> l;
  EXPECT_TRUE(l.empty());
  string s("one");
  l.append(s);
  s += "!";
  l.append(s);
  l.append("three");
  EXPECT_EQ(l.length(), 3);
  EXPECT_EQ(l.head(), string("one"));
  EXPECT_EQ(l.tail(), string("three"));
  std::vector<std::string> seen;
  for (const string& e : l) seen.emplace_back(e.c_str());
  EXPECT_THAT(seen, ElementsAre("one", "one!", "three"));
  l.clear();
  EXPECT_EQ(l.length(), 0);
  EXPECT_TRUE(l.empty());
}

using int_names = dictionary<int, string>;
using name_numbers = dictionary<string, int>;

TEST(Dictionary, InsertOfAPresentKeyReplacesTheInformation) {
  dictionary<int, string> d;
  d.insert(2, "two");
  d.insert(1, "one");
  auto it = d.insert(2, "TWO");
  EXPECT_EQ(d.size(), 2);
  EXPECT_EQ(int_names::key(it), 2);
  EXPECT_EQ(int_names::inf(d.lookup(2)), string("TWO"));
}

TEST(Dictionary, LookupOfAMissingKeyIsNull) {
  dictionary<string, int> d;
  EXPECT_EQ(d.lookup("absent"), nullptr);
  d.insert("present", 1);
  EXPECT_NE(d.lookup("present"), nullptr);
  EXPECT_TRUE(d.defined("present"));
  EXPECT_FALSE(d.defined("absent"));
  const dictionary<string, int>& c = d;
  EXPECT_EQ(c.lookup("absent"), nullptr);
}

TEST(Dictionary, InformationChangesInPlace) {
  dictionary<string, int> d;
  d.insert("n", 1);
  name_numbers::inf(d.lookup("n")) += 41;
  EXPECT_EQ(name_numbers::inf(d.lookup("n")), 42);
}

TEST(Dictionary, IteratesStringKeysInByteOrder) {
  dictionary<string, int> d;
  d.insert("B", 1);
  d.insert("a", 2);
  d.insert("A", 3);
  std::vector<std::string> keys;
  for (const auto& item : d) keys.emplace_back(item.first.c_str());
  EXPECT_THAT(keys, ElementsAre("A", "B", "a"));
}

TEST(Dictionary, IteratesIntegerKeysByValue) {
  dictionary<int, int> d;
  for (int k : {5, -2, 9, 0}) d.insert(k, k * k);
  std::vector<std::pair<int, int>> items(d.begin(), d.end());
  EXPECT_THAT(items, ElementsAre(std::make_pair(-2, 4), std::make_pair(0, 0), std::make_pair(5, 25),
                                 std::make_pair(9, 81)));
}

TEST(Dictionary, CopiesAreDeepAndClearEmpties) {
  dictionary<int, string> a;
  a.insert(1, "x");
  dictionary<int, string> b(a);
  b.insert(1, "y");
  b.insert(2, "z");
  EXPECT_EQ(a.size(), 1);
  EXPECT_EQ(int_names::inf(a.lookup(1)), string("x"));
  a = b;
  EXPECT_EQ(a.size(), 2);
  a.del(1);
  EXPECT_EQ(a.size(), 1);
  EXPECT_EQ(b.size(), 2);
  b.clear();
  EXPECT_TRUE(b.empty());
}

TEST(Set, KeepsUniqueElementsInOrder) {
  set<string> s;
  for (const char* e : {"pear", "Apple", "pear", "fig"}) s.insert(e);
  EXPECT_EQ(s.size(), 3);
  EXPECT_TRUE(s.member("fig"));
  EXPECT_FALSE(s.member("apple"));
  std::vector<std::string> seen;
  for (const string& e : s) seen.emplace_back(e.c_str());
  EXPECT_THAT(seen, ElementsAre("Apple", "fig", "pear"));
  s.del("fig");
  EXPECT_FALSE(s.member("fig"));
  s.clear();
  EXPECT_TRUE(s.empty());
}

TEST(Set, OrdersIntegersByValue) {
  set<int> s;
  for (int e : {3, -1, 3, 2}) s.insert(e);
  std::vector<int> seen(s.begin(), s.end());
  EXPECT_THAT(seen, ElementsAre(-1, 2, 3));
}

}  // namespace
