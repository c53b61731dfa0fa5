// Dense matrix of doubles: d1 rows of d2 columns, stored row after row in one block.
#pragma once

#include <iosfwd>
#include <memory>

#include "lib/vector.hpp"

class matrix {
 public:
  matrix() : matrix(0, 0) {}
  matrix(int n, int m);  // all 0.0; either negative reports "matrix: negative dimension."
  explicit matrix(const vector& v);  // one column
  matrix(const matrix& other);
  matrix& operator=(const matrix& other);  // equal shapes overwrite the rows in place
  ~matrix();

  int dim1() const { return d1_; }
  int dim2() const { return d2_; }

  double& operator()(int i, int j);  // row checked first, then column
  double operator()(int i, int j) const;
  vector& row(int i);  // the stored row itself: writes change the matrix
  const vector& row(int i) const;
  vector col(int j) const;
  explicit operator vector() const;  // only for one column

  // Unchecked row-major block (row i starts at data() + i * dim2()), for streaming kernels.
  double* data() { return block_.get(); }
  const double* data() const { return block_.get(); }

  matrix trans() const;
  matrix& operator+=(const matrix& b);
  matrix& operator-=(const matrix& b);

 private:
  void allocate(int n, int m);

  int d1_ = 0;
  int d2_ = 0;
  std::unique_ptr<double[]> block_;
  std::unique_ptr<vector[]> rows_;  // views into block_
};

// Each entry (i, j) is the scalar product of row i of a and column j of b, highest index first.
matrix operator*(const matrix& a, const matrix& b);
matrix operator+(const matrix& a, const matrix& b);
matrix operator-(const matrix& a, const matrix& b);
matrix operator-(const matrix& a);
matrix operator*(const matrix& a, double x);
