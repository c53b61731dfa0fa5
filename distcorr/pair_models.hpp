// Distances of one pair of sequences under each substitution model, with their variances.
#pragma once

#include "distcorr/base_frequencies.hpp"
#include "distcorr/site_planes.hpp"

enum class tModel { raw, jc, k2p, f81, t92, tn93, f84, logdet };

struct tModelParameters {
  tModel model = tModel::jc;
  double alpha = 0.0;  // gamma shape; 0 is no gamma. REQUIRES: 0 or above 0 (jc, k2p, f81, tn93)
  int states = 4;      // jc only. REQUIRES: >= 2
  tBaseFrequencies frequencies{};  // f81, t92, tn93, f84
};

// The models that take a gamma shape.
bool has_gamma(tModel model);
// Models whose counts include the table of bases (logdet).
bool needs_table(tModel model);

struct tPairEstimate {
  double distance = 0.0;
  double variance = 0.0;  // the delta-method variance over the sites compared
  bool saturated = false;
};

// A pair is saturated when it has no site in common, when the base of a logarithm or of a power
// is at or below 1e-7 (the margin the tree library's two-parameter correction uses; LogDet's
// determinant at or below 0), or when the result is not finite; its distance and variance then
// mean nothing. table is read by logdet only.
tPairEstimate estimate_pair(const tPairCounts& counts, const tPairTable& table,
                            const tModelParameters& parameters);
