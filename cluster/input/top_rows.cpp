// A heap of the n best rows so far, the worst on top, so that each row costs O(log n).
#include "cluster/input/top_rows.hpp"

#include <algorithm>

tTopRows::tTopRows(int n)
    : n_(n), variance_(static_cast<std::size_t>(n) + 1), order_(static_cast<std::size_t>(n) + 1) {}

bool tTopRows::better(int a, int b) const {
  if (variance_[a] != variance_[b]) return variance_[a] > variance_[b];
  return order_[a] < order_[b];
}

int tTopRows::offer(int s, long long order, double variance) {
  variance_[s] = variance;
  order_[s] = order;
  const auto by_merit = [this](int a, int b) { return better(a, b); };
  if (static_cast<int>(heap_.size()) < n_) {
    heap_.push_back(s);
    std::push_heap(heap_.begin(), heap_.end(), by_merit);
    return static_cast<int>(heap_.size());
  }
  // The worst row kept so far leaves when the new one is better; otherwise the new one does.
  const int worst = heap_.front();
  if (!better(s, worst)) return s;
  std::pop_heap(heap_.begin(), heap_.end(), by_merit);
  heap_.back() = s;
  std::push_heap(heap_.begin(), heap_.end(), by_merit);
  return worst;
}

std::vector<int> tTopRows::kept() const {
  std::vector<int> slots = heap_;
  std::sort(slots.begin(), slots.end(), [this](int a, int b) { return order_[a] < order_[b]; });
  return slots;
}
