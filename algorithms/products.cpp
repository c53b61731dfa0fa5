// Scalar products in ascending order, the cluster objective, and the mean panel.
#include "algorithms/products.hpp"

#include <cassert>

#include "algorithms/lanes.hpp"
#include "lib/summation.hpp"

namespace {

// The one dimension check that every product makes.
void check_dimensions(const vector& u, const vector& v) {
  assert(u.dim() == v.dim());
}

// sums[r * H * L + lane] for Rows rows: each lane is one mean's sum over c from 0 up of
// m(c) * row(c); the lanes, vectors and rows only run side by side.
template <class V, int H, int Rows>
TOOLKIT_INLINE void panel_sweep(const double* lanes_block, int dim, const double* const* rows,
                                double* sums) {
  constexpr int W = H * lanes<V>;
  V acc[Rows][H];
#pragma GCC unroll 4
  for (int r = 0; r < Rows; ++r)
#pragma GCC unroll 4
    for (int h = 0; h < H; ++h) acc[r][h] = V{};
  // Each lane is one ascending_sum, as dot_prod adds it.
  for (int c = 0; c < dim; ++c) {
    const double* m = lanes_block + static_cast<std::size_t>(c) * W;
    V w[H];
#pragma GCC unroll 4
    for (int h = 0; h < H; ++h) w[h] = load<V>(m + h * lanes<V>);
#pragma GCC unroll 4
    for (int r = 0; r < Rows; ++r) {
      const double x = rows[r][c];
#pragma GCC unroll 4
      for (int h = 0; h < H; ++h) acc[r][h] = acc[r][h] + w[h] * x;
    }
  }
#pragma GCC unroll 4
  for (int r = 0; r < Rows; ++r)
#pragma GCC unroll 4
    for (int h = 0; h < H; ++h) store(sums + r * W + h * lanes<V>, acc[r][h]);
}

// Four rows with a block of 2, 4 or 8 lanes, each block one vector of at most eight lanes.
TOOLKIT_WIDEST void widest_sweep(int width, const double* block, int dim, const double* const* rows,
                                 double* sums) {
  if (width == 8)
    panel_sweep<v8d, 1, 4>(block, dim, rows, sums);
  else if (width == 4)
    panel_sweep<v4d, 1, 4>(block, dim, rows, sums);
  else
    panel_sweep<v2d, 1, 4>(block, dim, rows, sums);
}

// Four rows with a block of 2, 4 or 8 lanes; the narrow build takes eight lanes two rows at a time
// to stay within its registers.
TOOLKIT_WIDE void wide_sweep(int width, const double* block, int dim, const double* const* rows,
                             double* sums) {
  if (width == 8)
    panel_sweep<v4d, 2, 4>(block, dim, rows, sums);
  else if (width == 4)
    panel_sweep<v4d, 1, 4>(block, dim, rows, sums);
  else
    panel_sweep<v2d, 1, 4>(block, dim, rows, sums);
}

void narrow_sweep(int width, const double* block, int dim, const double* const* rows,
                  double* sums) {
  if (width == 8) {
    panel_sweep<v2d, 4, 2>(block, dim, rows, sums);
    panel_sweep<v2d, 4, 2>(block, dim, rows + 2, sums + 16);
  } else if (width == 4) {
    panel_sweep<v2d, 2, 4>(block, dim, rows, sums);
  } else {
    panel_sweep<v2d, 1, 4>(block, dim, rows, sums);
  }
}

}  // namespace

double dot_prod(const vector& u, const vector& v) {
  check_dimensions(u, v);
  return ascending_sum(u.data(), v.data(), u.dim());
}

double dot_prod2(const vector& u, const vector& v) {
  const double sum = dot_prod(u, v);
  return sum * sum;
}

double cluster_objective(const matrix& data, const array<tTaxaSet>& cluster_array,
                         const array<vector>& means, bool squared) {
  double obj = 0.0;
  std::vector<double> products;
  for (int i = 0; i < cluster_array.size(); ++i) {
    if (cluster_array[i].empty()) continue;
    products.resize(cluster_array[i].size());
    member_products(data, cluster_array[i], means[i], products.data());
    // Cluster by cluster, member by member: one running sum.
    for (double p : products) obj = obj + (squared ? p * p : p);
  }
  return obj;
}

tMeanPanel::tMeanPanel(const array<vector>& means, const std::vector<int>& offered, int dim)
    : count_(static_cast<int>(offered.size())),
      dim_(dim),
      width_(count_ > 4   ? 8
             : count_ > 2 ? 4
                          : 2) {
  const int blocks = (count_ + width_ - 1) / width_;
  panel_.assign(static_cast<std::size_t>(blocks) * dim_ * width_, 0.0);
  for (int t = 0; t < count_; ++t) {
    const vector& u = means[offered[t]];
    assert(u.dim() == dim);
    const int b = t / width_, lane = t % width_;
    for (int c = 0; c < dim_; ++c)
      panel_[(static_cast<std::size_t>(b) * dim_ + c) * width_ + lane] = u.data()[c];
  }
}

void tMeanPanel::products(const double* const* rows, int count, double* out) const {
  assert(count >= 1 && count <= max_rows);
  const double* r[max_rows];
  for (int k = 0; k < max_rows; ++k) r[k] = rows[k < count ? k : 0];
  double sums[max_rows * 8];
  const int lanes_here = lane_width();
  const auto sweep = lanes_here == 8 ? widest_sweep : lanes_here == 4 ? wide_sweep : narrow_sweep;
  for (int first = 0; first < count_; first += width_) {
    const double* block = panel_.data() + static_cast<std::size_t>(first) * dim_;
    sweep(width_, block, dim_, r, sums);
    const int used = count_ - first < width_ ? count_ - first : width_;
    for (int k = 0; k < count; ++k)
      for (int t = 0; t < used; ++t) out[k * count_ + first + t] = sums[k * width_ + t];
  }
}

void member_products(const matrix& data, const tTaxaSet& members, const vector& mean, double* out) {
  if (members.empty()) return;
  // Every row has the same dimension: one check stands for all.
  check_dimensions(mean, data.row(members.inf(members.first_item())));
  array<vector> one(1);
  one[0] = mean;
  const tMeanPanel panel(one, std::vector<int>(1, 0), data.dim2());
  const double* rows[tMeanPanel::max_rows];
  int filled = 0, done = 0;
  for (tItem it = members.first_item(); it; it = members.next_item(it)) {
    rows[filled++] = data.row(members.inf(it)).data();
    if (filled == tMeanPanel::max_rows) {
      panel.products(rows, filled, out + done);
      done += filled;
      filled = 0;
    }
  }
  if (filled > 0) panel.products(rows, filled, out + done);
}
