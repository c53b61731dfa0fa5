// Dense vector of doubles with checked indexing; may also be a view of one row of a matrix.
#pragma once

#include <iosfwd>

class vector {
 public:
  vector() = default;
  explicit vector(int n);       // all 0.0; n < 0 reports "vector: negative dimension."
  vector(const vector& other);  // always an owning copy, also of a matrix row
  vector(vector&& other) noexcept;
  // Equal dimensions overwrite in place (a matrix row stays a row, references stay valid);
  // otherwise the target takes the source's dimension, which a matrix row may not do.
  vector& operator=(const vector& other);
  vector& operator=(vector&& other);
  ~vector();

  int dim() const { return d_; }
  // REQUIRES: 0 <= i < dim(), else "vector: index out of range "
  double& operator[](int i) {
    if (i < 0 || i >= d_) index_out_of_range();
    return v_[i];
  }
  double operator[](int i) const {
    if (i < 0 || i >= d_) index_out_of_range();
    return v_[i];
  }

  // Unchecked access to the entries, for kernels that have checked their bounds once.
  double* data() { return v_; }
  const double* data() const { return v_; }

  vector& operator+=(const vector& w);
  vector& operator-=(const vector& w);

  double sqr_length() const;  // v * v
  double length() const;

 private:
  friend class matrix;

  [[noreturn]] static void index_out_of_range();
  void take_dimension(int n);  // reallocates an owning vector; a row view reports instead

  int d_ = 0;
  double* v_ = nullptr;
  bool owner_ = true;  // false for a view of a matrix row, whose block the matrix owns
};

vector operator+(const vector& v, const vector& w);
vector operator-(const vector& v, const vector& w);
vector operator*(const vector& v, double x);
vector operator/(const vector& v, double x);  // no check of x
// Scalar product, the descending_sum of lib/summation.hpp.
double operator*(const vector& v, const vector& w);

// Dimension, a blank, then a blank before each entry; no newline.
std::ostream& operator<<(std::ostream& os, const vector& v);
std::istream& operator>>(std::istream& is, vector& v);  // dimension, then the entries

bool is_zero(const vector& v, double eps);  // every |entry| <= eps
// Entry-wise within eps over a's dimension; differing dimensions end through error().
bool is_equal(const vector& a, const vector& b, double eps);
