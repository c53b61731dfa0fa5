// Tests of the dense matrix: row views, shapes, products and every report.
#include "lib/matrix.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <sstream>
#include <utility>

#include "tests/lib/container_banner.hpp"
#include "tests/support/builders.hpp"

namespace {

using ::testing::KilledBySignal;
using ::testing::StartsWith;

std::string text(const matrix& m) {
  std::ostringstream os;
  for (int i = 0; i < m.dim1(); i++) os << m.row(i) << ';';
  return os.str();
}

TEST(Matrix, ConstructionGivesZeros) {
  matrix m(2, 3);
  EXPECT_EQ(m.dim1(), 2);
  EXPECT_EQ(m.dim2(), 3);
  EXPECT_EQ(text(m), "3  0 0 0;3  0 0 0;");
  matrix empty(0, 4);
  EXPECT_EQ(empty.dim1(), 0);
  EXPECT_EQ(empty.dim2(), 4);
  EXPECT_EQ(matrix().dim1(), 0);
}

TEST(Matrix, RowIsAViewIntoTheMatrix) {
  matrix m(2, 2);
  m.row(1)[0] = 5;
  EXPECT_EQ(m(1, 0), 5);
  m.row(0) = make_matrix({{7, 8}}).row(0);
  EXPECT_EQ(text(m), "2  7 8;2  5 0;");
  m.row(0) += m.row(1);
  EXPECT_EQ(m(0, 0), 12);
  EXPECT_EQ(m.data()[2], 5);  // row-major block
}

TEST(Matrix, CopyOfARowIsIndependent) {
  matrix m = make_matrix({{1, 2}});
  vector r = m.row(0);
  r[0] = 9;
  EXPECT_EQ(m(0, 0), 1);
  vector moved(std::move(m.row(0)));
  moved[1] = 9;
  EXPECT_EQ(m(0, 1), 2);
}

TEST(Matrix, CopyIsDeep) {
  matrix a = make_matrix({{1, 2}, {3, 4}});
  matrix b(a);
  b(0, 0) = 9;
  EXPECT_EQ(a(0, 0), 1);
  b.row(1)[1] = 8;
  EXPECT_EQ(a(1, 1), 4);
}

TEST(Matrix, AssignmentOfEqualShapeKeepsRowReferences) {
  matrix a(2, 2);
  vector& r = a.row(1);
  double& e = a(0, 1);
  a = make_matrix({{1, 2}, {3, 4}});
  EXPECT_EQ(r[0], 3);
  EXPECT_EQ(e, 2);
  matrix b = make_matrix({{5, 6}, {7, 8}});
  a = b;
  EXPECT_EQ(r[1], 8);
}

TEST(Matrix, AssignmentOfOtherShapeTakesIt) {
  matrix a(3, 4);
  a = make_matrix({{1, 2}, {3, 4}});
  EXPECT_EQ(a.dim1(), 2);
  EXPECT_EQ(a.dim2(), 2);
  EXPECT_EQ(text(a), "2  1 2;2  3 4;");
  matrix b(1, 1);
  matrix c(0, 3);
  b = c;
  EXPECT_EQ(b.dim1(), 0);
  EXPECT_EQ(b.dim2(), 3);
}

TEST(Matrix, ColumnAndConversions) {
  matrix m = make_matrix({{1, 2}, {3, 4}, {5, 6}});
  std::ostringstream os;
  os << m.col(1);
  EXPECT_EQ(os.str(), "3  2 4 6");
  vector v = m.col(0);
  matrix one(v);
  EXPECT_EQ(one.dim1(), 3);
  EXPECT_EQ(one.dim2(), 1);
  EXPECT_TRUE(is_equal(static_cast<vector>(one), v, 0.0));
}

TEST(Matrix, Transpose) {
  matrix t = make_matrix({{1, 2, 3}, {4, 5, 6}}).trans();
  EXPECT_EQ(text(t), "2  1 4;2  2 5;2  3 6;");
}

TEST(Matrix, ProductOfSmallMatrices) {
  matrix a = make_matrix({{1, 2}, {3, 4}, {5, 6}});
  matrix b = make_matrix({{1, 0, 2}, {-1, 1, 0}});
  EXPECT_EQ(text(a * b), "3  -1 2 2;3  -1 4 6;3  -1 6 10;");
}

TEST(Matrix, ProductSumsFromTheHighestIndex) {
  // Summed from index 0 the entry would be 0 (1 + 1e16 rounds to 1e16).
  matrix a = make_matrix({{1, 1e16, -1e16}});
  matrix b = make_matrix({{1}, {1}, {1}});
  EXPECT_EQ((a * b)(0, 0), 1.0);
}

TEST(Matrix, EntryWiseArithmetic) {
  matrix a = make_matrix({{1, 2}, {3, 4}});
  matrix b = make_matrix({{10, 20}, {30, 40}});
  EXPECT_EQ(text(a + b), "2  11 22;2  33 44;");
  EXPECT_EQ(text(b - a), "2  9 18;2  27 36;");
  EXPECT_EQ(text(-a), "2  -1 -2;2  -3 -4;");
  EXPECT_EQ(text(a * 2.0), "2  2 4;2  6 8;");
  a += b;
  EXPECT_EQ(a(1, 1), 44);
  a -= b;
  EXPECT_EQ(a(1, 1), 4);
}

TEST(Matrix, MoveKeepsRowViewsValid) {
  matrix a = make_matrix({{1, 2}, {3, 4}});
  matrix b(std::move(a));
  b.row(1)[0] = 7;
  EXPECT_EQ(b(1, 0), 7);
  matrix c(5, 5);
  c = std::move(b);
  c.row(0)[1] = 9;
  EXPECT_EQ(text(c), "2  1 9;2  7 4;");
}

TEST(MatrixDeathTest, IndexReports) {
  matrix m(5, 3);
  const std::string row = banner("matrix: row index out of range");
  const std::string col = banner("matrix: col index out of range");
  EXPECT_EXIT(m(5, 0) = 1, KilledBySignal(SIGABRT), StartsWith(row));
  EXPECT_EXIT(m(0, 3) = 1, KilledBySignal(SIGABRT), StartsWith(col));
  EXPECT_EXIT(m(-1, 7) = 1, KilledBySignal(SIGABRT), StartsWith(row));  // row examined first
  EXPECT_EXIT(m(0, -1) = 1, KilledBySignal(SIGABRT), StartsWith(col));
  EXPECT_EXIT(m.row(5), KilledBySignal(SIGABRT), StartsWith(row));
  EXPECT_EXIT(m.col(3), KilledBySignal(SIGABRT), StartsWith(col));
  const matrix& c = m;
  EXPECT_EXIT(std::printf("%g", c(0, 3)), KilledBySignal(SIGABRT), StartsWith(col));
}

TEST(MatrixDeathTest, ShapeReports) {
  EXPECT_EXIT(matrix(-1, 2), KilledBySignal(SIGABRT),
              StartsWith(banner("matrix: negative dimension.")));
  EXPECT_EXIT(matrix(2, -1), KilledBySignal(SIGABRT),
              StartsWith(banner("matrix: negative dimension.")));
  matrix a(2, 3);
  matrix b(2, 3);
  EXPECT_EXIT(a * b, KilledBySignal(SIGABRT),
              StartsWith(banner("matrix multiplication: incompatible matrix types\n")));
  matrix c(3, 2);
  const std::string m = banner("incompatible matrix types.");
  EXPECT_EXIT(a + c, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(a - c, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(a += c, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(a -= c, KilledBySignal(SIGABRT), StartsWith(m));
  EXPECT_EXIT(static_cast<vector>(a), KilledBySignal(SIGABRT),
              StartsWith(banner("error: cannot make vector from matrix\n")));
}

TEST(MatrixDeathTest, RowCannotChangeDimension) {
  matrix m(2, 3);
  EXPECT_EXIT(
      m.row(0) = vector(2), KilledBySignal(SIGABRT),
      StartsWith(banner("vector: cannot give a matrix row of dimension 3 the dimension 2.")));
  std::istringstream is("1 4");
  EXPECT_EXIT(
      is >> m.row(1), KilledBySignal(SIGABRT),
      StartsWith(banner("vector: cannot give a matrix row of dimension 3 the dimension 1.")));
}

}  // namespace
