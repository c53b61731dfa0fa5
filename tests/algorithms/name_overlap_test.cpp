// Tests of the common names of two sets and their Jaccard coefficient.
#include "algorithms/name_overlap.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>

namespace {

set<string> names(std::initializer_list<const char*> elements) {
  set<string> s;
  for (const char* e : elements) s.insert(e);
  return s;
}

// The elements in iteration order, joined by blanks.
std::string listing(const set<string>& s) {
  std::string out;
  for (const string& e : s) out += std::string(out.empty() ? "" : " ") + e.c_str();
  return out;
}

}  // namespace

TEST(NameOverlap, IntersectCollectsTheCommonNames) {
  set<string> R;
  intersect(names({"a", "b", "c"}), names({"b", "c", "d"}), R);
  EXPECT_EQ(listing(R), "b c");
}

TEST(NameOverlap, IntersectKeepsWhatTheResultHeld) {
  set<string> R = names({"z", "b"});
  intersect(names({"a", "b", "c"}), names({"b", "c", "d"}), R);
  EXPECT_EQ(listing(R), "b c z");
  EXPECT_EQ(R.size(), 3);
}

TEST(NameOverlap, IntersectLeavesItsArgumentsAlone) {
  set<string> A = names({"a", "b"});
  set<string> B = names({"b", "c"});
  set<string> R;
  intersect(A, B, R);
  EXPECT_EQ(listing(A), "a b");
  EXPECT_EQ(listing(B), "b c");
}

TEST(NameOverlap, JaccardOfSmallSets) {
  EXPECT_DOUBLE_EQ(JC(names({"a", "b", "c"}), names({"b", "c", "d"})), 0.5);
  EXPECT_DOUBLE_EQ(JC(names({"a", "b", "c"}), names({"c"})), 1.0 / 3.0);
  EXPECT_EQ(JC(names({"a", "b"}), names({"a", "b"})), 1.0);
  EXPECT_EQ(JC(names({"a", "b"}), names({"c"})), 0.0);
  EXPECT_EQ(JC(names({"a"}), names({})), 0.0);
}

TEST(NameOverlap, JaccardOfTwoEmptySetsIsNotANumber) {
  EXPECT_TRUE(std::isnan(JC(names({}), names({}))));
}

TEST(NameOverlap, NamesDifferingInCaseAreDifferent) {
  set<string> R;
  intersect(names({"Gene", "gene"}), names({"gene", "GENE"}), R);
  EXPECT_EQ(listing(R), "gene");
  EXPECT_DOUBLE_EQ(JC(names({"Gene", "gene"}), names({"gene", "GENE"})), 1.0 / 3.0);
}

TEST(NameOverlap, CommonNamesComeOutInByteOrder) {
  set<string> R;
  // Upper-case letters sort before lower-case ones, and bytes above 127 after both.
  intersect(names({"alpha", "Zeta", "\xc3\xa9t\xc3\xa9", "x"}),
            names({"\xc3\xa9t\xc3\xa9", "alpha", "Zeta"}), R);
  EXPECT_EQ(listing(R), "Zeta alpha \xc3\xa9t\xc3\xa9");
}
