// One alignment's corrected distance matrix: the model on every pair, then the saturation policy.
#pragma once

#include <string>
#include <vector>

#include "distcorr/options.hpp"
#include "distcorr/pair_distances.hpp"

struct tCorrectedMatrix {
  tPairDistances pairs;  // distances after the policy; counts of saturation before it; no p
  bool unsaturated;      // the flag the correction returned
};

// Base frequencies come from sequences (the alignment the planes encode). A replicate asks for
// no variances or site counts, and a pair without a common site is saturated there instead of
// ending the run.
tCorrectedMatrix corrected_matrix(const tSitePlanes& planes,
                                  const std::vector<std::string>& sequences,
                                  const std::vector<std::string>& names,
                                  const tDistcorrOptions& options, bool replicate);

// The warnings of a run: a global deletion that keeps fewer than half of length sites, and
// saturated pairs left as -1 (fix none) among the pairs of sequences.
void warn_if_few_sites(const tSitePlanes& planes, long length, tDeletion deletion);
void warn_if_saturated(const tCorrectedMatrix& m, long sequences, tFix fix);
