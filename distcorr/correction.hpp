// The saturation policies: what saturated pairs and distances beyond a cap become.
#pragma once

#include "distcorr/pair_distances.hpp"

enum class tFix { none, x, c, pq };  // keep the -1 marker, relative, constant, compression

struct tFixSettings {
  tFix fix = tFix::none;
  float x = 1.0f;              // fix x and c
  float p0 = 0.0f, q0 = 0.0f;  // fix pq, Jukes-Cantor without gamma only
};

// Applies the policy to pairs.distances (x and c as the tree library's xfix and cfix do, pq
// through onepdist_pqfix from pairs.observed) and returns the flag the library's corrections
// return: true when nothing was saturated (pq: nothing compressed). -fix x when no pair has a
// positive distance to scale ends the run through bye().
bool apply_fix(tPairDistances& pairs, const tFixSettings& settings, int states);
