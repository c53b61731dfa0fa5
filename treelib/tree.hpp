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
  void scale(double f);                      // L = L * f
  void normalize();                          // L = L / max_length(), or 0 when that is not positive
  void scale_random();                       // L = L * r, r in [0, 1] per edge; clock-seeded
  void stretch(double s);                    // L = L * (1/s + r * (s - 1/s)), r in [0, 1] per edge
  void scale_jc(double f, int nstates = 4);  // Jukes-Cantor distance times f, back to a proportion
  void convert_to_jc(int nstates = 4);       // L = Jukes-Cantor distance of the proportion L
};
