// Row order, row bins and colour levels of the heatmap.
#include "cluster/report/heatmap_layout.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr long long max_clip_sample = 1000000;

}  // namespace

tRowOrder heatmap_row_order(const array<tTaxaSet>& halves, const std::vector<double>& scores) {
  tRowOrder order;
  for (int group = 0; group < halves.size(); ++group) {
    const tTaxaSet& members = halves[group];
    if (members.empty()) continue;
    const int first = static_cast<int>(order.rows.size());
    for (tItem it = members.first_item(); it != 0; it = members.next_item(it))
      order.rows.push_back(members.inf(it));
    // Members arrive ascending, so a stable sort leaves equal scores by row number.
    std::stable_sort(order.rows.begin() + first, order.rows.end(),
                     [&scores](int a, int b) { return scores[a] > scores[b]; });
    order.bands.push_back({group, first, members.size()});
  }
  return order;
}

int columns_per_bin(int cols, int max_columns) {
  return cols <= max_columns ? 1 : (cols + max_columns - 1) / max_columns;
}

namespace {

long long bin_count(const std::vector<tBand>& bands, int per_bin) {
  long long lines = 0;
  for (const tBand& band : bands) lines += (band.count + per_bin - 1) / per_bin;
  return lines;
}

}  // namespace

int rows_per_bin(const std::vector<tBand>& bands, int cols, long long max_cells) {
  const long long max_lines = std::max(1LL, max_cells / std::max(1, cols));
  int low = 1,
      high = 1;  // the count of lines falls as bins grow: search between 1 and the largest band
  for (const tBand& band : bands) high = std::max(high, band.count);
  while (low < high) {
    const int mid = low + (high - low) / 2;
    if (bin_count(bands, mid) <= max_lines)
      high = mid;
    else
      low = mid + 1;
  }
  return low;
}

std::vector<tBand> row_bins(const std::vector<tBand>& bands, int rows_per_bin,
                            std::vector<tBand>& drawn_bands) {
  std::vector<tBand> bins;
  drawn_bands.clear();
  for (const tBand& band : bands) {
    const int first_bin = static_cast<int>(bins.size());
    for (int start = 0; start < band.count; start += rows_per_bin)
      bins.push_back({band.group, band.first + start, std::min(rows_per_bin, band.count - start)});
    drawn_bands.push_back({band.group, first_bin, static_cast<int>(bins.size()) - first_bin});
  }
  return bins;
}

matrix bin_means(const matrix& data, const std::vector<unsigned char>& missing,
                 const std::vector<int>& order, const std::vector<tBand>& bins,
                 int columns_per_bin) {
  const int cols = data.dim2();
  const int drawn_cols = (cols + columns_per_bin - 1) / columns_per_bin;
  matrix means(static_cast<int>(bins.size()), drawn_cols);
  std::vector<double> sums(drawn_cols);
  std::vector<int> counts(drawn_cols);
  for (std::size_t b = 0; b < bins.size(); ++b) {
    std::fill(sums.begin(), sums.end(), 0.0);
    std::fill(counts.begin(), counts.end(), 0);
    for (int p = bins[b].first; p < bins[b].first + bins[b].count; ++p) {
      const double* row = data.row(order[p]).data();
      const unsigned char* absent =
          missing.empty() ? nullptr : missing.data() + static_cast<std::size_t>(order[p]) * cols;
      for (int j = 0; j < cols; ++j) {
        if (!std::isfinite(row[j]) || (absent && absent[j])) continue;
        sums[j / columns_per_bin] += row[j];
        ++counts[j / columns_per_bin];
      }
    }
    for (int c = 0; c < drawn_cols; ++c)
      means(static_cast<int>(b), c) = counts[c] == 0 ? NAN : sums[c] / counts[c];
  }
  return means;
}

tColourScale::tColourScale(double clip) : clip_(clip) {}

int tColourScale::level(double x) const {
  const double scaled = std::round(x / clip_ * steps);
  return static_cast<int>(std::max(-double(steps), std::min(double(steps), scaled)));
}

std::string tColourScale::colour(int level) {
  // Ends of the two arms; white between them at 0.
  static const int red[3] = {178, 24, 43}, blue[3] = {33, 102, 172};
  const int* end = level < 0 ? blue : red;
  const double t = std::min(1.0, std::abs(level) / double(steps));
  int rgb[3];
  for (int c = 0; c < 3; ++c) rgb[c] = static_cast<int>(std::lround(255 + (end[c] - 255) * t));
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", rgb[0], rgb[1], rgb[2]);
  return text;
}

double robust_clip(const matrix& data, double q) {
  std::vector<double> magnitudes;
  const long long n = static_cast<long long>(data.dim1()) * data.dim2();
  // A picture needs no exact rank: above a million entries an evenly spaced sample stands in.
  const long long stride = std::max(1LL, n / max_clip_sample);
  magnitudes.reserve(n / stride + 1);
  for (long long e = 0; e < n; e += stride)
    if (std::isfinite(data.data()[e])) magnitudes.push_back(std::abs(data.data()[e]));
  if (magnitudes.empty()) return 1.0;
  // The lower nearest rank: the value below which a share q of the entries lies.
  const std::size_t rank = static_cast<std::size_t>(q * (magnitudes.size() - 1));
  std::nth_element(magnitudes.begin(), magnitudes.begin() + rank, magnitudes.end());
  const double clip = magnitudes[rank];
  return clip > 0 ? clip : 1.0;
}
