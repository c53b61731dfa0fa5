// Hubs-and-authorities power iteration on a block of rows, and a cluster's principal direction.
#include "algorithms/principal_direction.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

typedef double v2d __attribute__((vector_size(16)));

v2d load2(const double* p) {
  v2d v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void store2(double* p, v2d v) {
  std::memcpy(p, &v, sizeof v);
}

// Rows x cols doubles, each row contiguous where it is stored. The sweeps read the member rows in
// place: copying them into one block costs more (a read, an allocation and a write-back of the
// whole cluster) than the block saves, since the rows stay in cache across the steps either way.
struct tBlock {
  const double* const* row_start;
  int rows;
  int cols;
  const double* row(int i) const { return row_start[i]; }
};

std::vector<const double*> row_starts(const double* block, int rows, int cols) {
  std::vector<const double*> starts(rows);
  for (int i = 0; i < rows; ++i) starts[i] = block + static_cast<std::size_t>(i) * cols;
  return starts;
}

// out[i] = sum over c from cols-1 down to 0 of m(i, c) * v[c]: the matrix product's order for
// M v. Eight rows run side by side, two to a vector register, each lane its own sum.
void row_products(const tBlock& m, const double* v, double* out) {
  int i = 0;
  for (; i + 8 <= m.rows; i += 8) {
    const double *r0 = m.row(i), *r1 = m.row(i + 1), *r2 = m.row(i + 2), *r3 = m.row(i + 3);
    const double *r4 = m.row(i + 4), *r5 = m.row(i + 5), *r6 = m.row(i + 6), *r7 = m.row(i + 7);
    v2d s01 = {0.0, 0.0}, s23 = s01, s45 = s01, s67 = s01;
    for (int c = m.cols - 1; c >= 0; --c) {
      const double x = v[c];
      s01 = s01 + v2d{r0[c], r1[c]} * x;
      s23 = s23 + v2d{r2[c], r3[c]} * x;
      s45 = s45 + v2d{r4[c], r5[c]} * x;
      s67 = s67 + v2d{r6[c], r7[c]} * x;
    }
    store2(out + i, s01);
    store2(out + i + 2, s23);
    store2(out + i + 4, s45);
    store2(out + i + 6, s67);
  }
  for (; i < m.rows; ++i) {
    const double* r = m.row(i);
    double s = 0.0;
    for (int c = m.cols - 1; c >= 0; --c) s = s + r[c] * v[c];
    out[i] = s;
  }
}

// out[c] = sum over i from rows-1 down to 0 of m(i, c) * v[i]: the matrix product's order for
// Mᵀ v. Columns run side by side; four rows are added per sweep, highest first.
void col_products(const tBlock& m, const double* v, double* out) {
  const int q = m.cols;
  for (int c = 0; c < q; ++c) out[c] = 0.0;
  int i = m.rows - 1;
  for (; i >= 3; i -= 4) {
    const double *r0 = m.row(i), *r1 = m.row(i - 1), *r2 = m.row(i - 2), *r3 = m.row(i - 3);
    const double x0 = v[i], x1 = v[i - 1], x2 = v[i - 2], x3 = v[i - 3];
    int c = 0;
    for (; c + 2 <= q; c += 2) {
      v2d s = load2(out + c);
      s = s + load2(r0 + c) * x0;
      s = s + load2(r1 + c) * x1;
      s = s + load2(r2 + c) * x2;
      s = s + load2(r3 + c) * x3;
      store2(out + c, s);
    }
    for (; c < q; ++c) out[c] = (((out[c] + r0[c] * x0) + r1[c] * x1) + r2[c] * x2) + r3[c] * x3;
  }
  for (; i >= 0; --i) {
    const double* r = m.row(i);
    const double x = v[i];
    for (int c = 0; c < q; ++c) out[c] = out[c] + r[c] * x;
  }
}

// v / v.length(): the squared length summed from the highest index down, then one division each.
void normalise(double* v, int d) {
  double sum = 0.0;
  for (int i = d - 1; i >= 0; --i) sum = sum + v[i] * v[i];
  const double length = std::sqrt(sum);
  for (int i = 0; i < d; ++i) v[i] = v[i] / length;
}

// The vector on one side of Klineberg on M (on_rows) or on Mᵀ (!on_rows) after `iterations`
// steps. The two sides update each other crosswise, so the result depends only on the chain of
// products that ends in it, started from all-ones on the result side when the step count is even
// and on the other side when it is odd; the other chain is not formed.
std::unique_ptr<double[]> iterate(const tBlock& m, bool on_rows, int iterations) {
  const int result_dim = on_rows ? m.rows : m.cols;
  const int other_dim = on_rows ? m.cols : m.rows;
  const int steps = iterations > 0 ? iterations : 0;
  std::unique_ptr<double[]> result(new double[result_dim]);
  std::unique_ptr<double[]> other(new double[other_dim]);
  bool at_other = steps % 2 == 1;
  double* start = at_other ? other.get() : result.get();
  for (int i = 0, d = at_other ? other_dim : result_dim; i < d; ++i) start[i] = 1.0;
  for (int step = 0; step < steps; ++step) {
    // Towards M's rows is a product with M; towards its columns one with Mᵀ.
    const bool towards_rows = at_other == on_rows;
    double* from = at_other ? other.get() : result.get();
    double* to = at_other ? result.get() : other.get();
    if (towards_rows)
      row_products(m, from, to);
    else
      col_products(m, from, to);
    normalise(to, at_other ? result_dim : other_dim);
    at_other = !at_other;
  }
  return result;
}

bool all_finite(const double* v, int d) {
  for (int i = 0; i < d; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

// A finite vector of length 1 within the bound that the clustering checks.
bool finite_unit(const double* v, int d) {
  if (!all_finite(v, d)) return false;
  double sum = 0.0;
  for (int i = d - 1; i >= 0; --i) sum = sum + v[i] * v[i];
  return std::fabs(std::sqrt(sum) - 1.0) <= 0.0000001;
}

// Every entry 1/sqrt(d): the direction of the all-zero cluster.
vector fixed_direction(int d) {
  vector u(d);
  for (int i = 0; i < d; ++i) u[i] = 1.0;
  return u / u.length();
}

// The signed sum of the rows, each added or subtracted so as not to shorten the sum: it is zero
// only for all-zero rows, and lies in their span, so the power iteration from it cannot vanish.
std::unique_ptr<double[]> signed_row_sum(const tBlock& m) {
  std::unique_ptr<double[]> s(new double[m.cols]());
  for (int i = 0; i < m.rows; ++i) {
    const double* r = m.row(i);
    double along = 0.0;
    for (int c = 0; c < m.cols; ++c) along = along + s[c] * r[c];
    const double sign = along >= 0.0 ? 1.0 : -1.0;
    for (int c = 0; c < m.cols; ++c) s[c] = s[c] + sign * r[c];
  }
  return s;
}

// Where the iteration from all-ones vectors divides by a zero length: the power iteration on MᵀM
// from the signed row sum instead, on a copy of the rows scaled by a power of two into [-1, 1].
vector fallback_direction(const tBlock& members, int iterations) {
  const int rows = members.rows, cols = members.cols;
  const std::size_t count = static_cast<std::size_t>(rows) * cols;
  std::unique_ptr<double[]> block(new double[count]);
  double top = 0.0;
  for (int i = 0; i < rows; ++i) {
    for (int c = 0; c < cols; ++c) {
      const double x = members.row(i)[c];
      if (!std::isfinite(x)) return fixed_direction(cols);
      top = std::fmax(top, std::fabs(x));
      block[static_cast<std::size_t>(i) * cols + c] = x;
    }
  }
  if (top == 0.0) return fixed_direction(cols);
  int exponent;
  std::frexp(top, &exponent);
  for (std::size_t e = 0; e < count; ++e) block[e] = std::ldexp(block[e], -exponent);
  const std::vector<const double*> starts = row_starts(block.get(), rows, cols);
  const tBlock m{starts.data(), rows, cols};
  std::unique_ptr<double[]> y = signed_row_sum(m);
  normalise(y.get(), cols);
  if (!finite_unit(y.get(), cols)) return fixed_direction(cols);
  std::unique_ptr<double[]> x(new double[rows]), next(new double[cols]);
  for (int step = 0; step < iterations; ++step) {
    row_products(m, y.get(), x.get());
    normalise(x.get(), rows);
    col_products(m, x.get(), next.get());
    normalise(next.get(), cols);
    if (!finite_unit(next.get(), cols)) break;
    std::copy(next.get(), next.get() + cols, y.get());
  }
  vector u(cols);
  std::copy(y.get(), y.get() + cols, u.data());
  return u;
}

}  // namespace

void Klineberg(const matrix& B, vector& result, int iterations) {
  const std::vector<const double*> starts = row_starts(B.data(), B.dim1(), B.dim2());
  const tBlock m{starts.data(), B.dim1(), B.dim2()};
  std::unique_ptr<double[]> y = iterate(m, true, iterations);
  vector r(m.rows);
  std::copy(y.get(), y.get() + m.rows, r.data());
  result = r;
}

vector principal_direction(const matrix& data, const tTaxaSet& members, int iterations) {
  const tTaxaSet& s = members;
  const int n = s.size(), q = data.dim2();
  std::vector<const double*> starts(n);
  int j = 0;
  for (tItem it = s.first_item(); it; it = s.next_item(it), ++j) {
    const vector& row = data.row(s.inf(it));
    if (j < n) starts[j] = row.data();
  }
  assert(s.size() == j);
  const tBlock a{starts.data(), n, q};
  std::unique_ptr<double[]> y = iterate(a, false, iterations);
  vector u(q);
  std::copy(y.get(), y.get() + q, u.data());
  vector direction = u / u.length();
  if (finite_unit(direction.data(), q)) return direction;
  return fallback_direction(a, iterations);
}
