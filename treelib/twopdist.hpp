// Kimura two-parameter correction with gamma-distributed rates, from transition (P) and
// transversion (Q) proportions.
#pragma once

#include "lib/taxaset.hpp"
#include "treelib/tmatrix.hpp"

// Each correction overwrites D with a symmetric matrix (zero diagonal, the size of P) built from
// the upper triangles of P and Q, which it does not change. With w1 = 1 - 2P - Q and w2 = 1 - 2Q,
// a pair is saturated when w2 <= 1e-7 or w1 <= 1e-7; it then reads -1.0 unless a replacement
// applies. The result is true when no pair was saturated. s, the number of states, is unused.
// REQUIRES: alpha > 0; P and Q of equal size.

bool twopdist(tMatrix& P, tMatrix& Q, tMatrix& D, int s, double alpha);  // twopdist_xfix, x = 1
// Saturated pairs, and distances above x * (largest distance), become x * (largest distance).
bool twopdist_xfix(tMatrix& P, tMatrix& Q, tMatrix& D, int s, float x, double alpha);
// Saturated pairs, and distances above x, become x.
bool twopdist_cfix(tMatrix& P, tMatrix& Q, tMatrix& D, int s, float x, double alpha);

// Percentage of saturated ordered pairs of members of taxa, the diagonal included, among the
// m*m - m off-diagonal ones (0.0 when m < 2). s and alpha are unused.
double percent_saturated(const tTaxaSet& taxa, tMatrix& P, tMatrix& Q, int s, double alpha);
