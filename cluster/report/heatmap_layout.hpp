// Where each row of the heatmap goes, how rows are averaged into bins, and the colour scale.
#pragma once

#include <string>
#include <vector>

#include "lib/array.hpp"
#include "lib/matrix.hpp"
#include "lib/taxaset.hpp"

// A run of consecutive positions of the row order: the members of one half (group).
struct tBand {
  int group;  // 2i and 2i+1 are the halves of cluster i
  int first;  // position in the order (or in the bins, for drawn bands)
  int count;
};

struct tRowOrder {
  std::vector<int> rows;     // row numbers, drawn top to bottom
  std::vector<tBand> bands;  // one per non-empty half, in group order
};

// Rows by group 0 .. 2k-1, within a group by score, largest first, equal scores by row number.
tRowOrder heatmap_row_order(const array<tTaxaSet>& halves, const std::vector<double>& scores);

// How many adjacent columns one drawn column averages: at most max_columns are drawn.
int columns_per_bin(int cols, int max_columns);

// The fewest rows per bin (at least 1) for which the bands' bins times cols stay within
// max_cells; when even one line per band exceeds it, the size of the largest band.
int rows_per_bin(const std::vector<tBand>& bands, int cols, long long max_cells);

// The order's bands cut into bins of rows_per_bin positions (a band's last bin may be shorter);
// a bin never spans two bands. Returns the bins as bands of positions; drawn_bands receives each
// band's run of bins.
std::vector<tBand> row_bins(const std::vector<tBand>& bands, int rows_per_bin,
                            std::vector<tBand>& drawn_bands);

// One line per bin and one column per columns_per_bin adjacent columns (the last may hold fewer):
// the mean of the block's finite entries that were not missing (missing: rows x cols flags, or
// empty for none), NaN when there is none, so that a block of missing cells is drawn as missing.
matrix bin_means(const matrix& data, const std::vector<unsigned char>& missing,
                 const std::vector<int>& order, const std::vector<tBand>& bins,
                 int columns_per_bin);

// Diverging scale centred at 0: values map to levels -steps .. steps, clipped at +-clip.
class tColourScale {
 public:
  static constexpr int steps = 8;  // levels on each side of 0

  explicit tColourScale(double clip);  // REQUIRES: clip > 0
  double clip() const { return clip_; }
  int level(double x) const;             // REQUIRES: x is not NaN
  static std::string colour(int level);  // "#rrggbb": blue below 0, white at 0, red above
  static const char* missing_colour() { return "#9e9e9e"; }

 private:
  double clip_;
};

// The q-quantile (0 < q <= 1) of |x| over the finite entries (over an evenly spaced sample of
// about a million of them in larger matrices); 1.0 when that is 0 or there are none, so that the
// scale always has a range.
double robust_clip(const matrix& data, double q);
