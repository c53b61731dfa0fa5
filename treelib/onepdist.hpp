// Jukes-Cantor correction of observed pairwise proportions of differing sites, for s states.
#pragma once

#include "lib/taxaset.hpp"
#include "treelib/tmatrix.hpp"

// Each correction overwrites corrected with a symmetric matrix (zero diagonal) built from the
// upper triangle of observed; observed and corrected may be the same matrix. A pair is saturated
// when p >= (s-1)/s - 1e-7; it then reads -1.0 unless a replacement applies. The result is true
// when no pair was saturated. REQUIRES: s >= 2.

bool onepdist(const tMatrix& observed, tMatrix& corrected, int s);  // onepdist_xfix with x = 1
// Saturated pairs, and distances above x * (largest distance), become x * (largest distance).
bool onepdist_xfix(const tMatrix& observed, tMatrix& corrected, int s, float x);
// Saturated pairs, and distances above x, become x.
bool onepdist_cfix(const tMatrix& observed, tMatrix& corrected, int s, float x);
// No saturation check: values above p0 are first mapped linearly so that p0 stays and 1 becomes
// q0; true when none was above p0. REQUIRES: p0 < 1 and every mapped value below (s-1)/s.
bool onepdist_pqfix(const tMatrix& observed, tMatrix& corrected, int s, float p0, float q0);

// Over all ordered pairs of members of taxa, the diagonal included (REQUIRES: members index
// observed): the largest unsaturated proportion (0.0 if none), and the percentage of saturated
// pairs among the m*m - m off-diagonal ones (0.0 when m < 2).
double max_correctible(const tTaxaSet& taxa, const tMatrix& observed, int s);
double percent_saturated(const tTaxaSet& taxa, const tMatrix& observed, int s);
