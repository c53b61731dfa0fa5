// Hubs-and-authorities power iteration on a block of rows, and a cluster's principal direction.
#include "algorithms/principal_direction.hpp"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "algorithms/lanes.hpp"
#include "lib/summation.hpp"

namespace {

// Rows x cols doubles, each row contiguous where it is stored. The sweeps read the member rows in
// place and stay in the last-level cache across the steps (a W1 cluster is 7 MB); a transposed
// copy for M v, filled by its first sweep, was measured slower: it doubles what must stay there.
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

// Rows k at columns c .. c+L-1 (one vector per row) turned into columns c .. c+L-1 (one vector
// per column, lane k from row k). Only moves: nothing is rounded.
TOOLKIT_INLINE void transpose(const v2d a[2], v2d column[2]) {
  column[0] = __builtin_shufflevector(a[0], a[1], 0, 2);
  column[1] = __builtin_shufflevector(a[0], a[1], 1, 3);
}

TOOLKIT_INLINE void transpose(const v4d a[4], v4d column[4]) {
  const v4d low01 = __builtin_shufflevector(a[0], a[1], 0, 4, 2, 6);
  const v4d high01 = __builtin_shufflevector(a[0], a[1], 1, 5, 3, 7);
  const v4d low23 = __builtin_shufflevector(a[2], a[3], 0, 4, 2, 6);
  const v4d high23 = __builtin_shufflevector(a[2], a[3], 1, 5, 3, 7);
  column[0] = __builtin_shufflevector(low01, low23, 0, 1, 4, 5);
  column[1] = __builtin_shufflevector(high01, high23, 0, 1, 4, 5);
  column[2] = __builtin_shufflevector(low01, low23, 2, 3, 6, 7);
  column[3] = __builtin_shufflevector(high01, high23, 2, 3, 6, 7);
}

// Entry c of each of the rows r[0 ..], one to a lane.
TOOLKIT_INLINE v2d gather(const double* const* r, int c, v2d) {
  return v2d{r[0][c], r[1][c]};
}

TOOLKIT_INLINE v4d gather(const double* const* r, int c, v4d) {
  return v4d{r[0][c], r[1][c], r[2][c], r[3][c]};
}

// out[i] for the L * Groups rows r[0 ..]: the descending_sum of r(i, c) * v[c].
// Each lane is one row's sum, added to in that order; the groups only run side by side.
template <class V, int Groups>
TOOLKIT_INLINE void row_group_products(const double* const* r, const double* v, int cols,
                                       double* out) {
  constexpr int L = lanes<V>;
  V acc[Groups];
#pragma GCC unroll 4
  for (int g = 0; g < Groups; ++g) acc[g] = V{};
  int c = cols - 1;
  // The columns above the last whole block of L come first, one at a time.
  for (; c >= 0 && (c + 1) % L != 0; --c)
#pragma GCC unroll 4
    for (int g = 0; g < Groups; ++g) acc[g] = acc[g] + gather(r + L * g, c, V{}) * v[c];
  for (c -= L - 1; c >= 0; c -= L) {
    const V x = load<V>(v + c);
#pragma GCC unroll 4
    for (int g = 0; g < Groups; ++g) {
      const double* const* q = r + L * g;
      // The products are rounded before the transpose moves them into their rows' lanes.
      V p[L], column[L];
#pragma GCC unroll 4
      for (int k = 0; k < L; ++k) p[k] = load<V>(q[k] + c) * x;
      transpose(p, column);
      // Columns c+L-1 down to c: every row's sum goes on in descending column order.
#pragma GCC unroll 4
      for (int k = L - 1; k >= 0; --k) acc[g] = acc[g] + column[k];
    }
  }
#pragma GCC unroll 4
  for (int g = 0; g < Groups; ++g) store(out + L * g, acc[g]);
}

// out[i] = the descending_sum of m(i, c) * v[c]: the matrix product's order for
// M v. Four groups of L rows at a time, then one; a short last group repeats a row and drops
// its lanes.
template <class V>
TOOLKIT_INLINE void row_products(const tBlock& m, const double* v, double* out) {
  constexpr int L = lanes<V>;
  int i = 0;
  for (; i + 4 * L <= m.rows; i += 4 * L)
    row_group_products<V, 4>(m.row_start + i, v, m.cols, out + i);
  for (; i < m.rows; i += L) {
    const double* r[L];
    for (int k = 0; k < L; ++k) r[k] = m.row(i + k < m.rows ? i + k : m.rows - 1);
    double sums[L];
    row_group_products<V, 1>(r, v, m.cols, sums);
    for (int k = 0; k < L && i + k < m.rows; ++k) out[i + k] = sums[k];
  }
}

// out[c] + the products of Count rows r[0 ..] (row r[k] weighted by x[k]) added in that order,
// for every c: the columns run side by side, two vectors of them per step.
template <class V, int Count>
TOOLKIT_INLINE void add_weighted_rows(const double* const* r, const double* x, int q, double* out) {
  constexpr int L = lanes<V>;
  int c = 0;
  for (; c + 2 * L <= q; c += 2 * L) {
    V s = load<V>(out + c), t = load<V>(out + c + L);
    // Every column's sum takes the rows in the order given (the caller's highest first).
#pragma GCC unroll 8
    for (int k = 0; k < Count; ++k) {
      s = s + load<V>(r[k] + c) * x[k];
      t = t + load<V>(r[k] + c + L) * x[k];
    }
    store(out + c, s);
    store(out + c + L, t);
  }
  for (; c < q; ++c)
    for (int k = 0; k < Count; ++k) out[c] = out[c] + r[k][c] * x[k];
}

// out[c] = sum over i from rows-1 down to 0 of m(i, c) * v[i]: the matrix product's order for
// Mᵀ v. Columns run side by side in the lanes; eight rows are added per sweep, highest first.
template <class V>
TOOLKIT_INLINE void col_products(const tBlock& m, const double* v, double* out) {
  for (int c = 0; c < m.cols; ++c) out[c] = 0.0;
  int i = m.rows - 1;
  const double* r[8];
  double x[8];
  for (; i >= 7; i -= 8) {
    for (int k = 0; k < 8; ++k) {
      r[k] = m.row(i - k);
      x[k] = v[i - k];
    }
    add_weighted_rows<V, 8>(r, x, m.cols, out);
  }
  for (; i >= 0; --i) {
    r[0] = m.row(i);
    x[0] = v[i];
    add_weighted_rows<V, 1>(r, x, m.cols, out);
  }
}

// M v keeps four lanes under AVX-512 too: its transposes across eight lanes cost more than the
// wider products gain (measured on W1's clusters).
TOOLKIT_WIDEST void widest_row_products(const tBlock& m, const double* v, double* out) {
  row_products<v4d>(m, v, out);
}

TOOLKIT_WIDEST void widest_col_products(const tBlock& m, const double* v, double* out) {
  col_products<v8d>(m, v, out);
}

TOOLKIT_WIDE void wide_row_products(const tBlock& m, const double* v, double* out) {
  row_products<v4d>(m, v, out);
}

TOOLKIT_WIDE void wide_col_products(const tBlock& m, const double* v, double* out) {
  col_products<v4d>(m, v, out);
}

void narrow_row_products(const tBlock& m, const double* v, double* out) {
  row_products<v2d>(m, v, out);
}

void narrow_col_products(const tBlock& m, const double* v, double* out) {
  col_products<v2d>(m, v, out);
}

// M v and Mᵀ v with the vector width of this run.
struct tProducts {
  void (*rows)(const tBlock&, const double*, double*);
  void (*cols)(const tBlock&, const double*, double*);
};

tProducts products() {
  if (lane_width() == 8) return {widest_row_products, widest_col_products};
  if (lane_width() == 4) return {wide_row_products, wide_col_products};
  return {narrow_row_products, narrow_col_products};
}

// v / v.length(): the squared length in descending order, then one division each.
void normalise(double* v, int d) {
  const double length = std::sqrt(descending_sum(v, v, d));
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
  const tProducts product = products();
  bool at_other = steps % 2 == 1;
  double* start = at_other ? other.get() : result.get();
  for (int i = 0, d = at_other ? other_dim : result_dim; i < d; ++i) start[i] = 1.0;
  for (int step = 0; step < steps; ++step) {
    // Towards M's rows is a product with M; towards its columns one with Mᵀ.
    const bool towards_rows = at_other == on_rows;
    double* from = at_other ? other.get() : result.get();
    double* to = at_other ? result.get() : other.get();
    if (towards_rows)
      product.rows(m, from, to);
    else
      product.cols(m, from, to);
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
  return std::fabs(std::sqrt(descending_sum(v, v, d)) - 1.0) <= 0.0000001;
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
    const double sign = ascending_sum(s.get(), r, m.cols) >= 0.0 ? 1.0 : -1.0;
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
  const tProducts product = products();
  for (int step = 0; step < iterations; ++step) {
    product.rows(m, y.get(), x.get());
    normalise(x.get(), rows);
    product.cols(m, x.get(), next.get());
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
