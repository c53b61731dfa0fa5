// Tests of the Kimura two-parameter gamma correction.
#include "treelib/twopdist.hpp"

#include <gtest/gtest.h>

#include "tests/support/close.hpp"
#include "tests/treelib/fixtures.hpp"

namespace {

// Expected values from python3 for P = 0.1, Q = 0.05 (w1 = 1 - 2*P - Q, w2 = 1 - 2*Q, e =
// -1/alpha): (alpha/2) * (math.pow(w1, e) + 0.5 * math.pow(w2, e) - 1.5)
constexpr double kK2pAlpha1 = 0.19444444444444442;
constexpr double kK2pAlphaHalf = 0.22376543209876543;
constexpr double kK2pAlphaMillion = 0.17018118725342646;
// P = 0.2, Q = 0.3, alpha = 1.
constexpr double kK2pWide = 1.541666666666667;

// The single pair of P = p, Q = q under alpha = 1 with the markers kept: -1.0 when saturated.
double pair_distance(double p, double q) {
  tMatrix P = upper(2, {p});
  tMatrix Q = upper(2, {q});
  tMatrix D;
  const bool clean = twopdist_cfix(P, Q, D, 4, -1.0f, 1.0);
  EXPECT_EQ(clean, D(0, 1) != -1.0);
  return D(0, 1);
}

}  // namespace

TEST(Twopdist, WorkedValuesForThreeShapes) {
  tMatrix P = upper(2, {0.1});
  tMatrix Q = upper(2, {0.05});
  tMatrix D;
  EXPECT_TRUE(twopdist(P, Q, D, 4, 1.0));
  EXPECT_EQ(D(0, 1), kK2pAlpha1);
  EXPECT_TRUE(close_to(D(0, 1), 0.19444, 1e-5));
  EXPECT_TRUE(twopdist(P, Q, D, 4, 0.5));
  EXPECT_EQ(D(0, 1), kK2pAlphaHalf);
  EXPECT_TRUE(close_to(D(0, 1), 0.22377, 1e-5));
  EXPECT_TRUE(twopdist(P, Q, D, 4, 1e6));
  EXPECT_EQ(D(0, 1), kK2pAlphaMillion);
  // The gamma-free limit -0.5 ln 0.75 - 0.25 ln 0.9.
  EXPECT_TRUE(close_to(D(0, 1), 0.17018, 1e-5));
  expect_symmetric_zero_diagonal(D);
}

TEST(Twopdist, SaturationRules) {
  EXPECT_EQ(pair_distance(0.0, 0.49999999), -1.0);  // w2 = 2e-8
  EXPECT_EQ(pair_distance(0.45, 0.1), -1.0);        // w1 = 0 up to rounding
  EXPECT_EQ(pair_distance(0.4, 0.2), -1.0);         // w1 = 0 up to rounding
  EXPECT_EQ(pair_distance(0.2, 0.3), kK2pWide);     // w1 = 0.3, w2 = 0.4
  EXPECT_EQ(pair_distance(0.1, 0.2), 0.5);          // w1 = w2 = 0.6
}

TEST(Twopdist, SaturationMarginIsOneInTenMillion) {
  // Expected values from python3 as above, alpha = 1.
  EXPECT_EQ(pair_distance(0.0, 0.4999999), 1250000.2499638554);  // w2 = 2e-7
  EXPECT_EQ(pair_distance(0.0, 0.49999996), -1.0);               // w2 = 8e-8
  EXPECT_EQ(pair_distance(0.4499999, 0.1), 2499999.5627750554);  // w1 = 2e-7
  EXPECT_EQ(pair_distance(0.44999996, 0.1), -1.0);               // w1 = 8e-8
}

TEST(Twopdist, EverythingSaturatedGivesZero) {
  tMatrix P = upper(3, {0.5, 0.45, 0.6});
  tMatrix Q = upper(3, {0.0, 0.1, 0.5});
  tMatrix D;
  EXPECT_FALSE(twopdist(P, Q, D, 4, 1.0));
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_EQ(D(i, j), 0.0);
  }
}

TEST(Twopdist, RelativeReplacement) {
  tMatrix P = upper(3, {0.1, 0.5, 0.2});
  tMatrix Q = upper(3, {0.05, 0.0, 0.3});
  tMatrix D;
  EXPECT_FALSE(twopdist(P, Q, D, 4, 1.0));
  EXPECT_EQ(D(0, 1), kK2pAlpha1);
  EXPECT_EQ(D(0, 2), kK2pWide);
  EXPECT_EQ(D(1, 2), kK2pWide);

  EXPECT_FALSE(twopdist_xfix(P, Q, D, 4, 0.5f, 1.0));
  EXPECT_EQ(D(0, 1), kK2pAlpha1);
  EXPECT_EQ(D(0, 2), 0.5 * kK2pWide);
  EXPECT_EQ(D(1, 2), 0.5 * kK2pWide);

  EXPECT_FALSE(twopdist_xfix(P, Q, D, 4, -2.0f, 1.0));
  EXPECT_EQ(D(0, 2), -1.0);
  EXPECT_EQ(D(1, 2), kK2pWide);
  expect_symmetric_zero_diagonal(D);
}

TEST(Twopdist, ConstantReplacement) {
  tMatrix P = upper(3, {0.1, 0.5, 0.2});
  tMatrix Q = upper(3, {0.05, 0.0, 0.3});
  tMatrix D;
  EXPECT_FALSE(twopdist_cfix(P, Q, D, 4, 1.0f, 1.0));
  EXPECT_EQ(D(0, 1), kK2pAlpha1);
  EXPECT_EQ(D(0, 2), 1.0);
  EXPECT_EQ(D(1, 2), 1.0);

  EXPECT_FALSE(twopdist_cfix(P, Q, D, 4, -1.0f, 1.0));
  EXPECT_EQ(D(0, 2), -1.0);
  EXPECT_EQ(D(2, 0), -1.0);
  EXPECT_EQ(D(1, 2), kK2pWide);
}

TEST(Twopdist, NothingIsReplacedWithoutSaturation) {
  tMatrix P = upper(3, {0.1, 0.1, 0.2});
  tMatrix Q = upper(3, {0.05, 0.05, 0.3});
  tMatrix D;
  EXPECT_TRUE(twopdist_xfix(P, Q, D, 4, 0.0f, 1.0));
  EXPECT_EQ(D(1, 2), kK2pWide);
  EXPECT_TRUE(twopdist_cfix(P, Q, D, 4, 0.0f, 1.0));
  EXPECT_EQ(D(1, 2), kK2pWide);
}

TEST(Twopdist, EmptyAndSingleInputsAreCopiedWithZeroDiagonal) {
  tMatrix empty;
  tMatrix D(3, 3);
  EXPECT_TRUE(twopdist(empty, empty, D, 4, 1.0));
  EXPECT_EQ(D.dim1(), 0);
  tMatrix one(1, 1);
  one(0, 0) = 0.4;
  EXPECT_TRUE(twopdist(one, one, D, 4, 1.0));
  ASSERT_EQ(D.dim1(), 1);
  EXPECT_EQ(D(0, 0), 0.0);
}

TEST(Twopdist, ReadsOnlyUpperTrianglesAndKeepsTheInputs) {
  tMatrix P = upper(3, {0.1, 0.2, 0.1});
  tMatrix Q = upper(3, {0.05, 0.3, 0.05});
  P(2, 0) = 0.49;
  Q(1, 0) = 0.5;
  const tMatrix P0 = P;
  const tMatrix Q0 = Q;
  tMatrix D;
  EXPECT_TRUE(twopdist(P, Q, D, 4, 1.0));
  EXPECT_EQ(D(1, 0), kK2pAlpha1);
  EXPECT_EQ(D(2, 0), kK2pWide);
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      EXPECT_EQ(P(i, j), P0(i, j));
      EXPECT_EQ(Q(i, j), Q0(i, j));
    }
  }
}

TEST(Twopdist, NumberOfStatesHasNoEffect) {
  tMatrix P = upper(3, {0.1, 0.5, 0.2});
  tMatrix Q = upper(3, {0.05, 0.0, 0.3});
  tMatrix D4;
  tMatrix D20;
  EXPECT_EQ(twopdist_xfix(P, Q, D4, 4, 0.5f, 0.7), twopdist_xfix(P, Q, D20, 20, 0.5f, 0.7));
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_EQ(D4(i, j), D20(i, j));
  }
  const tTaxaSet all = make_set({0, 1, 2});
  EXPECT_EQ(percent_saturated(all, P, Q, 4, 1.0), percent_saturated(all, P, Q, 2, 0.3));
}

TEST(Twopdist, PercentSaturatedCountsOrderedPairs) {
  tMatrix P = upper(4, {0.1, 0.5, 0.2, 0.1, 0.1, 0.1});
  tMatrix Q = upper(4, {0.05, 0.0, 0.3, 0.05, 0.5, 0.05});
  // Members 0, 1, 2: pair (0, 2) saturated, both ways, over six ordered pairs.
  EXPECT_EQ(percent_saturated(make_set({0, 1, 2}), P, Q, 4, 1.0), 100.0 * 2 / 6);
  EXPECT_EQ(percent_saturated(make_set({0, 1, 2, 3}), P, Q, 4, 1.0), 100.0 * 4 / 12);
  EXPECT_EQ(percent_saturated(make_set({0, 3}), P, Q, 4, 1.0), 0.0);
}

TEST(Twopdist, PercentSaturatedCountsTheDiagonal) {
  tMatrix P(3, 3);
  tMatrix Q(3, 3);
  Q(2, 2) = 0.5;
  EXPECT_EQ(percent_saturated(make_set({0, 1, 2}), P, Q, 4, 1.0), 100.0 * 1 / 6);
}

TEST(Twopdist, PercentSaturatedOfFewerThanTwoTaxaIsZero) {
  tMatrix P(2, 2);
  tMatrix Q(2, 2);
  Q(0, 0) = 0.5;
  EXPECT_EQ(percent_saturated(make_set({0}), P, Q, 4, 1.0), 0.0);
  EXPECT_EQ(percent_saturated(tTaxaSet(), P, Q, 4, 1.0), 0.0);
}

TEST(TwopdistDeathTest, MatricesSmallerThanPAreAContainerError) {
  tMatrix P(3, 3);
  tMatrix Q(2, 2);
  tMatrix narrow(3, 2);
  tMatrix D;
  EXPECT_DEATH(twopdist(P, Q, D, 4, 1.0), "matrix: row index out of range");
  EXPECT_DEATH(twopdist(narrow, P, D, 4, 1.0), "matrix: col index out of range");
}
