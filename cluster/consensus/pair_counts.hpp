// How often two rows were drawn together and clustered together, in the smallest type that holds
// the runs of the design.
#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// Pairs i < j of n rows, row-major: i ascending, then j.
inline std::size_t pair_count(int n) {
  return static_cast<std::size_t>(n) * static_cast<std::size_t>(n > 0 ? n - 1 : 0) / 2;
}
// REQUIRES: 0 <= i < j < n.
inline std::size_t pair_index(int n, int i, int j) {
  const std::size_t a = static_cast<std::size_t>(i);
  return a * (2 * static_cast<std::size_t>(n) - a - 1) / 2 + static_cast<std::size_t>(j - i - 1);
}

template <typename T>
struct tCountArrays {
  std::vector<T> drawn;                  // runs that drew both rows of a pair
  std::vector<std::vector<T>> together;  // per k of the range: runs that put both in one cluster
};

// One run's clusterings: the drawn rows (ascending) and, per k, the cluster of each drawn row.
struct tRunLabels {
  std::vector<int> rows;
  std::vector<std::vector<int>> labels;  // labels[k index][position in rows]
};

class tPairCounts {
 public:
  // All zero; counts are 8, 16 or 32 bits wide, the least that holds most_runs.
  tPairCounts(int rows, int k_count, int most_runs);

  int rows() const { return rows_; }
  int k_count() const { return k_count_; }
  int most_runs() const { return most_runs_; }
  int count_bytes() const;

  // f(tCountArrays<T>&) with the arrays in their own type.
  template <typename F>
  decltype(auto) visit(F&& f) {
    return std::visit(f, arrays_);
  }
  template <typename F>
  decltype(auto) visit(F&& f) const {
    return std::visit(f, arrays_);
  }

  // Adds runs: rows are counted pair by pair over the run's threads; the sums are integers, so
  // they are the same for every thread count.
  // REQUIRES: the runs counted in total stay at most most_runs.
  void add_runs(const std::vector<tRunLabels>& runs);

 private:
  int rows_;
  int k_count_;
  int most_runs_;
  std::variant<tCountArrays<std::uint8_t>, tCountArrays<std::uint16_t>, tCountArrays<std::uint32_t>>
      arrays_;
};
