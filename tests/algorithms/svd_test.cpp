// Tests of the LAPACK singular vectors by their defining properties, and of mini and maxi.
#include "algorithms/svd.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <random>

#include "algorithms/principal_direction.hpp"
#include "lib/taxaset.hpp"
#include "tests/support/builders.hpp"
#include "tests/support/close.hpp"

namespace {

matrix random_matrix(int m, int n, unsigned seed) {
  std::mt19937 engine(seed);
  std::uniform_real_distribution<double> entry(-1.0, 1.0);
  matrix a(m, n);
  for (int i = 0; i < m; ++i)
    for (int j = 0; j < n; ++j) a(i, j) = entry(engine);
  return a;
}

// The checks below use their own plain loops, independent of the matrix operators.
double dot(const vector& u, const vector& v) {
  double s = 0.0;
  for (int i = 0; i < u.dim(); ++i) s += u[i] * v[i];
  return s;
}

double norm(const vector& u) {
  return std::sqrt(dot(u, u));
}

vector times_transposed(const matrix& a, const vector& u) {  // Aᵀ u
  vector r(a.dim2());
  for (int j = 0; j < a.dim2(); ++j)
    for (int i = 0; i < a.dim1(); ++i) r[j] += a(i, j) * u[i];
  return r;
}

vector times(const matrix& a, const vector& v) {  // A v
  vector r(a.dim1());
  for (int i = 0; i < a.dim1(); ++i)
    for (int j = 0; j < a.dim2(); ++j) r[i] += a(i, j) * v[j];
  return r;
}

vector unit(vector v) {
  const double l = norm(v);
  for (int i = 0; i < v.dim(); ++i) v[i] /= l;
  return v;
}

struct Vectors {
  vector u1;
  vector u2;
};

Vectors svd_of(const matrix& a) {
  Vectors r{vector(a.dim1()), vector(a.dim1())};
  singular_vectors(a, r.u1, r.u2);
  return r;
}

// |cos| of the angle between u and v is 1 within tol: equal up to sign.
void expect_parallel(const vector& u, const vector& v, double tol) {
  ASSERT_EQ(u.dim(), v.dim());
  EXPECT_TRUE(close_to(std::fabs(dot(u, v)) / (norm(u) * norm(v)), 1.0, tol));
}

// Checks u1, u2 as the left singular vectors of a's two largest singular values.
void expect_leading_pair(const matrix& a, const Vectors& r, unsigned seed) {
  const double s1 = norm(times_transposed(a, r.u1));
  const double s2 = norm(times_transposed(a, r.u2));
  EXPECT_TRUE(close_to(norm(r.u1), 1.0, 1e-12));
  EXPECT_TRUE(close_to(norm(r.u2), 1.0, 1e-12));
  EXPECT_TRUE(close_to(dot(r.u1, r.u2), 0.0, 1e-12));
  EXPECT_GE(s1, s2);
  // Eigenvectors of A Aᵀ with the squared singular values as eigenvalues.
  for (const auto& [u, s] : {std::pair<const vector*, double>{&r.u1, s1}, {&r.u2, s2}}) {
    const vector aatu = times(a, times_transposed(a, *u));
    for (int i = 0; i < a.dim1(); ++i)
      EXPECT_TRUE(close_to(aatu[i] / (s1 * s1), s * s * (*u)[i] / (s1 * s1), 1e-12));
  }
  // Largest: no unit x stretches further than u1, none orthogonal to u1 further than u2.
  std::mt19937 engine(seed);
  std::normal_distribution<double> gauss;
  for (int trial = 0; trial < 50; ++trial) {
    vector x(a.dim1());
    for (int i = 0; i < x.dim(); ++i) x[i] = gauss(engine);
    x = unit(x);
    EXPECT_LE(norm(times_transposed(a, x)), s1 * (1 + 1e-12));
    const double along = dot(x, r.u1);
    for (int i = 0; i < x.dim(); ++i) x[i] -= along * r.u1[i];
    x = unit(x);
    EXPECT_LE(norm(times_transposed(a, x)), s2 * (1 + 1e-12));
  }
}

}  // namespace

TEST(Svd, MiniAndMaxi) {
  EXPECT_EQ(mini(2, 5), 2);
  EXPECT_EQ(mini(5, 2), 2);
  EXPECT_EQ(maxi(2, 5), 5);
  EXPECT_EQ(maxi(5, 2), 5);
  EXPECT_EQ(maxi(1, 0), 1);
  EXPECT_EQ(mini(-3, -3), -3);
}

TEST(Svd, DiagonalMatrixGivesTheAxesByDecreasingValue) {
  Vectors r = svd_of(make_matrix({{3, 0}, {0, 2}}));
  EXPECT_TRUE(close_to(std::fabs(r.u1[0]), 1.0, 1e-15));
  EXPECT_TRUE(close_to(r.u1[1], 0.0, 1e-15));
  EXPECT_TRUE(close_to(r.u2[0], 0.0, 1e-15));
  EXPECT_TRUE(close_to(std::fabs(r.u2[1]), 1.0, 1e-15));

  Vectors swapped = svd_of(make_matrix({{2, 0}, {0, 3}}));
  EXPECT_TRUE(close_to(swapped.u1[0], 0.0, 1e-15));
  EXPECT_TRUE(close_to(std::fabs(swapped.u1[1]), 1.0, 1e-15));
}

TEST(Svd, OrthogonalColumnsAreTheVectorsOfATallMatrix) {
  // Columns (3, 4, 0) of length 5 and (0.8, -0.6, 0) of length 1.
  matrix a = make_matrix({{3, 0.8}, {4, -0.6}, {0, 0}});
  Vectors r = svd_of(a);
  expect_parallel(r.u1, a.col(0), 1e-14);
  expect_parallel(r.u2, a.col(1), 1e-14);
}

TEST(Svd, WideMatrixTakesTheLowerBidiagonalPath) {
  // A Aᵀ = [[2, 1], [1, 2]]: eigenvalues 3 and 1 along (1, 1) and (1, -1).
  Vectors r = svd_of(make_matrix({{1, 1, 0}, {0, 1, 1}}));
  expect_parallel(r.u1, make_vector({1, 1}), 1e-15);
  expect_parallel(r.u2, make_vector({1, -1}), 1e-15);
}

TEST(Svd, EntriesBeyondTheRowsKeepTheirValues) {
  matrix a = make_matrix({{3, 0.8}, {4, -0.6}, {0, 0}});
  vector u1(4);
  vector u2(5);
  u1[3] = 7.5;
  u2[3] = -1.25;
  u2[4] = 2.0;
  singular_vectors(a, u1, u2);
  EXPECT_EQ(u1[3], 7.5);
  EXPECT_EQ(u2[3], -1.25);
  EXPECT_EQ(u2[4], 2.0);
  EXPECT_TRUE(close_to(std::fabs(u1[0]), 0.6, 1e-14));
}

TEST(Svd, RandomMatricesOfEveryShapeGiveTheLeadingPair) {
  // Shapes past 128 in both sides take LAPACK's blocked code paths; the lopsided ones need the
  // most workspace relative to the smaller side.
  const int shapes[][2] = {{2, 2},  {2, 7},  {7, 2},   {5, 3},   {3, 5},     {9, 9},
                           {40, 6}, {6, 40}, {2, 300}, {300, 2}, {150, 140}, {140, 150}};
  unsigned seed = 11;
  for (const auto& shape : shapes) {
    SCOPED_TRACE(testing::Message() << shape[0] << " x " << shape[1]);
    matrix a = random_matrix(shape[0], shape[1], seed);
    expect_leading_pair(a, svd_of(a), seed + 1000);
    ++seed;
  }
}

TEST(Svd, TwoColumnsCarryTheWholeFrobeniusNorm) {
  matrix a = random_matrix(6, 2, 3);
  Vectors r = svd_of(a);
  double frobenius2 = 0.0;
  for (int i = 0; i < a.dim1(); ++i)
    for (int j = 0; j < a.dim2(); ++j) frobenius2 += a(i, j) * a(i, j);
  const double s1 = norm(times_transposed(a, r.u1));
  const double s2 = norm(times_transposed(a, r.u2));
  EXPECT_TRUE(close_to((s1 * s1 + s2 * s2) / frobenius2, 1.0, 1e-12));
}

TEST(Svd, FirstVectorIsWhatThePowerIterationApproaches) {
  matrix a = random_matrix(8, 5, 42);
  Vectors r = svd_of(a);

  vector hubs;
  Klineberg(a, hubs, 500);
  expect_parallel(r.u1, hubs, 1e-12);

  // principal_direction works over the columns of its member rows: rows of Aᵀ are A's columns.
  const matrix at = a.trans();
  expect_parallel(r.u1, principal_direction(at, all_taxa(at.dim1()), 500), 1e-12);
}

TEST(Svd, FirstVectorOfMemberRowsIsTheirPrincipalDirection) {
  matrix data = random_matrix(7, 4, 5);
  tTaxaSet members;
  const int chosen[] = {0, 2, 3, 6};
  matrix sub(4, 4);
  for (int j = 0; j < 4; ++j) {
    members.insert(chosen[j]);
    for (int c = 0; c < 4; ++c) sub(j, c) = data(chosen[j], c);
  }
  Vectors r = svd_of(sub.trans());
  expect_parallel(r.u1, principal_direction(data, members, 500), 1e-12);
}

TEST(SvdDeathTest, TooFewRowsOrColumnsAreRefused) {
  vector u1(3);
  vector u2(3);
  EXPECT_EXIT(singular_vectors(matrix(1, 3), u1, u2), testing::ExitedWithCode(1),
              "\nFatal Error: singular_vectors: the matrix must have at least two rows and two "
              "columns, not 1 x 3\n");
  EXPECT_EXIT(singular_vectors(matrix(3, 1), u1, u2), testing::ExitedWithCode(1), "not 3 x 1\n");
  EXPECT_EXIT(singular_vectors(matrix(1, 1), u1, u2), testing::ExitedWithCode(1), "not 1 x 1\n");
  EXPECT_EXIT(singular_vectors(matrix(0, 0), u1, u2), testing::ExitedWithCode(1), "not 0 x 0\n");
}

TEST(SvdDeathTest, ShortResultVectorsAreAContainerError) {
  vector u1(2);
  vector u2(3);
  EXPECT_DEATH(singular_vectors(random_matrix(3, 2, 1), u1, u2), "vector: index out of range");
}
