// Drawing rows and columns without replacement.
#include "cluster/consensus/resample.hpp"

#include <algorithm>
#include <numeric>

#include "cluster/run_seed.hpp"

namespace {

// The first count entries of a partial Fisher-Yates shuffle of 0 .. total-1, sorted.
std::vector<int> draw_without_replacement(random_source& source, int count, int total) {
  std::vector<int> items(static_cast<std::size_t>(total));
  std::iota(items.begin(), items.end(), 0);
  for (int i = 0; i < count; ++i) std::swap(items[i], items[source(i, total - 1)]);
  items.resize(static_cast<std::size_t>(count));
  std::sort(items.begin(), items.end());
  return items;
}

}  // namespace

tResample draw_resample(const tConsensusDesign& design, int run, int rows, int columns) {
  const std::uint64_t seed = run_draw_seed(design.seed, run);
  random_source row_source = seeded_source(seed, tRandomUse::consensus_rows);
  random_source column_source = seeded_source(seed, tRandomUse::consensus_columns);
  tResample draw;
  draw.rows = draw_without_replacement(row_source, drawn_count(design.row_fraction, rows), rows);
  // All columns need no draw, so g = 1 leaves the column stream unused.
  const int kept = drawn_count(design.column_fraction, columns);
  if (kept == columns) {
    draw.columns.resize(static_cast<std::size_t>(columns));
    std::iota(draw.columns.begin(), draw.columns.end(), 0);
  } else {
    draw.columns = draw_without_replacement(column_source, kept, columns);
  }
  return draw;
}

matrix resampled_matrix(const matrix& data, const tResample& draw) {
  const int width = static_cast<int>(draw.columns.size());
  matrix sub(static_cast<int>(draw.rows.size()), width);
  const int d = data.dim2();
  for (std::size_t i = 0; i < draw.rows.size(); ++i) {
    const double* from = data.data() + static_cast<long>(draw.rows[i]) * d;
    double* to = sub.data() + static_cast<long>(i) * width;
    for (int j = 0; j < width; ++j) to[j] = from[draw.columns[static_cast<std::size_t>(j)]];
  }
  return sub;
}
