// Seeds and checks of a consensus design.
#include "cluster/consensus/design.hpp"

#include <cmath>

#include "cluster/run_seed.hpp"

namespace {

bool proper_fraction(double f) {
  return f > 0 && f <= 1;
}

}  // namespace

std::uint64_t run_draw_seed(std::uint64_t seed, int run) {
  // The tag keeps these seeds apart from the restart seeds derived from the same run seed.
  constexpr std::uint64_t consensus_tag = 0x636f6e73656e7375ULL;
  return mix_seed(seed ^ mix_seed(consensus_tag + static_cast<std::uint64_t>(run)));
}

int drawn_count(double fraction, int count) {
  return static_cast<int>(std::round(fraction * count));
}

std::string design_fault(const tConsensusDesign& d, int rows, int columns) {
  if (d.runs < 1) return "-consensus " + std::to_string(d.runs) + ": at least one run is needed";
  if (d.k_first < 1 || d.k_first > d.k_last)
    return "-k_range " + std::to_string(d.k_first) + ".." + std::to_string(d.k_last) +
           ": the range must run from 1 or more up to a k no smaller";
  if (!proper_fraction(d.row_fraction)) return "-resample_rows: the fraction must be in (0, 1]";
  if (!proper_fraction(d.column_fraction))
    return "-resample_columns: the fraction must be in (0, 1]";
  if (d.first_run < 0 || d.first_run >= d.end_run || d.end_run > d.runs)
    return "-consensus_runs " + std::to_string(d.first_run) + ".." + std::to_string(d.end_run) +
           ": the runs must be a non-empty range within 0.." + std::to_string(d.runs);
  if (rows < 0 || columns < 0) return "";  // shape not known yet
  const int drawn = drawn_count(d.row_fraction, rows);
  if (drawn < d.k_last || drawn < 2)
    return "-resample_rows: " + std::to_string(drawn) + " of " + std::to_string(rows) +
           " rows drawn per run, too few for k = " + std::to_string(d.k_last);
  if (drawn_count(d.column_fraction, columns) < 1)
    return "-resample_columns: no column is drawn from " + std::to_string(columns);
  return "";
}
