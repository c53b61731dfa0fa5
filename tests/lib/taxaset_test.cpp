// Tests of tTaxaSet: capacity and growth, algebra, iteration, text forms and assertions.
#include "lib/taxaset.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <initializer_list>
#include <sstream>
#include <vector>

namespace {

using ::testing::Eq;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::KilledBySignal;

tTaxaSet make(std::initializer_list<int> members, int maxsize = 32) {
  tTaxaSet s(maxsize);
  for (int k : members) s.insert(k);
  return s;
}

std::string text(const tTaxaSet& s) {
  std::ostringstream os;
  os << s;
  return os.str();
}

std::string failed(const std::string& condition) {
  return "Assertion `" + condition + "' failed.";
}

TEST(TaxaSet, DefaultHasCapacity32AndTwoWords) {
  tTaxaSet s;
  EXPECT_EQ(s.max_size(), 32);
  EXPECT_EQ(s.word_count(), 2);
  EXPECT_EQ(s.size(), 0);
  EXPECT_TRUE(s.empty());
  EXPECT_EQ(tTaxaSet(31).word_count(), 1);
  EXPECT_EQ(tTaxaSet(0).word_count(), 1);
  EXPECT_EQ(tTaxaSet(13999).word_count(), 438);
}

TEST(TaxaSet, PushedDefaultCapacityAppliesUntilPopped) {
  tTaxaSet::push_default_max_size(100);
  EXPECT_EQ(tTaxaSet().max_size(), 100);
  tTaxaSet::pop_default_max_size();
  EXPECT_EQ(tTaxaSet().max_size(), 32);
}

TEST(TaxaSet, GrowsToTwiceTheInsertedElement) {
  tTaxaSet s;
  s.insert(40);
  EXPECT_EQ(s.max_size(), 80);
  EXPECT_EQ(s.word_count(), 3);
  s.insert(40);
  EXPECT_EQ(s.size(), 1);
  s.insert(6999);
  EXPECT_EQ(s.max_size(), 13998);
  EXPECT_TRUE(s.member(6999));
}

TEST(TaxaSet, ZeroIntoEmptyCapacityGivesCapacity32) {
  tTaxaSet s(0);
  s.insert(0);
  EXPECT_EQ(s.max_size(), 32);
  EXPECT_TRUE(s.member(0));
  tTaxaSet t = all_taxa(0);
  t.insert(1);
  EXPECT_EQ(t.max_size(), 2);
}

TEST(TaxaSet, LargestElementOfTheLargestSet) {
  tTaxaSet s(13999);
  s.insert(13998);
  EXPECT_TRUE(s.member(13998));
  EXPECT_EQ(s.size(), 1);
}

TEST(TaxaSet, MembershipAndDeletion) {
  tTaxaSet s = make({0, 31, 32});
  EXPECT_TRUE(s.member(31));
  EXPECT_FALSE(s.member(30));
  EXPECT_FALSE(s.member(5000));  // beyond the capacity
  s.del(31);
  s.del(31);
  s.del(5000);
  EXPECT_EQ(s.size(), 2);
  EXPECT_EQ(s.max_size(), 64);
  EXPECT_EQ(text(s), " 0 32");
  s.clear();
  EXPECT_EQ(s.size(), 0);
  EXPECT_EQ(s.max_size(), 64);
}

TEST(TaxaSet, ResizeAndPack) {
  tTaxaSet s = make({3, 70}, 100);
  s.resize(200);
  EXPECT_EQ(s.word_count(), 7);
  EXPECT_EQ(text(s), " 3 70");
  s.pack();
  EXPECT_EQ(s.max_size(), 71);
  EXPECT_EQ(s.word_count(), 3);
  s.insert(71);  // grows again
  EXPECT_EQ(s.max_size(), 142);
  EXPECT_EQ(text(s), " 3 70 71");
}

TEST(TaxaSet, CopyAndAssignmentAreDeep) {
  tTaxaSet a = make({1, 40}, 80);
  tTaxaSet b(a);
  b.insert(2);
  EXPECT_EQ(text(a), " 1 40");
  tTaxaSet c(3000);
  c = a;
  EXPECT_EQ(c.max_size(), 80);
  EXPECT_EQ(c.word_count(), 3);
  EXPECT_EQ(c.size(), 2);
  c.del(1);
  EXPECT_TRUE(a.member(1));
}

TEST(TaxaSet, EqualityIgnoresCapacity) {
  EXPECT_TRUE(make({1}) == make({1}, 2000));
  EXPECT_TRUE(make({1}, 2000) == make({1}));
  EXPECT_FALSE(make({1}) == make({1, 1500}, 2000));
  EXPECT_TRUE(make({1}) != make({2}));
}

TEST(TaxaSet, IntersectionKeepsOnlyCommonWords) {
  tTaxaSet a = make({1, 40}, 80);
  tTaxaSet b = make({1});
  tTaxaSet both = a & b;
  EXPECT_EQ(text(both), " 1");
  EXPECT_EQ(both.max_size(), 32);
  a &= b;
  EXPECT_EQ(text(a), " 1");
  EXPECT_EQ(a.max_size(), 80);
  EXPECT_EQ(a.size(), 1);
}

TEST(TaxaSet, UnionTakesTheLargerCapacity) {
  tTaxaSet a = make({1, 5});
  tTaxaSet b = make({5, 100}, 120);
  tTaxaSet u = a + b;
  EXPECT_EQ(text(u), " 1 5 100");
  EXPECT_EQ(u.max_size(), 120);
  EXPECT_EQ(u.size(), 3);
  a += b;
  EXPECT_EQ(a.max_size(), 120);
  EXPECT_EQ(a.size(), 3);
  EXPECT_TRUE(a == u);
}

TEST(TaxaSet, Difference) {
  tTaxaSet a = make({1, 5, 70}, 80);
  tTaxaSet b = make({5, 6});
  tTaxaSet d = a - b;
  EXPECT_EQ(text(d), " 1 70");
  EXPECT_EQ(d.max_size(), 80);
  EXPECT_EQ(text(b - a), " 6");
  a -= b;
  EXPECT_EQ(a.size(), 2);
  EXPECT_EQ(text(a - 70), " 1");
  EXPECT_EQ(text(a - 3000), " 1 70");
}

TEST(TaxaSet, SubsetsAndTripleIntersection) {
  tTaxaSet small = make({1, 2});
  tTaxaSet big = make({1, 2, 50}, 64);
  EXPECT_TRUE(small <= big);
  EXPECT_FALSE(big <= small);
  EXPECT_TRUE(big >= small);
  EXPECT_TRUE(tTaxaSet() <= small);
  EXPECT_TRUE(intersect(small, big, make({2, 3})));
  EXPECT_FALSE(intersect(small, big, make({3, 50}, 64)));
}

TEST(TaxaSet, IterationBothWays) {
  tTaxaSet s = make({0, 31, 32}, 80);
  std::vector<int> up;
  for (tItem it = s.first_item(); it; it = s.next_item(it)) up.push_back(s.inf(it));
  EXPECT_EQ(up, (std::vector<int>{0, 31, 32}));
  std::vector<int> down;
  for (tItem it = s.last_item(); it; it = s.prev_item(it)) down.push_back(s[it]);
  EXPECT_EQ(down, (std::vector<int>{32, 31, 0}));
  EXPECT_EQ(s.prev_item(33), 32u);  // the item of 31 from the item of 32
  EXPECT_EQ(s.next_item(80), 0u);   // at the capacity
  EXPECT_EQ(s.prev_item(500), 33u);
  EXPECT_EQ(tTaxaSet().first_item(), 0u);
  EXPECT_EQ(tTaxaSet().last_item(), 0u);
  EXPECT_EQ(tTaxaSet(0).last_item(), 0u);
  EXPECT_EQ(make({79}, 80).last_item(), 80u);
}

TEST(TaxaSet, AllTaxa) {
  tTaxaSet s = all_taxa(40);
  EXPECT_EQ(s.max_size(), 40);
  EXPECT_EQ(s.size(), 40);
  EXPECT_TRUE(s.member(39));
}

TEST(TaxaSet, PrintsBlankBeforeEachMember) {
  EXPECT_EQ(text(make({3, 5})), " 3 5");
  EXPECT_EQ(text(tTaxaSet()), "");
  dictionary<int, string> names;
  names.insert(3, "c");
  names.insert(5, "e");
  std::ostringstream os;
  make({3, 5}).print(names, os);
  EXPECT_EQ(os.str(), " c e");
}

TEST(TaxaSet, ReadsNumbersUntilTheFirstNonNumber) {
  tTaxaSet s;
  EXPECT_TRUE(s.read(string("1 2 x 3")));
  EXPECT_EQ(text(s), " 1 2");
  EXPECT_TRUE(s.read(string("010")));  // octal
  EXPECT_EQ(text(s), " 8");
  EXPECT_TRUE(s.read(string("\t0x11 +4")));
  EXPECT_EQ(text(s), " 4 17");
  EXPECT_FALSE(s.read(string("")));
  EXPECT_TRUE(s.empty());
}

TEST(TaxaSet, ReadsOneLineFromAStream) {
  std::istringstream is("4 6\n7\n");
  tTaxaSet s;
  is >> s;
  EXPECT_EQ(text(s), " 4 6");
  s.read(is);
  EXPECT_EQ(text(s), " 7");
}

TEST(TaxaSet, ReadsNames) {
  dictionary<string, int> name2n;
  name2n.insert("a", 0);
  name2n.insert("b", 9);
  tTaxaSet s;
  EXPECT_TRUE(s.read(name2n, string(" b\ta\n b ")));
  EXPECT_EQ(text(s), " 0 9");
  EXPECT_FALSE(s.read(name2n, string(" \t")));
  std::istringstream is("a\nb\n");
  s.read(name2n, is);
  EXPECT_EQ(text(s), " 0");
}

TEST(TaxaSet, ZeroOneStrings) {
  EXPECT_STREQ(make({1, 3}).to01string(4).c_str(), "01010");
  EXPECT_STREQ(make({1, 3}).to01string(1).c_str(), "01");
  EXPECT_STREQ(make({1}).to01string(40).c_str(), "01000000000000000000000000000000000000000");
  tTaxaSet s = make({5});
  s.from01string(string("0a0"));
  EXPECT_EQ(text(s), " 1");
  s.from01string(string("1"));
  EXPECT_EQ(text(s), " 0");
}

TEST(TaxaSetDeathTest, NegativeElements) {
  tTaxaSet s;
  EXPECT_EXIT(s.insert(-1), KilledBySignal(SIGABRT), HasSubstr(failed("k>=0")));
  EXPECT_EXIT(s.del(-1), KilledBySignal(SIGABRT), HasSubstr(failed("k>=0")));
  EXPECT_EXIT(s.member(-1), KilledBySignal(SIGABRT), HasSubstr(failed("k>=0")));
  EXPECT_EXIT(s - (-1), KilledBySignal(SIGABRT), HasSubstr(failed("k>=0")));
}

TEST(TaxaSetDeathTest, CapacityLimits) {
  const std::string construct = failed("0<=maxsize && maxsize<7000*2");
  EXPECT_EXIT(tTaxaSet(14000), KilledBySignal(SIGABRT), HasSubstr(construct));
  EXPECT_EXIT(tTaxaSet(-1), KilledBySignal(SIGABRT), HasSubstr(construct));
  tTaxaSet s;
  const std::string grow = failed("n>=0 && n<7000*2");
  EXPECT_EXIT(s.resize(14000), KilledBySignal(SIGABRT), HasSubstr(grow));
  EXPECT_EXIT(s.resize(-1), KilledBySignal(SIGABRT), HasSubstr(grow));
  EXPECT_EXIT(s.insert(7000), KilledBySignal(SIGABRT), HasSubstr(grow));
  EXPECT_EXIT(s.insert(2000000000), KilledBySignal(SIGABRT), HasSubstr(grow));
}

TEST(TaxaSetDeathTest, ResizeMayNotLoseMembers) {
  const std::string lost = failed("old_nelements==nelements");
  tTaxaSet s = make({5, 40}, 64);
  EXPECT_EXIT(s.resize(32), KilledBySignal(SIGABRT), HasSubstr(lost));  // a dropped word
  tTaxaSet t = make({5, 25});
  EXPECT_EXIT(t.resize(20), KilledBySignal(SIGABRT), HasSubstr(lost));  // within the kept word
  tTaxaSet u = make({5, 20});
  EXPECT_EXIT(u.resize(20), KilledBySignal(SIGABRT), HasSubstr(lost));  // the new size itself
}

TEST(TaxaSetDeathTest, NullItem) {
  tTaxaSet s;
  EXPECT_EXIT(s.inf(0), KilledBySignal(SIGABRT), HasSubstr(failed("it>0")));
  EXPECT_EXIT(s.pack(), KilledBySignal(SIGABRT), HasSubstr(failed("it>0")));  // empty set
}

TEST(TaxaSetDeathTest, EmptyDefaultSizeStack) {
  EXPECT_EXIT(
      {
        tTaxaSet::pop_default_max_size();
        tTaxaSet s;
      },
      KilledBySignal(SIGABRT), HasSubstr(failed("!default_max_size.empty()")));
}

TEST(TaxaSetDeathTest, ReadOutOfRangeNumbers) {
  tTaxaSet s;
  EXPECT_EXIT(s.read(string("3 -2")), ExitedWithCode(1),
              Eq("\nFatal Error: tTaxaSet::read(instring): number out of range 0..13998: -2\n"));
  EXPECT_EXIT(s.read(string("0x36b0")), ExitedWithCode(1),
              Eq("\nFatal Error: tTaxaSet::read(instring): number out of range 0..13998: 14000\n"));
  // 13999 fits no set, even one of the largest capacity.
  tTaxaSet largest(7000 * 2 - 1);
  EXPECT_EXIT(largest.read(string("13998 13999")), ExitedWithCode(1),
              Eq("\nFatal Error: tTaxaSet::read(instring): number out of range 0..13998: 13999\n"));
  // Below the limit the growth rule still applies: 7000 cannot double.
  EXPECT_EXIT(s.read(string("7000")), KilledBySignal(SIGABRT),
              HasSubstr(failed("n>=0 && n<7000*2")));
}

TEST(TaxaSetDeathTest, MissingNames) {
  dictionary<int, string> n2name;
  n2name.insert(3, "c");
  std::ostringstream os;
  EXPECT_EXIT(make({3, 4}).print(n2name, os), ExitedWithCode(1),
              Eq("\nFatal Error: tTaxaSet::print(n2name,outs): name not found: 4\n"));
  dictionary<string, int> name2n;
  name2n.insert("a", 0);
  tTaxaSet s;
  EXPECT_EXIT(s.read(name2n, string("a zz a")), ExitedWithCode(1),
              Eq("\nFatal Error: tTaxaSet::read(name2n,instring): Undefined taxon: zz\n"));
}

}  // namespace
