// The saturation policies: what saturated pairs and distances beyond a cap become.
#include "distcorr/correction.hpp"

#include "lib/diagnostics.hpp"
#include "treelib/onepdist.hpp"
#include "treelib/pair_passes.hpp"

bool apply_fix(tPairDistances& pairs, const tFixSettings& s, int states) {
  switch (s.fix) {
    case tFix::none:
      break;
    case tFix::x:
      if (pairs.saturated == 0) break;
      // Scaling the largest distance 0 would turn every saturated pair into identity.
      if (!(pairs.largest > 0))
        bye("-fix x: no pair has a positive finite distance to scale; give -fix c -x VALUE");
      replace_above(pairs.distances, s.x * pairs.largest);
      break;
    case tFix::c:
      if (pairs.saturated > 0) replace_above(pairs.distances, s.x);
      break;
    case tFix::pq:
      return onepdist_pqfix(pairs.observed, pairs.distances, states, s.p0, s.q0);
  }
  return pairs.saturated == 0;
}
