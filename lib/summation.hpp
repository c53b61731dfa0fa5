// The two orders in which the system adds up products. Results are compared bit for bit, so every
// sum of products follows one of them; kernels that run several such sums side by side keep each
// sum's own order.
#pragma once

// The sum of a[i] * b[i] from the lowest index up: dot_prod and everything built on it (the
// cluster objective, the mean panel, member products).
inline double ascending_sum(const double* a, const double* b, int n) {
  double sum = 0.0;
  for (int i = 0; i < n; ++i) sum = sum + a[i] * b[i];
  return sum;
}

// The sum of a[i] * b[i] from the highest index down: vector * vector and so length, the matrix
// product and the normalisation of the power iteration.
inline double descending_sum(const double* a, const double* b, int n) {
  double sum = 0.0;
  for (int i = n - 1; i >= 0; --i) sum = sum + a[i] * b[i];
  return sum;
}
