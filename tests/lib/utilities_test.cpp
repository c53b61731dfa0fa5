// Tests of guarded allocation, rounding, tolerance comparisons and the integer helpers.
#include "lib/utilities.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>

namespace {

using testing::ContainsRegex;
using testing::KilledBySignal;

TEST(Utilities, ZeroSizedAllocationsGiveNullAndKeepTheBlock) {
  EXPECT_EQ(Malloc(0), nullptr);
  char* p = static_cast<char*>(Malloc(4));
  ASSERT_NE(p, nullptr);
  std::memcpy(p, "abc", 4);
  EXPECT_EQ(Realloc(p, 0), nullptr);
  EXPECT_STREQ(p, "abc");  // still ours: Realloc(p, 0) freed nothing
  p = static_cast<char*>(Realloc(p, 1000));
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p, "abc");
  std::free(p);
}

TEST(Utilities, Double2IntRoundsHalfAwayFromZero) {
  EXPECT_EQ(double2int(2.5), 3);
  EXPECT_EQ(double2int(2.4999), 2);
  EXPECT_EQ(double2int(-2.5), -3);
  EXPECT_EQ(double2int(-2.4999), -2);
  EXPECT_EQ(double2int(-0.4), 0);
  EXPECT_EQ(double2int(0.0), 0);
  EXPECT_EQ(double2int(7.0), 7);
}

TEST(Utilities, ToleranceComparisonsHaveTheirBounds) {
  EXPECT_TRUE(is_zero(1e-9, 1e-9));
  EXPECT_TRUE(is_zero(-1e-9, 1e-9));
  EXPECT_FALSE(is_zero(2e-9, 1e-9));
  EXPECT_FALSE(is_positive(1e-9, 1e-9));
  EXPECT_TRUE(is_positive(2e-9, 1e-9));
  EXPECT_FALSE(is_positive(-1.0, 0.0));
  EXPECT_TRUE(is_equal(1.0, 1.5, 0.5));
  EXPECT_TRUE(is_equal(1.5, 1.0, 0.5));
  EXPECT_FALSE(is_equal(1.0, 1.6, 0.5));
}

TEST(Utilities, IntegerHelpers) {
  EXPECT_EQ(max(3, -4), 3);
  EXPECT_EQ(min(3, -4), -4);
  EXPECT_EQ(odd(-3), -1);
  EXPECT_EQ(odd(3), 1);
  EXPECT_EQ(odd(-4), 0);
  EXPECT_EQ(first_neq(0, 1, 3), 2);
  EXPECT_EQ(first_neq(2, 1, 0), 3);
  EXPECT_EQ(first_neq(5, 1, 7), 0);
}

TEST(Utilities, IndicesGivesTheOtherTwoPositionsInOrder) {
  int k = -1, l = -1;
  EXPECT_EQ(indices(0, 2, k, l), 3);
  EXPECT_EQ(k, 1);
  EXPECT_EQ(l, 3);
  indices(3, 1, k, l);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(l, 2);
  indices(0, 1, k, l);
  EXPECT_EQ(k, 2);
  EXPECT_EQ(l, 3);
  indices(2, 3, k, l);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(l, 1);
}

TEST(Utilities, StringOfLengthGivesBlanks) {
  EXPECT_EQ(stringoflength(0), string(""));
  EXPECT_EQ(stringoflength(3), string("   "));
  EXPECT_EXIT(stringoflength(-1), KilledBySignal(SIGABRT),
              ContainsRegex("Assertion `n>=0' failed"));
}

}  // namespace
