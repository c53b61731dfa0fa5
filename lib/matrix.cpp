// Dense matrix of doubles: one row-major block with a vector view per row.
#include "lib/matrix.hpp"

#include <cstring>
#include <utility>

#include "lib/container_error.hpp"
#include "lib/summation.hpp"

namespace {

long entries(const matrix& a) {
  return static_cast<long>(a.dim1()) * a.dim2();
}

void check_same_shape(const matrix& a, const matrix& b) {
  if (a.dim1() != b.dim1() || a.dim2() != b.dim2()) container_fatal("incompatible matrix types.");
}

}  // namespace

matrix::matrix(int n, int m) {
  if (n < 0 || m < 0) container_fatal("matrix: negative dimension.");
  allocate(n, m);
}

matrix::matrix(const vector& v) {
  allocate(v.dim(), 1);
  if (d1_ > 0) std::memcpy(data(), v.data(), sizeof(double) * d1_);
}

matrix::matrix(const matrix& other) {
  allocate(other.d1_, other.d2_);
  if (entries(*this) > 0) std::memcpy(data(), other.data(), sizeof(double) * entries(*this));
}

// The row views point into the block, which moves along with them.
matrix::matrix(matrix&& other) noexcept
    : d1_(other.d1_),
      d2_(other.d2_),
      block_(std::move(other.block_)),
      rows_(std::move(other.rows_)) {
  other.d1_ = 0;
}

matrix& matrix::operator=(const matrix& other) {
  if (this == &other) return *this;
  if (d1_ != other.d1_ || d2_ != other.d2_) allocate(other.d1_, other.d2_);
  if (entries(*this) > 0) std::memcpy(data(), other.data(), sizeof(double) * entries(*this));
  return *this;
}

matrix& matrix::operator=(matrix&& other) {
  if (this == &other) return *this;
  if (d1_ == other.d1_ && d2_ == other.d2_) return *this = static_cast<const matrix&>(other);
  d1_ = other.d1_;
  d2_ = other.d2_;
  block_ = std::move(other.block_);
  rows_ = std::move(other.rows_);
  other.d1_ = 0;
  return *this;
}

matrix::~matrix() = default;

void matrix::allocate(int n, int m) {
  d1_ = n;
  d2_ = m;
  long size = static_cast<long>(n) * m;
  block_ = large_block<double>(static_cast<std::size_t>(size), true);
  rows_.reset(n > 0 ? new vector[n] : nullptr);
  for (int i = 0; i < n; i++) {
    rows_[i].d_ = m;
    rows_[i].v_ = m > 0 ? block_.get() + static_cast<long>(i) * m : nullptr;
    rows_[i].owner_ = false;
  }
}

void matrix::row_out_of_range() {
  container_fatal("matrix: row index out of range");
}

void matrix::col_out_of_range() {
  container_fatal("matrix: col index out of range");
}

vector matrix::col(int j) const {
  check_col(j);
  vector c(d1_);
  double* e = c.data();
  for (int i = 0; i < d1_; i++) e[i] = block_[static_cast<long>(i) * d2_ + j];
  return c;
}

matrix::operator vector() const {
  if (d2_ != 1) container_fatal("error: cannot make vector from matrix\n");
  return col(0);
}

matrix matrix::trans() const {
  matrix t(d2_, d1_);
  for (int i = 0; i < d1_; i++)
    for (int j = 0; j < d2_; j++)
      t.block_[static_cast<long>(j) * d1_ + i] = block_[static_cast<long>(i) * d2_ + j];
  return t;
}

matrix& matrix::operator+=(const matrix& b) {
  check_same_shape(*this, b);
  double* e = data();
  const double* f = b.data();
  for (long k = 0; k < entries(*this); k++) e[k] += f[k];
  return *this;
}

matrix& matrix::operator-=(const matrix& b) {
  check_same_shape(*this, b);
  double* e = data();
  const double* f = b.data();
  for (long k = 0; k < entries(*this); k++) e[k] -= f[k];
  return *this;
}

matrix operator*(const matrix& a, const matrix& b) {
  if (a.dim2() != b.dim1()) container_fatal("matrix multiplication: incompatible matrix types\n");
  int n = a.dim1();
  int inner = a.dim2();
  matrix r(n, b.dim2());
  for (int j = 0; j < b.dim2(); j++) {
    vector cj = b.col(j);
    const double* c = cj.data();
    for (int i = 0; i < n; i++) {
      const double* ai = a.data() + static_cast<long>(i) * inner;
      r.data()[static_cast<long>(i) * r.dim2() + j] = descending_sum(ai, c, inner);
    }
  }
  return r;
}

matrix operator+(const matrix& a, const matrix& b) {
  matrix r(a);
  r += b;
  return r;
}

matrix operator-(const matrix& a, const matrix& b) {
  matrix r(a);
  r -= b;
  return r;
}

matrix operator-(const matrix& a) {
  matrix r(a);
  double* e = r.data();
  for (long k = 0; k < entries(r); k++) e[k] = -e[k];
  return r;
}

matrix operator*(const matrix& a, double x) {
  matrix r(a);
  double* e = r.data();
  for (long k = 0; k < entries(r); k++) e[k] *= x;
  return r;
}
