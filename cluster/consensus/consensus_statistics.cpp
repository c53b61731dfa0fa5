// The consensus statistics of one k, from the exact pair counts.
#include "cluster/consensus/consensus_statistics.hpp"

#include <cmath>
#include <limits>

#include "cluster/consensus/average_linkage.hpp"
#include "lib/parallel.hpp"

namespace {

constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

double consensus_value(std::uint32_t together, std::uint32_t drawn) {
  return drawn == 0 ? 0.0 : static_cast<double>(together) / static_cast<double>(drawn);
}

// Pairs handled per task of the first pass; tasks' integer tallies are added in task order.
constexpr std::size_t pairs_per_task = std::size_t{1} << 20;

struct tTally {
  std::array<long long, cdf_bins> bins{};
  long long ambiguous = 0;
};

template <typename T>
std::vector<double> tally_and_distances(const tCountArrays<T>& arrays, int k_index, double low,
                                        double high, tTally& total) {
  const std::vector<T>& together = arrays.together[static_cast<std::size_t>(k_index)];
  const std::size_t pairs = arrays.drawn.size();
  std::vector<double> distances(pairs);
  const int tasks = static_cast<int>((pairs + pairs_per_task - 1) / pairs_per_task);
  std::vector<tTally> tallies(static_cast<std::size_t>(tasks));
  parallel_for(tasks, [&](int task) {
    tTally& tally = tallies[static_cast<std::size_t>(task)];
    const std::size_t end = std::min(pairs, (task + 1) * pairs_per_task);
    for (std::size_t p = task * pairs_per_task; p < end; ++p) {
      const std::uint32_t t = together[p], d = arrays.drawn[p];
      ++tally.bins[static_cast<std::size_t>(cdf_bin(t, d) - 1)];
      tally.ambiguous += consensus_above(t, d, low) && !consensus_above(t, d, high);
      distances[p] = 1.0 - consensus_value(t, d);
    }
  });
  for (const tTally& tally : tallies) {
    for (int b = 0; b < cdf_bins; ++b) total.bins[b] += tally.bins[b];
    total.ambiguous += tally.ambiguous;
  }
  return distances;
}

template <typename T>
void class_consensus(const tCountArrays<T>& arrays, int k_index, int rows, tConsensusOfK& out) {
  const std::vector<T>& together = arrays.together[static_cast<std::size_t>(k_index)];
  const std::size_t k = static_cast<std::size_t>(out.k);
  std::vector<double> sums(k, 0.0);
  std::vector<long long> pairs(k, 0);
  for (int i = 0; i < rows; ++i)
    for (int j = i + 1; j < rows; ++j) {
      const int c = out.classes[static_cast<std::size_t>(i)];
      if (c != out.classes[static_cast<std::size_t>(j)]) continue;
      const std::size_t p = pair_index(rows, i, j);
      sums[static_cast<std::size_t>(c - 1)] += consensus_value(together[p], arrays.drawn[p]);
      ++pairs[static_cast<std::size_t>(c - 1)];
    }
  out.cluster_consensus.assign(k, not_a_number);
  for (std::size_t c = 0; c < k; ++c)
    if (pairs[c] > 0) out.cluster_consensus[c] = sums[c] / static_cast<double>(pairs[c]);

  std::vector<long long> members(k, 0);
  for (int c : out.classes) ++members[static_cast<std::size_t>(c - 1)];
  out.item_consensus.assign(static_cast<std::size_t>(rows) * k, not_a_number);
  parallel_for(rows, [&](int i) {
    std::vector<double> row_sums(k, 0.0);
    for (int j = 0; j < rows; ++j) {
      if (j == i) continue;
      const std::size_t p = i < j ? pair_index(rows, i, j) : pair_index(rows, j, i);
      row_sums[static_cast<std::size_t>(out.classes[static_cast<std::size_t>(j)] - 1)] +=
          consensus_value(together[p], arrays.drawn[p]);
    }
    const int own = out.classes[static_cast<std::size_t>(i)];
    for (std::size_t c = 0; c < k; ++c) {
      const long long others = members[c] - (static_cast<int>(c) + 1 == own ? 1 : 0);
      if (others > 0)
        out.item_consensus[static_cast<std::size_t>(i) * k + c] =
            row_sums[c] / static_cast<double>(others);
    }
  });
}

void summarise_classes(tConsensusOfK& out) {
  double sum = 0;
  int counted = 0;
  out.least_consensus = not_a_number;
  for (double c : out.cluster_consensus) {
    if (std::isnan(c)) continue;
    sum += c;
    ++counted;
    if (!(c >= out.least_consensus)) out.least_consensus = c;
  }
  out.mean_consensus = counted > 0 ? sum / counted : not_a_number;
}

}  // namespace

int cdf_bin(std::uint32_t together, std::uint32_t drawn) {
  if (drawn == 0 || together == 0) return 1;
  // The least b with together / drawn <= b / 100.
  return static_cast<int>((100 * static_cast<std::uint64_t>(together) + drawn - 1) / drawn);
}

bool consensus_above(std::uint32_t together, std::uint32_t drawn, double u) {
  if (drawn == 0 || together == 0) return false;  // M = 0 is above no u >= 0
  if (u == 0) return true;
  int exponent = 0;
  const double fraction = std::frexp(u, &exponent);  // u = fraction * 2^exponent
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 53));
  const int shift = 53 - exponent;  // u = mantissa / 2^shift, shift >= 52
  // u below 2^-43 is below every M > 0, whose least value is 1 / (2^32 - 1).
  if (shift > 95) return true;
  using wide = unsigned __int128;
  return (static_cast<wide>(together) << shift) > static_cast<wide>(mantissa) * drawn;
}

double cdf_area(const std::array<long long, cdf_bins>& bins) {
  long long all = 0;
  for (long long b : bins) all += b;
  if (all == 0) return 0;
  double area = 0;
  long long below = 0;
  for (long long b : bins) {
    below += b;
    area += static_cast<double>(below) / static_cast<double>(all) / 100;
  }
  return area;
}

tConsensusOfK consensus_of_k(const tPairCounts& counts, int k_index, int k, double pac_low,
                             double pac_high) {
  tConsensusOfK out;
  out.k = k;
  const int rows = counts.rows();
  counts.visit([&](const auto& arrays) {
    tTally tally;
    std::vector<double> distances = tally_and_distances(arrays, k_index, pac_low, pac_high, tally);
    out.bins = tally.bins;
    const long long all = static_cast<long long>(pair_count(rows));
    out.pac = all > 0 ? static_cast<double>(tally.ambiguous) / static_cast<double>(all) : 0;
    out.classes = average_linkage_groups(distances, rows, k);
    class_consensus(arrays, k_index, rows, out);
  });
  out.area = cdf_area(out.bins);
  summarise_classes(out);
  return out;
}

void fill_deltas(std::vector<tConsensusOfK>& results) {
  for (std::size_t i = 0; i < results.size(); ++i)
    results[i].delta =
        i == 0 ? results[i].area : (results[i].area - results[i - 1].area) / results[i - 1].area;
}

int best_k_index(const std::vector<tConsensusOfK>& results) {
  int best = 0;
  for (std::size_t i = 1; i < results.size(); ++i)
    if (results[i].pac < results[static_cast<std::size_t>(best)].pac) best = static_cast<int>(i);
  return best;
}
