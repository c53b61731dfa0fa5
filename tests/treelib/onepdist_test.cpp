// Tests of the Jukes-Cantor correction, its replacements and statistics.
#include "treelib/onepdist.hpp"

#include <gtest/gtest.h>

#include <vector>

#include "tests/support/close.hpp"
#include "tests/treelib/fixtures.hpp"

namespace {

// Expected values from python3 with A = 3/4, B = 4/3: -A * math.log(1 - B * p).
constexpr double kJc01 = 0.10732563273050497;
constexpr double kJc02 = 0.2326161962278796;
constexpr double kJc05 = 0.8239592165010822;
constexpr double kJc074 = 3.238116085152228;
constexpr double kJc07499998 = 11.352949798230211;

}  // namespace

TEST(Onepdist, CorrectsEveryPair) {
  const tMatrix observed = upper(3, {0.1, 0.2, 0.5});
  tMatrix corrected;
  EXPECT_TRUE(onepdist(observed, corrected, 4));
  ASSERT_EQ(corrected.dim1(), 3);
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), kJc02);
  EXPECT_EQ(corrected(1, 2), kJc05);
  EXPECT_TRUE(close_to(corrected(1, 2), 0.824, 1e-3));
  expect_symmetric_zero_diagonal(corrected);
}

TEST(Onepdist, SaturationMarginIsOneInTenMillion) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_cfix(upper(2, {0.74999995}), corrected, 4, -1));
  EXPECT_EQ(corrected(0, 1), -1.0);
  EXPECT_TRUE(onepdist(upper(2, {0.7499998}), corrected, 4));
  EXPECT_EQ(corrected(0, 1), kJc07499998);
}

TEST(Onepdist, StatesSetTheSaturationLevel) {
  // Two states saturate at 0.5; python3: A=0.5; B=2.0; -A * math.log(1 - B * 0.4)
  tMatrix corrected;
  EXPECT_FALSE(onepdist_cfix(upper(3, {0.4, 0.49999995, 0.6}), corrected, 2, -1));
  EXPECT_EQ(corrected(0, 1), 0.8047189562170503);
  EXPECT_EQ(corrected(0, 2), -1.0);
  EXPECT_EQ(corrected(1, 2), -1.0);
}

TEST(Onepdist, EmptyAndSingleMatricesAreCopiedWithZeroDiagonal) {
  tMatrix corrected(4, 4);
  EXPECT_TRUE(onepdist(tMatrix(), corrected, 4));
  EXPECT_EQ(corrected.dim1(), 0);
  tMatrix one(1, 1);
  one(0, 0) = 0.3;
  EXPECT_TRUE(onepdist(one, corrected, 4));
  ASSERT_EQ(corrected.dim1(), 1);
  EXPECT_EQ(corrected(0, 0), 0.0);
}

TEST(Onepdist, ReadsOnlyTheUpperTriangle) {
  tMatrix observed = upper(3, {0.1, 0.2, 0.5});
  observed(1, 0) = 0.9;
  observed(2, 1) = 0.0;
  observed(1, 1) = 0.7;
  tMatrix corrected;
  EXPECT_TRUE(onepdist(observed, corrected, 4));
  EXPECT_EQ(corrected(1, 0), kJc01);
  EXPECT_EQ(corrected(2, 1), kJc05);
  expect_symmetric_zero_diagonal(corrected);
}

TEST(Onepdist, SaturatedPairsTakeTheLargestDistance) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist(upper(3, {0.1, 0.8, 0.5}), corrected, 4));
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), kJc05);
  EXPECT_EQ(corrected(1, 2), kJc05);
  expect_symmetric_zero_diagonal(corrected);
}

TEST(Onepdist, EverythingSaturatedGivesZero) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist(upper(3, {0.75, 0.9, 1.0}), corrected, 4));
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) EXPECT_EQ(corrected(i, j), 0.0);
  }
}

TEST(Onepdist, RelativeReplacementCapsAtAFractionOfTheLargest) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_xfix(upper(3, {0.1, 0.8, 0.5}), corrected, 4, 0.5f));
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), 0.5 * kJc05);
  EXPECT_EQ(corrected(1, 2), 0.5 * kJc05);

  EXPECT_FALSE(onepdist_xfix(upper(3, {0.1, 0.8, 0.5}), corrected, 4, 0.0f));
  EXPECT_EQ(corrected(0, 1), 0.0);
  EXPECT_EQ(corrected(0, 2), 0.0);
  EXPECT_EQ(corrected(1, 2), 0.0);
  expect_symmetric_zero_diagonal(corrected);
}

TEST(Onepdist, RelativeReplacementWidensTheFloat) {
  // 0.3f is not 0.3: the factor is the float's exact value.
  tMatrix corrected;
  onepdist_xfix(upper(3, {0.1, 0.8, 0.5}), corrected, 4, 0.3f);
  EXPECT_EQ(corrected(0, 2), static_cast<double>(0.3f) * kJc05);
  EXPECT_NE(corrected(0, 2), 0.3 * kJc05);
}

TEST(Onepdist, NegativeFactorKeepsTheMarkers) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_xfix(upper(3, {0.1, 0.8, 0.5}), corrected, 4, -0.5f));
  EXPECT_EQ(corrected(0, 2), -1.0);
  EXPECT_EQ(corrected(2, 0), -1.0);
  EXPECT_EQ(corrected(1, 2), kJc05);
}

TEST(Onepdist, NothingIsReplacedWithoutSaturation) {
  tMatrix corrected;
  EXPECT_TRUE(onepdist_xfix(upper(3, {0.1, 0.2, 0.5}), corrected, 4, 0.0f));
  EXPECT_EQ(corrected(1, 2), kJc05);
  EXPECT_TRUE(onepdist_cfix(upper(3, {0.1, 0.2, 0.5}), corrected, 4, 0.0f));
  EXPECT_EQ(corrected(1, 2), kJc05);
}

TEST(Onepdist, ConstantReplacementCapsAtX) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_cfix(upper(4, {0.1, 0.74, 0.9, 0.5, 0.2, 0.3}), corrected, 4, 2.0f));
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), 2.0);  // was kJc074 > 2
  EXPECT_EQ(corrected(0, 3), 2.0);  // saturated
  EXPECT_EQ(corrected(1, 2), kJc05);
  EXPECT_EQ(corrected(1, 3), kJc02);
  expect_symmetric_zero_diagonal(corrected);
  EXPECT_GT(kJc074, 2.0);
}

TEST(Onepdist, ConstantReplacementNegativeKeepsTheMarkers) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_cfix(upper(3, {0.1, 0.74, 0.9}), corrected, 4, -1.0f));
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), kJc074);
  EXPECT_EQ(corrected(1, 2), -1.0);
}

TEST(Onepdist, CompressionMapsLargeProportions) {
  tMatrix corrected;
  EXPECT_FALSE(onepdist_pqfix(upper(3, {1.0, 0.6, 0.5}), corrected, 4, 0.5f, 0.7f));
  // python3 with the float parameters widened: p0 = 0.5, q0 = 0.699999988079071,
  // a = (q0 - p0) / (1 - p0), b = q0 - a; then -A * math.log(1 - B * (a * v + b)).
  EXPECT_EQ(corrected(0, 1), 2.031037472012744);
  EXPECT_EQ(corrected(0, 2), 0.954724248344716);
  EXPECT_EQ(corrected(1, 2), kJc05);
  expect_symmetric_zero_diagonal(corrected);
}

TEST(Onepdist, CompressionLeavesSmallProportions) {
  tMatrix corrected;
  EXPECT_TRUE(onepdist_pqfix(upper(3, {0.1, 0.2, 0.5}), corrected, 4, 0.5f, 0.7f));
  EXPECT_EQ(corrected(0, 1), kJc01);
  EXPECT_EQ(corrected(0, 2), kJc02);
  EXPECT_EQ(corrected(1, 2), kJc05);
}

TEST(Onepdist, InputMayBeTheOutput) {
  const tMatrix original = upper(4, {0.1, 0.74, 0.9, 0.5, 0.2, 0.3});
  using Correction = bool (*)(const tMatrix&, tMatrix&);
  const std::vector<Correction> corrections{
      [](const tMatrix& o, tMatrix& c) { return onepdist(o, c, 4); },
      [](const tMatrix& o, tMatrix& c) { return onepdist_xfix(o, c, 4, 0.5f); },
      [](const tMatrix& o, tMatrix& c) { return onepdist_cfix(o, c, 4, 2.0f); },
      [](const tMatrix& o, tMatrix& c) { return onepdist_pqfix(o, c, 4, 0.5f, 0.7f); },
  };
  for (const Correction& correct : corrections) {
    tMatrix separate;
    const bool separate_result = correct(original, separate);
    tMatrix in_place = original;
    EXPECT_EQ(correct(in_place, in_place), separate_result);
    for (int i = 0; i < 4; ++i) {
      for (int j = 0; j < 4; ++j) EXPECT_EQ(in_place(i, j), separate(i, j)) << i << "," << j;
    }
  }
}

TEST(Onepdist, MaxCorrectibleOverTheTaxaIncludingTheDiagonal) {
  tMatrix observed = upper(4, {0.1, 0.74, 0.9, 0.5, 0.2, 0.7499999});
  EXPECT_EQ(max_correctible(make_set({0, 1, 2, 3}), observed, 4), 0.74);
  EXPECT_EQ(max_correctible(make_set({1, 3}), observed, 4), 0.2);
  observed(3, 3) = 0.3;
  EXPECT_EQ(max_correctible(make_set({1, 3}), observed, 4), 0.3);
  EXPECT_EQ(max_correctible(make_set({2, 3}), upper(4, {0, 0, 0, 0, 0, 0.8}), 4), 0.0);
  EXPECT_EQ(max_correctible(tTaxaSet(), observed, 4), 0.0);
}

TEST(Onepdist, PercentSaturatedCountsOrderedPairs) {
  const tMatrix observed = upper(4, {0.1, 0.8, 0.9, 0.5, 0.2, 0.3});
  // Members 0, 1, 2: one saturated pair of three, counted both ways over six ordered pairs.
  EXPECT_EQ(percent_saturated(make_set({0, 1, 2}), observed, 4), 33.333333333333336);
  EXPECT_TRUE(close_to(percent_saturated(make_set({0, 1, 2}), observed, 4), 33.333, 1e-4));
  EXPECT_EQ(percent_saturated(make_set({0, 2, 3}), observed, 4), 200.0 / 3);
  EXPECT_EQ(percent_saturated(make_set({1, 2, 3}), observed, 4), 0.0);
}

TEST(Onepdist, PercentSaturatedCountsTheDiagonal) {
  tMatrix observed = upper(3, {0.1, 0.2, 0.3});
  observed(1, 1) = 0.8;
  // python3: 100.0 * 1 / (3 * 3 - 3)
  EXPECT_EQ(percent_saturated(make_set({0, 1, 2}), observed, 4), 16.666666666666668);
}

TEST(Onepdist, PercentSaturatedOfFewerThanTwoTaxaIsZero) {
  tMatrix observed(2, 2);
  observed(0, 0) = 0.9;
  EXPECT_EQ(percent_saturated(make_set({0}), observed, 4), 0.0);
  EXPECT_EQ(percent_saturated(tTaxaSet(), observed, 4), 0.0);
}

TEST(Onepdist, WiderMatricesKeepTheirExtraColumns) {
  tMatrix observed(2, 3);
  observed(0, 1) = 0.5;
  observed(1, 2) = 0.25;
  tMatrix corrected;
  EXPECT_TRUE(onepdist(observed, corrected, 4));
  ASSERT_EQ(corrected.dim2(), 3);
  EXPECT_EQ(corrected(0, 1), kJc05);
  EXPECT_EQ(corrected(1, 0), kJc05);
  EXPECT_EQ(corrected(1, 2), 0.25);
}

TEST(OnepdistDeathTest, NarrowerMatricesAreAContainerError) {
  tMatrix corrected;
  EXPECT_DEATH(onepdist(tMatrix(3, 2), corrected, 4), "matrix: col index out of range");
  EXPECT_DEATH(onepdist_pqfix(tMatrix(3, 2), corrected, 4, 0.5f, 0.7f),
               "matrix: col index out of range");
}
