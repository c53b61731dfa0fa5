// A tree with a taxa set on every node and a branch length on every edge.
#pragma once

#include "lib/taxaset.hpp"
#include "treelib/ugraph.hpp"

class tTree : public UGRAPH<tTaxaSet, double> {
 public:
  // Largest path length from the root (the first node) to any node; 0 for a tree without nodes.
  // Non-negative, and proportional to the branch lengths when they are scaled by f > 0.
  double max_length() const;

  // Branch-length scaling: each visits the edges in the graph's edge order and rewrites T[e].
  void scale(double f);  // L = L * f
  void normalize();      // L = L * (1 / max_length()), or 0 when that length is not positive
  // L = L * r and L = L * (1/s + r * (s - 1/s)), r in [0, 1] drawn per edge from a source seeded
  // with the time in seconds; "BEFORE = " and "AFTER = " lines on standard output per edge.
  void scale_random();
  void stretch(double s);
  // Through Jukes-Cantor distance space: the distance of L times f, back to a proportion; and
  // the distance of L, saturated edges taking the longest finite one. One warning per call for
  // saturated edges. REQUIRES: nstates > 1 and every L >= 0.
  void scale_jc(double f, int nstates = 4);
  void convert_to_jc(int nstates = 4);
};
