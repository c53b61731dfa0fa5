// Dense vector of doubles with checked indexing; may also be a view of one row of a matrix.
#pragma once

#include <iosfwd>

class vector {
 public:
  vector() = default;
  explicit vector(int n);  // all 0.0; n < 0 reports "vector: negative dimension."
  vector(const vector& other);
  // Equal dimensions overwrite in place (a matrix row stays a row); otherwise the target takes
  // the source's dimension, which a matrix row may not do.
  vector& operator=(const vector& other);
  ~vector();

  int dim() const { return d_; }
  double& operator[](int i);  // "vector: index out of range "
  double operator[](int i) const;

  // Unchecked access to the entries, for kernels that have checked their bounds once.
  double* data() { return v_; }
  const double* data() const { return v_; }

  vector& operator+=(const vector& w);
  vector& operator-=(const vector& w);

  double sqr_length() const;  // v * v
  double length() const;

 private:
  friend class matrix;
  vector(double* row, int d);  // a non-owning view of a matrix row

  int d_ = 0;
  double* v_ = nullptr;
  bool owner_ = true;
};

vector operator+(const vector& v, const vector& w);
vector operator-(const vector& v, const vector& w);
vector operator*(const vector& v, double x);
vector operator/(const vector& v, double x);  // no check of x
// Scalar product summed from the highest index down to 0.
double operator*(const vector& v, const vector& w);

// Dimension, a blank, then a blank before each entry; no newline.
std::ostream& operator<<(std::ostream& os, const vector& v);
std::istream& operator>>(std::istream& is, vector& v);  // dimension, then the entries

bool is_zero(const vector& v, double eps);
bool is_equal(const vector& a, const vector& b, double eps);
