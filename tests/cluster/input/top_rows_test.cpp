// The -top selection on its own: which slot each row frees, and which rows stay.
#include "cluster/input/top_rows.hpp"

#include <gtest/gtest.h>

#include <vector>

TEST(TopRows, KeepsTheRowsOfLargestVarianceTiesToTheEarlierOne) {
  const struct {
    int n;
    std::vector<double> variances;  // of the rows in input order
    std::vector<int> free_slots;    // returned by each offer
    std::vector<long long> kept;    // input rows kept, in order
  } cases[] = {
      {2, {1, 0, 4, 1, 9}, {1, 2, 1, 1, 0}, {2, 4}},
      {1, {3, 3, 3}, {1, 1, 1}, {0}},  // equal variances: the first row stays
      {3, {5, 1}, {1, 2}, {0, 1}},     // fewer rows than n
      {2, {2, 7, 7, 1}, {1, 2, 0, 0}, {1, 2}},
  };
  for (const auto& c : cases) {
    tTopRows top(c.n);
    std::vector<long long> row_in_slot(static_cast<std::size_t>(c.n) + 1, -1);
    int slot = 0;
    for (std::size_t row = 0; row < c.variances.size(); ++row) {
      row_in_slot[slot] = static_cast<long long>(row);
      slot = top.offer(slot, static_cast<long long>(row), c.variances[row]);
      EXPECT_EQ(slot, c.free_slots[row]) << "n " << c.n << ", row " << row;
    }
    std::vector<long long> kept;
    for (int s : top.kept()) kept.push_back(row_in_slot[s]);
    EXPECT_EQ(kept, c.kept) << "n " << c.n;
  }
}
