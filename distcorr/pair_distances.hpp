// The distance of every pair of sequences under one model, counted on the run's threads.
#pragma once

#include <string>
#include <vector>

#include "distcorr/pair_models.hpp"
#include "distcorr/site_planes.hpp"
#include "lib/terminal_progress.hpp"
#include "treelib/tmatrix.hpp"

struct tPairSettings {
  tModelParameters model;
  bool variances = false;    // fill tPairDistances::variances
  bool site_counts = false;  // fill tPairDistances::sites
  bool observed = false;     // fill tPairDistances::observed (Jukes-Cantor without gamma)
  // A pair without a common site ends the run naming both (else it is saturated).
  bool common_site_required = true;
  tTerminalProgress* progress = nullptr;  // advanced by each pair counted, when given
};

struct tPairDistances {
  tMatrix distances;        // symmetric, zero diagonal, kSaturated (-1.0) for saturated pairs
  tMatrix variances;        // same layout; empty unless asked
  tMatrix observed;         // the proportions p (upper triangle) when asked; else empty
  long saturated = 0;       // pairs i < j marked
  double largest = 0.0;     // largest distance of an unsaturated pair (0.0 if none)
  double largest_p = 0.0;   // Jukes-Cantor: largest p of an unsaturated pair (0.0 if none)
  std::vector<long> sites;  // sites compared per pair i < j in row order, when asked
};

// Jukes-Cantor without gamma goes through the tree library's onepdist, Kimura with gamma
// through twopdist, so that their distances keep the library's bits; the other models through
// estimate_pair(); the library's corrections take one row of pairs at a time, on the run's
// threads. The result does not depend on the thread count.
tPairDistances pair_distances(const tSitePlanes& planes, const std::vector<std::string>& names,
                              const tPairSettings& settings);
