// Scalar products summed from the lowest index up, the cluster objective, and the mean panel.
#include "algorithms/products.hpp"

#include <cassert>
#include <cstring>

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

// The one dimension check that every product makes.
void check_dimensions(const vector& u, const vector& v) {
  assert(u.dim() == v.dim());
}

// Products of one mean with four rows: four separate sums, each from the lowest index up.
void four_products(const double* m, const double* const r[4], int d, double out[4]) {
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
  for (int c = 0; c < d; ++c) {
    const double w = m[c];
    s0 = s0 + w * r[0][c];
    s1 = s1 + w * r[1][c];
    s2 = s2 + w * r[2][c];
    s3 = s3 + w * r[3][c];
  }
  out[0] = s0;
  out[1] = s1;
  out[2] = s2;
  out[3] = s3;
}

// Adds the products of mean with each member row to obj, in member order.
double add_cluster(const matrix& data, const tTaxaSet& members, const vector& mean, bool squared,
                   double obj) {
  const int d = data.dim2();
  const double* r[4];
  int filled = 0;
  double p[4];
  auto flush = [&](int count) {
    for (int t = count; t < 4; ++t) r[t] = r[0];
    four_products(mean.data(), r, d, p);
    for (int t = 0; t < count; ++t) obj = obj + (squared ? p[t] * p[t] : p[t]);
  };
  for (tItem it = members.first_item(); it; it = members.next_item(it)) {
    const vector& row = data.row(members.inf(it));
    check_dimensions(mean, row);
    r[filled++] = row.data();
    if (filled == 4) {
      flush(4);
      filled = 0;
    }
  }
  if (filled > 0) flush(filled);
  return obj;
}

}  // namespace

double dot_prod(const vector& u, const vector& v) {
  check_dimensions(u, v);
  const double* a = u.data();
  const double* b = v.data();
  double sum = 0.0;
  for (int i = 0; i < u.dim(); ++i) sum = sum + a[i] * b[i];
  return sum;
}

double dot_prod2(const vector& u, const vector& v) {
  const double sum = dot_prod(u, v);
  return sum * sum;
}

double cluster_objective(const matrix& data, const array<tTaxaSet>& cluster_array,
                         const array<vector>& means, bool squared) {
  double obj = 0.0;
  for (int i = 0; i < cluster_array.size(); ++i) {
    if (cluster_array[i].empty()) continue;
    obj = add_cluster(data, cluster_array[i], means[i], squared, obj);
  }
  return obj;
}

tMeanPanel::tMeanPanel(const array<vector>& means, const std::vector<int>& offered, int dim)
    : count_(static_cast<int>(offered.size())), dim_(dim), width_(count_ > 4 ? 8 : 4) {
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

void tMeanPanel::products(const double* row_a, const double* row_b, double* out_a,
                          double* out_b) const {
  double lanes_a[8], lanes_b[8];
  for (int first = 0; first < count_; first += width_) {
    const double* block = panel_.data() + static_cast<std::size_t>(first) * dim_;
    if (width_ == 8)
      sweep<8>(block, row_a, row_b, lanes_a, lanes_b);
    else
      sweep<4>(block, row_a, row_b, lanes_a, lanes_b);
    const int used = count_ - first < width_ ? count_ - first : width_;
    for (int t = 0; t < used; ++t) {
      out_a[first + t] = lanes_a[t];
      out_b[first + t] = lanes_b[t];
    }
  }
}

// Every lane is one mean's sum over c ascending; the lanes and the two rows only run side by side.
template <int Width>
void tMeanPanel::sweep(const double* lanes, const double* row_a, const double* row_b, double* out_a,
                       double* out_b) const {
  constexpr int H = Width / 2;
  v2d acc_a[H], acc_b[H];
#pragma GCC unroll 4
  for (int h = 0; h < H; ++h) acc_a[h] = acc_b[h] = v2d{0.0, 0.0};
  for (int c = 0; c < dim_; ++c) {
    const double* m = lanes + static_cast<std::size_t>(c) * Width;
    const double xa = row_a[c], xb = row_b[c];
#pragma GCC unroll 4
    for (int h = 0; h < H; ++h) {
      const v2d w = load2(m + 2 * h);
      acc_a[h] = acc_a[h] + w * xa;
      acc_b[h] = acc_b[h] + w * xb;
    }
  }
#pragma GCC unroll 4
  for (int h = 0; h < H; ++h) {
    store2(out_a + 2 * h, acc_a[h]);
    store2(out_b + 2 * h, acc_b[h]);
  }
}
