// The -top selection: of the rows offered one at a time, the n of largest variance.
#pragma once

#include <vector>

class tTopRows {
 public:
  // Keeps n >= 1 rows, in slots 0 .. n (one more for the row being read).
  explicit tTopRows(int n);

  // Offers the row in slot s (input row order, variance v); ties go to the earlier row. Returns
  // the slot free for the next row: a fresh one while fewer than n rows are kept, else s when
  // the row is not kept, else the slot of the row it displaces.
  int offer(int s, long long order, double variance);
  // The slots kept, in input order.
  std::vector<int> kept() const;

 private:
  bool better(int a, int b) const;  // larger variance, ties to the earlier row

  const int n_;
  std::vector<double> variance_;  // per slot
  std::vector<long long> order_;  // per slot
  std::vector<int> heap_;         // the slots kept, the worst first
};
