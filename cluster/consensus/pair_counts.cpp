// Counting pairs: each thread owns whole rows of the pair triangle.
#include "cluster/consensus/pair_counts.hpp"

#include <limits>

#include "lib/parallel.hpp"

namespace {

template <typename T>
tCountArrays<T> zero_arrays(int rows, int k_count) {
  tCountArrays<T> arrays;
  arrays.drawn.assign(pair_count(rows), 0);
  arrays.together.assign(static_cast<std::size_t>(k_count), arrays.drawn);
  return arrays;
}

// Per run and k, the label of every row, -1 where the run did not draw it: the count loops
// then run over a dense row without branches.
std::vector<std::vector<int>> dense_labels(const std::vector<tRunLabels>& runs, int rows,
                                           int k_count) {
  std::vector<std::vector<int>> dense;
  for (const tRunLabels& run : runs)
    for (int k = 0; k < k_count; ++k) {
      std::vector<int> labels(static_cast<std::size_t>(rows), -1);
      for (std::size_t p = 0; p < run.rows.size(); ++p)
        labels[static_cast<std::size_t>(run.rows[p])] = run.labels[static_cast<std::size_t>(k)][p];
      dense.push_back(std::move(labels));
    }
  return dense;
}

template <typename T>
void count_row(tCountArrays<T>& arrays, const std::vector<std::vector<int>>& dense, int rows,
               int k_count, int i) {
  if (i + 1 >= rows) return;
  const std::size_t base = pair_index(rows, i, i + 1);
  const int length = rows - i - 1;
  for (std::size_t run = 0; run < dense.size(); run += static_cast<std::size_t>(k_count)) {
    if (dense[run][static_cast<std::size_t>(i)] < 0) continue;
    const int* first = dense[run].data() + i + 1;
    T* drawn = arrays.drawn.data() + base;
    for (int j = 0; j < length; ++j) drawn[j] = static_cast<T>(drawn[j] + (first[j] >= 0));
    for (int k = 0; k < k_count; ++k) {
      const std::vector<int>& labels = dense[run + static_cast<std::size_t>(k)];
      const int mine = labels[static_cast<std::size_t>(i)];
      const int* others = labels.data() + i + 1;
      T* together = arrays.together[static_cast<std::size_t>(k)].data() + base;
      for (int j = 0; j < length; ++j)
        together[j] = static_cast<T>(together[j] + (others[j] == mine));
    }
  }
}

}  // namespace

tPairCounts::tPairCounts(int rows, int k_count, int most_runs)
    : rows_(rows), k_count_(k_count), most_runs_(most_runs) {
  if (most_runs <= std::numeric_limits<std::uint8_t>::max())
    arrays_ = zero_arrays<std::uint8_t>(rows, k_count);
  else if (most_runs <= std::numeric_limits<std::uint16_t>::max())
    arrays_ = zero_arrays<std::uint16_t>(rows, k_count);
  else
    arrays_ = zero_arrays<std::uint32_t>(rows, k_count);
}

int tPairCounts::count_bytes() const {
  return visit([](const auto& arrays) {
    return static_cast<int>(sizeof(typename std::decay_t<decltype(arrays.drawn)>::value_type));
  });
}

void tPairCounts::add_runs(const std::vector<tRunLabels>& runs) {
  const std::vector<std::vector<int>> dense = dense_labels(runs, rows_, k_count_);
  visit([&](auto& arrays) {
    parallel_for(rows_, [&](int i) { count_row(arrays, dense, rows_, k_count_, i); });
  });
}
