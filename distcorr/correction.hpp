// The chosen model and saturation policy, applied through the tree library's corrections.
#pragma once

#include "distcorr/observed_proportions.hpp"
#include "treelib/tmatrix.hpp"

enum class tModel { jc, k2p };
enum class tFix { none, x, c, pq };  // keep the -1 marker, relative, constant, compression

struct tCorrectionSettings {
  tModel model = tModel::jc;
  int states = 4;      // jc; REQUIRES: >= 2
  double alpha = 0.0;  // k2p gamma shape; REQUIRES: > 0 for k2p
  tFix fix = tFix::none;
  float x = 1.0f;              // fix x and c
  float p0 = 0.0f, q0 = 0.0f;  // fix pq, jc only
};

struct tCorrected {
  tMatrix distances;
  bool unsaturated;  // the flag the correction returned
};

tCorrected correct(tObserved& observed, const tCorrectionSettings& settings);

struct tSaturationStats {
  double percent_saturated;
  bool has_largest;  // jc only: the largest correctable proportion is defined
  double largest_correctable;
};

// The modules' statistics over all sequences. REQUIRES: fewer than 7000*2 sequences.
tSaturationStats saturation_stats(tObserved& observed, const tCorrectionSettings& settings);

long marked_pairs(const tMatrix& distances);  // pairs i < j holding the -1.0 marker
