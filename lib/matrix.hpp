// Dense matrix of doubles: d1 rows of d2 columns, stored row after row in one block.
#pragma once

#include <iosfwd>
#include <memory>

#include "lib/large_block.hpp"
#include "lib/vector.hpp"

class matrix {
 public:
  matrix() : matrix(0, 0) {}
  matrix(int n, int m);  // all 0.0; either negative reports "matrix: negative dimension."
  explicit matrix(const vector& v);  // one column
  matrix(const matrix& other);
  matrix(matrix&& other) noexcept;
  // Equal shapes overwrite the rows in place, so row and entry references stay valid.
  matrix& operator=(const matrix& other);
  matrix& operator=(matrix&& other);
  ~matrix();

  int dim1() const { return d1_; }
  int dim2() const { return d2_; }

  // Row checked first ("matrix: row index out of range"), then column ("... col ...").
  double& operator()(int i, int j) {
    check_row(i);
    check_col(j);
    return block_[static_cast<long>(i) * d2_ + j];
  }
  double operator()(int i, int j) const {
    check_row(i);
    check_col(j);
    return block_[static_cast<long>(i) * d2_ + j];
  }
  // The stored row itself: writes change the matrix; it cannot take another dimension.
  vector& row(int i) {
    check_row(i);
    return rows_[i];
  }
  const vector& row(int i) const {
    check_row(i);
    return rows_[i];
  }
  vector col(int j) const;
  explicit operator vector() const;  // only for one column

  // Unchecked row-major block (row i starts at data() + i * dim2()), for streaming kernels.
  double* data() { return block_.get(); }
  const double* data() const { return block_.get(); }

  matrix trans() const;
  matrix& operator+=(const matrix& b);
  matrix& operator-=(const matrix& b);

 private:
  void allocate(int n, int m);  // fresh zeroed block and row views; old ones are released
  void check_row(int i) const {
    if (i < 0 || i >= d1_) row_out_of_range();
  }
  void check_col(int j) const {
    if (j < 0 || j >= d2_) col_out_of_range();
  }
  [[noreturn]] static void row_out_of_range();
  [[noreturn]] static void col_out_of_range();

  int d1_ = 0;
  int d2_ = 0;
  tLargeBlock<double> block_;
  std::unique_ptr<vector[]> rows_;  // views into block_
};

// Each entry (i, j) is the scalar product of row i of a and column j of b, highest index first.
matrix operator*(const matrix& a, const matrix& b);
matrix operator+(const matrix& a, const matrix& b);
matrix operator-(const matrix& a, const matrix& b);
matrix operator-(const matrix& a);
matrix operator*(const matrix& a, double x);
