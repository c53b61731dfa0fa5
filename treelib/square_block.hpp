// Unchecked addressing of the leading n x n block of a matrix, for the correction kernels.
#pragma once

#include "lib/matrix.hpp"

// Row stride of m after one checked access of the block's far corner, which reports a matrix too
// small for the block as the first out-of-range entry would; entry (i, j) of the block is then
// data()[i * stride + j].
inline long checked_stride(const matrix& m, int n) {
  if (n > 0) static_cast<void>(m(n - 1, n - 1));
  return m.dim2();
}
