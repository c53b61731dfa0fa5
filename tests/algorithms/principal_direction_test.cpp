// Tests of the power iteration against its literal matrix-product form, and of the principal
// direction's finite unit results on degenerate clusters.
#include "algorithms/principal_direction.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <random>
#include <string>

#include "algorithms/products.hpp"
#include "tests/algorithms/each_width.hpp"
#include "tests/algorithms/fixtures.hpp"
#include "tests/support/builders.hpp"
#include "tests/support/close.hpp"

namespace {

tTaxaSet all_rows(const matrix& data) {
  tTaxaSet s;
  for (int r = 0; r < data.dim1(); ++r) s.insert(r);
  return s;
}

void expect_bitwise_equal(const vector& a, const vector& b, const std::string& where) {
  ASSERT_EQ(a.dim(), b.dim()) << where;
  for (int i = 0; i < a.dim(); ++i) EXPECT_EQ(a[i], b[i]) << where << ", entry " << i;
}

void expect_finite_unit(const vector& u) {
  for (int i = 0; i < u.dim(); ++i) ASSERT_TRUE(std::isfinite(u[i])) << "entry " << i;
  EXPECT_TRUE(close_to(u.length(), 1.0, 1e-12));
}

// Summed squared projection of the rows on u.
double spread(const matrix& data, const vector& u) {
  double sum = 0.0;
  for (int r = 0; r < data.dim1(); ++r) {
    const double p = data.row(r) * u;
    sum += p * p;
  }
  return sum;
}

// The largest summed squared projection, by many plain power steps on AᵀA from a fixed start.
double largest_spread(const matrix& data) {
  std::mt19937 gen(99);
  vector v = random_matrix(gen, 1, data.dim2()).row(0);
  const matrix gram = data.trans() * data;
  for (int step = 0; step < 2000; ++step) {
    const vector w = static_cast<vector>(gram * matrix(v));
    v = w / w.length();
  }
  return spread(data, v);
}

TEST(Klineberg, NoStepsLeavesAllOnesOfTheRowSide) {
  const matrix B = make_matrix({{1, 2}, {3, 4}, {5, 6}});
  for (int iterations : {0, -3}) {
    vector result = make_vector({9});
    Klineberg(B, result, iterations);
    expect_bitwise_equal(result, ones(3), "iterations " + std::to_string(iterations));
  }
}

TEST(Klineberg, ResultTakesTheRowCountOfTheMatrix) {
  const matrix B = make_matrix({{1, 2}, {3, 4}, {5, 6}});
  for (int iterations : {1, 2, 5}) {
    vector result(7);
    Klineberg(B, result, iterations);
    EXPECT_EQ(result.dim(), 3);
  }
}

TEST(Klineberg, MatchesTheLiteralIterationBitForBit) {
  std::mt19937 gen(21);
  const int shapes[][2] = {{1, 1},  {3, 2},  {2, 3},  {9, 17}, {17, 9},  {8, 16},
                           {33, 5}, {5, 40}, {16, 4}, {19, 7}, {37, 23}, {70, 130}};
  for_each_width([&](const std::string& width) {
    for (const auto& shape : shapes) {
      const matrix B = random_matrix(gen, shape[0], shape[1]);
      for (int iterations : {0, 1, 2, 3, 4, 7, 10, 21}) {
        vector fast, slow;
        Klineberg(B, fast, iterations);
        reference_klineberg(B, slow, iterations);
        expect_bitwise_equal(fast, slow,
                             width + std::to_string(shape[0]) + " x " + std::to_string(shape[1]) +
                                 ", " + std::to_string(iterations) + " steps");
      }
    }
  });
}

TEST(PrincipalDirection, MatchesTheLiteralFormBitForBit) {
  std::mt19937 gen(17);
  const int shapes[][2] = {{1, 3},   {2, 2},  {7, 5},   {30, 17},
                           {45, 64}, {12, 1}, {64, 33}, {90, 101}};
  for_each_width([&](const std::string& width) {
    for (const auto& shape : shapes) {
      const matrix data = random_matrix(gen, shape[0], shape[1]);
      std::bernoulli_distribution keep(0.6);
      tTaxaSet members;
      for (int r = 0; r < data.dim1(); ++r)
        if (keep(gen)) members.insert(r);
      if (members.empty()) members.insert(0);
      for (const tTaxaSet& s : {members, all_rows(data)}) {
        for (int iterations : {0, 1, 2, 3, 4, 5, 8, 20}) {
          expect_bitwise_equal(
              principal_direction(data, s, iterations), reference_direction(data, s, iterations),
              width + std::to_string(s.size()) + " of " + std::to_string(shape[0]) + " rows, " +
                  std::to_string(iterations) + " steps");
        }
      }
    }
  });
}

TEST(PrincipalDirection, NoStepsGivesTheNormalisedAllOnesVector) {
  const matrix data = make_matrix({{1, 2, 3, 4}, {5, 6, 7, 8}});
  const vector u = principal_direction(data, all_rows(data), 0);
  ASSERT_EQ(u.dim(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(u[i], 1.0 / std::sqrt(4.0));
}

TEST(PrincipalDirection, OneMemberOneStepIsItsRowNormalised) {
  const matrix data = make_matrix({{9, 9}, {3, -4}});
  tTaxaSet member;
  member.insert(1);
  const vector u = principal_direction(data, member, 1);
  EXPECT_TRUE(close_to(u[0], 0.6, 1e-15));
  EXPECT_TRUE(close_to(u[1], -0.8, 1e-15));
}

TEST(PrincipalDirection, TwoAxesOneStepGiveTheDiagonal) {
  const matrix data = make_matrix({{1, 0}, {0, 1}});
  const vector u = principal_direction(data, all_rows(data), 1);
  EXPECT_TRUE(close_to(u[0], 1 / std::sqrt(2.0), 1e-15));
  EXPECT_TRUE(close_to(u[1], 1 / std::sqrt(2.0), 1e-15));
}

TEST(PrincipalDirection, ManyStepsApproachTheLongerAxis) {
  const matrix data = make_matrix({{3, 0}, {0, 1}});
  const vector u = principal_direction(data, all_rows(data), 60);
  EXPECT_TRUE(close_to(std::fabs(u[0]), 1.0, 1e-12));
  EXPECT_TRUE(close_to(u[1], 0.0, 1e-12));
}

TEST(PrincipalDirection, AllZeroRowsGiveAFixedUnitVector) {
  const matrix data(3, 4);
  for (int iterations : {0, 1, 2, 5}) {
    const vector u = principal_direction(data, all_rows(data), iterations);
    expect_finite_unit(u);
    expect_bitwise_equal(u, principal_direction(data, all_rows(data), 0), "all zero");
  }
}

TEST(PrincipalDirection, RowAndItsNegationGiveTheirLine) {
  const matrix data = make_matrix({{1, 2, 2}, {-1, -2, -2}});
  // Odd step counts start from the sum of the rows, which is zero here.
  for (int iterations : {1, 3, 4, 20}) {
    const vector u = principal_direction(data, all_rows(data), iterations);
    expect_finite_unit(u);
    EXPECT_TRUE(close_to(spread(data, u), 18.0, 1e-12)) << iterations << " steps";
  }
}

TEST(PrincipalDirection, RowCentredDataFallsBackToTheLargestSpread) {
  // Every row is orthogonal to the all-ones start, so even step counts meet a zero vector.
  const matrix data = make_matrix({{1, -1, 0, 0}, {2, 0, -2, 0}, {0, 3, 0, -3}, {1, 1, -1, -1}});
  const double best = largest_spread(data);
  const vector few = principal_direction(data, all_rows(data), 2);
  expect_finite_unit(few);
  EXPECT_GT(spread(data, few), 0.9 * best);  // two steps are not converged, but close
  for (int iterations : {20, 40}) {
    const vector u = principal_direction(data, all_rows(data), iterations);
    expect_finite_unit(u);
    EXPECT_TRUE(close_to(spread(data, u) / best, 1.0, 1e-6)) << iterations << " steps";
  }
}

// The fallback written literally: the signed row sum as start, then `iterations` steps of
// x = A y, y = Aᵀ x, each normalised (small integers: the power-of-two scaling changes no bit).
vector reference_fallback(const matrix& A, int iterations) {
  vector y(A.dim2());
  for (int r = 0; r < A.dim1(); ++r) y = dot_prod(y, A.row(r)) >= 0.0 ? y + A.row(r) : y - A.row(r);
  y = y / y.length();
  for (int step = 0; step < iterations; ++step) {
    const vector x = static_cast<vector>(A * matrix(y));
    const vector next = static_cast<vector>(A.trans() * matrix(x / x.length()));
    y = next / next.length();
  }
  return y;
}

TEST(PrincipalDirection, RowCentredDataFallsBackWithTheGivenStepsAndSign) {
  // The sign decides the halves of the bisection and so the group labels.
  const matrix data = make_matrix({{1, -1, 0, 0}, {2, 0, -2, 0}, {0, 3, 0, -3}, {1, 1, -1, -1}});
  for (int iterations : {2, 4, 6})
    expect_bitwise_equal(principal_direction(data, all_rows(data), iterations),
                         reference_fallback(data, iterations),
                         std::to_string(iterations) + " steps");
}

TEST(PrincipalDirection, UnusedSideGoingToNaNDoesNotChangeTheResult) {
  // With odd step counts the all-ones chain is the unused one: its zero vector must not matter.
  const matrix data = make_matrix({{1, -1, 0, 0}, {2, 0, -2, 0}, {0, 3, 0, -3}});
  for (int iterations : {1, 3, 5, 21})
    expect_bitwise_equal(principal_direction(data, all_rows(data), iterations),
                         reference_direction(data, all_rows(data), iterations),
                         std::to_string(iterations) + " steps");
}

TEST(PrincipalDirection, ExtremeMagnitudesStillGiveTheRowDirection) {
  for (double scale : {1e300, 1e-300}) {
    const matrix data = make_matrix({{3 * scale, 4 * scale}, {6 * scale, 8 * scale}});
    for (int iterations : {1, 2, 7}) {
      const vector u = principal_direction(data, all_rows(data), iterations);
      expect_finite_unit(u);
      EXPECT_TRUE(close_to(std::fabs(u[0]), 0.6, 1e-12)) << scale;
      EXPECT_TRUE(close_to(std::fabs(u[1]), 0.8, 1e-12)) << scale;
    }
  }
}

TEST(PrincipalDirection, RowsThatAreNotNumbersStillGiveAUnitVector) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const matrix data = make_matrix({{nan, 1, 2}, {1, 2, 3}});
  for (int iterations : {1, 2})
    expect_finite_unit(principal_direction(data, all_rows(data), iterations));
}

}  // namespace
