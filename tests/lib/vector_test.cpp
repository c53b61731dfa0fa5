// Tests of the dense vector: storage, arithmetic, summation order, text form and reports.
#include "lib/vector.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <limits>
#include <sstream>
#include <utility>

#include "tests/lib/container_banner.hpp"
#include "tests/support/builders.hpp"

namespace {

using ::testing::Eq;
using ::testing::KilledBySignal;
using ::testing::StartsWith;

std::string text(const vector& v) {
  std::ostringstream os;
  os << v;
  return os.str();
}

TEST(Vector, ConstructionGivesZeros) {
  EXPECT_EQ(vector().dim(), 0);
  vector v(3);
  ASSERT_EQ(v.dim(), 3);
  for (int i = 0; i < 3; i++) EXPECT_EQ(v[i], 0.0);
}

TEST(Vector, CopyIsDeep) {
  vector a = make_vector({1, 2});
  vector b(a);
  b[0] = 7;
  EXPECT_EQ(a[0], 1);
  vector c;
  c = a;
  c[1] = 9;
  EXPECT_EQ(a[1], 2);
  EXPECT_EQ(c.dim(), 2);
}

TEST(Vector, AssignmentOfEqualDimensionKeepsReferencesValid) {
  vector a(2);
  double& first = a[0];
  a = make_vector({4, 5});
  EXPECT_EQ(first, 4);
  a = make_vector({6, 7});  // also through move assignment
  EXPECT_EQ(first, 6);
}

TEST(Vector, AssignmentOfOtherDimensionTakesIt) {
  vector a(5);
  a = make_vector({1, 2});
  EXPECT_EQ(a.dim(), 2);
  EXPECT_EQ(a[1], 2);
  vector b(1);
  b = vector();
  EXPECT_EQ(b.dim(), 0);
}

TEST(Vector, MoveLeavesSourceEmpty) {
  vector a = make_vector({1, 2, 3});
  vector b(std::move(a));
  EXPECT_EQ(b.dim(), 3);
  EXPECT_EQ(b[2], 3);
  EXPECT_EQ(a.dim(), 0);  // NOLINT: the moved-from state is part of the contract
}

TEST(Vector, ArithmeticIsEntryWise) {
  vector v = make_vector({1, 2});
  vector w = make_vector({10, 20});
  EXPECT_EQ(text(v + w), "2  11 22");
  EXPECT_EQ(text(w - v), "2  9 18");
  EXPECT_EQ(text(v * 3.0), "2  3 6");
  EXPECT_EQ(text(w / 4.0), "2  2.5 5");
  v += w;
  EXPECT_EQ(text(v), "2  11 22");
  v -= w;
  EXPECT_EQ(text(v), "2  1 2");
}

TEST(Vector, DivisionByZeroGivesInfinitiesWithoutReport) {
  vector r = make_vector({1, -1, 0}) / 0.0;
  EXPECT_EQ(r[0], std::numeric_limits<double>::infinity());
  EXPECT_EQ(r[1], -std::numeric_limits<double>::infinity());
  EXPECT_TRUE(std::isnan(r[2]));
}

TEST(Vector, ScalarProductSumsFromTheHighestIndex) {
  // Summed from index 0 this gives 0 (1 + 1e16 rounds to 1e16); from the top it gives 1.
  vector v = make_vector({1, 1e16, -1e16});
  vector ones = make_vector({1, 1, 1});
  EXPECT_EQ(v * ones, 1.0);
  EXPECT_EQ(vector() * vector(), 0.0);
}

TEST(Vector, LengthOfThreeFour) {
  vector v = make_vector({3, 4});
  EXPECT_EQ(v.sqr_length(), 25);
  EXPECT_EQ(v.length(), 5);
}

TEST(Vector, TextForm) {
  EXPECT_EQ(text(vector(0)), "0 ");
  EXPECT_EQ(text(make_vector({1, 2.5})), "2  1 2.5");
  EXPECT_EQ(text(make_vector({1.0 / 3})), "1  0.333333");
}

TEST(Vector, ReadsDimensionThenEntries) {
  std::istringstream is("3 1.5 -2 4e1 rest");
  vector v(7);
  is >> v;
  EXPECT_EQ(text(v), "3  1.5 -2 40");
  std::string rest;
  is >> rest;
  EXPECT_EQ(rest, "rest");
}

TEST(Vector, ToleranceComparisons) {
  EXPECT_TRUE(is_zero(vector(), 0.0));
  EXPECT_TRUE(is_zero(make_vector({0.1, -0.1}), 0.1));
  EXPECT_FALSE(is_zero(make_vector({0.1, -0.2}), 0.1));
  EXPECT_TRUE(is_equal(make_vector({1, 2}), make_vector({1.5, 2}), 0.5));
  EXPECT_FALSE(is_equal(make_vector({1, 2}), make_vector({1.6, 2}), 0.5));
  // A difference before the end decides before the dimensions are compared.
  EXPECT_FALSE(is_equal(make_vector({1, 2}), make_vector({5, 2, 3}), 0.5));
}

TEST(VectorDeathTest, IndexOutOfRange) {
  vector v(2);
  EXPECT_EXIT(v[2] = 1, KilledBySignal(SIGABRT), StartsWith(banner("vector: index out of range ")));
  EXPECT_EXIT(v[-1] = 1, KilledBySignal(SIGABRT),
              StartsWith(banner("vector: index out of range ")));
  const vector& c = v;
  EXPECT_EXIT(std::printf("%g", c[2]), KilledBySignal(SIGABRT),
              StartsWith(banner("vector: index out of range ")));
}

TEST(VectorDeathTest, NegativeDimension) {
  EXPECT_EXIT(vector(-1), KilledBySignal(SIGABRT),
              StartsWith(banner("vector: negative dimension.")));
  std::istringstream is("-2");
  vector v;
  EXPECT_EXIT(is >> v, KilledBySignal(SIGABRT), StartsWith(banner("vector: negative dimension.")));
}

TEST(VectorDeathTest, DifferentDimensions) {
  vector v(3);
  vector w(2);
  const std::string m = banner("vector arguments have different dimensions.");
  EXPECT_EXIT(std::printf("%g", v * w), KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(v + w, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(v - w, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(v += w, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(v -= w, KilledBySignal(SIGABRT), StartsWith(m));
}

TEST(VectorDeathTest, IsEqualWithDifferentDimensions) {
  EXPECT_EXIT(is_equal(make_vector({1, 2}), make_vector({1, 2, 3}), 0.0),
              testing::ExitedWithCode(1),
              Eq("\nFatal Error: is_equal(avec,bvec): bad dimensions: 2 3\n"));
  EXPECT_EXIT(is_equal(make_vector({1, 2}), make_vector({1}), 0.0), KilledBySignal(SIGABRT),
              StartsWith(banner("vector: index out of range ")));
}

}  // namespace
