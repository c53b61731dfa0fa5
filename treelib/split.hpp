// One side of a bipartition of a taxon set, with a weight; ordered so that it can key a d_array.
#pragma once

#include "lib/taxaset.hpp"

class tSplit : public tTaxaSet {
 public:
  tSplit() = default;  // empty side, weight 1.0

  void set_weight(float w) { weight = w; }

  // The side of the bipartition of taxa that holds x, and its complement within taxa.
  tTaxaSet get_S(const tTaxaSet& taxa, int x) const;    // REQUIRES: taxa.member(x)
  tTaxaSet get_C_S(const tTaxaSet& taxa, int x) const;  // REQUIRES: taxa.member(x)

  float weight = 1.0f;
};

// Splits ordered by their members read as a binary number (element k weighs 2^k): capacity and
// weight play no part, so equal sides compare equal.
int compare(const tSplit& a, const tSplit& b);
