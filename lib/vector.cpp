// Dense vector of doubles: storage, arithmetic, scalar product and text form.
#include "lib/vector.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <istream>
#include <ostream>

#include "lib/container_error.hpp"
#include "lib/diagnostics.hpp"
#include "lib/summation.hpp"

namespace {

void check_same_dim(const vector& v, const vector& w) {
  if (v.dim() != w.dim()) container_fatal("vector arguments have different dimensions.");
}

}  // namespace

vector::vector(int n) {
  if (n < 0) container_fatal("vector: negative dimension.");
  d_ = n;
  if (n > 0) v_ = new double[n]();
}

vector::vector(const vector& other) : d_(other.d_) {
  if (d_ > 0) {
    v_ = new double[d_];
    std::memcpy(v_, other.v_, sizeof(double) * d_);
  }
}

// A matrix row is copied: its block belongs to the matrix.
vector::vector(vector&& other) noexcept : d_(other.d_) {
  if (other.owner_) {
    v_ = other.v_;
    other.d_ = 0;
    other.v_ = nullptr;
  } else if (d_ > 0) {
    v_ = new double[d_];
    std::memcpy(v_, other.v_, sizeof(double) * d_);
  }
}

vector& vector::operator=(const vector& other) {
  if (this == &other) return *this;
  if (d_ != other.d_) take_dimension(other.d_);
  if (d_ > 0) std::memmove(v_, other.v_, sizeof(double) * d_);
  return *this;
}

// Stealing the block only when the dimension changes keeps references into an equal-sized
// vector valid, as for copy assignment.
vector& vector::operator=(vector&& other) {
  if (this == &other) return *this;
  if (d_ == other.d_ || !owner_ || !other.owner_) return *this = static_cast<const vector&>(other);
  delete[] v_;
  d_ = other.d_;
  v_ = other.v_;
  other.d_ = 0;
  other.v_ = nullptr;
  return *this;
}

vector::~vector() {
  if (owner_) delete[] v_;
}

void vector::index_out_of_range() {
  container_fatal("vector: index out of range ");
}

void vector::take_dimension(int n) {
  if (!owner_) {
    char message[160];
    std::snprintf(message, sizeof message,
                  "vector: cannot give a matrix row of dimension %d the dimension %d.", d_, n);
    container_fatal(message);
  }
  delete[] v_;
  v_ = n > 0 ? new double[n] : nullptr;
  d_ = n;
}

vector& vector::operator+=(const vector& w) {
  check_same_dim(*this, w);
  for (int i = 0; i < d_; i++) v_[i] += w.v_[i];
  return *this;
}

vector& vector::operator-=(const vector& w) {
  check_same_dim(*this, w);
  for (int i = 0; i < d_; i++) v_[i] -= w.v_[i];
  return *this;
}

double vector::sqr_length() const {
  return *this * *this;
}

double vector::length() const {
  return std::sqrt(sqr_length());
}

vector operator+(const vector& v, const vector& w) {
  vector r(v);
  r += w;
  return r;
}

vector operator-(const vector& v, const vector& w) {
  vector r(v);
  r -= w;
  return r;
}

vector operator*(const vector& v, double x) {
  vector r(v);
  double* e = r.data();
  for (int i = 0; i < r.dim(); i++) e[i] *= x;
  return r;
}

vector operator/(const vector& v, double x) {
  vector r(v);
  double* e = r.data();
  for (int i = 0; i < r.dim(); i++) e[i] /= x;
  return r;
}

double operator*(const vector& v, const vector& w) {
  check_same_dim(v, w);
  return descending_sum(v.data(), w.data(), v.dim());
}

std::ostream& operator<<(std::ostream& os, const vector& v) {
  os << v.dim() << ' ';
  for (int i = 0; i < v.dim(); i++) os << ' ' << v[i];
  return os;
}

std::istream& operator>>(std::istream& is, vector& v) {
  int n = 0;
  is >> n;
  vector r(n);
  for (int i = 0; i < n; i++) is >> r[i];
  v = std::move(r);
  return is;
}

bool is_zero(const vector& v, double eps) {
  for (int i = 0; i < v.dim(); i++)
    if (std::abs(v[i]) > eps) return false;
  return true;
}

bool is_equal(const vector& a, const vector& b, double eps) {
  // b is indexed with a's indices, so a shorter b ends through the index report first.
  for (int i = 0; i < a.dim(); i++)
    if (std::abs(a[i] - b[i]) > eps) return false;
  if (a.dim() != b.dim()) error("is_equal(avec,bvec): bad dimensions: %d %d", a.dim(), b.dim());
  return true;
}
