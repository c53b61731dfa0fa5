// Passes over the pairs of a corrected distance matrix, shared by the distance corrections.
#pragma once

#include "treelib/square_block.hpp"
#include "treelib/tmatrix.hpp"

constexpr double kSaturated = -1.0;  // marks a saturated pair in a corrected matrix

// Over the leading n x n block of m (n = dim1(), checked once), rows in order: zeroes the
// diagonal entry, then writes value(i, j) to (i, j) and (j, i) for each j > i. Entry (i, j) is
// not written before value(i, j) is asked for, so value may read it from m itself.
template <class Value>
void write_pairs(tMatrix& m, Value value) {
  const int n = m.dim1();
  const long w = checked_stride(m, n);
  double* out = m.data();
  for (long i = 0; i < n; ++i) {
    out[i * w + i] = 0.0;
    for (long j = i + 1; j < n; ++j) {
      const double v = value(i, j);
      out[i * w + j] = v;
      out[j * w + i] = v;
    }
  }
}

// Every pair whose value is the marker or exceeds cap gets cap.
inline void replace_above(tMatrix& m, double cap) {
  const int n = m.dim1();
  const long w = checked_stride(m, n);
  double* out = m.data();
  for (long i = 0; i < n; ++i) {
    for (long j = i + 1; j < n; ++j) {
      const double v = out[i * w + j];
      if (v == kSaturated || v > cap) {
        out[i * w + j] = cap;
        out[j * w + i] = cap;
      }
    }
  }
}
